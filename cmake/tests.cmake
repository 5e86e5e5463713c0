# Test binaries by what they link: the core with fakes, the platform's ports against real
# system parts, the front-end's widgets, and the real program.
if(CMAKE_CROSSCOMPILING)
  # No GoogleTest for the target system is installed: build it from Debian's sources.
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

function(vespar_test_binary name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE src tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_compile_options(${name} PRIVATE ${VESPAR_WARNINGS})
  target_compile_definitions(${name} PRIVATE
    VESPAR_SOURCE_DIR="${CMAKE_SOURCE_DIR}" VESPAR_PROGRAM_DIR="${VESPAR_PROGRAM_DIR}")
endfunction()

file(GLOB_RECURSE VESPAR_FAKE_SOURCES CONFIGURE_DEPENDS tests/fakes/*.cpp)

file(GLOB_RECURSE VESPAR_CORE_TEST_SOURCES CONFIGURE_DEPENDS tests/unit/core/*.cpp)
vespar_test_binary(vespar_core_tests
  SOURCES ${VESPAR_CORE_TEST_SOURCES} ${VESPAR_FAKE_SOURCES}
  LIBS vespar_core GTest::gtest GTest::gtest_main)
gtest_discover_tests(vespar_core_tests DISCOVERY_TIMEOUT 60)

file(GLOB_RECURSE VESPAR_PLATFORM_TEST_SOURCES CONFIGURE_DEPENDS
     tests/unit/platform/${VESPAR_PLATFORM}/*.cpp)
if(VESPAR_PLATFORM_TEST_SOURCES AND TARGET vespar_platform)
  vespar_test_binary(vespar_${VESPAR_PLATFORM}_tests
    SOURCES ${VESPAR_PLATFORM_TEST_SOURCES} ${VESPAR_FAKE_SOURCES}
    LIBS vespar_platform vespar_core GTest::gtest GTest::gtest_main)
  gtest_discover_tests(vespar_${VESPAR_PLATFORM}_tests DISCOVERY_TIMEOUT 60)
endif()

if(VESPAR_FRONTEND STREQUAL "qt")
  # The front-end's widgets on the core with fake system services, offscreen.
  find_package(Qt6 REQUIRED COMPONENTS Test)
  file(GLOB_RECURSE VESPAR_QT_TEST_SOURCES CONFIGURE_DEPENDS tests/unit/qt/*.cpp)
  list(FILTER VESPAR_QT_TEST_SOURCES EXCLUDE REGEX "/(qt_network|update_check)_test\\.cpp$")
  vespar_test_binary(vespar_qt_tests
    SOURCES ${VESPAR_QT_TEST_SOURCES} ${VESPAR_FAKE_SOURCES}
    LIBS vespar_frontend Qt6::Test)
  add_test(NAME qt_widgets COMMAND vespar_qt_tests)
  set_tests_properties(qt_widgets PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

  # The program's UDP socket and name lookups on real loopback sockets.
  vespar_test_binary(vespar_qt_network_tests
    SOURCES tests/unit/qt/qt_network_test.cpp LIBS vespar_frontend Qt6::Test)
  add_test(NAME qt_network COMMAND vespar_qt_network_tests)

  # The update check over Qt's network access against a web site on 127.0.0.1.
  vespar_test_binary(vespar_qt_update_tests
    SOURCES tests/unit/qt/update_check_test.cpp tests/unit/qt/screen_check.cpp
            ${VESPAR_FAKE_SOURCES}
    LIBS vespar_frontend Qt6::Test)
  add_test(NAME qt_update COMMAND vespar_qt_update_tests)
  set_tests_properties(qt_update PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

  # The real program under Xvfb.
  add_test(NAME program_xvfb
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/frontend_test.sh $<TARGET_FILE:vespar>)
  set_tests_properties(program_xvfb PROPERTIES TIMEOUT 300)
  # The real program's update check against a web site on 127.0.0.1.
  add_test(NAME update_xvfb
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/update_check_test.sh $<TARGET_FILE:vespar>)
  set_tests_properties(update_xvfb PROPERTIES TIMEOUT 120)
  # Two real programs paired over UDP on 127.0.0.1.
  add_test(NAME pairing_xvfb
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/pairing_test.sh $<TARGET_FILE:vespar>)
  set_tests_properties(pairing_xvfb PROPERTIES TIMEOUT 300)
endif()
