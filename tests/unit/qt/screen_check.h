#pragma once

#include <QString>

namespace vespar::qt {

class FrontEnd;
class ScreenWindow;

// Walks every control of every screen the front-end shows (every ScreenWindow on screen or
// hidden, and the tray's menu for the main window) and lists the faults, one a line: a
// control that is neither drawn nor declared as not drawn, and a widget for a control its
// screen does not have. Empty when all is well; `screens` counts the screens walked.
QString UndrawnControls(FrontEnd& frontEnd, int& screens);

// Lists every widget of the window (and of the tray's menu, given the front-end) that does
// not show what its control says: caption, tooltip, enabling, visibility, colours, boldness,
// check value, list items and selection. Empty when the screen shows its model.
QString MisdrawnControls(ScreenWindow& window, FrontEnd* frontEnd = nullptr);

}  // namespace vespar::qt
