// The state of the one open search window and the geometry of its rows,
// shared by its input handling (searchwindow.cpp) and its drawing
// (searchwindow_paint.cpp). Not for other units.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "host/hostdata.h"
#include "windows/searchwindow.h"
#include "windows/windowhelpers.h"

namespace searchwindow {

// The open window's state: the host calls the window procedure and the
// paint routine without arguments of ours.
struct WindowState {
  std::span<const CandidateLine> candidates;  // the caller's, for the window's life
  std::wstring title;
  bool offerExtended = false;
  bool offerCancel = false;
  int selectedRow = 0;      // highlighted row
  int hoverLink = -1;       // candidate whose link is under the mouse, -1 none
  bool pressed = false;     // a left press happened in the window since it opened
  int linkColumnWidth = 0;  // set by the layout
  int lineHeight = 0;       // h: a line of body text, as last measured
};

extern WindowState state;

// Space between the link column's edges and its text.
constexpr int kLinkMargin = 10;
// Room the window keeps beside its title: it is never narrower than the
// title's width and this.
constexpr int kTitleRoom = 35;

inline int CandidateCount() { return static_cast<int>(state.candidates.size()); }

inline int RowCount() {
  return CandidateCount() + 1 + (state.offerExtended ? 1 : 0) + (state.offerCancel ? 1 : 0);
}

// The text of a row: a candidate's line or the caption of a fixed row.
inline std::wstring_view RowText(int row) {
  int n = CandidateCount();
  if (row < n) return state.candidates[static_cast<size_t>(row)].text;
  row -= n;
  if (state.offerExtended) {
    if (row == 0) return L"Extended search...";
    --row;
  }
  return row == 0 ? L"Skip" : L"Cancel";
}

// A row's band is (3h) div 2 high; a one-pixel separator follows it.
inline int BandHeight() { return (3 * state.lineHeight) / 2; }
inline int RowPitch() { return BandHeight() + 1; }

// Left edge of the link column, from the window's current width.
inline int LinkLeft(HWND window, const Margins& m) {
  return WindowWidth(window) - m.right - state.linkColumnWidth;
}

}  // namespace searchwindow
