#pragma once

#include <memory>

#include "qt/screen_window.h"
#include "ui/about_screen.h"

namespace vespar::qt {

// frmAbout: title, version, the web-site link, the countdown and Exit.
std::unique_ptr<ScreenWindow> MakeAboutWindow(AboutScreen& about, ScreenWindow::EventSink sink);

}  // namespace vespar::qt
