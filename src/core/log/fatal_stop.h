#pragma once

#include "base/dialogs.h"
#include "state/context.h"

namespace vespar {

// Ends the program after a fatal problem: stops the engine timer so no tick runs behind the
// box, shows the box, removes the tray icon and throws ProgramExit.
[[noreturn]] void FatalStop(Context& ctx, const MessageBox& box);

// Name of the engine's timer, stopped by every fatal stop.
inline constexpr const char* kRefreshTimer = "tmrRefresh";

}  // namespace vespar
