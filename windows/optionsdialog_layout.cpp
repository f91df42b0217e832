// The Options dialog's layout: the check boxes from the flags, the three
// buttons from the host's templates, the link's extent, and the window's
// size and place. The paint routine draws its texts on the same rows.
#include <algorithm>

#include "host/hostdata.h"
#include "host/hostservices.h"
#include "base/gdi.h"
#include "windows/optionsdialog_state.h"
#include "windows/optionsdialog.h"

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

// Copies a host button template into `button` (dropping the pictures of the
// previous copy), gives it the window and a rounded region, and has the host
// style it.
void FinishButton(hostabi::TButInf& button, HWND control, int width, const wchar_t* caption) {
  button.window = control;
  HRGN region = CreateRoundRectRgn(-1, -1, width + 2, 30, 28, 28);
  // The window owns the region once it is set; otherwise it is ours to free.
  if (!SetWindowRgn(control, region, TRUE)) DeleteObject(region);
  StyleButton(&button, caption);
}

void TakeTemplate(hostabi::TButInf& button, size_t offset, hostabi::CommandHandler onClick) {
  ReleaseButtonPictures(button);
  button = CopyButtonTemplate(offset);
  button.onClick = onClick;
}

HWND CreateKnopW(const wchar_t* text, int x, int y, int width, HWND parent, HINSTANCE instance) {
  return CreateWindowExW(0, L"knop", text, WS_CHILD | WS_VISIBLE, x, y, width, 28, parent,
                         nullptr, instance, nullptr);
}

// Centred on the mouse, kept inside the desktop's work area.
void PlaceAroundMouse(HWND window, int width, int height) {
  POINT cursor{};
  GetCursorPos(&cursor);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  int left = cursor.x - width / 2, top = cursor.y - height / 2;
  if (left < 0) left = 0;
  if (left + width > work.right) left = work.right - width;
  if (top < 0) top = 0;
  if (top + height > work.bottom) top = work.bottom - height;
  SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void BuildOptionsDialog(HWND window) {
  const Measures m = HostMeasures();
  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongA(window, GWL_HINSTANCE));
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
  TakeTemplate(state.newListButton, hostabi::kWideButtonTemplate, ImportNewList);
  HWND newList = CreateWindowExA(0, "knop", "Update FIDE", WS_CHILD | WS_VISIBLE, x0, y, 148, 28,
                                 window, nullptr, instance, nullptr);
  FinishButton(state.newListButton, newList, 148, L"New FIDE list");

  y += h + 36;  // the second instruction line
  W = std::max(W, width(kSecondInstruction));
  y += h + 1;
  state.linkRect = {x0, y, x0 + width(kVisitWebsite), y + h};
  y += h + 5;  // top of the bottom buttons
  W += 2 * x0;

  TakeTemplate(state.closeButton, hostabi::kNormalButtonTemplate, CloseOptions);
  FinishButton(state.closeButton, CreateKnopW(L"Close", W - m.right - 118, y, 105, window, instance),
               105, L"Close");
  TakeTemplate(state.saveButton, hostabi::kNormalButtonTemplate, SaveOptions);
  FinishButton(state.saveButton, CreateKnopW(L"Save", W - m.right - 236, y, 105, window, instance),
               105, L"Save");

  const int H = y + m.bottom + 42;
  PlaceAroundMouse(window, W, H);
}
