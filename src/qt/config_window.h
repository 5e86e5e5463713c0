#pragma once

#include <memory>

#include "config/config_screen.h"
#include "qt/screen_window.h"

namespace vespar::qt {

// frmConfig as a settings dialog: the four groups side by side, each field on one line with
// its caption on the left and its range label beside it, the status line and the closing
// countdown above the buttons. Widgets are made in reading order, which is the tab order.
std::unique_ptr<ScreenWindow> MakeConfigWindow(ConfigScreen& config, ScreenWindow::EventSink sink);

}  // namespace vespar::qt
