// The host's side of plug-in windows: the modal window of CreateHostWindow
// with its WindowResult protocol, the default window procedure, the "knop"
// push button bound to a TButInf and the check box bound to a TCheckInf.
// Shared by the stand-in host and the fake hosts of the tests.
#pragma once

#include <string>
#include <vector>

#include "lumora/hostabi.h"

namespace hostwin {

// The style values the host draws with; the host services hand out their
// addresses as HostMetric values.
struct Style {
  LOGFONTA bodyFont{};
  LOGFONTA captionFont{};
  COLORREF selectionBackground = RGB(49, 106, 197);
  COLORREF selectionText = RGB(255, 255, 255);
  COLORREF separatorColour = RGB(160, 160, 160);
  COLORREF background = RGB(240, 240, 240);
  COLORREF captionBackground = RGB(52, 86, 140);
  COLORREF captionText = RGB(255, 255, 255);
  // Plug-in windows have no system frame: the host draws their caption strip
  // and border inside the margins, so the margins frame the client area the
  // plug-in lays out, and the window size the plug-in sets is its true size.
  int32_t captionHeight = 24;
  int32_t marginTop = 30, marginBottom = 10, marginLeft = 8, marginRight = 8;
  int32_t checkBoxHeight = 16, checkBoxWidth = 16;
};

// What the host wants to hear about plug-in windows (the stand-in host
// writes it into its transcript). Any of them may be nil.
struct Events {
  void (*opened)(HWND window, HWND parent, int32_t width, int32_t height) = nullptr;
  // Before the window is destroyed, with the value that ended it.
  void (*closing)(HWND window, int32_t result) = nullptr;
  // A click on a button, before its handler runs.
  void (*buttonClicked)(HWND button) = nullptr;
  // A check box toggled by a click, before its change handler runs.
  void (*checkBoxToggled)(HWND box) = nullptr;
};
void SetEvents(const Events& events);

// The address of style value n (a HostMetric number), or nil.
void* StyleValue(Style& style, uint32_t n);

// Registers the window classes ("knop" among them) and binds the library to
// the host's result cell and style. Call once before any plug-in starts.
void Initialise(int32_t* windowResultCell, const Style* style);

// Creates and shows a plug-in window and runs it modally until a value other
// than kWindowOpen stands in the result cell; see the host interface notes.
int32_t RunPluginWindow(const wchar_t* caption, int32_t width, int32_t height, HWND parent, WNDPROC proc,
                        hostabi::PaintCallback paint);

// The default handling of a plug-in window: WM_CLOSE stores -1 as result.
LRESULT CALLBACK DefaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void PaintWindowBackground(HWND window, HDC dc);
void StyleButton(hostabi::TButInf* button, const wchar_t* caption);
// False when no check box could be made (no record, no parent window).
bool PlaceControl(hostabi::TCheckInf* box, int32_t x, int32_t y, HWND parent);

// For scripts and tests: the open plug-in windows, innermost last; the host's
// buttons and check boxes inside a window, in creation order.
std::vector<HWND> OpenPluginWindows();
std::vector<HWND> ButtonsOf(HWND window);  // "knop" windows, captions via GetWindowTextW
std::vector<HWND> CheckBoxesOf(HWND window);
// Clicks a button or check box as the user would (press and release).
void Click(HWND control);
// Runs a plug-in window's paint callback into dc, without the host's frame:
// a host can record what the plug-in draws.
void PaintContent(HWND window, HDC dc);
// The record a check box is bound to.
hostabi::TCheckInf* CheckBoxRecord(HWND box);

}  // namespace hostwin
