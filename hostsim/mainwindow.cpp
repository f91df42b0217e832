#include "hostsim/mainwindow.h"

#include <commdlg.h>

#include <string>

#include "hostsim/downloads.h"
#include "hostsim/gamebase.h"
#include "hostsim/gamelist.h"
#include "hostsim/hoststate.h"
#include "hostsim/menutree.h"
#include "hostsim/messagewnd.h"
#include "hostsim/plugins.h"
#include "hostsim/scriptrun.h"
#include "hostsim/transcript.h"

namespace mainwindow {

namespace {

constexpr wchar_t kClass[] = L"LumoraMain";

POINT CentreOfMain() {
  RECT r{};
  GetWindowRect(host.mainWindow, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool AskFileName(bool save, std::wstring& path) {
  wchar_t file[MAX_PATH] = {};
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = host.mainWindow;
  ofn.lpstrFilter = L"Chess bases (*.pgn)\0*.pgn\0All files\0*.*\0";
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrDefExt = L"pgn";
  ofn.Flags = save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST;
  if (!(save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn))) return false;
  path = file;
  return true;
}

std::wstring FileName(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

void ShowPlugins() {
  std::vector<std::wstring> lines;
  for (const std::wstring& name : plugins::Names()) lines.push_back(name);
  if (lines.empty()) lines.push_back(L"No plug-in is loaded.");
  lines.push_back(L"OK");
  messagewnd::Show(host.mainWindow, L"Plug-ins", lines, 0, CentreOfMain());
}

// Before the open base is closed: a person with unsaved tags may save them
// or stay. False when the base should stay open. Scripts save by steps.
bool MayCloseBase() {
  if (!host.modified || !host.forPerson) return true;
  int answer = MessageBoxW(host.mainWindow, (L"Save the changes to " + host.baseName + L"?").c_str(),
                           L"Lumora", MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer == IDCANCEL) return false;
  if (answer == IDNO) return true;
  std::wstring path = host.basePath;
  if (path.empty() && !AskFileName(true, path)) return false;
  return SaveBase(path, FileName(path));
}

void RunHostCommand(UINT id) {
  std::wstring path;
  switch (id) {
    case kOpenBaseCommand:
      if (MayCloseBase() && AskFileName(false, path)) OpenBase(path, FileName(path));
      return;
    case kSaveBaseCommand:
      if (!host.basePath.empty()) {
        SaveBase(host.basePath, FileName(host.basePath));
        return;
      }
      [[fallthrough]];
    case kSaveBaseAsCommand:
      if (AskFileName(true, path)) SaveBase(path, FileName(path));
      return;
    case kExitCommand: PostMessageW(host.mainWindow, WM_CLOSE, 0, 0); return;
    case kPluginsCommand: ShowPlugins(); return;
    case kAboutCommand:
      messagewnd::Show(host.mainWindow, L"About Lumora",
                       {L"Lumora, the stand-in chess base for trying plug-ins.", L"OK"}, 0, CentreOfMain());
      return;
  }
}

void RunPluginCommand(UINT id) {
  for (const CommandRegistration& c : host.commands) {
    if (c.id != id || !c.handler) continue;
    transcript::Line("command " + std::to_string(id) + " begins");
    c.handler();
    transcript::Line("command " + std::to_string(id) + " ends");
    menutree::ReportChanges(host.menuBar);
    return;
  }
}

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_SIZE: gamelist::Layout(LOWORD(lp), HIWORD(lp)); return 0;
    case WM_COMMAND:
      if (lp == 0) {
        UINT id = LOWORD(wp);
        if (id >= kFirstPluginCommand)
          RunPluginCommand(id);
        else
          RunHostCommand(id);
      }
      return 0;
    case WM_NOTIFY: return gamelist::OnNotify(reinterpret_cast<NMHDR*>(lp));
    case WM_RBUTTONUP:
      // Plug-ins subclassing this window have already seen the release.
      menutree::ReportChanges(host.menuBar);
      if (host.forPerson) {
        // A person gets the Tools menu, with the plug-ins' entries, at the pointer.
        POINT p;
        GetCursorPos(&p);
        TrackPopupMenu(host.toolsMenu, TPM_RIGHTBUTTON, p.x, p.y, 0, w, nullptr);
      }
      return 0;
    case kDownloadDoneMessage:
      downloads::Finish(lp);
      menutree::ReportChanges(host.menuBar);
      return 0;
    case kScriptActionMessage: scriptrun::RunPostedAction(); return 0;
    case kRefreshViewsMessage: gamelist::RunPendingRefresh(); return 0;
    case WM_CLOSE:
      if (!MayCloseBase()) return 0;
      plugins::StopAll();
      DestroyWindow(w);
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

HMENU BuildMenus() {
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, kOpenBaseCommand, L"&Open...");
  AppendMenuW(file, MF_STRING, kSaveBaseCommand, L"&Save");
  AppendMenuW(file, MF_STRING, kSaveBaseAsCommand, L"Save &as...");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kExitCommand, L"E&xit");
  host.toolsMenu = CreatePopupMenu();
  AppendMenuW(host.toolsMenu, MF_STRING, kPluginsCommand, L"&Plug-ins...");
  HMENU help = CreatePopupMenu();
  AppendMenuW(help, MF_STRING, kAboutCommand, L"&About Lumora");
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(host.toolsMenu), L"&Tools");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
  return bar;
}

}  // namespace

HWND Create() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);
  host.menuBar = BuildMenus();
  host.mainWindow = CreateWindowExW(0, kClass, L"Lumora", WS_OVERLAPPEDWINDOW, 40, 40, 960, 640, nullptr,
                                    host.menuBar, wc.hInstance, nullptr);
  if (!host.mainWindow) return nullptr;
  host.mainWindowObject[hostabi::kMainWindowHandleOffset / 4] = reinterpret_cast<uint32_t>(host.mainWindow);
  // Until a command stores the mouse position, message and search windows
  // centre on the main window.
  RECT frame;
  GetWindowRect(host.mainWindow, &frame);
  host.messageX = (frame.left + frame.right) / 2;
  host.messageY = (frame.top + frame.bottom) / 2;
  gamelist::CreateViews(host.mainWindow);
  RECT client;
  GetClientRect(host.mainWindow, &client);
  gamelist::Layout(client.right, client.bottom);
  return host.mainWindow;
}

}  // namespace mainwindow
