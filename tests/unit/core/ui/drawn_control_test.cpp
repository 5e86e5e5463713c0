#include "ui/drawn_control.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <utility>

namespace vespar::test {

// One widget's control through a run of model changes and user edits, a redraw after each:
// whether the control is drawn, and which of its fields differ from what was shown before.
TEST(DrawnControl, RedrawsOnlyWhatChanged) {
    // What happens, the model change, whether the user edited the widget, whether it is drawn
    // and whether its caption and tooltip differ.
    using Step = std::tuple<const char*, std::function<void(ScreenModel&)>, bool, bool, bool, bool>;
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
    for (const auto& [what, modelChange, edited, shown, captionDiffers, tooltipDiffers] : steps) {
        SCOPED_TRACE(what);
        modelChange(model);
        if (edited) {
            drawn.Forget();
            EXPECT_FALSE(drawn.shown());
        }
        const auto change = drawn.Redraw(model, "C");
        ASSERT_EQ(change.has_value(), shown);
        if (!change) continue;
        EXPECT_EQ(change->now, model.control("C"));
        EXPECT_EQ(drawn.shown(), model.control("C"));
        EXPECT_EQ(std::pair(change->Differs(&Control::caption), change->Differs(&Control::tooltip)),
                  std::pair(captionDiffers, tooltipDiffers));
    }
}

// A window draws a screen's controls at the first ask, and again only after a writable access
// to the model, even one that leaves a control as it was; reads are no change.
TEST(DrawnScreen, DueFirstThenOnlyAfterAWritableAccess) {
    ScreenModel model("Screen");
    model.control("C").caption = "a";
    DrawnScreen drawn;
    EXPECT_TRUE(drawn.Due(model));
    const ScreenModel& reader = model;
    EXPECT_TRUE(reader.has("C") && reader.control("C").caption == "a" &&
                reader.controls().size() == 1);
    EXPECT_FALSE(drawn.Due(model));
    model.control("C");
    EXPECT_TRUE(drawn.Due(model));
}

}  // namespace vespar::test
