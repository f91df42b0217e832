// A host played by a test program: it answers the plug-in's service function
// with functions that record every call, holds a base of games in the host's
// layouts and owns a real (hidden) main window with a main menu holding the
// command 57. Tests call StartLumoraProc with FakeHost::F directly.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "hostsim/hostvariables.h"
#include "hostsim/hostwindows.h"
#include "lumora/hostabi.h"

// The host variables (the base of games among them) come from HostVariables.
struct FakeHost : HostVariables {
  // What the plug-in asked for and did.
  std::vector<uint32_t> askedCodes;
  struct Registration {
    void* record;
    uint16_t zeroFieldSeen;
    hostabi::CommandHandler handler;
    uint32_t id;
  };
  std::vector<Registration> registrations;
  struct DownloadTarget {
    std::wstring caption;
    hostabi::DownloadHandler handler;
  };
  std::vector<DownloadTarget> downloadTargets;
  struct TagWrite {
    int32_t game;
    std::string tag, value;
  };
  std::vector<TagWrite> tagWrites;
  int headerChangedCalls = 0;
  struct Message {
    std::wstring caption;
    std::vector<std::wstring> lines;
    int32_t kind;
  };
  std::vector<Message> messages;
  struct Download {
    std::string url;
    uint32_t target;
  };
  std::vector<Download> downloads;

  // Codes for which F answers 0, as a host lacking them would.
  std::set<uint32_t> missingServices;

  // Host data besides the variables.
  hostwin::Style style;  // the HostMetric values
  HWND mainWindow = nullptr;
  HMENU mainMenu = nullptr;

  std::vector<std::wstring> windowCaptions;  // of every CreateHostWindow call

  // When set, CreateHostWindow calls this instead of running a real modal
  // window (hostwin::RunPluginWindow).
  std::function<int32_t(const wchar_t* caption, HWND parent, WNDPROC proc, hostabi::PaintCallback paint)>
      onCreateHostWindow;

  FakeHost();
  ~FakeHost();
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  // The service function handed to StartLumoraProc. Talks to the one FakeHost
  // that exists at a time.
  static uint32_t __stdcall F(uint32_t code);
  static FakeHost* current;

  // The captions of a menu's entries, "-" for separators, ">caption" for popups.
  static std::vector<std::wstring> MenuCaptions(HMENU menu);
  // The entry of the main menu that opens the plug-in's popup, or nil.
  HMENU PluginPopup() const;
};
