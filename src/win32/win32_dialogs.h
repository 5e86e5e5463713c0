#pragma once

#include <string>

#include "base/dialogs.h"
#include "win32/timer_window.h"

namespace vespar::win32 {

// Message boxes as the system's own modal boxes, above every other window. A box with a
// time-out is closed by a one-shot timer that finds it by its title and sends it the close
// message; it then answers Ok, like the user's OK.
class Win32Dialogs : public Dialogs {
  public:
    Win32Dialogs();
    Answer Show(const MessageBox& box) override;

  private:
    void CloseTimedBox();

    TimerWindow timer_;
    std::string timedTitle_;
    bool timedOut_ = false;
};

}  // namespace vespar::win32
