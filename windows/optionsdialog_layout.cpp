// The Options dialog's layout: the check boxes from the flags, the three
// buttons from the host's templates, the link's extent, and the window's
// size and place. The paint routine draws its texts on the same rows.
#include <algorithm>

#include "host/hostdata.h"
#include "host/hostservices.h"
#include "base/gdi.h"
#include "windows/optionsdialog_state.h"
#include "windows/optionsdialog.h"
#include "windows/windowhelpers.h"

using namespace optionsdialog;

namespace {

// The boxes are read only when the user saves.
void __stdcall IgnoreChange() {}

// Every box starts from its flag, whatever it showed when the dialog last
// ended.
void ResetCheckBoxes() {
  for (int box = 0; box < kBoxCount; ++box) {
    hostabi::TCheckInf& record = state.boxes[box];
    record.state = BoundFlag(box) ? hostabi::kTicked : hostabi::kClear;
    record.onChange = IgnoreChange;
    record.flag = 0;
  }
}

// Centred on the mouse, kept inside the desktop's work area.
void PlaceAroundMouse(HWND window, int width, int height) {
  POINT cursor{};
  GetCursorPos(&cursor);
  POINT at = KeepInWorkArea({cursor.x - width / 2, cursor.y - height / 2}, {width, height},
                            DesktopWorkArea(), Overflow::KeepRightBottom);
  SetWindowPos(window, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void BuildOptionsDialog(HWND window) {
  const Measures m = HostMeasures();
  state.window = window;
  state.linkHover = false;
  ResetCheckBoxes();

  WindowDC dc(window);
  OwnedFont font(FontFrom(m.bodyFont));
  SelectedObject selectFont(dc, font);
  auto width = [&](std::wstring_view text) { return static_cast<int>(TextExtent(dc, text).cx); };
  const int h = TextExtent(dc, kHeading).cy;
  const int x0 = m.X0();

  int y = m.top + 5;
  int W = width(kHeading);
  y += h + 8;

  int wl = 0;
  for (const OptionRow& row : kRows) wl = std::max(wl, width(row.label));
  const int c1 = x0 + wl + 15;
  state.overwriteLabelX = c1 + m.boxWidth + 10;
  const int dy = (std::max(h, m.boxHeight) - m.boxHeight) / 2;
  const int c2 = state.overwriteLabelX + width(kOverwriteLabel) + 5;
  W = std::max(W, c2 + m.boxWidth);
  for (int r = 0; r < 4; ++r) {
    PlaceControl(&state.boxes[2 * r], c1, y + dy, window);
    PlaceControl(&state.boxes[2 * r + 1], c2, y + dy, window);
    y += h + (r == 3 ? 10 : 5);
  }

  const int wc = width(kChangeNameLabel);
  PlaceControl(&state.boxes[kChangeNameBox], x0 + wc + 5, y + dy, window);
  W = std::max(W, wc + 5 + m.boxWidth);
  y += h + 15;

  W = std::max(W, width(kFirstInstruction));
  y += 12;  // 17 pixels below the separator line
  MakeHostButton(state.newListButton, hostabi::kWideButtonTemplate, ImportNewList, window, x0, y,
                 kNewListButtonWidth, L"New FIDE list", "Update FIDE");

  y += h + 36;  // the second instruction line
  W = std::max(W, width(kSecondInstruction));
  y += h + 1;
  state.linkRect = {x0, y, x0 + width(kVisitWebsite), y + h};
  y += h + 5;  // top of the bottom buttons
  W += 2 * x0;

  MakeHostButton(state.closeButton, hostabi::kNormalButtonTemplate, CloseOptions, window,
                 W - m.right - 118, y, kButtonWidth, L"Close");
  MakeHostButton(state.saveButton, hostabi::kNormalButtonTemplate, SaveOptions, window,
                 W - m.right - 236, y, kButtonWidth, L"Save");

  const int H = y + m.bottom + 42;
  PlaceAroundMouse(window, W, H);
}
