#pragma once

#include <optional>
#include <string>

#include "ui/control_model.h"

namespace vespar {

// What one widget shows of a control of a screen model, so that a redraw touches only what
// changed. The control is found in the model once: the model never drops one.
class DrawnControl {
  public:
    // The control when the widget does not show it yet, recorded as shown. Null when it does or
    // the model has no such control.
    const Control* Redraw(const ScreenModel& model, const std::string& name);
    // Whether a field of the control Redraw returned differs from what the widget showed before
    // (everything differs on the first draw).
    template <typename T>
    bool Differs(T Control::*field) const {
        return !before_ || (*before_).*field != (*shown_).*field;
    }
    // The user changed the widget, which then no longer shows the model: the model's answer is
    // drawn again, whole.
    void Forget() { shown_.reset(); }
    // Nothing before the first draw and after Forget.
    const std::optional<Control>& shown() const { return shown_; }

  private:
    const Control* control_ = nullptr;
    std::optional<Control> shown_;
    std::optional<Control> before_;  // what was shown before the last redraw
};

}  // namespace vespar
