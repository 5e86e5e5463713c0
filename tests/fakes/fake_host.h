#pragma once

#include "base/timers.h"
#include "fakes/fake_clock.h"
#include "fakes/scripted_dialogs.h"
#include "fakes/temp_program_folder.h"
#include "state/context.h"
#include "state/runtime.h"

namespace vespar::test {

// Everything a core routine needs, faked: virtual clock and timers, scripted dialogs, a
// temporary program folder with the shipped configuration.
struct FakeHost {
    TempProgramFolder folder;
    FakeClock clock;
    TimerRegistry timers;
    ScriptedDialogs dialogs;
    Runtime rt;
    Context ctx{rt, clock, timers, dialogs, folder.path()};
    VirtualTime time{clock, timers};
};

}  // namespace vespar::test
