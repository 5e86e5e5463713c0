# The Win32 front-end's network ports (UDP socket, name lookups, HTTP downloads), a library
# of their own so that their tests need no windows on screen.
file(GLOB VESPAR_WIN32_NET_SOURCES CONFIGURE_DEPENDS src/win32/net/*.cpp src/win32/net/*.h)
add_library(vespar_win32_net STATIC ${VESPAR_WIN32_NET_SOURCES})
target_include_directories(vespar_win32_net PUBLIC src)
target_link_libraries(vespar_win32_net PUBLIC vespar_core ws2_32 winhttp user32)
target_compile_options(vespar_win32_net PRIVATE ${VESPAR_WARNINGS})
if(TARGET vespar_frontend)
  # The front-end takes them from this library rather than compiling them again.
  get_target_property(sources vespar_frontend SOURCES)
  list(FILTER sources EXCLUDE REGEX "/src/win32/net/")
  set_property(TARGET vespar_frontend PROPERTY SOURCES ${sources})
  target_link_libraries(vespar_frontend PUBLIC vespar_win32_net)
endif()

if(VESPAR_TESTS)
  # A datagram and name lookups on 127.0.0.1, and downloads from the stand-in web site of
  # tests/servers, which the script starts.
  file(GLOB VESPAR_WIN32_NET_TEST_SOURCES CONFIGURE_DEPENDS tests/unit/win32/net/*.cpp)
  add_executable(vespar_win32_net_tests ${VESPAR_WIN32_NET_TEST_SOURCES})
  target_include_directories(vespar_win32_net_tests PRIVATE src tests)
  target_link_libraries(vespar_win32_net_tests PRIVATE vespar_win32_net GTest::gtest
                        GTest::gtest_main)
  target_compile_options(vespar_win32_net_tests PRIVATE ${VESPAR_WARNINGS})
  add_test(NAME win32_network
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/win_net_test.sh
                   $<TARGET_FILE:vespar_win32_net_tests>)
  set_tests_properties(win32_network PROPERTIES TIMEOUT 120)
endif()
