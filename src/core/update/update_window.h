#pragma once

namespace vespar {

// The update window as the main window starts it: hidden for the daily check (it shows
// itself only when a newer version exists), shown for the user's own check. The window
// clears Runtime::updateBusy when it unloads.
class UpdateWindow {
  public:
    virtual ~UpdateWindow() = default;
    // Loads the window without showing it; the check runs hidden.
    virtual void LoadHidden() = 0;
    // Loads and shows the window, not modal.
    virtual void Show() = 0;
};

}  // namespace vespar
