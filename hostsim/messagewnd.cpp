#include "hostsim/messagewnd.h"

#include <algorithm>

#include "base/gdi.h"
#include "hostsim/hoststate.h"
#include "hostsim/looptimes.h"
#include "hostsim/transcript.h"

namespace messagewnd {

namespace {

constexpr wchar_t kClass[] = L"LumoraMessage";
constexpr int kButtonId = 1;
constexpr int kPadding = 16, kIconSize = 32, kButtonWidth = 96, kButtonHeight = 28;

struct Open {
  HWND window;
  HWND button;
  std::wstring text;  // all lines but the last, one below the other
  int32_t kind;
  bool done;
};
std::vector<Open*> openWindows;

Open* OpenOf(HWND w) { return reinterpret_cast<Open*>(GetWindowLongPtrW(w, GWLP_USERDATA)); }

HFONT BodyFont() { return FontFrom(&host.style.bodyFont); }

SIZE TextSize(const std::wstring& text) {
  WindowDC dc(nullptr);
  OwnedFont font(BodyFont());
  SelectedObject selected(dc, font);
  RECT r{0, 0, 560, 0};
  DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  return {r.right - r.left, r.bottom - r.top};
}

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  Open* open = OpenOf(w);
  switch (m) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      if (open) {
        RECT client;
        GetClientRect(w, &client);
        OwnedBrush background(CreateSolidBrush(host.style.background));
        FillRect(dc, &client, background);
        DrawIconEx(dc, kPadding, kPadding, LoadIconW(nullptr, open->kind == 1 ? IDI_ERROR : IDI_INFORMATION),
                   kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
        OwnedFont font(BodyFont());
        SelectedObject selected(dc, font);
        SetBkMode(dc, TRANSPARENT);
        RECT text{kPadding * 2 + kIconSize, kPadding, client.right - kPadding,
                  client.bottom - kPadding * 2 - kButtonHeight};
        DrawTextW(dc, open->text.c_str(), -1, &text, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
      }
      EndPaint(w, &ps);
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == kButtonId && open) open->done = true;
      return 0;
    case WM_KEYDOWN:
      if ((wp == VK_RETURN || wp == VK_ESCAPE || wp == VK_SPACE) && open) open->done = true;
      return 0;
    case WM_CLOSE:
      if (open) open->done = true;
      return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

void RegisterOnce() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);
}

struct Disabled {
  HWND except;
  std::vector<HWND> list;
};

BOOL CALLBACK DisableOne(HWND w, LPARAM lp) {
  auto* disabled = reinterpret_cast<Disabled*>(lp);
  if (w != disabled->except && IsWindowEnabled(w)) {
    EnableWindow(w, FALSE);
    disabled->list.push_back(w);
  }
  return TRUE;
}

void Record(const std::wstring& caption, const std::vector<std::wstring>& lines, int32_t kind) {
  transcript::Line("message " + transcript::Quote(caption) + " kind " + std::to_string(kind));
  for (size_t i = 0; i < lines.size(); ++i)
    transcript::Line((i + 1 == lines.size() ? "  button " : "  line ") + transcript::Quote(lines[i]));
}

}  // namespace

void Show(HWND owner, const std::wstring& caption, const std::vector<std::wstring>& lines, int32_t kind,
          POINT centre) {
  RegisterOnce();
  Record(caption, lines, kind);
  Open open{};
  open.kind = kind;
  std::wstring button = lines.empty() ? L"OK" : lines.back();
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    if (i) open.text += L"\r\n";
    open.text += lines[i];
  }

  SIZE text = TextSize(open.text);
  int clientWidth = std::max<int>(kPadding * 3 + kIconSize + text.cx, 240);
  int clientHeight = kPadding * 3 + std::max<int>(text.cy, kIconSize) + kButtonHeight;
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int left = std::clamp<int>(centre.x - width / 2, work.left, std::max(work.left, work.right - width));
  int top = std::clamp<int>(centre.y - height / 2, work.top, std::max(work.top, work.bottom - height));

  open.window = CreateWindowExW(WS_EX_DLGMODALFRAME, kClass, caption.c_str(), style, left, top, width, height,
                                owner, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!open.window) {
    transcript::Line("message not shown: the window could not be created");
    return;
  }
  SetWindowLongPtrW(open.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&open));
  open.button = CreateWindowExW(0, L"BUTTON", button.c_str(), WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON,
                                (clientWidth - kButtonWidth) / 2, clientHeight - kPadding - kButtonHeight,
                                kButtonWidth, kButtonHeight, open.window, reinterpret_cast<HMENU>(kButtonId),
                                GetModuleHandleW(nullptr), nullptr);
  OwnedFont font(BodyFont());  // the button's font until the window is gone
  SendMessageW(open.button, WM_SETFONT, reinterpret_cast<WPARAM>(font.handle), FALSE);
  openWindows.push_back(&open);

  // Task-modal, like the plug-in windows.
  Disabled disabled{open.window, {}};
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));
  ShowWindow(open.window, SW_SHOW);
  SetForegroundWindow(open.window);
  SetFocus(open.window);
  MSG msg;
  while (!open.done) {
    int got = looptimes::NextMessage(msg);
    if (got <= 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    // Keys typed on the button count as keys on the window.
    if (msg.message == WM_KEYDOWN && msg.hwnd == open.button) msg.hwnd = open.window;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  for (HWND d : disabled.list)
    if (IsWindow(d)) EnableWindow(d, TRUE);
  openWindows.erase(std::remove(openWindows.begin(), openWindows.end(), &open), openWindows.end());
  DestroyWindow(open.window);
  transcript::Line("message dismissed " + transcript::Quote(caption));
}

HWND Innermost() { return openWindows.empty() ? nullptr : openWindows.back()->window; }

std::wstring CaptionOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 511);
  return text;
}

void Dismiss(HWND window) {
  for (Open* open : openWindows)
    if (open->window == window) {
      PostMessageW(open->button, BM_CLICK, 0, 0);
    }
}

}  // namespace messagewnd
