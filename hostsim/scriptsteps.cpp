// The steps of the script language; each runs on a timer tick and says
// whether it is done, must wait for a later tick, or failed.
#include <algorithm>
#include <cstdlib>

#include "hostsim/downloads.h"
#include "hostsim/drawntexts.h"
#include "hostsim/filedialogs.h"
#include "hostsim/files.h"
#include "hostsim/gamebase.h"
#include "hostsim/gamelist.h"
#include "hostsim/hoststate.h"
#include "hostsim/menutree.h"
#include "hostsim/messagewnd.h"
#include "hostsim/pgn.h"
#include "hostsim/screenshot.h"
#include "hostsim/scriptrun.h"
#include "hostsim/transcript.h"

namespace scriptrun {

namespace {

using script::Step;

std::wstring FileName(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring CaptionOf(HWND w) {
  wchar_t text[512] = {};
  GetWindowTextW(w, text, 511);
  return text;
}

// A caption pattern: exact, or a prefix when it ends in '*'.
bool Matches(const std::wstring& caption, const std::wstring& pattern) {
  if (!pattern.empty() && pattern.back() == L'*')
    return caption.compare(0, pattern.size() - 1, pattern, 0, pattern.size() - 1) == 0;
  return caption == pattern;
}

// A message window or file dialog that the current step does not expect.
std::string Surprise() {
  if (OpenMenuCount() > 0) return "a menu is shown (menu-hide closes it)";
  if (HWND m = messagewnd::Innermost()) {
    std::string what = "unexpected message window " + transcript::Quote(messagewnd::CaptionOf(m));
    if (!host.messageLines.empty()) what += ": " + transcript::Quote(host.messageLines.front());
    return what;
  }
  if (HWND d = filedialogs::OpenDialog())
    return "unexpected file dialog " + transcript::Quote(filedialogs::CaptionOf(d));
  return {};
}

// The host's own commands (menus, open, save, sort, select, right-click)
// need its main window; while a plug-in window or a message is modal a
// person cannot reach them, and neither can a script.
std::string MainWindowUnreachable() {
  if (std::string s = Surprise(); !s.empty()) return s;
  if (!IsWindowEnabled(host.mainWindow)) return "the main window is disabled by an open window";
  return {};
}

HWND InnermostPluginWindow() {
  auto open = hostwin::OpenPluginWindows();
  return open.empty() ? nullptr : open.back();
}

Outcome NeedPluginWindow(HWND& window) {
  if (std::string s = Surprise(); !s.empty()) return Fail(s);
  window = InnermostPluginWindow();
  return window ? Done() : Fail("no plug-in window is open");
}

struct KeyName {
  const char* name;
  UINT vk;
};
constexpr KeyName kKeys[] = {
    {"Enter", VK_RETURN},  {"Return", VK_RETURN}, {"Escape", VK_ESCAPE},  {"Esc", VK_ESCAPE},
    {"Up", VK_UP},         {"Down", VK_DOWN},     {"Left", VK_LEFT},      {"Right", VK_RIGHT},
    {"Home", VK_HOME},     {"End", VK_END},       {"PageUp", VK_PRIOR},   {"PageDown", VK_NEXT},
    {"Tab", VK_TAB},       {"Space", VK_SPACE},   {"Backspace", VK_BACK}, {"Delete", VK_DELETE},
    {"Insert", VK_INSERT}, {"F1", VK_F1},         {"F2", VK_F2},          {"F3", VK_F3},
    {"F4", VK_F4},         {"F5", VK_F5},         {"F10", VK_F10},
};

// "Alt+F4", "Shift+Tab", "Ctrl+A", "Down", "x": false when unknown.
bool ParseKey(std::string word, UINT& vk, bool& alt, bool& shift, bool& control) {
  alt = shift = control = false;
  for (;;) {
    if (word.rfind("Alt+", 0) == 0) {
      alt = true;
      word.erase(0, 4);
    } else if (word.rfind("Shift+", 0) == 0) {
      shift = true;
      word.erase(0, 6);
    } else if (word.rfind("Ctrl+", 0) == 0) {
      control = true;
      word.erase(0, 5);
    } else {
      break;
    }
  }
  for (const KeyName& k : kKeys)
    if (word == k.name) {
      vk = k.vk;
      return true;
    }
  if (word.size() == 1 && std::isalnum(static_cast<unsigned char>(word[0]))) {
    vk = static_cast<UINT>(std::toupper(static_cast<unsigned char>(word[0])));
    return true;
  }
  return false;
}

void PostKey(HWND target, UINT vk, bool alt, bool shift, bool control) {
  LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
  LPARAM altBit = alt ? (1 << 29) : 0;
  UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN, up = alt ? WM_SYSKEYUP : WM_KEYUP;
  if (shift) PostMessageW(target, WM_KEYDOWN, VK_SHIFT, 1);
  if (control) PostMessageW(target, WM_KEYDOWN, VK_CONTROL, 1);
  PostMessageW(target, down, vk, 1 | scan | altBit);
  PostMessageW(target, up, vk, static_cast<LPARAM>(1 | scan | altBit | (3u << 30)));
  if (control) PostMessageW(target, WM_KEYUP, VK_CONTROL, static_cast<LPARAM>(1 | (3u << 30)));
  if (shift) PostMessageW(target, WM_KEYUP, VK_SHIFT, static_cast<LPARAM>(1 | (3u << 30)));
}

bool mouseHeld = false;

Outcome Key(const Step& step) {
  HWND window;
  if (Outcome o = NeedPluginWindow(window); o.kind == Outcome::kFail) return o;
  HWND focus = GetFocus();
  HWND target = focus && (focus == window || IsChild(window, focus)) ? focus : window;
  for (const std::string& word : step.words) {
    UINT vk;
    bool alt, shift, control;
    if (!ParseKey(word, vk, alt, shift, control)) return Fail("unknown key " + word);
    PostKey(target, vk, alt, shift, control);
  }
  return Done();
}

Outcome Mouse(const Step& step) {
  HWND window;
  if (Outcome o = NeedPluginWindow(window); o.kind == Outcome::kFail) return o;
  POINT p{std::atoi(step.words[1].c_str()), std::atoi(step.words[2].c_str())};
  HWND target = ChildWindowFromPointEx(window, p, CWP_SKIPINVISIBLE);
  if (!target) target = window;
  POINT at = p;
  MapWindowPoints(window, target, &at, 1);
  LPARAM lp = MAKELPARAM(at.x, at.y);
  const std::string& action = step.words[0];
  if (action == "move") {
    PostMessageW(target, WM_MOUSEMOVE, mouseHeld ? MK_LBUTTON : 0, lp);
  } else if (action == "down" || action == "click") {
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, lp);
    mouseHeld = true;
  }
  if (action == "up" || action == "click") {
    PostMessageW(target, WM_LBUTTONUP, 0, lp);
    mouseHeld = false;
  }
  return Done();
}

Outcome ClickButton(const Step& step) {
  HWND window;
  if (Outcome o = NeedPluginWindow(window); o.kind == Outcome::kFail) return o;
  auto buttons = hostwin::ButtonsOf(window);
  const std::string& which = step.words[0];
  HWND button = nullptr;
  if (which.size() > 1 && which[0] == '#') {
    size_t n = static_cast<size_t>(std::atoi(which.c_str() + 1));
    if (n >= 1 && n <= buttons.size()) button = buttons[n - 1];
  } else {
    std::wstring caption = Wide(which);
    for (HWND b : buttons)
      if (CaptionOf(b) == caption) button = b;
  }
  if (!button) {
    std::string known;
    for (HWND b : buttons) known += " " + transcript::Quote(CaptionOf(b));
    return Fail("no button " + which + " in " + transcript::Quote(CaptionOf(window)) +
                " (buttons:" + (known.empty() ? " none" : known) + ")");
  }
  hostwin::Click(button);
  return Done();
}

Outcome CheckBox(const Step& step) {
  HWND window;
  if (Outcome o = NeedPluginWindow(window); o.kind == Outcome::kFail) return o;
  auto boxes = hostwin::CheckBoxesOf(window);
  size_t n = static_cast<size_t>(std::atoi(step.words[0].c_str()));
  if (n < 1 || n > boxes.size())
    return Fail("no check box " + step.words[0] + " in " + transcript::Quote(CaptionOf(window)) +
                " (it has " + std::to_string(boxes.size()) + ")");
  hostwin::Click(boxes[n - 1]);
  return Done();
}

Outcome WaitWindow(const Step& step, bool open) {
  std::wstring pattern = Wide(step.words[0]);
  bool found = false;
  for (HWND w : hostwin::OpenPluginWindows())
    if (Matches(CaptionOf(w), pattern)) found = true;
  if (found == open) return Done();
  if (std::string s = Surprise(); !s.empty()) return Fail(s);
  return Wait();
}

Outcome Message(const Step& step) {
  HWND m = messagewnd::Innermost();
  if (!m && filedialogs::OpenDialog())
    return Fail("unexpected file dialog " +
                transcript::Quote(filedialogs::CaptionOf(filedialogs::OpenDialog())));
  if (!m) return Wait();
  Announce();
  std::wstring caption = messagewnd::CaptionOf(m);
  if (!step.words.empty() && !step.words[0].empty() && !Matches(caption, Wide(step.words[0])))
    return Fail("the message window is " + transcript::Quote(caption) + ", not " +
                transcript::Quote(step.words[0]));
  messagewnd::Dismiss(m);
  return Done();
}

Outcome Dialog(const Step& step, StepState& state) {
  if (state.phase == 0) {
    if (HWND m = messagewnd::Innermost())
      return Fail("unexpected message window " + transcript::Quote(messagewnd::CaptionOf(m)));
    // Seen on two ticks in a row: the dialog has finished setting itself up.
    if (!filedialogs::OpenDialog()) {
      state.ticks = -1;
      return Wait();
    }
    if (state.ticks < 1) return Wait();
    Announce();
    HWND dialog = filedialogs::OpenDialog();
    std::string seen = "file dialog " + transcript::Quote(filedialogs::CaptionOf(dialog)) + " suggests " +
                       transcript::Quote(filedialogs::FileNameIn(dialog));
    if (step.words[0] == "cancel") {
      transcript::Line(seen + ", cancelled");
      filedialogs::Cancel(dialog);
    } else {
      std::wstring path;
      std::string error;
      if (!ResolvePath(step.words[0], path, error)) return Fail(error);
      transcript::Line(seen + ", answered " + transcript::Quote(FileName(path)));
      filedialogs::Answer(dialog, path);
    }
    state.phase = 1;
    state.window = dialog;
    return Wait();
  }
  if (HWND prompt = filedialogs::OverwritePrompt()) {
    transcript::Line("file dialog asks to replace the file, answered yes");
    filedialogs::ConfirmOverwrite(prompt);
    return Wait();
  }
  // Done when this dialog is gone, even if another one has opened since.
  return IsWindow(state.window) && IsWindowVisible(state.window) ? Wait() : Done();
}

Outcome Header(const Step& step) {
  int32_t position = step.words.empty() ? host.currentGame : std::atoi(step.words[0].c_str());
  int32_t record = RecordAt(position);
  if (record < 0) {
    transcript::Line("header of position " + std::to_string(position) + ": no game");
    return Done();
  }
  transcript::Line("header of position " + std::to_string(position) + ", game " + std::to_string(record) +
                   ":");
  for (const auto& [name, value] : host.base.games[static_cast<size_t>(record)].tags)
    transcript::Line("  " + transcript::Utf8FromAnsi(pgn::TagLine(name.Text(), value.Text())));
  return Done();
}

Outcome MenuList(const Step& step) {
  std::wstring path = step.words.empty() ? L"" : Wide(step.words[0]);
  HMENU menu = host.menuBar;
  if (!path.empty()) {
    menutree::Entry entry;
    if (!menutree::Find(host.menuBar, path, entry) || !entry.popup)
      return Fail("no menu " + transcript::Quote(path));
    menu = entry.popup;
  }
  transcript::Line("menu " + (path.empty() ? std::string("bar") : transcript::Quote(path)) + ":");
  for (const std::string& line : menutree::Describe(menu)) transcript::Line("  " + line);
  return Done();
}

Outcome Menu(const Step& step) {
  if (std::string s = MainWindowUnreachable(); !s.empty()) return Fail(s);
  std::wstring path = Wide(step.words[0]);
  menutree::Entry entry;
  if (!menutree::Find(host.menuBar, path, entry)) return Fail("no menu entry " + step.words[0]);
  if (entry.popup || entry.separator) return Fail(step.words[0] + " is not a command");
  if (entry.disabled) return Fail(step.words[0] + " is disabled");
  PostMessageW(host.mainWindow, WM_COMMAND, MAKEWPARAM(entry.id, 0), 0);
  return Done();
}

Outcome Screenshot(const Step& step, StepState& state) {
  HWND target = filedialogs::OpenDialog();
  if (!target) target = messagewnd::Innermost();
  if (!target) target = InnermostPluginWindow();
  if (!target) target = host.mainWindow;
  // Repaint first, then give the window a few ticks to finish drawing.
  if (state.ticks == 0) screenshot::Repaint(target);
  if (state.ticks < 3) return Wait();
  std::wstring path;
  std::string error;
  if (!ResolvePath(step.words[0], path, error)) return Fail(error);
  SIZE size{};
  if (!screenshot::Take(target, path, size)) return Fail("the screenshot cannot be written");
  transcript::Line(
      "screenshot of " +
      (target == host.mainWindow ? std::string("main window") : transcript::Quote(CaptionOf(target))) + " " +
      std::to_string(size.cx) + "x" + std::to_string(size.cy) + " saved as " +
      transcript::Quote(FileName(path)));
  return Done();
}

Outcome Compare(const Step& step) {
  std::wstring a, b;
  std::string error, bytesA, bytesB;
  if (!ResolvePath(step.words[0], a, error) || !ResolvePath(step.words[1], b, error)) return Fail(error);
  if (!files::Read(a, bytesA)) return Fail("cannot read " + step.words[0]);
  if (!files::Read(b, bytesB)) return Fail("cannot read " + step.words[1]);
  if (bytesA != bytesB) {
    size_t at = 0;
    while (at < bytesA.size() && at < bytesB.size() && bytesA[at] == bytesB[at]) ++at;
    return Fail("the files differ from byte " + std::to_string(at) + " on (sizes " +
                std::to_string(bytesA.size()) + " and " + std::to_string(bytesB.size()) + ")");
  }
  transcript::Line("files " + transcript::Quote(FileName(a)) + " and " + transcript::Quote(FileName(b)) +
                   " are identical, " + std::to_string(bytesA.size()) + " bytes");
  return Done();
}

Outcome OpenOrSave(const Step& step, bool open) {
  if (std::string s = MainWindowUnreachable(); !s.empty()) return Fail(s);
  std::wstring path;
  std::string error;
  if (!ResolvePath(step.words[0], path, error)) return Fail(error);
  Post([path, open] {
    if (open)
      OpenBase(path, FileName(path));
    else
      SaveBase(path, FileName(path));
  });
  return Done();
}

// What the innermost plug-in window's paint callback draws, text by text.
Outcome Texts() {
  HWND window = InnermostPluginWindow();
  if (!window) return Fail("no plug-in window is open");
  transcript::Line("texts of " + transcript::Quote(CaptionOf(window)) + ":");
  for (const drawntexts::DrawnText& t : drawntexts::Of(window))
    transcript::Line("  " + std::to_string(t.at.x) + "," + std::to_string(t.at.y) + " " +
                     transcript::Quote(t.text));
  return Done();
}

// The keys that open the menus along a path of popups once the menu bar is
// selected at its first entry: Right to the top entry and Down to open it,
// then for each deeper popup Down to its entry and Right to open it. A menu
// opened from the keyboard selects its first entry; separators are skipped
// by the menu itself and are not counted.
bool MenuKeys(const std::wstring& path, std::vector<UINT>& keys, int& levels, std::string& error) {
  HMENU menu = host.menuBar;
  size_t at = 0;
  levels = 0;
  while (at <= path.size()) {
    size_t end = path.find(L" > ", at);
    std::wstring caption = path.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at);
    at = end == std::wstring::npos ? path.size() + 1 : end + 3;
    if (!menu) {
      error = "no menu " + transcript::Quote(path);
      return false;
    }
    int before = 0;
    HMENU popup = nullptr;
    for (const menutree::Entry& e : menutree::Entries(menu)) {
      if (!e.separator && menutree::ShownCaption(e.caption) == caption) {
        popup = e.popup;
        break;
      }
      if (!e.separator) ++before;
    }
    if (!popup) {
      error = "no menu " + transcript::Quote(path);
      return false;
    }
    UINT move = levels == 0 ? VK_RIGHT : VK_DOWN;
    keys.insert(keys.end(), static_cast<size_t>(before), move);
    keys.push_back(levels == 0 ? VK_DOWN : VK_RIGHT);
    ++levels;
    menu = popup;
  }
  return true;
}

Outcome MenuShow(const Step& step, StepState& state) {
  if (state.phase == 0) {
    if (std::string s = Surprise(); !s.empty()) return Fail(s);
    if (!IsWindowEnabled(host.mainWindow)) return Fail("the main window is disabled by an open window");
    // The menu bar is tracked from the keyboard, as after F10: its modal
    // loop goes on dispatching the steps' timer.
    Post([] { SendMessageW(host.mainWindow, WM_SYSCOMMAND, SC_KEYMENU, 0); });
    state.phase = 1;
    return Wait();
  }
  std::vector<UINT> keys;
  int levels = 0;
  std::string error;
  if (!MenuKeys(Wide(step.words[0]), keys, levels, error)) return Fail(error);
  if (state.phase == 1) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetCurrentThreadId(), &info) || !(info.flags & GUI_INMENUMODE)) return Wait();
    for (UINT key : keys) {
      PostMessageW(host.mainWindow, WM_KEYDOWN, key, 1);
      PostMessageW(host.mainWindow, WM_KEYUP, key, static_cast<LPARAM>(1 | (3u << 30)));
    }
    state.phase = 2;
    return Wait();
  }
  return OpenMenuCount() >= levels ? Done() : Wait();
}

Outcome MenuHide(StepState& state) {
  if (state.phase == 0) {
    if (OpenMenuCount() == 0) return Fail("no menu is shown");
    EndMenu();
    state.phase = 1;
  }
  return OpenMenuCount() == 0 ? Done() : Wait();
}

// Web addresses opened through the shell reach Wine's browser, which the
// project's Wine prefix points at a recorder appending them to the file
// named by VELMARSH_URL_LOG.
size_t urlsReported = 0;

Outcome WaitUrl() {
  wchar_t log[1024];
  DWORD n = GetEnvironmentVariableW(L"VELMARSH_URL_LOG", log, 1024);
  if (n == 0 || n >= 1024) return Fail("VELMARSH_URL_LOG is not set");
  std::wstring path;
  std::string error, text;
  if (!ResolvePath(transcript::Utf8(std::wstring(log, n)), path, error)) return Fail(error);
  files::Read(path, text);
  std::vector<std::string> urls;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) break;  // a line still being written
    urls.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  if (urls.size() <= urlsReported) return Wait();
  Announce();
  for (; urlsReported < urls.size(); ++urlsReported)
    transcript::Line("web page opened " + transcript::Quote(urls[urlsReported]));
  return Done();
}

}  // namespace

Outcome RunStep(const Step& step, StepState& state) {
  const std::string& v = step.verb;
  if (v == "open" || v == "save") return OpenOrSave(step, v == "open");
  if (v == "sort" || v == "select" || v == "rclick")
    if (std::string s = MainWindowUnreachable(); !s.empty()) return Fail(s);
  if (v == "sort") {
    int column = ColumnByName(Wide(step.words[0]));
    if (column < 0) return Fail("no column " + step.words[0]);
    SortBase(column, step.words.size() == 2 && step.words[1] == "descending");
    return Done();
  }
  if (v == "select") {
    SelectGame(std::atoi(step.words[0].c_str()));
    return Done();
  }
  if (v == "rclick") {
    // A press and a release, as the mouse makes them: the list view takes the
    // release itself while it follows the press.
    POINT p = gamelist::CurrentRowPoint();
    PostMessageW(host.gameList, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
    PostMessageW(host.gameList, WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    return Done();
  }
  if (v == "menu") return Menu(step);
  if (v == "menu-list") return MenuList(step);
  if (v == "wait-window") return WaitWindow(step, true);
  if (v == "wait-closed") return WaitWindow(step, false);
  if (v == "timeout") {
    waitLimit = static_cast<DWORD>(std::atoi(step.words[0].c_str())) * 1000;
    return Done();
  }
  if (v == "key") return Key(step);
  if (v == "mouse") return Mouse(step);
  if (v == "click") return ClickButton(step);
  if (v == "check") return CheckBox(step);
  if (v == "message") return Message(step);
  if (v == "dialog") return Dialog(step, state);
  if (v == "header") return Header(step);
  if (v == "screenshot") return Screenshot(step, state);
  if (v == "wait-download") {
    if (downloads::Pending() == 0) return Done();
    // Delivered once all have finished, so that their order is the order
    // they were started in and not the network's.
    if (state.phase == 0 && downloads::Finished() == downloads::Pending()) {
      downloads::Release();
      state.phase = 1;
    }
    // A handler waiting in its save dialog, or the host's message about a
    // failed download, is answered by the next steps; the following
    // download comes when it has returned.
    return state.phase == 1 && downloads::Delivering() ? Done() : Wait();
  }
  if (v == "env") {
    // Plug-ins share the host's environment: a run can set what they read.
    std::wstring value = step.words.size() == 2 ? Wide(step.words[1]) : std::wstring();
    SetEnvironmentVariableW(Wide(step.words[0]).c_str(), step.words.size() == 2 ? value.c_str() : nullptr);
    return Done();
  }
  if (v == "mouse-busy") {
    host.mouseBusy = step.words[0] == "on" ? 1 : 0;
    return Done();
  }
  if (v == "compare") return Compare(step);
  if (v == "wait-url") return WaitUrl();
  if (v == "texts") return Texts();
  if (v == "timers") {
    pluginTimersHeld = step.words[0] == "hold";
    return Done();
  }
  if (v == "menu-show") return MenuShow(step, state);
  if (v == "menu-hide") return MenuHide(state);
  if (v == "pause")
    return GetTickCount() - state.started >= static_cast<DWORD>(std::atoi(step.words[0].c_str())) ? Done()
                                                                                                  : Wait();
  return Fail("unknown step " + v);
}

}  // namespace scriptrun
