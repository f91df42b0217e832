// Layout rules every plug-in window keeps, whatever its arithmetic: what its
// paint routine draws and its child controls lie inside the frame that the
// host's margins leave, and no control covers another control or anything
// drawn.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <vector>

#include "hostsim/hostwindows.h"
#include "lumora/hostabi.h"

// A control's rectangle in its parent's client coordinates.
inline RECT ControlRect(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The frame inside the host's margins of a window of the host's kind (no
// system frame: the window's size is its client area's).
inline RECT MarginFrame(HWND window, const hostwin::Style& s) {
  RECT outer;
  GetWindowRect(window, &outer);
  return {s.marginLeft, s.marginTop, outer.right - outer.left - s.marginRight,
          outer.bottom - outer.top - s.marginBottom};
}

inline bool Contains(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// Draws the window's paint routine over the host's background colour and
// checks the rules above; `what` names the window in failures.
inline void ExpectControlsAndDrawingInsideTheMargins(HWND window, const hostwin::Style& s,
                                                     hostabi::PaintCallback paint, const char* what) {
  const RECT frame = MarginFrame(window, s);
  RECT outer;
  GetWindowRect(window, &outer);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;

  std::vector<RECT> controls;
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (IsWindowVisible(c)) controls.push_back(ControlRect(c));
  for (size_t i = 0; i < controls.size(); ++i) {
    const RECT& r = controls[i];
    EXPECT_TRUE(Contains(frame, r)) << what << ": control " << i << " at " << r.left << "," << r.top << "-"
                                    << r.right << "," << r.bottom;
    for (size_t j = i + 1; j < controls.size(); ++j) {
      RECT both;
      EXPECT_FALSE(IntersectRect(&both, &r, &controls[j]))
          << what << ": controls " << i << " and " << j << " overlap";
    }
  }

  // The drawing, in a bitmap of the window's full size.
  HDC screen = GetDC(window);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH background = CreateSolidBrush(s.background);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, background);
  DeleteObject(background);
  paint(window, dc);
  SelectObject(dc, old);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  std::vector<uint32_t> bits(static_cast<size_t>(width) * height);
  GetDIBits(dc, bitmap, 0, height, bits.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(window, screen);

  const uint32_t backgroundBits =
      (GetRValue(s.background) << 16) | (GetGValue(s.background) << 8) | GetBValue(s.background);
  int outside = 0, covered = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if ((bits[static_cast<size_t>(y) * width + x] & 0xFFFFFF) == backgroundBits) continue;
      POINT p{x, y};
      if (!PtInRect(&frame, p)) ++outside;
      for (const RECT& r : controls) covered += PtInRect(&r, p) ? 1 : 0;
    }
  EXPECT_EQ(outside, 0) << what << ": pixels drawn in the margins";
  EXPECT_EQ(covered, 0) << what << ": drawn pixels under a control";
}
