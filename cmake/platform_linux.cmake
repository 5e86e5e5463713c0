# X11 input through the X input extension's raw events (and the keymap and pointer asked
# through Xlib's xcb connection), and logind over the system bus.
find_package(PkgConfig REQUIRED)
pkg_check_modules(VESPAR_LINUX_LIBS REQUIRED IMPORTED_TARGET x11 x11-xcb xcb xi libsystemd)
target_link_libraries(vespar_platform PUBLIC PkgConfig::VESPAR_LINUX_LIBS)
