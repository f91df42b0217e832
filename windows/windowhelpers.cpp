#include "windows/windowhelpers.h"

#include <shellapi.h>

#include <algorithm>

#include "host/hostdata.h"
#include "host/hostservices.h"

// The full-size structure, with the fields that follow the old 76 bytes.
static_assert(sizeof(OPENFILENAMEW) == 88);

Margins HostMargins() {
  using namespace hostabi;
  return {HostMetricValue(kMarginTop), HostMetricValue(kMarginBottom), HostMetricValue(kMarginLeft),
          HostMetricValue(kMarginRight)};
}

int WindowWidth(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r.right - r.left;
}

bool HostHandlesMouse() {
  auto* busy = HostVariableAs<uint8_t>(hostabi::kMouseBusy);
  return busy && *busy != 0;
}

void ShowLinkCursor(bool overLink) {
  SetCursor(LoadCursorA(nullptr, overLink ? MAKEINTRESOURCEA(32649)     // IDC_HAND
                                          : MAKEINTRESOURCEA(32512)));  // IDC_ARROW
}

void MakeHostButton(hostabi::TButInf& button, size_t templateOffset, hostabi::CommandHandler onClick,
                    HWND parent, int x, int y, int width, const wchar_t* caption, const char* ansiText) {
  ReleaseButtonPictures(button);
  button = CopyButtonTemplate(templateOffset);
  button.onClick = onClick;
  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
  button.window = ansiText ? CreateWindowExA(0, "knop", ansiText, WS_CHILD | WS_VISIBLE, x, y, width,
                                             kButtonHeight, parent, nullptr, instance, nullptr)
                           : CreateWindowExW(0, L"knop", caption, WS_CHILD | WS_VISIBLE, x, y, width,
                                             kButtonHeight, parent, nullptr, instance, nullptr);
  HRGN region = CreateRoundRectRgn(-1, -1, width + 2, kButtonHeight + 2, 28, 28);
  // The window owns the region once it is set; otherwise it is ours to free.
  if (region && !SetWindowRgn(button.window, region, TRUE)) DeleteObject(region);
  StyleButton(&button, caption);
}

POINT KeepInWorkArea(POINT at, SIZE size, const RECT& work, Overflow overflow) {
  auto keepLow = [](LONG& v) { v = std::max<LONG>(v, 0); };
  auto keepHigh = [](LONG& v, LONG extent, LONG edge) {
    if (v + extent > edge) v = edge - extent;
  };
  if (overflow == Overflow::kKeepRightBottom) {
    keepLow(at.x), keepLow(at.y);
    keepHigh(at.x, size.cx, work.right), keepHigh(at.y, size.cy, work.bottom);
  } else {
    keepHigh(at.x, size.cx, work.right), keepHigh(at.y, size.cy, work.bottom);
    keepLow(at.x), keepLow(at.y);
  }
  return at;
}

RECT DesktopWorkArea() {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

void OpenWebPage(HWND owner, const char* url) { ShellExecuteA(owner, "open", url, "", "", SW_SHOW); }

OPENFILENAMEW FileDialog(HWND owner, const wchar_t* filter, std::span<wchar_t> file, const wchar_t* folder,
                         const wchar_t* defaultExtension) {
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder;
  dialog.lpstrDefExt = defaultExtension;
  return dialog;
}
