#pragma once

#include "base/dialogs.h"

namespace vespar::qt {

// Message boxes as real modal QMessageBoxes; a time-out closes the box as if OK was pressed.
class QtDialogs : public Dialogs {
  public:
    Answer Show(const MessageBox& box) override;
};

}  // namespace vespar::qt
