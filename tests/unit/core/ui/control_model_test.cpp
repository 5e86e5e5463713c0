#include "ui/control_model.h"

#include <gtest/gtest.h>

namespace vespar::test {

// A front-end skips the controls of a screen nobody wrote to since it last drew them: every
// writable access counts as a change, even one that leaves the control as it was; reads do not.
TEST(ScreenModel, CountsEveryWritableAccessAndNoRead) {
    ScreenModel model("Screen");
    model.control("C").caption = "a";
    const auto before = model.changes();
    const ScreenModel& reader = model;
    EXPECT_TRUE(reader.has("C") && reader.control("C").caption == "a" &&
                reader.controls().size() == 1);
    EXPECT_EQ(model.changes(), before);
    model.control("C");
    EXPECT_EQ(model.changes(), before + 1);
}

}  // namespace vespar::test
