// The Options dialog: the command that runs it, its window procedure with
// the keyboard and mouse rules, and what its buttons do.
#include "windows/optionsdialog.h"

#include "base/guard.h"
#include "host/hostdata.h"
#include "host/hostservices.h"
#include "host/settings.h"
#include "windows/importcmd.h"
#include "windows/optionsdialog_state.h"
#include "windows/windowhelpers.h"

namespace optionsdialog {
DialogState state;
}

using namespace optionsdialog;

namespace {

bool InLink(int x, int y) {
  const RECT& r = state.linkRect;
  return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}

// The cursor and the link's underline change only when the mouse crosses
// the link's edge; moving within it or outside it repaints nothing.
void OnMouseMove(HWND window, int x, int y) {
  bool inside = InLink(x, y);
  if (inside == state.linkHover) return;
  state.linkHover = inside;
  ShowLinkCursor(inside);
  InvalidateRect(window, &state.linkRect, TRUE);
  UpdateWindow(window);
}

void OnPress(HWND window, int x, int y) {
  if (InLink(x, y)) OpenWebPage(window, kFideDownloadPage);
}

void OnKey(WPARAM key) {
  if (key == VK_RETURN)
    SaveOptions();
  else if (key == VK_ESCAPE)
    SetWindowResult(-1);
}

}  // namespace

void __stdcall ShowOptions() {
  Guarded([] {
    CreateHostWindow(L"Options", 400, 300, MainWindowHandle(), OptionsWindowProc, PaintOptionsDialog);
    state.window = nullptr;
  });
}

LRESULT CALLBACK OptionsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Guarded<LRESULT>(0, [&]() -> LRESULT {
    int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    switch (message) {
      case WM_SHOWWINDOW:
        // Built once, when the host first shows the dialog; showing it
        // again (the owner restored from a minimised state, or a hide and
        // show) must not duplicate the controls or undo the ticks.
        if (wParam && window != state.window) BuildOptionsDialog(window);
        break;
      case WM_KEYDOWN: OnKey(wParam); return 0;
      case WM_MOUSEMOVE:
        if (HostHandlesMouse()) break;
        OnMouseMove(window, x, y);
        return 0;
      case WM_SETCURSOR:
        // The window class's own cursor would replace the hand at the next
        // movement within the link.
        if (state.linkHover && LOWORD(lParam) == HTCLIENT && !HostHandlesMouse()) {
          ShowLinkCursor(true);
          return TRUE;
        }
        break;
      case WM_LBUTTONDOWN: OnPress(window, x, y); return 0;
    }
    return DefaultWindowProc(window, message, wParam, lParam);
  });
}

void __stdcall SaveOptions() {
  Guarded([] {
    for (int box = 0; box < kBoxCount; ++box) BoundFlag(box) = state.boxes[box].state == hostabi::kTicked;
    WriteSettingsFile();
    SetWindowResult(1);
  });
}

void __stdcall optionsdialog::ImportNewList() {
  Guarded([] { ImportCommand(state.window); });
}

void __stdcall optionsdialog::CloseOptions() {
  Guarded([] { SetWindowResult(-1); });
}

void ReleaseOptionsButtons() {
  for (hostabi::TButInf* button : {&state.newListButton, &state.closeButton, &state.saveButton})
    ReleaseButtonPictures(*button);
}
