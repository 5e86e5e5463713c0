# Cross-compiling for 64-bit Windows with MinGW-w64 on Debian. The -posix drivers give
# std::thread and friends; the programs run here under Wine (scripts/wine_run.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VESPAR_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${VESPAR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VESPAR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VESPAR_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VESPAR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The Windows platform and its native front-end (the project's defaults for Windows, set
# here so that a build folder made with this file never picks another).
set(VESPAR_PLATFORM windows CACHE STRING "Platform folder under src/platform")
set(VESPAR_FRONTEND win32 CACHE STRING "Front-end: qt, win32 or none")

# ctest and gtest_discover_tests start the .exe files under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine_run.sh
                                  --retry-unstarted)
