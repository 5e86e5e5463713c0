find_package(Qt6 REQUIRED COMPONENTS Widgets Network)
set(CMAKE_AUTOMOC ON)
# The front-end as a library, so that its tests drive the same widgets the program shows.
file(GLOB_RECURSE VESPAR_QT_SOURCES CONFIGURE_DEPENDS src/qt/*.cpp src/qt/*.h)
list(REMOVE_ITEM VESPAR_QT_SOURCES ${CMAKE_SOURCE_DIR}/src/qt/main.cpp)
add_library(vespar_frontend STATIC ${VESPAR_QT_SOURCES})
target_include_directories(vespar_frontend PUBLIC src)
# The tray watch listens to the X server on a connection of its own.
find_library(VESPAR_XCB_LIBRARY xcb REQUIRED)
target_link_libraries(vespar_frontend PUBLIC vespar_core Qt6::Widgets Qt6::Network
                      ${VESPAR_XCB_LIBRARY})
target_compile_options(vespar_frontend PRIVATE ${VESPAR_WARNINGS})
add_executable(vespar src/qt/main.cpp)
target_link_libraries(vespar PRIVATE vespar_frontend vespar_platform)
target_compile_options(vespar PRIVATE ${VESPAR_WARNINGS})
set_target_properties(vespar PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VESPAR_PROGRAM_DIR})
