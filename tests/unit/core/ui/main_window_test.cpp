#include "ui/main_window.h"

#include <gtest/gtest.h>

namespace vespar::test {

TEST(MainWindowScreen, IsOnScreenWhenVisibleOrMinimisedWithoutATray) {
    const struct {
        bool minimised, visible, tray, onScreen;
    } cases[] = {{false, true, true, true},
                 {false, false, false, false},
                 {true, true, true, false},
                 {true, false, false, true}};
    MainWindowScreen main;
    for (const auto& c : cases) {
        main.minimised = c.minimised;
        main.visible = c.visible;
        EXPECT_EQ(main.OnScreen(c.tray), c.onScreen) << c.minimised << c.visible << c.tray;
    }
}

}  // namespace vespar::test
