#pragma once

#include <QIcon>

namespace app {

// The program's icon, the shop front of the main window's banner, at every
// size it is rendered in (16 to 256 pixels), compiled into the program.
QIcon programIcon();

} // namespace app
