#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <tuple>

namespace vespar::test {

TEST(MainWindowScreen, IsOnScreenWhenVisibleOrMinimisedWithoutATray) {
    // Minimised, visible, a tray, and on screen.
    // clang-format off
    const std::tuple<bool, bool, bool, bool> cases[] = {{false, true, true, true},
        {false, false, false, false}, {true, true, true, false}, {true, false, false, true}};
    // clang-format on
    MainWindowScreen main;
    for (const auto& [minimised, visible, tray, onScreen] : cases) {
        main.minimised = minimised;
        main.visible = visible;
        EXPECT_EQ(main.OnScreen(tray), onScreen) << minimised << visible << tray;
    }
}

}  // namespace vespar::test
