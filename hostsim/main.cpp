// lumora-sim: the stand-in host. Opens a base of games, loads the plug-ins
// beside it and runs either for a person or from a script, writing what
// happens into a transcript.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "hostsim/downloads.h"
#include "hostsim/files.h"
#include "hostsim/gamebase.h"
#include "hostsim/hoststate.h"
#include "hostsim/looptimes.h"
#include "hostsim/mainwindow.h"
#include "hostsim/menutree.h"
#include "hostsim/plugins.h"
#include "hostsim/script.h"
#include "hostsim/scriptrun.h"
#include "hostsim/services.h"
#include "hostsim/transcript.h"

HostState host;

namespace {

constexpr char kUsage[] =
    "usage: lumora-sim.exe [BASE.pgn] [--script FILE] [--transcript FILE|-]\n"
    "                      [--site FOLDER|http://HOST:PORT] [--timeout SECONDS]\n"
    "                      [--loop-times]\n"
    "Without --script the program is for a person to use.\n";

struct Options {
  std::wstring base, script, transcript, site;
  int timeout = 120;
  bool loopTimes = false;
};

// A Unix path ("/tmp/x") names drive Z: under Wine.
std::wstring WindowsPath(std::wstring path) {
  if (!path.empty() && path[0] == L'/') {
    for (wchar_t& c : path)
      if (c == L'/') c = L'\\';
    path = L"Z:" + path;
  }
  return path;
}

// A whole number of seconds, digits only.
bool ParseSeconds(const std::wstring& text, int& seconds) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of(L"0123456789") != std::wstring::npos)
    return false;
  seconds = std::stoi(text);
  return true;
}

bool ParseOptions(Options& options) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  struct FreeArgs {
    wchar_t** argv;
    ~FreeArgs() { LocalFree(argv); }
  } freeArgs{argv};
  for (int i = 1; i < argc; ++i) {
    std::wstring a = argv[i];
    auto value = [&](std::wstring& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    std::wstring seconds;
    if (a == L"--script") {
      if (!value(options.script)) return false;
    } else if (a == L"--transcript") {
      if (!value(options.transcript)) return false;
    } else if (a == L"--site") {
      if (!value(options.site)) return false;
    } else if (a == L"--timeout") {
      if (!value(seconds) || !ParseSeconds(seconds, options.timeout)) return false;
    } else if (a == L"--loop-times") {
      options.loopTimes = true;
    } else if (a.rfind(L"--", 0) == 0 || !options.base.empty()) {
      return false;
    } else {
      options.base = a;
    }
  }
  return true;
}

std::wstring FolderOf(const std::wstring& path) {
  wchar_t full[MAX_PATH] = {};
  GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
  std::wstring f = full;
  size_t slash = f.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : f.substr(0, slash);
}

bool StandardHandleValid(DWORD which) {
  HANDLE h = GetStdHandle(which);
  return h != nullptr && h != INVALID_HANDLE_VALUE;
}

LONG WINAPI Crashed(EXCEPTION_POINTERS* info) {
  char line[128];
  std::snprintf(line, sizeof line, "FAILED: the program crashed with exception %08lX",
                static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode));
  transcript::Line(line);
  transcript::Close();
  std::fprintf(stderr, "lumora-sim: %s\n", line);
  std::fflush(stderr);
  ExitProcess(scriptrun::kCrashed);
}

// The program is built for the GUI subsystem, so it opens no console window.
// Standard output and error that were redirected (a pipe, a file) are
// already in place; those that were not go to the console of the program
// that started this one, when it has one.
void AttachStandardStreams() {
  bool outMissing = !StandardHandleValid(STD_OUTPUT_HANDLE);
  bool errMissing = !StandardHandleValid(STD_ERROR_HANDLE);
  if (!outMissing && !errMissing) return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  FILE* reopened = nullptr;
  if (outMissing) freopen_s(&reopened, "CONOUT$", "w", stdout);
  if (errMissing) freopen_s(&reopened, "CONOUT$", "w", stderr);
}

void SetStyle() {
  hostwin::Style& s = host.style;
  s.bodyFont.lfHeight = -13;
  s.bodyFont.lfWeight = FW_NORMAL;
  s.bodyFont.lfCharSet = DEFAULT_CHARSET;
  lstrcpyA(s.bodyFont.lfFaceName, "Tahoma");
  s.captionFont = s.bodyFont;
  s.captionFont.lfHeight = -15;
  s.captionFont.lfWeight = FW_BOLD;
}

}  // namespace

int main() {
  AttachStandardStreams();
  Options options;
  if (!ParseOptions(options)) {
    std::fputs(kUsage, stderr);
    return scriptrun::kBadScript;
  }
  std::vector<script::Step> steps;
  bool scripted = !options.script.empty();
  host.forPerson = !scripted;
  host.loopTimes = options.loopTimes;
  if (scripted) {
    std::string text;
    std::wstring path = WindowsPath(options.script);
    if (!files::Read(path, text)) {
      std::fprintf(stderr, "lumora-sim: cannot read the script %ls\n", options.script.c_str());
      return scriptrun::kBadScript;
    }
    script::ParseResult parsed = script::Parse(text);
    for (const std::string& e : parsed.errors)
      std::fprintf(stderr, "lumora-sim: %ls: %s\n", options.script.c_str(), e.c_str());
    if (!parsed.errors.empty()) return scriptrun::kBadScript;
    steps = std::move(parsed.steps);
  }
  if (!options.transcript.empty() && !transcript::Open(WindowsPath(options.transcript))) {
    std::fprintf(stderr, "lumora-sim: cannot write the transcript %ls\n", options.transcript.c_str());
    return scriptrun::kBadScript;
  }
  SetUnhandledExceptionFilter(Crashed);

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  OleInitialize(nullptr);
  SetStyle();
  hostwin::Initialise(&host.windowResult, &host.style);
  services::ObservePluginWindows();
  services::CreateButtonTemplates();
  if (!mainwindow::Create()) {
    std::fputs("lumora-sim: the main window cannot be created (is there a display?)\n", stderr);
    return scriptrun::kCrashed;
  }
  downloads::RedirectGamesSite(WindowsPath(options.site));
  downloads::HoldForScript(scripted);
  host.base.Publish();
  ShowWindow(host.mainWindow, SW_SHOW);
  UpdateWindow(host.mainWindow);
  if (scripted) {
    // The pointer rests on a known point, so that windows placed under it
    // open in the same place in every run.
    SetCursorPos(400, 300);
  }

  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring folder(exe);
  folder = folder.substr(0, folder.find_last_of(L'\\'));
  menutree::Remember(host.menuBar);
  // The script runs from here on, so that it also answers windows that a
  // plug-in opens while it starts.
  if (scripted) scriptrun::Start(std::move(steps), FolderOf(WindowsPath(options.script)), options.timeout);
  plugins::LoadAll(folder + L"\\plugins");
  menutree::ReportChanges(host.menuBar);

  if (!options.base.empty()) {
    std::wstring path = WindowsPath(options.base);
    size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    scriptrun::Post([path, name] { OpenBase(path, name); });
  }

  MSG msg;
  while (looptimes::NextMessage(msg) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }

  plugins::UnloadAll();
  long extra = services::ExtraPictureReferences();
  transcript::Line(extra == 0 ? "button pictures: every reference released"
                              : "button pictures: " + std::to_string(extra) + " references not released");
  services::ReleaseButtonTemplates();
  transcript::Line("host ended");
  transcript::Close();
  OleUninitialize();
  return scriptrun::kSucceeded;
}
