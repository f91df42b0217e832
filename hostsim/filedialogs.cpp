#include "hostsim/filedialogs.h"

#include <dlgs.h>

namespace filedialogs {

namespace {

struct Search {
  bool wantFileDialog;
  HWND found;
};

bool IsDialogClass(HWND w) {
  wchar_t name[16] = {};
  GetClassNameW(w, name, 15);
  return lstrcmpW(name, L"#32770") == 0;
}

bool HasFileNameBox(HWND w) { return GetDlgItem(w, cmb13) || GetDlgItem(w, edt1); }

BOOL CALLBACK Look(HWND w, LPARAM lp) {
  auto* search = reinterpret_cast<Search*>(lp);
  if (!IsWindowVisible(w) || !IsDialogClass(w)) return TRUE;
  bool fileDialog = HasFileNameBox(w);
  if (search->wantFileDialog == fileDialog) {
    // The prompt must belong to a file dialog, not be any message box.
    HWND owner = GetWindow(w, GW_OWNER);
    if (fileDialog || (owner && IsDialogClass(owner) && HasFileNameBox(owner))) {
      search->found = w;
      return FALSE;
    }
  }
  return TRUE;
}

HWND Find(bool fileDialog) {
  Search search{fileDialog, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), Look, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND NameBox(HWND dialog) {
  HWND box = GetDlgItem(dialog, cmb13);
  return box ? box : GetDlgItem(dialog, edt1);
}

}  // namespace

HWND OpenDialog() { return Find(true); }
HWND OverwritePrompt() { return Find(false); }

std::wstring CaptionOf(HWND dialog) {
  wchar_t text[256] = {};
  GetWindowTextW(dialog, text, 255);
  return text;
}

std::wstring FileNameIn(HWND dialog) {
  wchar_t text[MAX_PATH + 1] = {};
  GetWindowTextW(NameBox(dialog), text, MAX_PATH);
  return text;
}

void Answer(HWND dialog, const std::wstring& path) {
  SetWindowTextW(NameBox(dialog), path.c_str());
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void Cancel(HWND dialog) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }

void ConfirmOverwrite(HWND prompt) { PostMessageW(prompt, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0); }

}  // namespace filedialogs
