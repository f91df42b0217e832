// The stand-in host's state: what plug-ins reach through the host variables
// and style values, and what the program keeps around them. One instance,
// `host`, lives for the whole run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hostsim/hostvariables.h"
#include "hostsim/hostwindows.h"
#include "lumora/hostabi.h"

struct CommandRegistration {
  uint32_t id;
  hostabi::CommandHandler handler;  // nil for a separator id
};

struct DownloadTarget {
  uint16_t id;
  std::wstring caption;
  hostabi::DownloadHandler handler;
};

// The host variables (the open base among them) and what the program keeps
// around them.
struct HostState : HostVariables {
  std::wstring baseName;  // file name of the open base, without folder
  std::wstring basePath;  // where it was read from or last saved to
  bool modified = false;
  bool forPerson = false;  // no script runs it
  bool loopTimes = false;  // report the message loop's times for each plug-in window

  hostwin::Style style;  // the HostMetric values

  // Windows and menus.
  HWND mainWindow = nullptr;
  HWND gameList = nullptr;    // list view of the base
  HWND headerView = nullptr;  // the current game as PGN
  HMENU menuBar = nullptr;
  HMENU toolsMenu = nullptr;  // holds command 57

  std::vector<CommandRegistration> commands;
  std::vector<DownloadTarget> downloadTargets;
};

extern HostState host;

// Host menu command ids (57 is the anchor plug-ins insert before).
enum HostCommand : UINT {
  kOpenBaseCommand = 101,
  kSaveBaseCommand = 102,
  kSaveBaseAsCommand = 103,
  kExitCommand = 104,
  kPluginsCommand = hostabi::kAnchorCommand,
  kAboutCommand = 110,
  kFirstPluginCommand = 1000,
};

// Messages the host posts to its own main window.
enum HostMessage : UINT {
  kDownloadDoneMessage = WM_APP + 1,  // lParam: the finished download
  kScriptActionMessage = WM_APP + 2,  // lParam: a script action to run
  kRefreshViewsMessage = WM_APP + 3,  // the views show the base anew
};
