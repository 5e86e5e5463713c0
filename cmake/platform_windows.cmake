# The Win32 services: IP helper for the interface table, Winsock, the shell for web pages and
# the editor, the power-management library for standby and hibernation.
if(TARGET vespar_platform)
  target_link_libraries(vespar_platform PUBLIC iphlpapi ws2_32 shell32 advapi32 powrprof)
endif()
