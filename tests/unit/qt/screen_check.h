#pragma once

#include <QString>

namespace vespar::qt {

class FrontEnd;

// Walks every control of every screen window (on screen or hidden) and, given the
// front-end, of the tray's menu for the main window, and lists the faults, one a line: a
// control that is neither drawn nor declared as not drawn, a widget for a control its screen
// does not have, and on a window on screen a widget that does not show what its control says
// (caption, tooltip, enabling, visibility, colours, boldness, value, list items and
// selection). Empty when all is well; `screens` counts the screens walked.
QString ScreenFaults(FrontEnd* frontEnd, int* screens = nullptr);

}  // namespace vespar::qt
