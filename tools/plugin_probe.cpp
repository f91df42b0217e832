// plugin-probe: loads plugins\Velmarsh.dll the way a host does, starts it
// against a recording host and prints what it asked for and registered, and
// how its menu follows a game after a right-button release.
#include <windows.h>

#include <cstdio>
#include <string>

#include "hostsim/fakehost.h"

namespace {

void PrintMenu(const char* label, HMENU menu) {
  std::printf("%s:", label);
  for (const auto& caption : FakeHost::MenuCaptions(menu)) std::printf(" [%ls]", caption.c_str());
  std::printf("\n");
}

}  // namespace

int main() {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring dll(exe);
  dll = dll.substr(0, dll.rfind(L'\\') + 1) + L"plugins\\Velmarsh.dll";

  HMODULE module = LoadLibraryW(dll.c_str());
  if (!module) {
    std::fprintf(stderr, "plugin-probe: cannot load %ls (error %lu)\n", dll.c_str(), GetLastError());
    return 1;
  }
  auto start = reinterpret_cast<void(__stdcall*)(hostabi::HostFunction)>(
      reinterpret_cast<void*>(GetProcAddress(module, "StartLumoraProc")));
  auto stop =
      reinterpret_cast<void(__stdcall*)()>(reinterpret_cast<void*>(GetProcAddress(module, "StopLumoraProc")));
  if (!start || !stop) {
    std::fprintf(stderr, "plugin-probe: the DLL lacks StartLumoraProc or StopLumoraProc\n");
    return 1;
  }
  std::printf("loaded %ls\n", dll.c_str());

  FakeHost host;
  host.base.AddGame("Doe, Jane", "Roe, Richard");
  host.base.Publish();
  start(FakeHost::F);

  std::printf("services asked:");
  for (uint32_t code : host.askedCodes) std::printf(" %u", code);
  std::printf("\n");
  for (const auto& t : host.downloadTargets) std::printf("download target: %ls\n", t.caption.c_str());
  std::printf("commands registered: %zu", host.registrations.size());
  for (const auto& r : host.registrations) std::printf(" %u%s", r.id, r.handler ? "" : "(separator)");
  std::printf("\n");
  PrintMenu("main menu", host.mainMenu);
  if (HMENU popup = host.PluginPopup()) {
    PrintMenu("popup", popup);
    SendMessageW(host.mainWindow, WM_RBUTTONUP, 0, 0);
    PrintMenu("popup after a right-click on Doe, Jane - Roe, Richard", popup);
  }
  stop();
  return 0;
}
