# X11 input with the screen-saver idle time, and logind over the system bus.
find_package(PkgConfig REQUIRED)
pkg_check_modules(VESPAR_LINUX_LIBS REQUIRED IMPORTED_TARGET x11 xscrnsaver libsystemd)
target_link_libraries(vespar_platform PUBLIC PkgConfig::VESPAR_LINUX_LIBS)
