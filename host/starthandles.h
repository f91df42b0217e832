// The host values the plug-in captures when it starts; they live for the
// process because the host hands them over only then.
#pragma once

#include <windows.h>

#include <cstdint>

extern HWND ownerWindow;           // owner of shell "open" calls and file dialogs
extern HMENU mainMenu;             // the host menu holding command 57
extern void* mainWindowRef;        // address of the host's main-window object variable
extern uint16_t downloadTargetId;  // the download target registered at start
