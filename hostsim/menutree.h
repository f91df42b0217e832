// The host's menu as a tree of captions: finding an entry by its caption path
// ("Tools > More about players > Options..."), listing a popup, and telling
// the transcript which entries were inserted or removed since the last look
// (plug-ins change the menus directly, so the host compares snapshots).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace menutree {

struct Entry {
  std::wstring caption;  // as set, accelerator marks included
  UINT id = 0;
  bool separator = false;
  HMENU popup = nullptr;
  bool disabled = false;  // greyed or disabled: a person cannot choose it
  bool checked = false;
};

std::vector<Entry> Entries(HMENU menu);

// The caption as shown: "&&" becomes "&", a single "&" disappears.
std::wstring ShownCaption(const std::wstring& caption);

// Finds an entry by its path of captions separated by " > ", starting at the
// menu bar. A path of one caption matches the first entry with that caption
// anywhere in the tree. False when there is none.
bool Find(HMENU bar, const std::wstring& path, Entry& found);

// One transcript line per entry of a menu: "[position] "caption" id N",
// "[position] -" for separators, "[position] > "caption"" for popups.
std::vector<std::string> Describe(HMENU menu);

// Takes a snapshot of the menu tree without reporting.
void Remember(HMENU bar);
// Reports changes since the last snapshot to the transcript, then remembers.
void ReportChanges(HMENU bar);

}  // namespace menutree
