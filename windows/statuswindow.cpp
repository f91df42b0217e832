#include "windows/statuswindow.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "base/gdi.h"
#include "base/guard.h"
#include "host/hostdata.h"
#include "host/hostservices.h"

StatusRun statusRun;
HWND statusWindow = nullptr;
HWND progressBar = nullptr;
hostabi::TButInf cancelButton{};

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerInterval = 1;  // as fast as the platform paces it

constexpr wchar_t kNamesProcessed[] = L" Names processed";
constexpr wchar_t kFor[] = L"For ";
constexpr wchar_t kAlreadyExists[] = L" names the information already exists in pgn";
constexpr wchar_t kNamesSkipped[] = L" names skipped";
constexpr wchar_t kCancel[] = L"Cancel";
// The width is measured once, on four-digit figures.
constexpr wchar_t kSampleFraction[] = L"8888/8888";
constexpr wchar_t kSampleCount[] = L"8888";

std::wstring Decimal(int64_t value) { return std::to_wstring(value); }

HFONT TextFont() { return FontFrom(HostMetricAs<LOGFONTA>(hostabi::kBodyFont)); }

}  // namespace

SIZE StatusWindowSize(int32_t w, int32_t h, const Margins& m) {
  return {w + m.left + m.right + 2 * kStatusInset, m.top + 4 * h + kStatusExtraHeight + m.bottom};
}

POINT StatusWindowPlace(const RECT& main, const RECT& work, SIZE size) {
  // C++ division rounds towards zero, as the centring wants.
  POINT centred{(main.left + main.right - size.cx) / 2, (main.top + main.bottom - size.cy) / 2};
  return KeepInWorkArea(centred, size, work, Overflow::kKeepRightBottom);
}

void SetUpStatusWindow(HWND window) {
  Margins m = HostMargins();
  statusWindow = window;
  // The window's painting leaves its controls alone: a redraw of the
  // figures after each tick does not repaint the bar and the button.
  SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | WS_CLIPCHILDREN);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  WindowDC dc(window);
  OwnedFont font(TextFont());
  SelectedObject selected(dc, font);
  int32_t w = kStatusTextWidth, h = 0;
  for (const std::wstring& sample :
       {std::wstring(kSampleFraction) + kNamesProcessed, std::wstring(kFor) + kSampleCount + kAlreadyExists,
        std::wstring(kSampleCount) + kNamesSkipped}) {
    SIZE extent = TextExtent(dc, sample);
    w = std::max<int32_t>(w, extent.cx);
    h = extent.cy;
  }

  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  progressBar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, m.left + kStatusInset,
                                m.top + h + kStatusInset, w, h + 2, window, nullptr, instance, nullptr);
  StatusFigures figures = statusRun.figures ? statusRun.figures() : StatusFigures{};
  SendMessageW(progressBar, PBM_SETRANGE32, 0, static_cast<LPARAM>(figures.total));

  SIZE size = StatusWindowSize(w, h, m);
  MakeHostButton(cancelButton, hostabi::kNormalButtonTemplate, StopBatch, window,
                 size.cx - m.right - kCancelFromRight, m.top + 4 * h + kCancelBelowText, kButtonWidth,
                 kCancel);

  RECT main{};
  GetWindowRect(MainWindowHandle(), &main);
  POINT at = StatusWindowPlace(main, DesktopWorkArea(), size);
  SetWindowPos(window, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);

  if (statusRun.start) statusRun.start();
  if (statusRun.step) SetTimer(window, kTimerId, kTimerInterval, statusRun.step);
}

LRESULT CALLBACK StatusWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The run starts once per window: a later show (the owner being minimised
  // and restored) must not lay it out again and restart from the first name.
  if (message == WM_SHOWWINDOW && window != statusWindow) Guarded([&] { SetUpStatusWindow(window); });
  if (message == WM_NCDESTROY && window == statusWindow) {
    statusWindow = nullptr;
    progressBar = nullptr;
    cancelButton.window = nullptr;
  }
  return Guarded(LRESULT{0}, [&] { return DefaultWindowProc(window, message, wParam, lParam); });
}

void __stdcall PaintStatus(HWND window, HDC dc) {
  Guarded([&] {
    PaintWindowBackground(window, dc);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    Margins m = HostMargins();
    OwnedFont font(TextFont());
    SelectedObject selected(dc, font);
    int32_t x = m.left + kStatusInset, y = m.top + 5;

    StatusFigures f = statusRun.figures ? statusRun.figures() : StatusFigures{};
    std::wstring processed = Decimal(f.done) + L"/" + Decimal(f.total) + kNamesProcessed;
    TextOutW(dc, x, y, processed.c_str(), static_cast<int>(processed.size()));
    int32_t h = TextExtent(dc, processed).cy;

    y += 2 * h + 11;
    std::wstring skipped = Decimal(f.skipped) + kNamesSkipped;
    TextOutW(dc, x, y, skipped.c_str(), static_cast<int>(skipped.size()));

    y += h + 5;
    std::wstring present = kFor + Decimal(f.present) + kAlreadyExists;
    TextOutW(dc, x, y, present.c_str(), static_cast<int>(present.size()));
  });
}

void __stdcall StopBatch() {
  Guarded([] {
    SetWindowResult(1);
    if (statusWindow) KillTimer(statusWindow, kTimerId);
  });
}

void ShowBatchProgress(int64_t done) {
  if (progressBar) SendMessageW(progressBar, PBM_SETPOS, static_cast<WPARAM>(done), 0);
}

void RedrawStatusWindow() {
  // RedrawWindow with no window would repaint the whole desktop.
  if (statusWindow)
    RedrawWindow(statusWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
}

void ReleaseCancelButton() { ReleaseButtonPictures(cancelButton); }
