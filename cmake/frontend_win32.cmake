# The native Win32 front-end: standard controls, the notification area and message boxes of
# the system itself, no toolkit. A library, so that tests could drive the same windows, and
# vespar.exe, a GUI program in the program folder.
enable_language(RC)
file(GLOB_RECURSE VESPAR_WIN32_SOURCES CONFIGURE_DEPENDS src/win32/*.cpp src/win32/*.h)
list(REMOVE_ITEM VESPAR_WIN32_SOURCES ${CMAKE_SOURCE_DIR}/src/win32/main.cpp)
add_library(vespar_frontend STATIC ${VESPAR_WIN32_SOURCES})
target_include_directories(vespar_frontend PUBLIC src)
target_link_libraries(vespar_frontend PUBLIC vespar_core user32 gdi32 shell32 comctl32)
target_compile_options(vespar_frontend PRIVATE ${VESPAR_WARNINGS})

add_executable(vespar WIN32 src/win32/main.cpp src/win32/vespar.rc)
target_link_libraries(vespar PRIVATE vespar_frontend vespar_platform)
target_compile_options(vespar PRIVATE ${VESPAR_WARNINGS})
set_target_properties(vespar PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VESPAR_PROGRAM_DIR})
# A build without debug information in the program that ships.
target_link_options(vespar PRIVATE -s)

# Vespar.zip: the program folder as it is to be unpacked, vespar\vespar.exe with Data\ and Log\.
add_custom_target(vespar_zip ALL
  COMMAND ${CMAKE_COMMAND} -E tar cf ${CMAKE_BINARY_DIR}/Vespar.zip --format=zip vespar
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DEPENDS vespar
  BYPRODUCTS ${CMAKE_BINARY_DIR}/Vespar.zip
  COMMENT "Packing the program folder into Vespar.zip")

if(VESPAR_TESTS)
  # The real program under Wine in Xvfb, with a small probe that reaches its windows the way
  # the system does (posts the tray icon's message, moves Wine's tray window, reads texts).
  add_executable(vespar_win_probe tests/win32/win_probe.cpp)
  target_compile_options(vespar_win_probe PRIVATE ${VESPAR_WARNINGS})
  add_test(NAME program_wine
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/win_program_test.sh $<TARGET_FILE:vespar>
                   $<TARGET_FILE:vespar_win_probe>)
  set_tests_properties(program_wine PROPERTIES TIMEOUT 300 RUN_SERIAL ON)
endif()
