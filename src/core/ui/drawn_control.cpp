#include "ui/drawn_control.h"

#include <utility>

namespace vespar {

std::optional<ControlChange> DrawnControl::Redraw(const ScreenModel& model,
                                                  const std::string& name) {
    if (!control_) {
        if (!model.has(name)) return std::nullopt;
        control_ = &model.control(name);
    }
    if (shown_ && *shown_ == *control_) return std::nullopt;
    return ControlChange{*control_, std::exchange(shown_, *control_)};
}

}  // namespace vespar
