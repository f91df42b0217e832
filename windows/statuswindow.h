// The status window of the batch run: it lays itself out when shown, starts
// the timer that drives the run, shows how many names are done, skipped and
// already complete, and offers a Cancel button.
#pragma once

#include <windows.h>

#include <cstdint>

#include "lumora/hostabi.h"
#include "windows/windowhelpers.h"

// What the window shows and drives: given by the run that opens it.
struct StatusFigures {
  int64_t done, total, skipped, present;
};
struct StatusRun {
  TIMERPROC step = nullptr;              // the timer procedure: one step per tick
  void (*start)() = nullptr;             // resets the run when the window first shows
  StatusFigures (*figures)() = nullptr;  // the counts to show
};
// The run of the window the host opens next, and of the open one: the host
// calls the window's procedures without arguments of ours.
extern StatusRun statusRun;

// The run's window and its controls, kept for the timer's steps and Cancel,
// which the host calls without arguments of ours; cancelButton keeps its
// picture references until the library is unloaded.
extern HWND statusWindow;  // while a run's window exists
extern HWND progressBar;
extern hostabi::TButInf cancelButton;  // bound to the host's button; click: StopBatch

// Text column width before measuring: the window is never narrower.
constexpr int32_t kStatusTextWidth = 350;
// The layout's fixed figures, h being a line of text: the text and the
// bar stand kStatusInset inside the left margin, with as much room on the
// right; the bar's top is kStatusInset below the first line; the window is
// four lines and kStatusExtraHeight high inside the margins; the Cancel
// button's left edge is kCancelFromRight left of the right margin, its top
// kCancelBelowText below four lines.
constexpr int32_t kStatusInset = 10;
constexpr int32_t kStatusExtraHeight = 61;
constexpr int32_t kCancelFromRight = 113;
constexpr int32_t kCancelBelowText = 26;
// Outer size of the status window for a text column w wide and lines h high.
SIZE StatusWindowSize(int32_t w, int32_t h, const Margins& m);
// Where a window of this size goes: centred on the main window, pushed back
// inside the work area's right and bottom edges, and not left of or above 0.
POINT StatusWindowPlace(const RECT& mainWindow, const RECT& workArea, SIZE size);

// Handed to the host with the window.
LRESULT CALLBACK StatusWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void __stdcall PaintStatus(HWND window, HDC dc);
// Lays the window out, creates its controls, starts statusRun (its start,
// then the timer); done once per window, on its first show.
void SetUpStatusWindow(HWND window);
// Ends the run: the host closes the window. Also the Cancel button's handler.
void __stdcall StopBatch();

// After a step: the bar moves to `done`; the window repaints at once.
void ShowBatchProgress(int64_t done);
void RedrawStatusWindow();

// Drops the picture references of the last Cancel button; called when the
// library is unloaded.
void ReleaseCancelButton();
