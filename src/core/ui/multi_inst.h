#pragma once

#include "ui/control_model.h"

namespace vespar {

// The notice shown instead of the main window when another instance runs.
class MultiInstScreen : public ScreenModel {
  public:
    MultiInstScreen();

    static constexpr const char* kErrorMess = "ErrorMess";
    static constexpr const char* kExit = "Exit";
    static constexpr const char* kLogo = "Logo";
    static constexpr const char* kImage1 = "Image1";
};

}  // namespace vespar
