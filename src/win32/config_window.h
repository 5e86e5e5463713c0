#pragma once

#include <memory>

#include "config/config_screen.h"
#include "win32/pictures.h"
#include "win32/screen_window.h"

namespace vespar::win32 {

// frmConfig as a settings window: the four groups in two columns, each field on one line with
// its caption on the left and its range label beside it, the status line and the closing
// countdown above the buttons. Controls are made in reading order, which is the tab order;
// each time the screen opens, the keyboard focus starts on the first field.
std::unique_ptr<ScreenWindow> MakeConfigWindow(ConfigScreen& config, EventSink sink,
                                               const Theme& theme, const Pictures& pictures);

}  // namespace vespar::win32
