#pragma once

#include <QString>

namespace vespar::qt {

class FrontEnd;

// Walks every control of every screen the front-end shows (every ScreenWindow on screen or
// hidden, and the tray's menu for the main window) and lists the faults, one a line: a
// control that is neither drawn nor declared as not drawn, and a widget for a control its
// screen does not have. Empty when all is well; `screens` counts the screens walked.
QString UndrawnControls(FrontEnd& frontEnd, int& screens);

}  // namespace vespar::qt
