// The extended search window, driven through a fake host's real modal window
// with real messages: a thread timer plays one step per tick against the open
// window. What the window shows is read back from its pixels and the cursor.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "base/gdi.h"
#include "host/gamessiteaddress.h"
#include "hostsim/fakehost.h"
#include "plugin/velmarsh.h"
#include "tests/win32/layoutcheck.h"
#include "windows/searchwindow.h"
#include "windows/searchwindow_state.h"

namespace {

using Step = std::function<void(HWND)>;
using searchwindow::kLinkMargin;
using searchwindow::kTitleRoom;

FakeHost* host = nullptr;
std::vector<CandidateLine> candidates;  // the lines of the next window
std::deque<Step> steps;
bool ranOut = false;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  auto open = hostwin::OpenPluginWindows();
  if (open.empty()) return;
  if (steps.empty()) {
    ranOut = true;
    PostMessageW(open.back(), WM_CLOSE, 0, 0);
    return;
  }
  Step step = std::move(steps.front());
  steps.pop_front();
  step(open.back());
}

SearchAnswer Player(size_t row) { return {SearchAnswer::Kind::kPlayer, row}; }
const SearchAnswer kExtended{SearchAnswer::Kind::kExtendedSearch};
const SearchAnswer kSkip{SearchAnswer::Kind::kSkip};
const SearchAnswer kCancel{SearchAnswer::Kind::kCancel};

// Runs ChoosePlayer while the steps play; every step must run, and the last
// one must end the window.
SearchAnswer Choose(std::vector<Step> script, bool offerExtended = true, bool offerCancel = false,
                    const std::wstring& title = L"Search FIDE for Smith") {
  steps.assign(script.begin(), script.end());
  ranOut = false;
  UINT_PTR timer = SetTimer(nullptr, 0, 10, Tick);
  SearchAnswer result = ChoosePlayer(host->mainWindow, candidates, title, offerExtended, offerCancel);
  KillTimer(nullptr, timer);
  EXPECT_FALSE(ranOut) << "the window was still open after the last step";
  EXPECT_TRUE(steps.empty()) << "the window ended before its last step";
  return result;
}

void Key(HWND w, WPARAM key) { SendMessageW(w, WM_KEYDOWN, key, 0); }
void Mouse(HWND w, UINT message, int x, int y) {
  SendMessageW(w, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
}
Step KeyStep(WPARAM key) {
  return [key](HWND w) { Key(w, key); };
}

SIZE Extent(const LOGFONTA& logFont, std::wstring_view text) {
  OwnedFont font(FontFrom(&logFont));
  WindowDC dc(nullptr);
  SelectedObject selected(dc, font);
  return TextExtent(dc, text);
}

class SearchWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    host = &fake;
    fake.style.marginTop = 34;  // below the host's caption strip
    fake.style.marginBottom = 12;
    fake.style.marginLeft = 12;
    fake.style.marginRight = 24;
    fake.style.selectionBackground = RGB(10, 120, 200);
    fake.style.selectionText = RGB(255, 255, 0);
    fake.messageX = 300;
    fake.messageY = 250;
    StartLumoraProc(FakeHost::F);
    candidates = {{L"Smith, John (ENG) 2410", 400041},
                  {L"Smith, Jonathan (USA) 2195", 2020009},
                  {L"Smith, J. (AUS)", 3200}};
    h = Extent(fake.style.bodyFont, L"Skip").cy;
    p = 3 * h / 2 + 1;
    linkTextWidth = Extent(fake.style.bodyFont, kGamesSiteHostW).cx;
  }

  int Width(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return r.right - r.left;
  }
  int LinkLeft(HWND w) { return Width(w) - fake.style.marginRight - linkTextWidth - 2 * kLinkMargin; }
  int RowTop(int row) { return fake.style.marginTop + row * p; }
  // A point of a row's text band.
  int TextY(int row) { return RowTop(row) + h / 4 + h / 2; }
  POINT OnLink(HWND w, int row) { return {LinkLeft(w) + kLinkMargin + 2, TextY(row)}; }

  bool Highlighted(HWND w, int row) {
    WindowDC dc(w);
    return GetPixel(dc, fake.style.marginLeft + 1, RowTop(row) + 1) == fake.style.selectionBackground;
  }
  // True when one pixel line runs unbroken under the whole link text.
  bool Underlined(HWND w, int row) {
    WindowDC dc(w);
    int left = LinkLeft(w) + kLinkMargin;
    bool found = false;
    for (int y = RowTop(row); y < RowTop(row) + p - 1 && !found; ++y) {
      found = true;
      for (int x = left; x < left + linkTextWidth && found; ++x)
        found = GetPixel(dc, x, y) != RGB(255, 255, 255);
    }
    return found;
  }
  bool HandCursor() { return GetCursor() == LoadCursorW(nullptr, IDC_HAND); }

  FakeHost fake;
  int h = 0, p = 0, linkTextWidth = 0;
};

TEST(PlayerPage, AddressOnTheGamesSite) {
  EXPECT_EQ(PlayerPageUrl(1503014), "https://chessarchive.example.org/public/pinfo.jsp?id=1503014");
  EXPECT_EQ(PlayerPageUrl(7), "https://chessarchive.example.org/public/pinfo.jsp?id=7");
  // An ID with the top bit set (only a damaged players.dat holds one) is
  // written as the tag writes it, never with a minus sign.
  EXPECT_EQ(PlayerPageUrl(static_cast<int32_t>(3000000000u)),
            "https://chessarchive.example.org/public/pinfo.jsp?id=3000000000");
}

TEST_F(SearchWindow, LayoutFitsTheWidestRowAndCentresOnTheHostsPoint) {
  const auto& s = fake.style;
  int rowsWidth = 0;
  for (const auto& c : candidates) rowsWidth = std::max<int>(rowsWidth, Extent(s.bodyFont, c.text).cx);
  int width = std::max<int>(Extent(s.captionFont, L"Search FIDE for Smith").cx + kTitleRoom,
                            2 * (s.marginLeft + kLinkMargin) + rowsWidth + linkTextWidth + 2 * kLinkMargin);
  int height = s.marginTop + s.marginBottom + 6 * p - 1;  // 3 candidates and 3 fixed rows
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);

  struct Case {
    int x, y, left, top;
  } cases[] = {
      {300, 250, 300 - width / 2, 250 - height / 2},
      {static_cast<int>(work.right) - 5, static_cast<int>(work.bottom) - 5,
       static_cast<int>(work.right) - width, static_cast<int>(work.bottom) - height},
      {5, 5, 0, 0},
  };
  for (const Case& c : cases) {
    fake.messageX = c.x;
    fake.messageY = c.y;
    RECT r{};
    EXPECT_EQ(Choose({[&](HWND w) {
                       GetWindowRect(w, &r);
                       EXPECT_LE(rowsWidth, LinkLeft(w) - s.marginLeft) << "the rows' text fits";
                       ExpectControlsAndDrawingInsideTheMargins(w, s, PaintSearchWindow, "search window");
                       EXPECT_TRUE(Highlighted(w, 0));
                       EXPECT_FALSE(Highlighted(w, 1));
                       Key(w, VK_RETURN);
                     }},
                     true, true),
              Player(0));
    EXPECT_EQ(r.left, c.left) << c.x;
    EXPECT_EQ(r.top, c.top) << c.y;
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
  }
}

TEST_F(SearchWindow, AnEmptyCandidateLineKeepsTheRowHeight) {
  candidates = {{L"", 1}, {L"Smith, J.", 2}};
  int height = 0;
  Choose({[&](HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    height = r.bottom - r.top;
    Key(w, VK_ESCAPE);
  }});
  EXPECT_EQ(height, fake.style.marginTop + fake.style.marginBottom + 4 * p - 1);
}

TEST_F(SearchWindow, ATitleWiderThanTheRowsWidensTheWindowAndTheRowsStayCentred) {
  std::wstring title = L"Search FIDE for " + std::wstring(60, L'W');
  int width = Extent(fake.style.captionFont, title).cx + kTitleRoom;
  int textWidth = Extent(fake.style.bodyFont, candidates[1].text).cx;
  int inkLeft = -1, inkRight = -1, expectedLeft = 0;
  Choose({[&](HWND w) {
           EXPECT_EQ(Width(w), width);
           expectedLeft = fake.style.marginLeft + (LinkLeft(w) - fake.style.marginLeft - textWidth) / 2;
           WindowDC dc(w);
           for (int x = fake.style.marginLeft; x < LinkLeft(w); ++x)
             for (int y = RowTop(1); y < RowTop(1) + p - 1; ++y)
               if (GetPixel(dc, x, y) != RGB(255, 255, 255)) {
                 if (inkLeft < 0) inkLeft = x;
                 inkRight = x;
               }
           Key(w, VK_ESCAPE);
         }},
         true, false, title);
  EXPECT_GE(inkLeft, expectedLeft);
  EXPECT_LE(inkLeft, expectedLeft + 3);
  EXPECT_LE(inkRight, expectedLeft + textWidth);
}

TEST_F(SearchWindow, KeysWrapAroundEveryRowSetAndEnterOrEscapeEndIt) {
  // (offerExtended, offerCancel) -> the last row with three candidates, and
  // what choosing it answers.
  struct Case {
    bool extended, cancel;
    int last;
    SearchAnswer answer;
  } cases[] = {
      {true, false, 4, kSkip}, {false, false, 3, kSkip}, {true, true, 5, kCancel}, {false, true, 4, kCancel}};
  for (const Case& c : cases) {
    EXPECT_EQ(Choose({[&](HWND w) {
                        Key(w, VK_UP);
                        EXPECT_TRUE(Highlighted(w, c.last)) << "repainted at once";
                        EXPECT_FALSE(Highlighted(w, 0));
                      },
                      KeyStep(VK_RETURN)},
                     c.extended, c.cancel),
              c.answer);
    EXPECT_EQ(Choose({KeyStep(VK_UP), KeyStep(VK_DOWN), KeyStep(VK_DOWN), KeyStep('A'), KeyStep(VK_RETURN)},
                     c.extended, c.cancel),
              Player(1));
  }
  EXPECT_EQ(Choose({KeyStep(VK_DOWN), [](HWND w) { PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0); }}), kSkip);
  EXPECT_EQ(Choose({[](HWND w) { PostMessageW(w, WM_CLOSE, 0, 0); }}), kSkip);

  // The owner coming back from a minimised state shows the window again:
  // the highlight and the place stay.
  EXPECT_EQ(Choose({KeyStep(VK_DOWN), KeyStep(VK_DOWN),
                    [&](HWND w) {
                      RECT before, after;
                      GetWindowRect(w, &before);
                      SendMessageW(w, WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
                      GetWindowRect(w, &after);
                      EXPECT_TRUE(EqualRect(&before, &after));
                      InvalidateRect(w, nullptr, TRUE);
                      UpdateWindow(w);
                      EXPECT_TRUE(Highlighted(w, 2));
                    },
                    KeyStep(VK_RETURN)}),
            Player(2));

  candidates.clear();  // only the fixed rows: "Extended search...", "Skip"
  EXPECT_EQ(Choose({KeyStep(VK_RETURN)}), kExtended);
  EXPECT_EQ(Choose({KeyStep(VK_UP), KeyStep(VK_RETURN)}), kSkip);
}

TEST_F(SearchWindow, OnlyAPressAndReleaseOnTheSameRowChoosesIt) {
  int x = 30;
  // Press on one row, release on another: the pressed row stays highlighted.
  EXPECT_EQ(Choose({[&](HWND w) { Mouse(w, WM_LBUTTONDOWN, x, TextY(2)); },
                    [&](HWND w) {
                      EXPECT_TRUE(Highlighted(w, 2));
                      Mouse(w, WM_LBUTTONUP, x, TextY(3));
                    },
                    KeyStep(VK_RETURN)}),
            Player(2));
  // The release of the click that opened the window chooses nothing.
  EXPECT_EQ(Choose({[&](HWND w) { Mouse(w, WM_LBUTTONUP, x, TextY(0)); },
                    [&](HWND w) { Mouse(w, WM_LBUTTONDOWN, x, TextY(4)); },
                    [&](HWND w) { Mouse(w, WM_LBUTTONUP, x, TextY(4)); }}),
            kSkip);
  // Presses above the rows, below them and in the link column move nothing
  // but count as presses.
  std::vector<std::function<POINT(HWND)>> outside = {
      [&](HWND) {
        return POINT{x, fake.style.marginTop};
      },
      [&](HWND) {
        return POINT{x, RowTop(5) + 2};
      },
      [&](HWND w) {
        return POINT{LinkLeft(w) + 2, TextY(2)};
      },
  };
  for (const auto& at : outside)
    EXPECT_EQ(Choose({[&](HWND w) {
                Key(w, VK_DOWN);
                POINT pt = at(w);
                Mouse(w, WM_LBUTTONDOWN, pt.x, pt.y);
                EXPECT_TRUE(Highlighted(w, 1));
                Mouse(w, WM_LBUTTONUP, x, TextY(1));
              }}),
              Player(1));
}

// The file in which Wine's browser records the addresses opened, as a
// Windows path; empty when the program runs without one (not under ctest).
std::wstring OpenedUrlsFile() {
  const char* unixPath = std::getenv("VELMARSH_URL_LOG");
  auto dosName = reinterpret_cast<wchar_t*(CDECL*)(const char*)>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
  if (!unixPath || !dosName) return {};
  wchar_t* name = dosName(unixPath);
  if (!name) return {};
  std::wstring file = name;
  HeapFree(GetProcessHeap(), 0, name);
  return file;
}

TEST_F(SearchWindow, LinkHoverFollowsTheLinkTextAndAReleaseThereOpensThePage) {
  std::wstring log = OpenedUrlsFile();
  if (log.empty()) GTEST_SKIP() << "no VELMARSH_URL_LOG under Wine: run through ctest";
  DeleteFileW(log.c_str());

  auto move = [](HWND w, POINT pt) { Mouse(w, WM_MOUSEMOVE, pt.x, pt.y); };
  EXPECT_EQ(Choose({[&](HWND w) {
                      EXPECT_FALSE(Underlined(w, 1));
                      move(w, OnLink(w, 1));
                      EXPECT_TRUE(HandCursor());
                      EXPECT_TRUE(Underlined(w, 1));
                      EXPECT_FALSE(Underlined(w, 0));
                      // The text's extent, edges included.
                      int right = Width(w) - fake.style.marginRight;
                      for (POINT on :
                           {POINT{LinkLeft(w) + kLinkMargin, TextY(1)}, POINT{right - kLinkMargin, TextY(1)},
                            POINT{OnLink(w, 1).x, RowTop(1) + h / 4},
                            POINT{OnLink(w, 1).x, RowTop(1) + h / 4 + h}}) {
                        move(w, on);
                        EXPECT_TRUE(HandCursor()) << on.x << "," << on.y;
                      }
                      // Beside the text, above its band, on a fixed row: no link.
                      for (POINT off :
                           {POINT{LinkLeft(w) + kLinkMargin - 1, TextY(1)},
                            POINT{right - kLinkMargin + 1, TextY(1)},
                            POINT{OnLink(w, 1).x, RowTop(1) + h / 4 - 1}, POINT{OnLink(w, 1).x, TextY(3)}}) {
                        move(w, off);
                        EXPECT_FALSE(HandCursor()) << off.x << "," << off.y;
                        EXPECT_FALSE(Underlined(w, 1));
                      }
                      move(w, OnLink(w, 1));
                      Mouse(w, WM_LBUTTONDOWN, OnLink(w, 1).x, OnLink(w, 1).y);
                      Mouse(w, WM_LBUTTONUP, OnLink(w, 1).x, OnLink(w, 1).y);
                    },
                    [&](HWND w) { EXPECT_TRUE(Highlighted(w, 0)); }, KeyStep(VK_RETURN)}),
            Player(0));

  std::string line;
  for (int i = 0; i < 50 && line.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::ifstream in{std::filesystem::path(log)};
    std::getline(in, line);
  }
  EXPECT_EQ(line, "https://chessarchive.example.org/public/pinfo.jsp?id=2020009");
}

TEST_F(SearchWindow, WhileTheHostHandlesTheMouseMovesAndReleasesChangeNothing) {
  EXPECT_EQ(Choose({[&](HWND w) {
                      SetCursor(LoadCursorW(nullptr, IDC_ARROW));
                      fake.mouseBusy = 1;
                      Mouse(w, WM_MOUSEMOVE, OnLink(w, 0).x, OnLink(w, 0).y);
                      EXPECT_FALSE(HandCursor());
                      EXPECT_FALSE(Underlined(w, 0));
                      Mouse(w, WM_LBUTTONDOWN, 30, TextY(1));
                      Mouse(w, WM_LBUTTONUP, 30, TextY(1));
                    },
                    [&](HWND) { fake.mouseBusy = 0; }, KeyStep(VK_RETURN)}),
            Player(1));
}

TEST_F(SearchWindow, EachWindowOpensWithoutHoverOrPressFromTheLastOne) {
  Choose({[&](HWND w) {
    Mouse(w, WM_MOUSEMOVE, OnLink(w, 0).x, OnLink(w, 0).y);
    Mouse(w, WM_LBUTTONDOWN, 30, TextY(1));
    Key(w, VK_ESCAPE);
  }});
  EXPECT_EQ(Choose({[&](HWND w) {
                      EXPECT_TRUE(Highlighted(w, 0));
                      EXPECT_FALSE(Underlined(w, 0));
                      Mouse(w, WM_LBUTTONUP, 30, TextY(0));
                    },
                    KeyStep(VK_RETURN)}),
            Player(0));
}

TEST(SearchWindowWithoutHostWindows, ChoosesNothing) {
  FakeHost fake;
  fake.missingServices.insert(hostabi::kCreateHostWindow);
  StartLumoraProc(FakeHost::F);
  candidates = {{L"Smith, John", 1}};
  EXPECT_EQ(ChoosePlayer(fake.mainWindow, candidates, L"Search FIDE for Smith", true, false), kSkip);
}

}  // namespace
