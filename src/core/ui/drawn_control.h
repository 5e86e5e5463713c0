#pragma once

#include <optional>
#include <string>

#include "ui/control_model.h"

namespace vespar {

// A control to draw again, with what its widget showed of it before.
struct ControlChange {
    const Control& now;
    std::optional<Control> before;  // nothing on the first draw, when everything is drawn

    // Whether a field differs from what the widget showed.
    template <typename T>
    bool Differs(T Control::*field) const {
        return !before || (*before).*field != now.*field;
    }
};

// What one widget shows of a control of a screen model, so that a redraw touches only what
// changed. The control is found in the model once: the model never drops one.
class DrawnControl {
  public:
    // The change when the widget does not show the control as it is, recorded as shown;
    // nothing when it does or the model has no such control.
    std::optional<ControlChange> Redraw(const ScreenModel& model, const std::string& name);
    // The user changed the widget, which then no longer shows the model: the model's answer is
    // drawn again, whole.
    void Forget() { shown_.reset(); }
    // Nothing before the first draw and after Forget.
    const std::optional<Control>& shown() const { return shown_; }

  private:
    const Control* control_ = nullptr;
    std::optional<Control> shown_;
};

// Whether a window has a screen model's controls to draw again: yes at the first ask and after
// any writable access to the model since the last yes. The count is taken before drawing, so a
// change the drawing itself causes is drawn at the next ask.
class DrawnScreen {
  public:
    bool Due(const ScreenModel& model) {
        if (drawn_ == model.changes()) return false;
        drawn_ = model.changes();
        return true;
    }

  private:
    std::optional<std::uint64_t> drawn_;
};

}  // namespace vespar
