#include "hostsim/fakehost.h"

#include "hostsim/hostwindows.h"

using namespace hostabi;

FakeHost* FakeHost::current = nullptr;

namespace {

FakeHost& Host() { return *FakeHost::current; }

LRESULT CALLBACK MainWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

uint32_t __stdcall HostHandle(uint32_t n) {
  if (n == kOwnerWindow || n == kMainMenu)
    return n == kOwnerWindow ? reinterpret_cast<uint32_t>(Host().mainWindow)
                             : reinterpret_cast<uint32_t>(Host().mainMenu);
  return 0;
}

void* __stdcall HostMetric(uint32_t n) { return hostwin::StyleValue(Host().style, n); }

uint32_t __stdcall RegisterCommand(void* record, CommandHandler handler) {
  FakeHost& h = Host();
  uint32_t id = 1000 + static_cast<uint32_t>(h.registrations.size());
  h.registrations.push_back({record, static_cast<TRegRecord*>(record)->zeroField, handler, id});
  return id;
}

void* __stdcall HostVariable(uint32_t n) { return Host().Address(n); }

uint32_t __stdcall RegisterDownloadTarget(const wchar_t* caption, DownloadHandler done) {
  Host().downloadTargets.push_back({caption, done});
  return 0x00070000u | static_cast<uint32_t>(Host().downloadTargets.size());
}

void __stdcall StyleButton(TButInf* button, const wchar_t* caption) { hostwin::StyleButton(button, caption); }

void __stdcall MessageLines(void* list, const wchar_t* text) {
  auto* lines = static_cast<std::vector<std::wstring>*>(list);
  if (text)
    lines->push_back(text);
  else
    lines->clear();
}

void __stdcall SetGameTag(int32_t game, const char* tag, const char* value) {
  Host().tagWrites.push_back({game, tag, value});
  Host().base.SetTag(game, tag, value);
}

int32_t __stdcall CreateHostWindow(const wchar_t* caption, int32_t, int32_t, int32_t width, int32_t height,
                                   HWND parent, WNDPROC proc, PaintCallback paint) {
  FakeHost& h = Host();
  h.windowCaptions.push_back(caption);
  if (h.onCreateHostWindow) return h.onCreateHostWindow(caption, parent, proc, paint);
  return hostwin::RunPluginWindow(caption, width, height, parent, proc, paint);
}

void __stdcall PaintWindowBackground(HWND w, HDC dc) { hostwin::PaintWindowBackground(w, dc); }

void __stdcall PlaceControl(TCheckInf* box, int32_t x, int32_t y, HWND parent) {
  hostwin::PlaceControl(box, x, y, parent);
}
void __stdcall GameHeaderChanged(int32_t) { ++Host().headerChangedCalls; }

void __stdcall StartDownload(const char* url, uint32_t target) { Host().downloads.push_back({url, target}); }

void __stdcall ShowHostMessage(HWND, const wchar_t* caption, int32_t, int32_t kind) {
  Host().messages.push_back({caption, Host().messageLines, kind});
}

}  // namespace

uint32_t __stdcall FakeHost::F(uint32_t code) {
  FakeHost& h = Host();
  h.askedCodes.push_back(code);
  if (h.missingServices.count(code)) return 0;
  auto address = [](auto fn) { return reinterpret_cast<uint32_t>(fn); };
  switch (code) {
    case kHostHandle: return address(HostHandle);
    case kHostMetric: return address(HostMetric);
    case kRegisterCommand: return address(RegisterCommand);
    case kHostVariable: return address(HostVariable);
    case kRegisterDownloadTarget: return address(RegisterDownloadTarget);
    case kStyleButton: return address(StyleButton);
    case kMessageLines: return address(MessageLines);
    case kSetGameTag: return address(SetGameTag);
    case kCreateHostWindow: return address(CreateHostWindow);
    case kDefaultWindowProc: return address(hostwin::DefaultWindowProc);
    case kPaintWindowBackground: return address(PaintWindowBackground);
    case kPlaceControl: return address(PlaceControl);
    case kGameHeaderChanged: return address(GameHeaderChanged);
    case kStartDownload: return address(StartDownload);
    case kShowHostMessage: return address(ShowHostMessage);
    case kUnusedValue: return 0x1234;
    case kUnusedValue2: return 0x5678;
  }
  return 0;
}

FakeHost::FakeHost() {
  current = this;
  messageX = messageY = 100;
  WNDCLASSW wc{};
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"FakeHostMain";
  RegisterClassW(&wc);
  mainWindow = CreateWindowExW(0, L"FakeHostMain", L"Fake host", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                               nullptr, wc.hInstance, nullptr);
  mainWindowObject[kMainWindowHandleOffset / 4] = reinterpret_cast<uint32_t>(mainWindow);
  mainMenu = CreateMenu();
  AppendMenuW(mainMenu, MF_STRING, 56, L"Before");
  AppendMenuW(mainMenu, MF_STRING, kAnchorCommand, L"Anchor");
  AppendMenuW(mainMenu, MF_STRING, 58, L"After");
  style.bodyFont.lfHeight = -13;
  lstrcpyA(style.bodyFont.lfFaceName, "Tahoma");
  style.captionFont = style.bodyFont;
  style.captionFont.lfWeight = FW_BOLD;
  hostwin::Initialise(&windowResult, &style);
  base.Publish();
}

FakeHost::~FakeHost() {
  DestroyWindow(mainWindow);
  DestroyMenu(mainMenu);
  current = nullptr;
}

std::vector<std::wstring> FakeHost::MenuCaptions(HMENU menu) {
  std::vector<std::wstring> captions;
  int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = 255;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    if (info.fType & MFT_SEPARATOR)
      captions.push_back(L"-");
    else
      captions.push_back((info.hSubMenu ? L">" : L"") + std::wstring(text));
  }
  return captions;
}

HMENU FakeHost::PluginPopup() const {
  int n = GetMenuItemCount(mainMenu);
  for (int i = 0; i < n; ++i)
    if (HMENU sub = GetSubMenu(mainMenu, i)) return sub;
  return nullptr;
}
