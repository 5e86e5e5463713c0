#pragma once

#include "win32/windows_api.h"

namespace vespar::win32 {

// The system's dialog font (the message font of the non-client metrics) in the weights the
// screens use, and the sizes every layout is measured in.
class Theme {
  public:
    Theme();
    ~Theme();
    Theme(const Theme&) = delete;
    Theme& operator=(const Theme&) = delete;

    HFONT normal() const { return normal_; }
    HFONT bold() const { return bold_; }
    HFONT big() const { return big_; }
    HFONT link() const { return link_; }
    // Average character width and text height of the normal font, in pixels.
    int charWidth() const { return charWidth_; }
    int textHeight() const { return textHeight_; }
    // Height of a one-line control (button, text box, drop-down list) and of a label line.
    int controlHeight() const { return textHeight_ + 10; }
    int lineHeight() const { return textHeight_ + 4; }
    // The usual space between controls and around the window's edge.
    int gap() const { return charWidth_; }

  private:
    HFONT normal_ = nullptr;
    HFONT bold_ = nullptr;
    HFONT big_ = nullptr;
    HFONT link_ = nullptr;
    int charWidth_ = 7;
    int textHeight_ = 16;
};

}  // namespace vespar::win32
