#include "ui/drawn_control.h"

#include <gtest/gtest.h>

#include <functional>

namespace vespar::test {

// One widget's control through a run of model changes and user edits, a redraw after each:
// whether the control is drawn, and which of its fields differ from what was shown before.
TEST(DrawnControl, RedrawsOnlyWhatChanged) {
    struct Step {
        const char* what;
        std::function<void(ScreenModel&)> change;
        bool edited;  // the user edited the widget
        bool drawn;
        bool captionDiffers, tooltipDiffers;
    };
    const auto nothing = [](ScreenModel&) {};
    const Step steps[] = {
        {"not in the model yet", nothing, false, false, false, false},
        {"first draw", [](ScreenModel& m) { m.control("C").caption = "a"; }, false, true, true,
         true},
        {"unchanged", nothing, false, false, false, false},
        {"caption changed", [](ScreenModel& m) { m.control("C").caption = "b"; }, false, true, true,
         false},
        {"tooltip changed", [](ScreenModel& m) { m.control("C").tooltip = "t"; }, false, true,
         false, true},
        {"edited", nothing, true, true, true, true},
        {"unchanged after the edit", nothing, false, false, false, false},
    };
    ScreenModel model("Screen");
    DrawnControl drawn;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.change(model);
        if (step.edited) {
            drawn.Forget();
            EXPECT_FALSE(drawn.shown());
        }
        const auto change = drawn.Redraw(model, "C");
        ASSERT_EQ(change.has_value(), step.drawn);
        if (!change) continue;
        EXPECT_EQ(change->now, model.control("C"));
        EXPECT_EQ(drawn.shown(), model.control("C"));
        EXPECT_EQ(change->Differs(&Control::caption), step.captionDiffers);
        EXPECT_EQ(change->Differs(&Control::tooltip), step.tooltipDiffers);
    }
}

}  // namespace vespar::test
