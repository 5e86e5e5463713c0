#pragma once

#include <filesystem>

#include "base/clock.h"
#include "base/dialogs.h"
#include "base/timers.h"
#include "state/runtime.h"

namespace vespar {

// What the core's routines reach: the program-wide state and the ports they talk through.
struct Context {
    Runtime& rt;
    Clock& clock;
    TimerRegistry& timers;
    Dialogs& dialogs;
    std::filesystem::path programDir;  // the folder of the executable
};

}  // namespace vespar
