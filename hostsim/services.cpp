#include "hostsim/services.h"

#include <olectl.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "base/gdi.h"
#include "hostsim/downloads.h"
#include "hostsim/gamebase.h"
#include "hostsim/gamelist.h"
#include "hostsim/hoststate.h"
#include "hostsim/hostwindows.h"
#include "hostsim/looptimes.h"
#include "hostsim/messagewnd.h"
#include "hostsim/transcript.h"

using namespace hostabi;

namespace services {

namespace {

std::vector<uint32_t> askedCodes;
IPicture* pictures[6] = {};

std::string Text(const char* ansi) { return transcript::Quote(transcript::Utf8FromAnsi(ansi ? ansi : "")); }

uint32_t __stdcall HostHandle(uint32_t n) {
  if (n == kOwnerWindow) return reinterpret_cast<uint32_t>(host.mainWindow);
  if (n == kMainMenu) return reinterpret_cast<uint32_t>(host.toolsMenu);
  return 0;
}

void* __stdcall HostMetric(uint32_t n) { return hostwin::StyleValue(host.style, n); }

void* __stdcall HostVariable(uint32_t n) { return host.Address(n); }

uint32_t __stdcall RegisterCommand(void* record, CommandHandler handler) {
  uint32_t id = kFirstPluginCommand + static_cast<uint32_t>(host.commands.size());
  host.commands.push_back({id, handler});
  std::string line = "command registered " + std::to_string(id) + (handler ? "" : " (separator)");
  if (!record)
    line += " without a registration record";
  else if (uint16_t field = static_cast<TRegRecord*>(record)->zeroField; field != 0)
    line += ", record field at offset 2 holds " + std::to_string(field);
  transcript::Line(line);
  return id;
}

uint32_t __stdcall RegisterDownloadTarget(const wchar_t* caption, DownloadHandler done) {
  auto id = static_cast<uint16_t>(host.downloadTargets.size() + 1);
  host.downloadTargets.push_back({id, caption ? caption : L"", done});
  transcript::Line("download target " + std::to_string(id) + " registered " +
                   transcript::Quote(std::wstring(caption ? caption : L"")));
  // The high half is the host's own and is not passed back.
  return 0x4C4D0000u | id;
}

void __stdcall StyleButton(TButInf* button, const wchar_t* caption) {
  if (!button || !IsWindow(button->window)) {
    transcript::Line("button not styled: no button window");
    return;
  }
  hostwin::StyleButton(button, caption);
  transcript::Line("button styled " + transcript::Quote(std::wstring(caption ? caption : L"")) + " in " +
                   WindowLabel(GetParent(button->window)));
}

void __stdcall MessageLines(void* list, const wchar_t* text) {
  if (list != &host.messageLines) return;  // only the host's own list
  if (text)
    host.messageLines.push_back(text);
  else
    host.messageLines.clear();
}

// The transcript's line for a tag set; built only when a transcript is
// written, as a run over a large base sets hundreds of thousands of tags.
void ReportTagSet(int32_t game, const std::string& name, const char* tag, const char* value, bool valid) {
  if (!transcript::Writing()) return;
  std::string line = "tag set game " + std::to_string(game) + " " + Text(tag) + " " + Text(value);
  if (!valid) {
    transcript::Line(line + " ignored: " + (name.empty() ? "no tag name" : "no such game"));
    return;
  }
  const HostGame& before = host.base.games[static_cast<size_t>(game)];
  bool exists = std::any_of(before.tags.begin(), before.tags.end(),
                            [&](const auto& t) { return t.first.Text() == name; });
  std::string old = before.Tag(name);
  transcript::Line(line + (exists ? " replacing " + Text(old.c_str()) : " added"));
}

void __stdcall SetGameTag(int32_t game, const char* tag, const char* value) {
  std::string name = tag ? tag : "";
  bool valid = game >= 0 && game < static_cast<int32_t>(host.base.games.size()) && !name.empty();
  ReportTagSet(game, name, tag, value, valid);
  if (!valid) return;
  host.base.SetTag(game, name, value ? value : "");
  host.modified = true;
  gamelist::RefreshLater(game);
}

int32_t __stdcall CreateHostWindow(const wchar_t* caption, int32_t, int32_t, int32_t width, int32_t height,
                                   HWND parent, WNDPROC proc, PaintCallback paint) {
  if (!proc) {
    transcript::Line("window not opened " + transcript::Quote(std::wstring(caption ? caption : L"")) +
                     ": no window procedure");
    return -1;
  }
  // A real host cannot create a window over an owner that is no window: the
  // plug-in passed something else than a window handle.
  if (parent && !IsWindow(parent)) {
    transcript::Line("window not opened " + transcript::Quote(std::wstring(caption ? caption : L"")) +
                     ": parent is not a window");
    return -1;
  }
  return hostwin::RunPluginWindow(caption ? caption : L"", width, height, parent, proc, paint);
}

void __stdcall PaintWindowBackground(HWND w, HDC dc) { hostwin::PaintWindowBackground(w, dc); }

void __stdcall PlaceControl(TCheckInf* box, int32_t x, int32_t y, HWND parent) {
  std::string where = " at " + std::to_string(x) + "," + std::to_string(y) + " in " + WindowLabel(parent);
  if (!hostwin::PlaceControl(box, x, y, parent)) {
    transcript::Line("check box not placed" + where + (box ? ": no parent window" : ": no record"));
    return;
  }
  // The record's faults show: a flag byte the plug-in did not clear, a state
  // that is neither ticked (1) nor clear (2).
  std::string state = box->state == kTicked ? ", ticked" : ", clear";
  if (box->state != kTicked && box->state != 2) state += " (state " + std::to_string(box->state) + ")";
  if (box->flag != 0) state += ", flag " + std::to_string(box->flag);
  transcript::Line("check box placed" + where + state);
}

void __stdcall GameHeaderChanged(int32_t) {
  transcript::Line("game header changed");
  gamelist::RefreshLater(-1);
}

void __stdcall StartDownload(const char* url, uint32_t target) { downloads::Start(url ? url : "", target); }

void __stdcall ShowHostMessage(HWND owner, const wchar_t* caption, int32_t, int32_t kind) {
  std::vector<std::wstring> lines = host.messageLines;
  if (!IsWindow(owner)) {
    transcript::Line("message not shown " + transcript::Quote(std::wstring(caption ? caption : L"")) +
                     ": owner is not a window");
    return;
  }
  messagewnd::Show(owner, caption ? caption : L"", lines, kind, POINT{host.messageX, host.messageY});
}

std::wstring CaptionOf(HWND window) {
  wchar_t caption[512] = {};
  GetWindowTextW(window, caption, 511);
  return caption;
}

std::vector<std::pair<HWND, std::wstring>> openCaptions;  // a destroyed window has none

// With --loop-times, how the host's loop fared while an outermost plug-in
// window was open goes to standard error.
void ReportLoopTimes(const std::wstring& caption) {
  looptimes::Figures f = looptimes::Read();
  std::fprintf(stderr,
               "lumora-sim: loop times while %s was open: %.3f s (%.3f s CPU), %llu messages, "
               "longest busy %.2f ms (after message 0x%04X), longest gap %.2f ms\n",
               transcript::Quote(caption).c_str(), f.seconds, f.cpuSeconds,
               static_cast<unsigned long long>(f.messages), f.longestBusy, f.longestBusyMessage,
               f.longestGap);
  std::fflush(stderr);
}

void WindowOpened(HWND window, HWND parent, int32_t width, int32_t height) {
  if (host.loopTimes && openCaptions.empty()) looptimes::Reset();
  openCaptions.emplace_back(window, CaptionOf(window));
  transcript::Line("window opened " + transcript::Quote(CaptionOf(window)) + " " + std::to_string(width) +
                   "x" + std::to_string(height) + " over " + WindowLabel(parent));
}

void WindowClosing(HWND window, int32_t result) {
  std::wstring caption;
  for (auto it = openCaptions.begin(); it != openCaptions.end(); ++it)
    if (it->first == window) {
      caption = it->second;
      openCaptions.erase(it);
      break;
    }
  if (host.loopTimes && openCaptions.empty()) ReportLoopTimes(caption);
  std::string line = "window closed " + transcript::Quote(caption) + " result " + std::to_string(result);
  RECT r{};
  if (!IsWindow(window) || !GetWindowRect(window, &r)) {
    transcript::Line(line + ", destroyed by its plug-in");
    return;
  }
  transcript::Line(line + " at " + std::to_string(r.left) + "," + std::to_string(r.top) + " size " +
                   std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top));
}

void ButtonClicked(HWND button) {
  transcript::Line("button " + transcript::Quote(CaptionOf(button)) + " clicked in " +
                   WindowLabel(GetParent(button)));
}

void CheckBoxToggled(HWND box) {
  HWND parent = GetParent(box);
  auto boxes = hostwin::CheckBoxesOf(parent);
  size_t number = static_cast<size_t>(std::find(boxes.begin(), boxes.end(), box) - boxes.begin()) + 1;
  TCheckInf* record = hostwin::CheckBoxRecord(box);
  transcript::Line("check box " + std::to_string(number) + " in " + WindowLabel(parent) +
                   (record && record->state == kTicked ? " ticked" : " cleared"));
}

}  // namespace

void ObservePluginWindows() {
  hostwin::Events events;
  events.opened = WindowOpened;
  events.closing = WindowClosing;
  events.buttonClicked = ButtonClicked;
  events.checkBoxToggled = CheckBoxToggled;
  hostwin::SetEvents(events);
}

uint32_t __stdcall F(uint32_t code) {
  askedCodes.push_back(code);
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
    case kUnusedValue: return 0x00010000;
    case kUnusedValue2: return 0x00020000;
  }
  return 0;
}

std::vector<uint32_t> TakeAskedCodes() { return std::exchange(askedCodes, {}); }

std::string WindowLabel(HWND window) {
  if (!window) return "no window";
  if (window == host.mainWindow) return "main window";
  auto open = hostwin::OpenPluginWindows();
  if (std::find(open.begin(), open.end(), window) != open.end()) {
    wchar_t caption[512] = {};
    GetWindowTextW(window, caption, 511);
    return transcript::Quote(std::wstring(caption));
  }
  return "another window";
}

void CreateButtonTemplates() {
  const COLORREF colours[3] = {RGB(225, 230, 240), RGB(205, 215, 235), RGB(180, 195, 225)};
  for (int i = 0; i < 6; ++i) {
    HBITMAP bitmap;  // the picture owns it from here on
    {
      WindowDC screen(nullptr);
      bitmap = CreateCompatibleBitmap(screen, 16, 16);
      MemoryDC dc(screen);
      SelectedObject selected(dc, bitmap);
      OwnedBrush brush(CreateSolidBrush(colours[i % 3]));
      RECT r{0, 0, 16, 16};
      FillRect(dc, &r, brush);
    }
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = bitmap;
    if (FAILED(OleCreatePictureIndirect(&desc, IID_IPicture, TRUE, reinterpret_cast<void**>(&pictures[i]))))
      pictures[i] = nullptr;
  }
  auto* wide = reinterpret_cast<TButInf*>(host.buttonStyleObject + kWideButtonTemplate);
  auto* normal = reinterpret_cast<TButInf*>(host.buttonStyleObject + kNormalButtonTemplate);
  for (int i = 0; i < 3; ++i) {
    wide->pictures[i] = pictures[i];
    normal->pictures[i] = pictures[i + 3];
  }
}

long ExtraPictureReferences() {
  long extra = 0;
  for (IPicture* p : pictures)
    if (p) {
      p->AddRef();
      extra += static_cast<long>(p->Release()) - 1;
    }
  return extra;
}

void ReleaseButtonTemplates() {
  for (IPicture*& p : pictures) {
    if (p) p->Release();
    p = nullptr;
  }
  std::fill(std::begin(host.buttonStyleObject), std::end(host.buttonStyleObject), 0);
}

}  // namespace services
