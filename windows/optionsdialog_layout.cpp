// The Options dialog's layout: the check boxes from the flags, the three
// buttons from the host's templates, the link's extent, and the window's
// size and place. The paint routine draws its texts on the same rows.
#include <algorithm>

#include "base/gdi.h"
#include "host/hostdata.h"
#include "host/hostservices.h"
#include "windows/optionsdialog.h"
#include "windows/optionsdialog_state.h"
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
  POINT at = KeepInWorkArea({cursor.x - width / 2, cursor.y - height / 2}, {width, height}, DesktopWorkArea(),
                            Overflow::kKeepRightBottom);
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
  auto textWidth = [&](std::wstring_view text) { return static_cast<int>(TextExtent(dc, text).cx); };
  const int h = TextExtent(dc, kHeading).cy;
  const int textLeft = m.TextLeft();

  int y = m.top + 5;
  int width = textWidth(kHeading);
  y += h + 8;

  int labelWidth = 0;
  for (const OptionRow& row : kRows) labelWidth = std::max(labelWidth, textWidth(row.label));
  const int saveBoxX = textLeft + labelWidth + 15;
  state.overwriteLabelX = saveBoxX + m.boxWidth + 10;
  const int boxOffset = (std::max(h, m.boxHeight) - m.boxHeight) / 2;
  const int overwriteBoxX = state.overwriteLabelX + textWidth(kOverwriteLabel) + 5;
  width = std::max(width, overwriteBoxX + m.boxWidth);
  for (int r = 0; r < 4; ++r) {
    PlaceControl(&state.boxes[2 * r], saveBoxX, y + boxOffset, window);
    PlaceControl(&state.boxes[2 * r + 1], overwriteBoxX, y + boxOffset, window);
    y += h + (r == 3 ? 10 : 5);
  }

  const int changeNameWidth = textWidth(kChangeNameLabel);
  PlaceControl(&state.boxes[kChangeNameBox], textLeft + changeNameWidth + 5, y + boxOffset, window);
  width = std::max(width, changeNameWidth + 5 + m.boxWidth);
  y += h + 15;

  width = std::max(width, textWidth(kFirstInstruction));
  y += 12;  // 17 pixels below the separator line
  MakeHostButton(state.newListButton, hostabi::kWideButtonTemplate, ImportNewList, window, textLeft, y,
                 kNewListButtonWidth, L"New FIDE list", "Update FIDE");

  y += h + 36;  // the second instruction line
  width = std::max(width, textWidth(kSecondInstruction));
  y += h + 1;
  state.linkRect = {textLeft, y, textLeft + textWidth(kVisitWebsite), y + h};
  y += h + 5;  // top of the bottom buttons
  width += 2 * textLeft;

  MakeHostButton(state.closeButton, hostabi::kNormalButtonTemplate, CloseOptions, window,
                 width - m.right - 118, y, kButtonWidth, L"Close");
  MakeHostButton(state.saveButton, hostabi::kNormalButtonTemplate, SaveOptions, window, width - m.right - 236,
                 y, kButtonWidth, L"Save");

  const int height = y + m.bottom + 42;
  PlaceAroundMouse(window, width, height);
}
