// The library's entry points and the host values captured when it starts.
#pragma once

#include <cstdint>

#include "host/hostabi.h"

extern "C" {
void __stdcall StartLumoraProc(hostabi::HostFunction F);
void __stdcall StopLumoraProc();
}

// Captured by StartLumoraProc.
extern HWND ownerWindow;       // owner of shell "open" calls and file dialogs
extern HMENU mainMenu;         // the host menu holding command 57
extern void* mainWindowRef;    // address of the host's main-window object variable
extern uint16_t downloadTargetId;
