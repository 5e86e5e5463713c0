#pragma once

#include <memory>

#include "qt/screen_window.h"
#include "update/updater_screen.h"

class QLineEdit;
class QPlainTextEdit;

namespace vespar::qt {

// frmUpdater on screen: the logo, the version label, the status line, the message as
// read-only text, and the row of web-page buttons with Exit.
class UpdaterWindow : public ScreenWindow {
  public:
    UpdaterWindow(UpdaterScreen& updater, EventSink sink);

  protected:
    void ApplyWindowState() override;

  private:
    QLineEdit* status_ = nullptr;
    QPlainTextEdit* message_ = nullptr;
};

}  // namespace vespar::qt
