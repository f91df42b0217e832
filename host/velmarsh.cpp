// The library's two exported entries. StartLumoraProc wires the plug-in into
// the host; StopLumoraProc leaves everything as it is until the process ends.
#include "host/velmarsh.h"

#include <string>

#include "host/commands.h"
#include "host/gamessite.h"
#include "host/guard.h"
#include "host/hostservices.h"
#include "host/menus.h"
#include "host/settings.h"

HWND ownerWindow = nullptr;
HMENU mainMenu = nullptr;
void* mainWindowRef = nullptr;
uint16_t downloadTargetId = 0;

extern "C" void __stdcall StartLumoraProc(hostabi::HostFunction F) {
  Guarded([F] {
    // Without the tag-setting service the plug-in stays inert.
    if (!F || !FetchHostServices(F)) return;
    ownerWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(HostHandle(hostabi::kOwnerWindow)));
    mainMenu = reinterpret_cast<HMENU>(static_cast<uintptr_t>(HostHandle(hostabi::kMainMenu)));
    mainWindowRef = HostVariable(hostabi::kMainWindowRef);
    ReadSettingsFile();
    std::wstring caption = std::wstring(L"Chess base from ") + kGamesSiteHostW;
    downloadTargetId = static_cast<uint16_t>(RegisterDownloadTarget(caption.c_str(), SaveDownloadedGames));
    SubclassMainWindow();
    RegisterCommandsAndMenus();
  });
}

extern "C" void __stdcall StopLumoraProc() {}
