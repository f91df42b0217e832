// The host's main window: its menus (File, Tools with command 57, Help), the
// views of the base, the commands plug-ins registered, and the messages the
// host posts to itself (finished downloads, script actions).
#pragma once

#include <windows.h>

namespace mainwindow {

// Creates the window with its menus and views (not yet shown) and fills the
// main-window object that plug-ins read.
HWND Create();

}  // namespace mainwindow
