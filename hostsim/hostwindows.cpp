#include "hostsim/hostwindows.h"

#include <algorithm>

#include "base/gdi.h"
#include "hostsim/looptimes.h"

namespace hostwin {

using hostabi::kWindowOpen;
using hostabi::TButInf;
using hostabi::TCheckInf;

namespace {

constexpr wchar_t kPluginWindowClass[] = L"LumoraPluginWindow";
constexpr wchar_t kButtonClass[] = L"knop";
constexpr wchar_t kCheckBoxClass[] = L"LumoraCheckBox";
constexpr wchar_t kPressedProp[] = L"LumoraPressed";

int32_t* resultCell = nullptr;
const Style* style = nullptr;
Events events;
std::vector<HWND> openWindows;
std::vector<HWND> controls;  // buttons and check boxes in creation order

struct Binding {
  WNDPROC proc;
  hostabi::PaintCallback paint;
};

// The close box at the right end of the caption strip.
RECT CloseBox(HWND w) {
  RECT r;
  GetClientRect(w, &r);
  int h = style->captionHeight;
  return RECT{r.right - h, 0, r.right, h};
}

// The host's frame of a plug-in window, drawn over what the plug-in painted:
// the caption strip with the window's caption and close box, and a border.
void DrawFrame(HWND w, HDC dc) {
  RECT r;
  GetClientRect(w, &r);
  RECT strip{0, 0, r.right, style->captionHeight};
  OwnedBrush fill(CreateSolidBrush(style->captionBackground));
  FillRect(dc, &strip, fill);
  FrameRect(dc, &r, fill);

  wchar_t caption[256] = {};
  GetWindowTextW(w, caption, 255);
  OwnedFont font(FontFrom(&style->captionFont));
  SelectedObject selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, style->captionText);
  RECT text{8, 0, r.right - style->captionHeight, style->captionHeight};
  DrawTextW(dc, caption, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  RECT close = CloseBox(w);
  DrawTextW(dc, L"\u00D7", 1, &close, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT CALLBACK PluginWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* binding = reinterpret_cast<Binding*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (!binding) return DefWindowProcW(w, m, wp, lp);
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    if (binding->paint) binding->paint(w, dc);
    DrawFrame(w, dc);
    EndPaint(w, &ps);
    return 0;
  }
  if (m == WM_NCDESTROY) SetWindowLongPtrW(w, GWLP_USERDATA, 0);
  return binding->proc(w, m, wp, lp);
}

void DrawCentredText(HDC dc, const RECT& r, const wchar_t* text) {
  OwnedFont font(FontFrom(&style->bodyFont));
  SelectedObject selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  RECT box = r;
  DrawTextW(dc, text, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// Press and release inside the control make a click; a release elsewhere
// after the press makes none.
bool TrackClick(HWND w, UINT m, LPARAM lp) {
  // A posted press reaches a control even while its window is disabled by a
  // modal window over it; the mouse could not.
  if (!IsWindowEnabled(w) || !IsWindowEnabled(GetAncestor(w, GA_ROOT))) return false;
  if (m == WM_LBUTTONDOWN) {
    SetPropW(w, kPressedProp, reinterpret_cast<HANDLE>(1));
    SetCapture(w);
    InvalidateRect(w, nullptr, FALSE);
    return false;
  }
  if (m != WM_LBUTTONUP || !GetPropW(w, kPressedProp)) return false;
  RemovePropW(w, kPressedProp);
  if (GetCapture() == w) ReleaseCapture();
  InvalidateRect(w, nullptr, FALSE);
  RECT r;
  GetClientRect(w, &r);
  POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  return PtInRect(&r, p) != 0;
}

LRESULT CALLBACK ButtonProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_NCCREATE: controls.push_back(w); break;
    case WM_NCDESTROY:
      controls.erase(std::remove(controls.begin(), controls.end(), w), controls.end());
      break;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      RECT r;
      GetClientRect(w, &r);
      bool pressed = GetPropW(w, kPressedProp) != nullptr;
      {
        OwnedBrush face(CreateSolidBrush(pressed ? RGB(200, 210, 230) : RGB(225, 230, 240)));
        OwnedPen edge(CreatePen(PS_SOLID, 1, RGB(90, 100, 120)));
        SelectedObject brush(dc, face), pen(dc, edge);
        RoundRect(dc, r.left, r.top, r.right, r.bottom, 26, 26);
      }
      wchar_t caption[256] = {};
      GetWindowTextW(w, caption, 255);
      DrawCentredText(dc, r, caption);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      if (TrackClick(w, m, lp)) {
        // The handler is read from the record at the moment of the click.
        auto* button = reinterpret_cast<TButInf*>(GetWindowLongPtrW(w, GWLP_USERDATA));
        if (events.buttonClicked) events.buttonClicked(w);
        if (button && button->onClick) button->onClick();
      }
      return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

LRESULT CALLBACK CheckBoxProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  auto* box = reinterpret_cast<TCheckInf*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  switch (m) {
    case WM_NCDESTROY:
      controls.erase(std::remove(controls.begin(), controls.end(), w), controls.end());
      break;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      RECT r;
      GetClientRect(w, &r);
      FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
      if (box && box->state == hostabi::kTicked) {
        OwnedPen pen(CreatePen(PS_SOLID, 2, RGB(0, 0, 0)));
        SelectedObject selected(dc, pen);
        MoveToEx(dc, r.left + 3, (r.top + r.bottom) / 2, nullptr);
        LineTo(dc, (r.left + r.right) / 2 - 1, r.bottom - 4);
        LineTo(dc, r.right - 3, r.top + 3);
      }
      EndPaint(w, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      if (TrackClick(w, m, lp) && box) {
        box->state = box->state == hostabi::kTicked ? hostabi::kClear : hostabi::kTicked;
        InvalidateRect(w, nullptr, FALSE);
        if (events.checkBoxToggled) events.checkBoxToggled(w);
        if (box->onChange) box->onChange();
      }
      return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

void RegisterClass(const wchar_t* name, WNDPROC proc, HBRUSH background, UINT extraStyle = 0) {
  WNDCLASSW wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW | extraStyle;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  RegisterClassW(&wc);
}

struct DisabledWindows {
  HWND except;
  std::vector<HWND> list;
};

BOOL CALLBACK DisableOne(HWND w, LPARAM lp) {
  auto* disabled = reinterpret_cast<DisabledWindows*>(lp);
  if (w != disabled->except && IsWindowEnabled(w)) {
    EnableWindow(w, FALSE);
    disabled->list.push_back(w);
  }
  return TRUE;
}

}  // namespace

void SetEvents(const Events& hostEvents) { events = hostEvents; }

void* StyleValue(Style& s, uint32_t n) {
  using namespace hostabi;
  switch (n) {
    case kSelectionBackground: return &s.selectionBackground;
    case kSelectionText: return &s.selectionText;
    case kSeparatorColour: return &s.separatorColour;
    case kMarginTop: return &s.marginTop;
    case kMarginBottom: return &s.marginBottom;
    case kMarginLeft: return &s.marginLeft;
    case kMarginRight: return &s.marginRight;
    case kCheckBoxHeight: return &s.checkBoxHeight;
    case kCheckBoxWidth: return &s.checkBoxWidth;
    case kBodyFont: return &s.bodyFont;
    case kCaptionFont: return &s.captionFont;
  }
  return nullptr;
}

void Initialise(int32_t* windowResultCell, const Style* hostStyle) {
  resultCell = windowResultCell;
  style = hostStyle;
  static bool registered = false;
  if (registered) return;
  registered = true;
  // A background brush, so that a window painting only its rows still has
  // its margins erased.
  RegisterClass(kPluginWindowClass, PluginWindowProc, CreateSolidBrush(style->background));
  RegisterClass(kButtonClass, ButtonProc, nullptr, CS_GLOBALCLASS);
  RegisterClass(kCheckBoxClass, CheckBoxProc, nullptr);
}

int32_t RunPluginWindow(const wchar_t* caption, int32_t width, int32_t height, HWND parent, WNDPROC proc,
                        hostabi::PaintCallback paint) {
  Binding binding{proc, paint};
  int32_t saved = *resultCell;
  *resultCell = kWindowOpen;
  // Centred over the parent until the plug-in places it itself.
  RECT over{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (parent) GetWindowRect(parent, &over);
  int x = (over.left + over.right - width) / 2, y = (over.top + over.bottom - height) / 2;
  HWND w = CreateWindowExW(0, kPluginWindowClass, caption, WS_POPUP | WS_SYSMENU, x, y, width, height, parent,
                           nullptr, GetModuleHandleW(nullptr), &binding);
  if (!w) {
    *resultCell = saved;
    return -1;
  }
  openWindows.push_back(w);
  if (events.opened) events.opened(w, parent, width, height);

  // Task-modal: the parent and every other enabled top-level window of this
  // thread, and exactly those, are disabled while the window runs.
  DisabledWindows disabled{w, {}};
  if (parent && IsWindowEnabled(parent) && GetParent(parent) != nullptr)
    DisableOne(parent, reinterpret_cast<LPARAM>(&disabled));
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));

  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  SetFocus(w);
  MSG msg;
  while (*resultCell == kWindowOpen) {
    // A window its plug-in destroyed without a result ends as if closed.
    if (!IsWindow(w)) {
      *resultCell = -1;
      break;
    }
    int got = looptimes::NextMessage(msg);
    if (got <= 0) {
      // The application is quitting: end the window and pass the quit on.
      PostQuitMessage(static_cast<int>(msg.wParam));
      *resultCell = -1;
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  int32_t result = *resultCell;
  if (events.closing) events.closing(w, result);

  for (HWND d : disabled.list)
    if (IsWindow(d)) EnableWindow(d, TRUE);
  openWindows.erase(std::remove(openWindows.begin(), openWindows.end(), w), openWindows.end());
  DestroyWindow(w);
  *resultCell = saved;
  return result;
}

LRESULT CALLBACK DefaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      if (resultCell) *resultCell = -1;
      return 0;
    case WM_NCHITTEST: {
      // The caption strip moves the window; its close box closes it.
      POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ScreenToClient(window, &p);
      if (p.y >= 0 && p.y < style->captionHeight) {
        RECT close = CloseBox(window);
        return PtInRect(&close, p) ? HTCLOSE : HTCAPTION;
      }
      break;
    }
    case WM_NCLBUTTONDOWN:
      if (wParam == HTCLOSE) {
        SendMessageW(window, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void PaintWindowBackground(HWND window, HDC dc) {
  RECT r;
  GetClientRect(window, &r);
  OwnedBrush brush(CreateSolidBrush(style->background));
  FillRect(dc, &r, brush);
}

void StyleButton(TButInf* button, const wchar_t* caption) {
  if (!button || !IsWindow(button->window)) return;
  SetWindowLongPtrW(button->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(button));
  SetWindowTextW(button->window, caption ? caption : L"");
  InvalidateRect(button->window, nullptr, TRUE);
}

bool PlaceControl(TCheckInf* box, int32_t x, int32_t y, HWND parent) {
  if (!box) return false;
  HWND w = CreateWindowExW(0, kCheckBoxClass, L"", WS_CHILD | WS_VISIBLE, x, y, style->checkBoxWidth,
                           style->checkBoxHeight, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!w) return false;
  SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box));
  box->hostValue = static_cast<int32_t>(reinterpret_cast<uintptr_t>(w));
  controls.push_back(w);
  return true;
}

std::vector<HWND> OpenPluginWindows() { return openWindows; }

namespace {

std::vector<HWND> ControlsOf(HWND window, const wchar_t* className) {
  std::vector<HWND> found;
  for (HWND c : controls) {
    wchar_t name[64] = {};
    GetClassNameW(c, name, 63);
    if (GetParent(c) == window && lstrcmpiW(name, className) == 0) found.push_back(c);
  }
  return found;
}

}  // namespace

std::vector<HWND> ButtonsOf(HWND window) { return ControlsOf(window, kButtonClass); }
std::vector<HWND> CheckBoxesOf(HWND window) { return ControlsOf(window, kCheckBoxClass); }

void Click(HWND control) {
  RECT r;
  GetClientRect(control, &r);
  LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(control, WM_LBUTTONUP, 0, at);
}

void PaintContent(HWND window, HDC dc) {
  if (std::find(openWindows.begin(), openWindows.end(), window) == openWindows.end()) return;
  auto* binding = reinterpret_cast<Binding*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (binding && binding->paint) binding->paint(window, dc);
}

TCheckInf* CheckBoxRecord(HWND box) {
  return reinterpret_cast<TCheckInf*>(GetWindowLongPtrW(box, GWLP_USERDATA));
}

}  // namespace hostwin
