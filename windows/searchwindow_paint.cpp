// The search window's layout and painting: every font, pen, brush and device
// context is made and released within the call that uses it.
#include <algorithm>

#include "base/gdi.h"
#include "base/guard.h"
#include "host/gamessiteaddress.h"
#include "windows/searchwindow_state.h"
#include "windows/windowhelpers.h"

using namespace searchwindow;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kLinkBlue = RGB(0, 0, 255);
constexpr COLORREF kLineGrey = RGB(183, 189, 197);
constexpr std::wstring_view kLinkText = kGamesSiteHostW;

// The height of a line of text in the selected font. An empty text has no
// extent on some systems; a blank stands in for it so that every row keeps
// the font's line height.
int LineHeightOf(HDC dc, std::wstring_view text) {
  return TextExtent(dc, text.empty() ? std::wstring_view(L" ") : text).cy;
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
  POINT points[2] = {{x1, y1}, {x2, y2}};
  Polyline(dc, points, 2);
}

}  // namespace

void LayoutSearchWindow(HWND window) {
  Margins m = HostMargins();
  OwnedFont captionFont(FontFrom(HostMetricAs<LOGFONTA>(hostabi::kCaptionFont)));
  OwnedFont bodyFont(FontFrom(HostMetricAs<LOGFONTA>(hostabi::kBodyFont)));
  WindowDC dc(window);

  int width, height = m.top + m.bottom;
  {
    SelectedObject font(dc, captionFont);
    width = std::max(0, static_cast<int>(TextExtent(dc, state.title).cx) + kTitleRoom);
  }
  SelectedObject font(dc, bodyFont);
  state.linkColumnWidth = kLinkMargin + TextExtent(dc, kLinkText).cx + kLinkMargin;
  for (int row = 0, rows = RowCount(); row < rows; ++row) {
    std::wstring_view text = RowText(row);
    width = std::max(width, 2 * (m.left + kLinkMargin) + static_cast<int>(TextExtent(dc, text).cx) +
                                state.linkColumnWidth);
    state.lineHeight = LineHeightOf(dc, text);
    height += RowPitch();
  }
  height -= 1;

  // Centred on the host's point, kept inside the desktop's work area; a
  // window too large for it keeps its left and top edges in view.
  auto* x = HostVariableAs<int32_t>(hostabi::kMessageX);
  auto* y = HostVariableAs<int32_t>(hostabi::kMessageY);
  POINT at = KeepInWorkArea({(x ? *x : 0) - width / 2, (y ? *y : 0) - height / 2}, {width, height},
                            DesktopWorkArea(), Overflow::kKeepLeftTop);
  MoveWindow(window, at.x, at.y, width, height, TRUE);
  state.selectedRow = 0;
}

void __stdcall PaintSearchWindow(HWND window, HDC dc) {
  Guarded([&] {
    Margins m = HostMargins();
    const auto* bodyLogFont = HostMetricAs<LOGFONTA>(hostabi::kBodyFont);
    OwnedFont bodyFont(FontFrom(bodyLogFont));
    OwnedFont linkHoverFont(FontFrom(bodyLogFont, true));
    OwnedPen linePen(CreatePen(PS_SOLID, 1, kLineGrey));
    OwnedBrush whiteBrush(CreateSolidBrush(kWhite));
    OwnedBrush selectionBrush(
        CreateSolidBrush(static_cast<COLORREF>(HostMetricValue(hostabi::kSelectionBackground))));
    COLORREF selectionText = static_cast<COLORREF>(HostMetricValue(hostabi::kSelectionText));
    SelectedObject font(dc, bodyFont);
    SelectedObject pen(dc, linePen);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kBlack);

    int h = state.lineHeight;
    int right = WindowWidth(window) - m.right;
    int linkLeft = right - state.linkColumnWidth;
    int candidates = CandidateCount();
    int rows = RowCount();
    int y = m.top;
    for (int row = 0; row < rows; ++row) {
      RECT rowRect{m.left, y, linkLeft, y + BandHeight()};
      RECT linkRect{linkLeft, y, right, y + BandHeight()};
      bool selected = row == state.selectedRow;
      FillRect(dc, &rowRect, selected ? selectionBrush : whiteBrush);
      if (selected) SetTextColor(dc, selectionText);
      std::wstring_view text = RowText(row);
      int textLeft = m.left + (linkLeft - m.left - static_cast<int>(TextExtent(dc, text).cx)) / 2;
      TextOutW(dc, textLeft, y + h / 4, text.data(), static_cast<int>(text.size()));
      FillRect(dc, &linkRect, whiteBrush);
      if (row < candidates) {
        SetTextColor(dc, kLinkBlue);
        if (row == state.hoverLink) SelectObject(dc, linkHoverFont);
        TextOutW(dc, linkLeft + kLinkMargin, y + h / 4, kLinkText.data(), static_cast<int>(kLinkText.size()));
        SelectObject(dc, bodyFont);
      }
      SetTextColor(dc, kBlack);
      y += RowPitch();
      // No separator below the last row.
      if (row < rows - 1) Line(dc, m.left, y - 1, right, y - 1);
    }
    Line(dc, linkLeft, m.top, linkLeft, y - 1);
  });
}
