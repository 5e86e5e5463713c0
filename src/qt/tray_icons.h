#pragma once

#include <QIcon>
#include <QPixmap>

#include "ui/main_window.h"

namespace vespar::qt {

// The program's own pictures, drawn at run time so that no image files need shipping. Each
// tray state has its own colour and mark, to tell them apart at a glance even at 16 pixels:
// the window icon blue with a power sign, activity green with a pulse line, activation
// amber with a clock, and the shutdown warning red with a power sign on a white ring.
QIcon TrayIconPicture(TrayIcon which);

// The main window's logo: the window icon beside the product name.
QPixmap LogoPicture();

}  // namespace vespar::qt
