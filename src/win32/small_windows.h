#pragma once

#include <memory>

#include "ui/about_screen.h"
#include "ui/multi_inst.h"
#include "update/updater_screen.h"
#include "win32/pictures.h"
#include "win32/screen_window.h"

namespace vespar::win32 {

// frmAbout: the logo, title, version, the web-site link, the countdown and Exit.
std::unique_ptr<ScreenWindow> MakeAboutWindow(AboutScreen& about, EventSink sink,
                                              const Theme& theme, const Pictures& pictures);

// MultiInst: a warning picture beside the notice and the logo, and Exit.
std::unique_ptr<ScreenWindow> MakeMultiInstWindow(MultiInstScreen& notice, EventSink sink,
                                                  const Theme& theme, const Pictures& pictures);

// frmUpdater: the logo, the version label, the status line, the message as read-only text,
// and the row of web-page buttons with Exit.
std::unique_ptr<ScreenWindow> MakeUpdaterWindow(UpdaterScreen& updater, EventSink sink,
                                                const Theme& theme, const Pictures& pictures);

}  // namespace vespar::win32
