#include "ui/drawn_control.h"

#include <utility>

namespace vespar {

const Control* DrawnControl::Redraw(const ScreenModel& model, const std::string& name) {
    if (!control_) {
        if (!model.has(name)) return nullptr;
        control_ = &model.control(name);
    }
    if (shown_ && *shown_ == *control_) return nullptr;
    before_ = std::exchange(shown_, *control_);
    return control_;
}

}  // namespace vespar
