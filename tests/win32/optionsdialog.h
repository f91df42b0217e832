// Running the Options dialog in tests: a fake host whose modal window runs
// the dialog through a script of steps, the dialog's controls as the user
// sees them, its drawing in a bitmap and its layout worked out from the
// host's metrics.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "host/paths.h"
#include "host/settings.h"
#include "hostsim/fakehost.h"
#include "plugin/velmarsh.h"
#include "tests/tempdir.h"
#include "tests/win32/layoutcheck.h"
#include "windows/optionsdialog.h"
#include "windows/optionsdialog_state.h"
#include "windows/windowhelpers.h"

using Bytes = std::vector<unsigned char>;
using Step = std::function<void(HWND dialog)>;

// ---- Running the dialog through a script ----

inline constexpr UINT kNextStep = WM_APP + 1;
inline WNDPROC dialogProc = nullptr;
inline hostabi::PaintCallback dialogPaint = nullptr;
inline std::vector<Step> steps;
inline size_t nextStep = 0;
inline bool started = false, ranOut = false;
inline int paints = 0;

// Runs the next step once the messages posted by the previous one are
// handled; closes the window when the script ran out without ending it.
inline LRESULT CALLBACK ScriptedProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == kNextStep) {
    if (nextStep < steps.size()) {
      steps[nextStep++](w);
      PostMessageW(w, kNextStep, 0, 0);
    } else {
      ranOut = true;
      PostMessageW(w, WM_CLOSE, 0, 0);
    }
    return 0;
  }
  LRESULT r = dialogProc(w, m, wp, lp);
  if (m == WM_SHOWWINDOW && wp && !started) {
    started = true;
    PostMessageW(w, kNextStep, 0, 0);
  }
  return r;
}

inline void __stdcall CountingPaint(HWND w, HDC dc) {
  ++paints;
  dialogPaint(w, dc);
}

inline RECT PlaceOf(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Boxes as the user sees them: row by row, left to right.
inline std::vector<HWND> BoxesByPlace(HWND dialog) {
  auto boxes = hostwin::CheckBoxesOf(dialog);
  std::sort(boxes.begin(), boxes.end(), [](HWND a, HWND b) {
    RECT ra = PlaceOf(a), rb = PlaceOf(b);
    return std::pair(ra.top, ra.left) < std::pair(rb.top, rb.left);
  });
  return boxes;
}

inline std::vector<int> BoxStates(HWND dialog) {
  std::vector<int> states;
  for (HWND b : BoxesByPlace(dialog)) states.push_back(hostwin::CheckBoxRecord(b)->state);
  return states;
}

inline HWND Button(HWND dialog, const wchar_t* caption) {
  for (HWND b : hostwin::ButtonsOf(dialog)) {
    wchar_t text[64] = {};
    GetWindowTextW(b, text, 63);
    if (std::wstring(text) == caption) return b;
  }
  ADD_FAILURE() << "no button";
  return nullptr;
}

// The nine stored flags in file order.
inline Bytes FlagBytes() {
  const Settings& s = settings;
  Bytes b;
  for (bool f : {s.saveTitle, s.saveSex, s.saveElo, s.saveCountry, s.overwriteTitle, s.overwriteSex,
                 s.overwriteElo, s.overwriteCountry, s.changeName})
    b.push_back(f);
  return b;
}

class OptionsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    std::remove(path.c_str());
    settings = Settings{};
    hostwin::Style& s = host.style;
    s.marginTop = 7, s.marginBottom = 9, s.marginLeft = 11, s.marginRight = 13;
    s.checkBoxHeight = 12, s.checkBoxWidth = 14;
    s.separatorColour = RGB(255, 0, 255);
    host.onCreateHostWindow = [this](const wchar_t* caption, HWND parent, WNDPROC proc,
                                     hostabi::PaintCallback paint) {
      dialogProc = proc, dialogPaint = paint, this->parent = parent;
      return result = hostwin::RunPluginWindow(caption, 400, 300, parent, ScriptedProc, CountingPaint);
    };
    StartLumoraProc(FakeHost::F);
  }
  void TearDown() override { std::remove(path.c_str()); }

  int32_t Run(std::vector<Step> script) {
    steps = std::move(script), nextStep = 0, started = ranOut = false, result = 0;
    ShowOptions();
    EXPECT_FALSE(ranOut) << "the dialog did not end by itself";
    return result;
  }

  FakeHost host;
  std::string path = SettingsFilePath();
  HWND parent = nullptr;
  int32_t result = 0;
};

// ---- Drawing and layout ----

// A window's client area drawn into a bitmap, by default by the paint routine.
struct Canvas {
  int width = 0, height = 0;
  std::vector<uint32_t> bits;  // 0x00RRGGBB, top row first

  explicit Canvas(HWND window, const std::function<void(HDC)>& draw = {}) {
    RECT r;
    GetClientRect(window, &r);
    width = r.right, height = r.bottom;
    bits.resize(static_cast<size_t>(width) * height);
    HDC screen = GetDC(window);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, width, height, WHITENESS);
    if (draw)
      draw(dc);
    else
      PaintOptionsDialog(window, dc);
    SelectObject(dc, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    GetDIBits(dc, bitmap, 0, height, bits.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(window, screen);
  }
  uint32_t At(int x, int y) const { return bits[static_cast<size_t>(y) * width + x]; }
  bool Blue(int x, int y) const {
    uint32_t c = At(x, y);
    return (c & 0xFF) > 128 && (c >> 8 & 0xFF) < 100 && (c >> 16 & 0xFF) < 100;
  }
  // The bounding box of the link's blue text; empty when there is none.
  RECT BlueBox() const {
    RECT box{width, height, -1, -1};
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (Blue(x, y))
          box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x),
                 std::max<LONG>(box.bottom, y)};
    return box;
  }
  bool Underlined(const RECT& link) const {
    for (int y = link.top; y <= link.bottom; ++y) {
      int n = 0;
      for (int x = link.left; x <= link.right; ++x) n += Blue(x, y);
      if (n * 10 >= (link.right - link.left) * 9) return true;
    }
    return false;
  }
};

// Where everything should be, worked out from the host's metrics, the body
// font's text extents and the dialog's own texts and button sizes.
struct Expected {
  std::vector<POINT> boxes;  // by place
  RECT newList, close, save, link;
  int separatorY, width, height;
};

inline Expected ExpectedLayout(const hostwin::Style& s) {
  using namespace optionsdialog;
  HDC dc = GetDC(nullptr);
  HFONT font = CreateFontIndirectA(&s.bodyFont);
  HGDIOBJ old = SelectObject(dc, font);
  auto extent = [&](std::wstring_view text) {
    SIZE size;
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
  };
  int h = extent(kHeading).cy, x0 = s.marginLeft + 10, cw = s.checkBoxWidth;
  int wl = 0;
  for (const OptionRow& row : kRows) wl = std::max<int>(wl, extent(row.label).cx);
  int c1 = x0 + wl + 15, c2 = c1 + cw + 10 + extent(kOverwriteLabel).cx + 5;
  int dy = (std::max(h, s.checkBoxHeight) - s.checkBoxHeight) / 2;
  int wc = extent(kChangeNameLabel).cx;
  Expected e;
  int y = s.marginTop + 5 + h + 8;
  for (int row = 0; row < 4; ++row, y += h + 5) {
    e.boxes.push_back({c1, y + dy});
    e.boxes.push_back({c2, y + dy});
  }
  y += 5;  // ten pixels after the ELO row
  e.boxes.push_back({x0 + wc + 5, y + dy});
  e.separatorY = y + h + 10;
  const int newListTop = e.separatorY + 17;
  e.newList = {x0, newListTop, x0 + kNewListButtonWidth, newListTop + kButtonHeight};
  int linkTop = e.separatorY + 54 + 2 * h;
  e.link = {x0, linkTop, x0 + extent(kVisitWebsite).cx, linkTop + h};
  int w = std::max<int>({extent(kHeading).cx, c2 + cw, wc + 5 + cw, extent(kFirstInstruction).cx,
                         extent(kSecondInstruction).cx});
  e.width = w + 2 * x0;
  int bottom = linkTop + h + 5;
  // Close ends 13 pixels inside the right margin; Save stands 13 pixels left of it.
  const int closeLeft = e.width - s.marginRight - 13 - kButtonWidth;
  e.close = {closeLeft, bottom, closeLeft + kButtonWidth, bottom + kButtonHeight};
  const int saveLeft = closeLeft - 13 - kButtonWidth;
  e.save = {saveLeft, bottom, saveLeft + kButtonWidth, bottom + kButtonHeight};
  e.height = bottom + s.marginBottom + 42;
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  return e;
}

inline void ExpectRect(const RECT& actual, const RECT& expected, const char* what) {
  EXPECT_EQ(std::vector<LONG>({actual.left, actual.top, actual.right, actual.bottom}),
            std::vector<LONG>({expected.left, expected.top, expected.right, expected.bottom}))
      << what;
}
