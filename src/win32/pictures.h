#pragma once

#include <map>

#include "ui/main_window.h"
#include "win32/windows_api.h"

namespace vespar::win32 {

// The program's own pictures, drawn at start so that no image files need shipping, in the
// same colours and marks as on Linux: the window icon blue with a power sign, activity green
// with a pulse line, activation amber with a clock, the shutdown warning red with a power sign
// on a white ring.
class Pictures {
  public:
    Pictures();
    ~Pictures();
    Pictures(const Pictures&) = delete;
    Pictures& operator=(const Pictures&) = delete;

    // The small icon (tray, title bar) and the large one (task switcher) of a state.
    HICON small(TrayIcon which) const { return small_.at(which); }
    HICON large(TrayIcon which) const { return large_.at(which); }
    // The logo: the window icon beside the product name, on the button-face colour.
    HBITMAP logo() const { return logo_; }
    // The logo at the given height.
    HBITMAP smallLogo() const { return smallLogo_; }

  private:
    std::map<TrayIcon, HICON> small_;
    std::map<TrayIcon, HICON> large_;
    HBITMAP logo_ = nullptr;
    HBITMAP smallLogo_ = nullptr;
};

}  // namespace vespar::win32
