#pragma once

#include <gtest/gtest.h>

#include "base/program_exit.h"
#include "fakes/fake_host.h"
#include "log/fatal_stop.h"

namespace vespar::test {

// A fake host in the middle of a run: the engine timer on and the tray icon shown, so that
// a fatal stop has both to take away.
struct RunningHost : FakeHost {
    RunningHost() {
        timers.Create(kRefreshTimer, 500, [] {}).SetEnabled(true);
        rt.trayIconShown = true;
    }
    bool Running() { return timers.Find(kRefreshTimer)->enabled() && rt.trayIconShown; }

    // Runs a call that must end the program: the timer stops, the icon goes and exactly one
    // box is shown. Returns that box, with the host made ready for the next stop.
    template <typename F>
    MessageBox Stopped(F call) {
        EXPECT_THROW(call(), ProgramExit);
        EXPECT_FALSE(timers.Find(kRefreshTimer)->enabled() || rt.trayIconShown) << "left running";
        EXPECT_EQ(dialogs.shown.size(), 1u);
        const MessageBox box = dialogs.shown.empty() ? MessageBox{} : dialogs.shown.back();
        dialogs.shown.clear();
        timers.Find(kRefreshTimer)->SetEnabled(true);
        rt.trayIconShown = true;
        return box;
    }
};

}  // namespace vespar::test
