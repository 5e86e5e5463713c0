#pragma once

#include "app/update_window.h"
#include "base/dates.h"
#include "state/runtime.h"

namespace vespar {

// Stands in for the update window while this build has no update check: it ends the check
// at once and moves the daily check a day on, so the Update commands come back and the
// automatic check is not retried every second.
class UpdateCheckUnavailable : public UpdateWindow {
  public:
    explicit UpdateCheckUnavailable(Runtime& rt) : rt_(rt) {}
    void LoadHidden() override { Finish(); }
    void Show() override { Finish(); }

  private:
    void Finish() {
        rt_.updateCheckAt = AddSeconds(rt_.updateCheckAt, 24 * 60 * 60);
        rt_.updateBusy = false;
    }
    Runtime& rt_;
};

}  // namespace vespar
