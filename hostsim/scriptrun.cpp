#include "hostsim/scriptrun.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <exception>

#include "hostsim/downloads.h"
#include "hostsim/filedialogs.h"
#include "hostsim/hoststate.h"
#include "hostsim/menutree.h"
#include "hostsim/messagewnd.h"
#include "hostsim/transcript.h"

namespace scriptrun {

DWORD waitLimit = 10000;
bool pluginTimersHeld = false;

namespace {

std::vector<script::Step> steps;
std::wstring folder;  // of the script, for ${SCRIPT_DIR}
size_t current = 0;
bool started = false;    // the current step has begun
bool announced = false;  // its line is in the transcript
StepState state;
bool busy = false;
bool running = false;
UINT_PTR timer = 0;
std::deque<std::function<void()>> actions;
DWORD limitSeconds = 0;

std::string Where() {
  if (current >= steps.size()) return "after the last step";
  return "line " + std::to_string(steps[current].line) + " (" + steps[current].text + ")";
}

[[noreturn]] void End(const std::string& why, int code) {
  std::string line = "FAILED " + Where() + ": " + why;
  transcript::Line(line);
  transcript::Close();
  std::fprintf(stderr, "lumora-sim: %s\n", line.c_str());
  std::fflush(stderr);
  ExitProcess(static_cast<UINT>(code));
}

DWORD WINAPI Watch(void*) {
  Sleep(limitSeconds * 1000);
  End("the run did not end within " + std::to_string(limitSeconds) + " s", kTimedOut);
}

// What is open that the script must finish first, or empty.
std::string StillOpen() {
  if (OpenMenuCount() > 0) return "a menu is still shown";
  if (HWND m = messagewnd::Innermost())
    return "the message window " + transcript::Quote(messagewnd::CaptionOf(m)) + " is still open";
  if (HWND d = filedialogs::OpenDialog())
    return "the file dialog " + transcript::Quote(filedialogs::CaptionOf(d)) + " is still open";
  auto windows = hostwin::OpenPluginWindows();
  if (!windows.empty()) {
    wchar_t caption[256] = {};
    GetWindowTextW(windows.back(), caption, 255);
    return "the plug-in window " + transcript::Quote(std::wstring(caption)) + " is still open";
  }
  if (downloads::Pending() > 0) return std::to_string(downloads::Pending()) + " download(s) still running";
  return {};
}

void Finish() {
  std::string open = StillOpen();
  if (!open.empty()) End("the script ended while " + open, kStepFailed);
  KillTimer(nullptr, timer);
  running = false;
  transcript::Line("script finished");
  PostMessageW(host.mainWindow, WM_CLOSE, 0, 0);
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (busy || !running) return;
  busy = true;
  menutree::ReportChanges(host.menuBar);
  if (current >= steps.size()) {
    Finish();
    busy = false;
    return;
  }
  const script::Step& step = steps[current];
  if (!started) {
    started = true;
    announced = false;
    state = StepState{};
    state.started = GetTickCount();
    // Steps that wait announce themselves when what they wait for is there;
    // those that only wait never do (what happens meanwhile has its own pace).
    static const char* const kWaiting[] = {"message",     "dialog",      "wait-url",
                                           "wait-window", "wait-closed", "pause"};
    bool waits = false;
    for (const char* verb : kWaiting) waits = waits || step.verb == verb;
    if (!waits) Announce();
  }
  Outcome outcome;
  try {
    outcome = RunStep(step, state);
  } catch (const std::exception& e) {
    outcome = Fail(std::string("the step could not run: ") + e.what());
  }
  ++state.ticks;
  if (outcome.kind == Outcome::kFail) End(outcome.why, kStepFailed);
  if (outcome.kind == Outcome::kDone) {
    ++current;
    started = false;
  } else if (GetTickCount() - state.started > waitLimit) {
    End("timed out after " + std::to_string(waitLimit / 1000) + " s", kStepFailed);
  }
  busy = false;
}

// The real mouse and keyboard (a pointer resting where a window appears
// makes mouse moves, a person may touch the keys) take no part in a script
// run: only what the steps post reaches the windows.
LRESULT CALLBACK IgnoreInput(int code, WPARAM wp, LPARAM lp) {
  return code >= 0 ? 1 : CallNextHookEx(nullptr, code, wp, lp);
}

// Turns a held plug-in window's timer tick into WM_NULL before it is
// dispatched; the timer itself keeps running and ticks again later.
LRESULT CALLBACK HoldPluginTimers(int code, WPARAM wp, LPARAM lp) {
  auto* msg = reinterpret_cast<MSG*>(lp);
  if (code == HC_ACTION && pluginTimersHeld && msg->message == WM_TIMER && msg->hwnd) {
    auto open = hostwin::OpenPluginWindows();
    if (std::find(open.begin(), open.end(), GetAncestor(msg->hwnd, GA_ROOT)) != open.end())
      msg->message = WM_NULL;
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

BOOL CALLBACK CountMenu(HWND w, LPARAM count) {
  wchar_t name[16] = {};
  GetClassNameW(w, name, 15);
  if (IsWindowVisible(w) && lstrcmpW(name, L"#32768") == 0) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

}  // namespace

int OpenMenuCount() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountMenu, reinterpret_cast<LPARAM>(&count));
  return count;
}

void Start(std::vector<script::Step> script, const std::wstring& scriptFolder, int seconds) {
  steps = std::move(script);
  folder = scriptFolder;
  running = true;
  limitSeconds = static_cast<DWORD>(seconds);
  if (limitSeconds > 0) CloseHandle(CreateThread(nullptr, 0, Watch, nullptr, 0, nullptr));
  SetWindowsHookExW(WH_MOUSE, IgnoreInput, nullptr, GetCurrentThreadId());
  SetWindowsHookExW(WH_KEYBOARD, IgnoreInput, nullptr, GetCurrentThreadId());
  SetWindowsHookExW(WH_GETMESSAGE, HoldPluginTimers, nullptr, GetCurrentThreadId());
  timer = SetTimer(nullptr, 0, 10, Tick);
}

bool Running() { return running; }

void Announce() {
  if (announced || current >= steps.size()) return;
  announced = true;
  transcript::Line("> " + steps[current].text);
}

void Post(std::function<void()> action) {
  actions.push_back(std::move(action));
  PostMessageW(host.mainWindow, kScriptActionMessage, 0, 0);
}

void RunPostedAction() {
  if (actions.empty()) return;
  std::function<void()> action = std::move(actions.front());
  actions.pop_front();
  action();
}

std::wstring Wide(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

bool ResolvePath(const std::string& written, std::wstring& path, std::string& error) {
  std::string expanded, unknown;
  auto lookup = [](const std::string& name, std::string& value) {
    if (name == "SCRIPT_DIR") {
      value = transcript::Utf8(folder);
      return true;
    }
    wchar_t buffer[4096];
    DWORD n = GetEnvironmentVariableW(Wide(name).c_str(), buffer, 4096);
    if (n == 0 || n >= 4096) return false;
    value = transcript::Utf8(std::wstring(buffer, n));
    return true;
  };
  if (!script::Expand(written, lookup, expanded, unknown)) {
    error = "no variable " + unknown;
    return false;
  }
  path = Wide(expanded);
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  if (!path.empty() && path[0] == L'\\' && (path.size() < 2 || path[1] != L'\\')) path = L"Z:" + path;
  return true;
}

}  // namespace scriptrun
