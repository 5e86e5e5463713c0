#pragma once

#include "ui/control_model.h"

namespace vespar {

// The controls of VesparMain and its popup menu, with their initial captions and state.
class MainWindowScreen : public ScreenModel {
  public:
    MainWindowScreen();
};

}  // namespace vespar
