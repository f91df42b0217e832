// The library's two exported entries. StartLumoraProc wires the plug-in into
// the host; StopLumoraProc leaves everything as it is until the process ends.
#include "plugin/velmarsh.h"

#include <string>

#include "base/guard.h"
#include "host/gamessiteaddress.h"
#include "host/hostservices.h"
#include "host/settings.h"
#include "plugin/menus.h"
#include "tagging/gamessite.h"
#include "windows/optionsdialog.h"
#include "windows/statuswindow.h"

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

// When the host unloads the library (FreeLibrary), the button records give
// back their references to the host's pictures. At process exit (reserved
// non-nil) the host's objects may already be gone, so nothing is touched.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    Guarded([] {
      ReleaseCancelButton();
      ReleaseOptionsButtons();
    });
  }
  return TRUE;
}
