// The Options dialog's drawing: the labels of the rows the layout placed
// the boxes on, the separator, the instructions and the link.
#include <algorithm>

#include "base/gdi.h"
#include "base/guard.h"
#include "host/hostservices.h"
#include "windows/optionsdialog.h"
#include "windows/optionsdialog_state.h"
#include "windows/windowhelpers.h"

using namespace optionsdialog;

namespace {

void Text(HDC dc, int x, int y, std::wstring_view text) {
  TextOutW(dc, x, y, text.data(), static_cast<int>(text.size()));
}

void Paint(HWND window, HDC dc) {
  PaintWindowBackground(window, dc);
  const Measures m = HostMeasures();
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  OwnedFont font(FontFrom(m.bodyFont));
  OwnedFont linkFont(state.linkHover ? FontFrom(m.bodyFont, true) : nullptr);
  OwnedPen pen(CreatePen(PS_SOLID, 1, m.separatorColour));
  SelectedObject selectFont(dc, font);
  SelectedObject selectPen(dc, pen);

  const int h = TextExtent(dc, kHeading).cy;
  const int textLeft = m.TextLeft();
  const int textOffset = (std::max(h, m.boxHeight) - h) / 2 - 2;

  Text(dc, textLeft, m.top + 5, kHeading);
  int y = m.top + 5 + h + 8;
  for (int r = 0; r < 4; ++r) {
    std::wstring_view label = kRows[r].label;
    // The label ends 5 pixels before the row's "save" box.
    int x = state.overwriteLabelX - m.boxWidth - 15 - static_cast<int>(TextExtent(dc, label).cx);
    Text(dc, x, y + textOffset, label);
    Text(dc, state.overwriteLabelX, y + textOffset, kOverwriteLabel);
    y += h + (r == 3 ? 10 : 5);
  }
  Text(dc, textLeft, y + textOffset, kChangeNameLabel);
  y += h + 10;

  POINT line[2] = {{textLeft, y}, {WindowWidth(window) - m.right - 10, y}};
  Polyline(dc, line, 2);
  Text(dc, textLeft, y + 52, kFirstInstruction);
  Text(dc, textLeft, y + 53 + h, kSecondInstruction);

  SetTextColor(dc, RGB(0, 0, 255));
  if (state.linkHover) SelectObject(dc, linkFont);
  Text(dc, textLeft, y + 54 + 2 * h, kVisitWebsite);
}

}  // namespace

void __stdcall PaintOptionsDialog(HWND window, HDC dc) {
  Guarded([&] { Paint(window, dc); });
}
