#pragma once

#include <memory>
#include <string>

#include "sensors/input_source.h"

namespace vespar::linux_platform {

// What the choice of input source looks at.
struct InputSourceOptions {
    std::string display;     // X display name; empty: no X server
    bool wayland = false;    // a Wayland session
    std::string sessionBus;  // D-Bus address; empty: the user's session bus
    std::string systemBus;   // D-Bus address; empty: the system bus

    // $DISPLAY, and a Wayland session from $WAYLAND_DISPLAY or $XDG_SESSION_TYPE.
    static InputSourceOptions FromEnvironment();
};

// The X server when there is a display and the session is not Wayland (there, the X server
// only sees input to X programs and would call a busy user idle); else the desktop's idle
// time over D-Bus: Mutter, the screen saver service, logind's idle hint; else a source that
// says it cannot be read.
std::unique_ptr<InputSource> OpenInputSource(const InputSourceOptions& options);

// The same for this process's own session.
std::unique_ptr<InputSource> OpenInputSource();

}  // namespace vespar::linux_platform
