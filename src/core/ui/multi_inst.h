#pragma once

#include "ui/control_model.h"

namespace vespar {

// The notice shown instead of the main window when another instance runs.
class MultiInstScreen : public ScreenModel {
  public:
    MultiInstScreen();
};

}  // namespace vespar
