#include "app/event_boundary.h"

#include "base/system_error.h"
#include "unit/core/app/program_fixture.h"

namespace vespar::test {
namespace {

// The boundary over the whole program, counting what it asks of the front-end.
class EventBoundaryTest : public ProgramTest {
  protected:
    EventBoundaryTest() { Start(""); }
    int arms = 0, redraws = 0;
    std::vector<int> ends;  // the codes the program ended with
    std::function<void()> duringRedraw;
    EventBoundary boundary{program,
                           clock,
                           {[this] { ++arms; },
                            [this] {
                                ++redraws;
                                if (duringRedraw) duringRedraw();
                            },
                            [this](int code) { ends.push_back(code); }}};
};

TEST_F(EventBoundaryTest, PumpRedrawsOnlyWhenATimerFired) {
    boundary.Pump();  // nothing is due yet
    EXPECT_EQ(redraws, 0);
    EXPECT_EQ(arms, 1);
    const auto due = program.timers().NextDue();
    ASSERT_TRUE(due);
    // A timer an event enables counts from that event.
    clock.AdvanceMs(*due - clock.tickMs() - 10);
    Timer& soon = program.timers().Create("Soon", 1, [] {});
    boundary.Deliver([&] { soon.SetEnabled(true); });
    EXPECT_EQ(program.timers().NextDue(), clock.tickMs() + 1);
    program.timers().Remove(soon);
    clock.AdvanceMs(10);
    boundary.Pump();
    EXPECT_EQ(redraws, 2);
}

TEST_F(EventBoundaryTest, EventsDuringARedrawRedrawOnceMoreAtMostThreePasses) {
    int nested = 0;
    duringRedraw = [&] {
        if (nested++ < 1) boundary.Deliver([] {});
    };
    boundary.Deliver([] {});
    EXPECT_EQ(redraws, 2);
    nested = -10;  // keeps changing the models
    redraws = 0;
    boundary.Deliver([] {});
    EXPECT_EQ(redraws, 3);
}

TEST_F(EventBoundaryTest, ASystemErrorOrTheProgramsEndEndsOnceAndLaterEventsAreIgnored) {
    boundary.Deliver([] { throw SystemError(5, "Shutdown", "Access is denied."); });
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(boundary.exitCode(), 1);
    bool ran = false;
    boundary.Deliver([&] { ran = true; });
    boundary.Pump();
    EXPECT_FALSE(ran);
    EXPECT_EQ(ends, std::vector<int>{1});
    EXPECT_EQ(arms + redraws, 0);
}

}  // namespace
}  // namespace vespar::test
