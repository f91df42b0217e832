// HostProbe.dll: a plug-in of our own that uses every host service through
// the binary contract and reports what it sees in host messages, so that a
// script run of lumora-sim shows in its transcript whether the host keeps
// the contract. Its commands sit in a "Probe" popup before command 57.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lumora/hostabi.h"

using namespace hostabi;

namespace {

// The services, fetched at start.
uint32_t(__stdcall* HostHandle)(uint32_t);
void*(__stdcall* HostMetric)(uint32_t);
uint32_t(__stdcall* RegisterCommand)(void*, CommandHandler);
void*(__stdcall* HostVariable)(uint32_t);
uint32_t(__stdcall* RegisterDownloadTarget)(const wchar_t*, DownloadHandler);
void(__stdcall* StyleButton)(TButInf*, const wchar_t*);
void(__stdcall* MessageLines)(void*, const wchar_t*);
void(__stdcall* SetGameTag)(int32_t, const char*, const char*);
int32_t(__stdcall* CreateHostWindow)(const wchar_t*, int32_t, int32_t, int32_t, int32_t, HWND, WNDPROC,
                                     PaintCallback);
WNDPROC DefaultWindowProc;
void(__stdcall* PaintWindowBackground)(HWND, HDC);
void(__stdcall* PlaceControl)(TCheckInf*, int32_t, int32_t, HWND);
void(__stdcall* GameHeaderChanged)(int32_t);
void(__stdcall* StartDownload)(const char*, uint32_t);
void(__stdcall* ShowHostMessage)(HWND, const wchar_t*, int32_t, int32_t);

template <class Fn>
void Fetch(hostabi::HostFunction F, uint32_t code, Fn& fn) {
  fn = reinterpret_cast<Fn>(static_cast<uintptr_t>(F(code)));
}

HMENU popup = nullptr;
uint32_t whiteEntryId = 0;
uint16_t targetId = 0;
WNDPROC previousMainProc = nullptr;
TButInf buttons[4] = {};  // copies of the host's templates, released at unload
TCheckInf box{};
int boxChanges = 0;
std::vector<std::wstring> input;  // what the inner window received
std::wstring innerNotes;

std::wstring Wide(std::string_view s) {
  int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

HWND MainWindow() {
  auto* ref = static_cast<uint8_t**>(HostVariable(kMainWindowRef));
  return *reinterpret_cast<HWND*>(*ref + kMainWindowHandleOffset);
}

void Say(const wchar_t* caption, const std::vector<std::wstring>& lines, int32_t kind = 0) {
  void* list = HostVariable(kMessageLineList);
  MessageLines(list, nullptr);
  for (const std::wstring& l : lines) MessageLines(list, l.c_str());
  MessageLines(list, L"OK");
  POINT p;
  GetCursorPos(&p);
  *static_cast<int32_t*>(HostVariable(kMessageX)) = p.x;
  *static_cast<int32_t*>(HostVariable(kMessageY)) = p.y;
  ShowHostMessage(MainWindow(), caption, -1, kind);
}

struct Game {
  int32_t position, record, count;
  std::span<TagPair> header;
};

// The current game, read through the host's variables as a plug-in must.
Game CurrentGame() {
  Game g{};
  g.position = *static_cast<int32_t*>(HostVariable(kCurrentGame));
  GameRecord* list = *static_cast<GameRecord**>(HostVariable(kGameList));
  int32_t* order = *static_cast<int32_t**>(HostVariable(kGameOrder));
  g.count = ArrayLength(list);
  g.record = -1;
  if (g.position >= 0 && g.position < g.count && g.position < ArrayLength(order)) {
    g.record = order[g.position];
    g.header = ArrayView(list[g.record].header);
  }
  return g;
}

std::wstring HeaderText(const Game& g) {
  std::wstring text;
  for (const TagPair& p : g.header)
    text += (text.empty() ? L"" : L"; ") + Wide(HostString(p.name)) + L"=" + Wide(HostString(p.value));
  return text;
}

void __stdcall ShowGame() {
  Game g = CurrentGame();
  Say(L"Game", {L"games " + std::to_wstring(g.count) + L", current position " + std::to_wstring(g.position) +
                    L", game record " + std::to_wstring(g.record),
                std::to_wstring(g.header.size()) + L" pairs: " + HeaderText(g)});
}

void __stdcall SetTags() {
  Game g = CurrentGame();
  if (g.record < 0) {
    Say(L"Set tags", {L"no current game"}, 1);
    return;
  }
  SetGameTag(g.record, "ProbeTag", "a \"quoted\" \\ value");
  SetGameTag(g.record, "White", "Probe, White");
  SetGameTag(g.record, "ProbeTag", "replaced");
  SetGameTag(-1, "Ignored", "x");
  SetGameTag(g.count, "Ignored", "x");
  GameHeaderChanged(0);
  Game after = CurrentGame();  // the header may have moved
  Say(L"Set tags", {std::to_wstring(after.header.size()) + L" pairs: " + HeaderText(after)});
}

std::wstring Hex(uint32_t v) {
  wchar_t text[16];
  std::swprintf(text, 16, L"%06X", static_cast<unsigned>(v));
  return text;
}

std::wstring Int(uint32_t metric) { return std::to_wstring(*static_cast<int32_t*>(HostMetric(metric))); }

std::wstring Font(uint32_t metric) {
  auto* f = static_cast<LOGFONTA*>(HostMetric(metric));
  return Wide(f->lfFaceName) + L" " + std::to_wstring(f->lfHeight) + L" weight " +
         std::to_wstring(f->lfWeight);
}

std::wstring Pictures(size_t offset) {
  uint8_t* style = *static_cast<uint8_t**>(HostVariable(kButtonStyle));
  auto* t = reinterpret_cast<TButInf*>(style + offset);
  int n = 0;
  for (IPicture* p : t->pictures) n += p != nullptr;
  return std::to_wstring(n) + L" pictures";
}

void __stdcall ShowMetrics() {
  HMENU menu = reinterpret_cast<HMENU>(static_cast<uintptr_t>(HostHandle(kMainMenu)));
  bool has57 = GetMenuState(menu, kAnchorCommand, MF_BYCOMMAND) != static_cast<UINT>(-1);
  HWND owner = reinterpret_cast<HWND>(static_cast<uintptr_t>(HostHandle(kOwnerWindow)));
  Say(L"Metrics",
      {L"margins " + Int(kMarginTop) + L" " + Int(kMarginBottom) + L" " + Int(kMarginLeft) + L" " +
           Int(kMarginRight) + L", check box " + Int(kCheckBoxHeight) + L"x" + Int(kCheckBoxWidth),
       L"colours " + Hex(*static_cast<uint32_t*>(HostMetric(kSelectionBackground))) + L" " +
           Hex(*static_cast<uint32_t*>(HostMetric(kSelectionText))) + L" " +
           Hex(*static_cast<uint32_t*>(HostMetric(kSeparatorColour))),
       L"fonts " + Font(kBodyFont) + L", " + Font(kCaptionFont),
       L"mouse byte " + std::to_wstring(*static_cast<uint8_t*>(HostVariable(kMouseBusy))) +
           L", result cell " + std::to_wstring(*static_cast<int32_t*>(HostVariable(kWindowResult))),
       L"owner is the main window: " + std::wstring(owner == MainWindow() ? L"yes" : L"no") +
           L", menu 9 holds 57: " + (has57 ? L"yes" : L"no"),
       L"templates: wide " + Pictures(kWideButtonTemplate) + L", normal " + Pictures(kNormalButtonTemplate)});
}

// --- windows ---

TButInf& MakeButton(int slot, HWND parent, const wchar_t* caption, int x, int y, CommandHandler click) {
  TButInf& b = buttons[slot];
  for (IPicture*& p : b.pictures)
    if (p) p->Release();
  uint8_t* style = *static_cast<uint8_t**>(HostVariable(kButtonStyle));
  b = *reinterpret_cast<TButInf*>(style + kNormalButtonTemplate);
  for (IPicture* p : b.pictures)
    if (p) p->AddRef();
  b.window = CreateWindowExW(0, L"knop", caption, WS_CHILD | WS_VISIBLE, x, y, 105, 28, parent, nullptr,
                             nullptr, nullptr);
  b.onClick = click;
  StyleButton(&b, caption);
  return b;
}

int32_t* ResultCell() { return static_cast<int32_t*>(HostVariable(kWindowResult)); }

void __stdcall InnerDone() { *ResultCell() = 7; }
void __stdcall BoxChanged() { ++boxChanges; }

LRESULT CALLBACK InnerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_SHOWWINDOW:
      if (wp) {
        HWND outer = GetWindow(w, GW_OWNER);
        innerNotes = L"while inner is open: outer enabled " + std::to_wstring(IsWindowEnabled(outer) != 0) +
                     L", main enabled " + std::to_wstring(IsWindowEnabled(MainWindow()) != 0);
        box = TCheckInf{};
        box.state = kClear;
        box.onChange = BoxChanged;
        PlaceControl(&box, 20, 60, w);
        MakeButton(1, w, L"Done", 150, 100, InnerDone);
      }
      break;
    case WM_KEYDOWN: input.push_back(L"key " + std::to_wstring(wp)); break;
    case WM_CHAR: input.push_back(L"char " + std::wstring(1, static_cast<wchar_t>(wp))); break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      input.push_back(std::wstring(m == WM_MOUSEMOVE     ? L"move "
                                   : m == WM_LBUTTONDOWN ? L"down "
                                                         : L"up ") +
                      std::to_wstring(static_cast<short>(LOWORD(lp))) + L"," +
                      std::to_wstring(static_cast<short>(HIWORD(lp))) + ((wp & MK_LBUTTON) ? L" held" : L""));
      break;
  }
  return DefaultWindowProc(w, m, wp, lp);
}

void __stdcall PaintProbe(HWND w, HDC dc) {
  PaintWindowBackground(w, dc);
  SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, 20, 20, L"HostProbe", 9);
}

void __stdcall OpenInner() {
  input.clear();
  boxChanges = 0;
  HWND outer = GetParent(buttons[0].window);
  int32_t r = CreateHostWindow(L"Probe inner", 0, 0, 320, 180, outer, InnerProc, PaintProbe);
  std::wstring joined;
  for (const std::wstring& i : input) joined += (joined.empty() ? L"" : L"; ") + i;
  bool open = *ResultCell() == kWindowOpen;
  Say(L"Inner", {L"inner returned " + std::to_wstring(r) + L", outer still open: " + (open ? L"yes" : L"no"),
                 innerNotes,
                 L"check box state " + std::to_wstring(box.state) + L" after " + std::to_wstring(boxChanges) +
                     L" changes",
                 L"input: " + (joined.empty() ? std::wstring(L"none") : joined)});
}

void __stdcall CloseOuter() { *ResultCell() = 5; }

LRESULT CALLBACK OuterProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_SHOWWINDOW && wp) {
    MakeButton(0, w, L"Inner", 20, 100, OpenInner);
    MakeButton(2, w, L"Close outer", 150, 100, CloseOuter);
  }
  return DefaultWindowProc(w, m, wp, lp);
}

void __stdcall Windows() {
  *ResultCell() = 33;  // a value of the host's: the window must give it back
  int32_t r = CreateHostWindow(L"Probe outer", 0, 0, 300, 200, MainWindow(), OuterProc, PaintProbe);
  Say(L"Windows", {L"outer returned " + std::to_wstring(r) + L", result cell restored to " +
                   std::to_wstring(*ResultCell())});
}

// A window that destroys itself without storing a result.
LRESULT CALLBACK LostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_SHOWWINDOW && wp) PostMessageW(w, WM_APP, 0, 0);
  if (m == WM_APP) {
    DestroyWindow(w);
    return 0;
  }
  return DefaultWindowProc(w, m, wp, lp);
}

void __stdcall LostWindow() {
  int32_t r = CreateHostWindow(L"Probe lost", 0, 0, 200, 100, MainWindow(), LostProc, PaintProbe);
  Say(L"Lost window", {L"returned " + std::to_wstring(r)});
}

void __stdcall OpenPage() {
  HWND owner = reinterpret_cast<HWND>(static_cast<uintptr_t>(HostHandle(kOwnerWindow)));
  ShellExecuteA(owner, "open", "https://chessarchive.example.org/public/pinfo.jsp?id=123", "", "", SW_SHOW);
}

void __stdcall Crash() { *static_cast<volatile int*>(nullptr) = 1; }

// --- downloads ---

void __stdcall Downloaded(const char* data) {
  std::string text = data ? data : "";
  std::string first = text.substr(0, text.find_first_of("\r\n"));
  Say(L"Download", {L"received " + std::to_wstring(text.size()) + L" bytes", L"first line: " + Wide(first)});
  wchar_t file[260] = L"probe.pgn";
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = reinterpret_cast<HWND>(static_cast<uintptr_t>(HostHandle(kOwnerWindow)));
  ofn.lpstrFilter = L"Chess bases pgn\0*.pgn\0";
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = 260;
  ofn.lpstrDefExt = L"pgn";
  if (!GetSaveFileNameW(&ofn)) return;
  HANDLE f = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  bool ok = f != INVALID_HANDLE_VALUE &&
            WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  Say(L"Download", {ok ? L"saved " + std::to_wstring(written) + L" bytes" : L"not saved"}, ok ? 0 : 1);
}

void __stdcall DownloadGames() {
  StartDownload("https://chessarchive.example.org/public/download.jsp?id=123", targetId);
}

void __stdcall DownloadMissing() {
  StartDownload("https://chessarchive.example.org/public/download.jsp?id=999", targetId);
}

// Calls the host as a faulty plug-in would: each call must be refused or
// show its fault, never work by accident.
void __stdcall Misuse() {
  std::vector<std::wstring> lines;
  HWND notAWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x0BAD0000));
  int32_t r = CreateHostWindow(L"Bad parent", 0, 0, 200, 100, notAWindow, DefaultWindowProc, nullptr);
  lines.push_back(L"window over no window: " + std::to_wstring(r));
  ShowHostMessage(notAWindow, L"Bad owner", -1, 0);
  Game g = CurrentGame();
  if (g.record >= 0 && !g.header.empty()) {
    const auto* keptHeader = reinterpret_cast<const uint8_t*>(g.header.data());
    const auto* keptValue = reinterpret_cast<const uint8_t*>(g.header[0].value);
    SetGameTag(g.record, "Event", "Misused");
    bool retired = keptHeader[0] == 0xDD && keptValue && keptValue[0] == 0xDD;
    lines.push_back(std::wstring(L"addresses kept across SetGameTag: ") +
                    (retired ? L"garbage" : L"still the data"));
  }
  Say(L"Misuse", lines);
}

void __stdcall MisusedDownloads() {
  StartDownload("https://chessarchive.example.org/public/download.jsp?id=123", 0x4C4D0000u | targetId);
  StartDownload("https://chessarchive.example.org/public/../../download.jsp?id=123", targetId);
}

// --- the popup that follows the current game ---

LRESULT CALLBACK MainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_RBUTTONUP) {
    Game g = CurrentGame();
    RemoveMenu(popup, whiteEntryId, MF_BYCOMMAND);
    if (g.record >= 0 && g.header.size() > 4)
      InsertMenuW(popup, 0, MF_BYPOSITION | MF_STRING, whiteEntryId,
                  (L"White: " + Wide(HostString(g.header[4].value))).c_str());
  }
  return CallWindowProcW(previousMainProc, w, m, wp, lp);
}

void __stdcall Nothing() {}

}  // namespace

extern "C" void __stdcall StartLumoraProc(HostFunction F) {
  Fetch(F, kHostHandle, HostHandle);
  Fetch(F, kHostMetric, HostMetric);
  Fetch(F, kRegisterCommand, RegisterCommand);
  Fetch(F, kHostVariable, HostVariable);
  Fetch(F, kRegisterDownloadTarget, RegisterDownloadTarget);
  Fetch(F, kStyleButton, StyleButton);
  Fetch(F, kMessageLines, MessageLines);
  Fetch(F, kSetGameTag, SetGameTag);
  Fetch(F, kCreateHostWindow, CreateHostWindow);
  Fetch(F, kDefaultWindowProc, DefaultWindowProc);
  Fetch(F, kPaintWindowBackground, PaintWindowBackground);
  Fetch(F, kPlaceControl, PlaceControl);
  Fetch(F, kGameHeaderChanged, GameHeaderChanged);
  Fetch(F, kStartDownload, StartDownload);
  Fetch(F, kShowHostMessage, ShowHostMessage);

  targetId = static_cast<uint16_t>(RegisterDownloadTarget(L"Probe downloads", Downloaded));
  HMENU menu = reinterpret_cast<HMENU>(static_cast<uintptr_t>(HostHandle(kMainMenu)));
  popup = CreatePopupMenu();
  static TRegRecord record{};
  InsertMenuW(menu, kAnchorCommand, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"Probe");
  struct Command {
    const wchar_t* caption;
    CommandHandler handler;
  };
  const Command commands[] = {{L"Show game", ShowGame},
                              {L"Set tags", SetTags},
                              {L"Metrics", ShowMetrics},
                              {L"Windows", Windows},
                              {L"Download", DownloadGames},
                              {L"Download missing", DownloadMissing},
                              {L"Lost window", LostWindow},
                              {L"Open page", OpenPage},
                              {L"Crash", Crash},
                              {L"Misuse", Misuse},
                              {L"Misused downloads", MisusedDownloads}};
  for (const Command& c : commands)
    AppendMenuW(popup, MF_STRING, RegisterCommand(&record, c.handler), c.caption);
  whiteEntryId = RegisterCommand(&record, Nothing);
  previousMainProc =
      reinterpret_cast<WNDPROC>(SetWindowLongW(MainWindow(), GWL_WNDPROC, reinterpret_cast<LONG>(MainProc)));
}

extern "C" void __stdcall StopLumoraProc() {}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*) {
  if (reason == DLL_PROCESS_DETACH)
    for (TButInf& b : buttons)
      for (IPicture*& p : b.pictures) {
        if (p) p->Release();
        p = nullptr;
      }
  return TRUE;
}
