// The status window with real windows and its real timer: whole runs over a
// small base, Cancel, the empty base, the layout from known host metrics and
// the Cancel button's picture references.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "host/plugindatabase.h"
#include "host/settings.h"
#include "hostsim/fakehost.h"
#include "hostsim/hostwindows.h"
#include "plugin/velmarsh.h"
#include "tagging/batch.h"
#include "tests/win32/layoutcheck.h"
#include "windows/statuswindow.h"

namespace {

using Tags = std::vector<std::pair<std::string, std::string>>;

// Called on every tick of a thread timer, which keeps firing inside the
// host's modal loops: the test's hand on the open windows.
std::function<void()> onTick;

void CALLBACK TestTick(HWND, UINT, UINT_PTR, DWORD) {
  if (onTick) onTick();
}

// A picture that only counts its references.
struct CountingPicture {
  const void* const* vtable;
  LONG refs;
};
HRESULT __stdcall PictureQuery(CountingPicture*, REFIID, void**) { return E_NOINTERFACE; }
ULONG __stdcall PictureAddRef(CountingPicture* p) { return static_cast<ULONG>(++p->refs); }
ULONG __stdcall PictureRelease(CountingPicture* p) { return static_cast<ULONG>(--p->refs); }
const void* const kPictureVtable[] = {reinterpret_cast<const void*>(PictureQuery),
                                      reinterpret_cast<const void*>(PictureAddRef),
                                      reinterpret_cast<const void*>(PictureRelease)};

std::vector<HWND> ChildrenOfClass(HWND parent, const wchar_t* className) {
  std::vector<HWND> found;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    wchar_t name[64] = {};
    GetClassNameW(c, name, 63);
    if (lstrcmpiW(name, className) == 0) found.push_back(c);
  }
  return found;
}

// A surname of three letters that only one test player carries.
std::string Surname(int i) {
  return std::string{'Q', static_cast<char>('a' + i / 26), static_cast<char>('a' + i % 26)} + ", X";
}

constexpr wchar_t kTestWindowClass[] = L"StatusTestWindow";

class StatusWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings = Settings{};
    std::vector<PlayerRow> rows = {
        {"Doe, Jane", 12345678, 2405, Sex::kFemale, Title::kWIM,
         static_cast<uint8_t>(FederationByCode("NOR")), 0},
        {"Doe, John", 87654321, 2100, Sex::kMale, Title::kNone, static_cast<uint8_t>(FederationByCode("NOR")),
         0},
        {"Roe, Richard", 777, 0, Sex::kNone, Title::kNone, 0, 0},
    };
    for (int i = 0; i < 60; ++i)
      rows.push_back({Surname(i), 1000 + i, static_cast<uint16_t>(1900 - i), Sex::kNone, Title::kNone, 0, 0});
    ReplacePluginDatabase(DatabaseOf(rows));
    StartLumoraProc(FakeHost::F);
    WNDCLASSW wc{};
    statusRun = BatchStatusRun();
    wc.lpfnWndProc = StatusWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTestWindowClass;
    RegisterClassW(&wc);
    timer = SetTimer(nullptr, 0, 10, TestTick);
  }
  void TearDown() override {
    KillTimer(nullptr, timer);
    onTick = nullptr;
    ReplacePluginDatabase(PlayerDatabase{});
    batchRun.names.clear();
    batchRun.tickBudget = kDefaultTickBudget;
  }

  void Game(const std::string& white, const std::string& black, Tags extra = {}) {
    host.base.AddGame(white, black, std::move(extra));
    host.base.Publish();
  }
  std::string Tag(int game, const char* name) const {
    return host.base.games[static_cast<size_t>(game)].Tag(name);
  }
  // A window of our own whose procedure is the status window's; showing it
  // lays it out as the host's window would be.
  HWND ShownStatusWindow() {
    HWND w = CreateWindowExW(0, kTestWindowClass, L"status", WS_POPUP | WS_CAPTION, 0, 0, 300, 150,
                             host.mainWindow, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    return w;
  }

  FakeHost host;
  UINT_PTR timer = 0;
};

// ---- Whole runs ----

TEST_F(StatusWindowTest, RunEndsByItselfAfterTheLastName) {
  Game("Doe, Jane", "Roe");
  Game(Surname(0), "Doe, Jane");
  TagAllGames();
  EXPECT_EQ(host.windowCaptions, (std::vector<std::wstring>{L"Add information about players..."}));
  EXPECT_EQ(batchRun.next, 3);
  EXPECT_EQ(batchRun.skipped, 0);
  EXPECT_EQ(batchRun.present, 0);
  EXPECT_EQ(Tag(0, "WhiteFIDE"), "12345678");
  EXPECT_EQ(Tag(0, "BlackFIDE"), "777");
  EXPECT_EQ(Tag(1, "WhiteFIDE"), "1000");
  EXPECT_EQ(Tag(1, "BlackElo"), "2405");
  EXPECT_TRUE(hostwin::OpenPluginWindows().empty());
  EXPECT_EQ(statusWindow, nullptr);
  EXPECT_EQ(host.windowResult, 0);  // the host restored its cell
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(StatusWindowTest, SearchWindowOpensOverTheStatusWindowAndTheRunGoesOn) {
  Game("Doe", "Roe");
  Game("Roe", "Nobody Known");
  int enters = 0;
  onTick = [&] {
    auto open = hostwin::OpenPluginWindows();
    if (open.size() == 2) {
      // The status window is disabled while the search window runs.
      EXPECT_FALSE(IsWindowEnabled(open[0]));
      ++enters;
      PostMessageW(open[1], WM_KEYDOWN, VK_DOWN, 0);
      PostMessageW(open[1], WM_KEYDOWN, VK_RETURN, 0);
    }
  };
  TagAllGames();
  EXPECT_EQ(host.windowCaptions.size(), 2u);
  EXPECT_GE(enters, 1);
  EXPECT_EQ(batchRun.next, 3);                 // Doe, Nobody Known, Roe
  EXPECT_EQ(batchRun.skipped, 1);              // nobody to offer for Nobody Known
  EXPECT_EQ(Tag(0, "WhiteFIDE"), "87654321");  // row 1 of the search window
  EXPECT_EQ(Tag(0, "BlackFIDE"), "777");
  EXPECT_EQ(Tag(1, "WhiteFIDE"), "777");
  EXPECT_TRUE(hostwin::OpenPluginWindows().empty());
}

TEST_F(StatusWindowTest, CancelButtonStopsTheRunBetweenNames) {
  batchRun.tickBudget = 0;  // one name per tick
  for (int i = 0; i < 60; ++i) Game(Surname(i), "Anonymous");
  bool clicked = false;
  onTick = [&] {
    auto open = hostwin::OpenPluginWindows();
    if (clicked || open.size() != 1 || batchRun.next < 2) return;
    auto buttons = hostwin::ButtonsOf(open[0]);
    ASSERT_EQ(buttons.size(), 1u);
    hostwin::Click(buttons[0]);
    clicked = true;
  };
  TagAllGames();
  ASSERT_TRUE(clicked);
  EXPECT_GE(batchRun.next, 2);
  EXPECT_LT(batchRun.next, 60);
  // Names done keep their tags; names not reached are untouched.
  for (int i = 0; i < 60; ++i) EXPECT_EQ(Tag(i, "WhiteFIDE").empty(), i >= batchRun.next) << i;
  EXPECT_TRUE(hostwin::OpenPluginWindows().empty());
}

// A long run with many names per tick: a click on Cancel is handled between
// two ticks, and the run ends there with the counters of the names done.
TEST_F(StatusWindowTest, CancelDuringALongRunKeepsTheCountersOfTheNamesDone) {
  // In name order, one game each: every third name is complete by FIDE ID
  // (present), the next is unknown (skipped), the next gains Elo and
  // country by its FIDE ID (added).
  constexpr int kNames = 30000;
  for (int i = 0; i < kNames; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "Pn%05d", i);
    if (i % 3 == 0)
      host.base.AddGame(name, "Anonymous", {{"WhiteFIDE", "777"}});
    else if (i % 3 == 1)
      host.base.AddGame(name, "Anonymous");
    else
      host.base.AddGame(name, "Anonymous", {{"WhiteFIDE", "12345678"}});
  }
  host.base.Publish();
  int32_t clickedAt = -1;
  int32_t ticksSeen = 0;
  onTick = [&] {
    auto open = hostwin::OpenPluginWindows();
    if (clickedAt >= 0 || open.size() != 1 || batchRun.next == 0) return;
    // Let a few ticks pass, so that the click lands in the middle of the run.
    if (++ticksSeen < 2) return;
    clickedAt = batchRun.next;
    hostwin::Click(hostwin::ButtonsOf(open[0]).at(0));
  };
  TagAllGames();
  ASSERT_GT(clickedAt, 0);
  ASSERT_LT(batchRun.next, kNames) << "the run ended before the click";
  // The click came before the next tick: no name after it.
  EXPECT_EQ(batchRun.next, clickedAt);
  int32_t done = batchRun.next;
  EXPECT_EQ(batchRun.present, (done + 2) / 3);
  EXPECT_EQ(batchRun.skipped, (done + 1) / 3);
  for (int i = 0; i < kNames; ++i) {
    bool reached = i < done;
    EXPECT_EQ(Tag(i, "WhiteElo") == "2405", reached && i % 3 == 2) << i;
    if (::testing::Test::HasFailure()) break;
  }
  EXPECT_TRUE(hostwin::OpenPluginWindows().empty());
}

TEST_F(StatusWindowTest, EmptyBaseClosesAtTheFirstTick) {
  TagAllGames();
  EXPECT_EQ(host.windowCaptions.size(), 1u);
  EXPECT_EQ(batchRun.next, 0);
  EXPECT_TRUE(batchRun.names.empty());
  EXPECT_TRUE(hostwin::OpenPluginWindows().empty());
}

// ---- Layout ----

struct Measured {
  int32_t w, h;
};

Measured MeasureSamples(const LOGFONTA& logFont) {
  HDC dc = GetDC(nullptr);
  HFONT font = CreateFontIndirectA(&logFont);
  HGDIOBJ old = SelectObject(dc, font);
  Measured m{kStatusTextWidth, 0};
  for (const wchar_t* sample :
       {L"8888/8888 Names processed", L"For 8888 names the information already exists in pgn",
        L"8888 names skipped"}) {
    SIZE s;
    GetTextExtentPoint32W(dc, sample, lstrlenW(sample), &s);
    m.w = std::max<int32_t>(m.w, s.cx);
    m.h = s.cy;
  }
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  return m;
}

void ExpectLayout(FakeHost& host, HWND w) {
  const hostwin::Style& s = host.style;
  Measured m = MeasureSamples(s.bodyFont);
  RECT outer;
  GetWindowRect(w, &outer);
  LONG W = outer.right - outer.left, H = outer.bottom - outer.top;
  EXPECT_EQ(W, m.w + s.marginLeft + s.marginRight + 2 * kStatusInset);
  EXPECT_EQ(H, s.marginTop + 4 * m.h + kStatusExtraHeight + s.marginBottom);
  RECT main;
  GetWindowRect(host.mainWindow, &main);
  EXPECT_EQ(outer.left, std::max<LONG>(0, (main.left + main.right - W) / 2));
  EXPECT_EQ(outer.top, std::max<LONG>(0, (main.top + main.bottom - H) / 2));

  auto bars = ChildrenOfClass(w, PROGRESS_CLASSW);
  ASSERT_EQ(bars.size(), 1u);
  EXPECT_EQ(bars[0], progressBar);
  RECT bar = ControlRect(bars[0]);
  EXPECT_EQ(bar.left, s.marginLeft + kStatusInset);
  EXPECT_EQ(bar.top, s.marginTop + m.h + kStatusInset);
  EXPECT_EQ(bar.right - bar.left, m.w);
  EXPECT_EQ(bar.bottom - bar.top, m.h + 2);
  PBRANGE range{};
  SendMessageW(bars[0], PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, static_cast<int>(batchRun.names.size()));

  auto buttons = ChildrenOfClass(w, L"knop");
  ASSERT_EQ(buttons.size(), 1u);
  EXPECT_EQ(buttons[0], cancelButton.window);
  EXPECT_EQ(cancelButton.onClick, StopBatch);
  RECT button = ControlRect(buttons[0]);
  EXPECT_EQ(button.left, W - s.marginRight - kCancelFromRight);
  EXPECT_EQ(button.top, s.marginTop + 4 * m.h + kCancelBelowText);
  EXPECT_EQ(button.right - button.left, kButtonWidth);
  EXPECT_EQ(button.bottom - button.top, kButtonHeight);
  wchar_t caption[32] = {};
  GetWindowTextW(buttons[0], caption, 31);
  EXPECT_STREQ(caption, L"Cancel");
  ExpectControlsAndDrawingInsideTheMargins(w, s, PaintStatus, "status window");
}

TEST_F(StatusWindowTest, LayoutFromHostMarginsAndAtLeast350PixelsOfText) {
  host.style.marginTop = 6;
  host.style.marginBottom = 9;
  host.style.marginLeft = 7;
  host.style.marginRight = 11;
  SetWindowPos(host.mainWindow, nullptr, 100, 50, 500, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  Game("Roe", "Doe");
  batchRun.names = CollectPlayerNames();
  batchRun.next = batchRun.skipped = batchRun.present = 7;
  batchRun.busy = true;
  HWND w = ShownStatusWindow();
  ASSERT_EQ(statusWindow, w);
  ASSERT_EQ(MeasureSamples(host.style.bodyFont).w, kStatusTextWidth);  // the small font fits
  ExpectLayout(host, w);
  EXPECT_EQ(batchRun.next, 0);
  EXPECT_EQ(batchRun.skipped, 0);
  EXPECT_EQ(batchRun.present, 0);
  EXPECT_FALSE(batchRun.busy);
  DestroyWindow(w);
  EXPECT_EQ(statusWindow, nullptr);
}

TEST_F(StatusWindowTest, WideFontWidensTheWindow) {
  host.style.bodyFont.lfHeight = -24;
  ASSERT_GT(MeasureSamples(host.style.bodyFont).w, kStatusTextWidth);
  HWND w = ShownStatusWindow();
  ExpectLayout(host, w);
  DestroyWindow(w);
}

TEST_F(StatusWindowTest, ShowingTheWindowAgainDoesNotRestartTheRun) {
  Game("Roe", "Doe");
  batchRun.names = CollectPlayerNames();
  HWND w = ShownStatusWindow();
  batchRun.next = 1;
  SendMessageW(w, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
  SendMessageW(w, WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
  EXPECT_EQ(batchRun.next, 1);
  EXPECT_EQ(ChildrenOfClass(w, PROGRESS_CLASSW).size(), 1u);
  EXPECT_EQ(ChildrenOfClass(w, L"knop").size(), 1u);
  DestroyWindow(w);
}

TEST(StatusWindowPlace, CentresOnMainWindowAndClampsOnlyRightBottomToWorkArea) {
  RECT work{40, 30, 1000, 700};
  SIZE size{400, 200};
  auto place = [&](RECT main) {
    POINT p = StatusWindowPlace(main, work, size);
    return std::to_string(p.x) + "," + std::to_string(p.y);
  };
  EXPECT_EQ(place({100, 100, 701, 501}), "200,200");   // (100+701-400)/2 rounds down
  EXPECT_EQ(place({800, 600, 1100, 800}), "600,500");  // pushed in from right and bottom
  EXPECT_EQ(place({-300, -200, 100, 100}), "0,0");     // 0, not the work area's left and top
  EXPECT_EQ(place({0, 0, 40, 30}), "0,0");
  RECT tiny{0, 0, 300, 150};
  POINT p = StatusWindowPlace({0, 0, 100, 100}, tiny, size);
  EXPECT_EQ(p.x, -100);  // wider than the work area: no second clamp
  EXPECT_EQ(p.y, -50);
}

// ---- The Cancel button's pictures ----

TEST_F(StatusWindowTest, CancelButtonHoldsOneReferencePerPictureAcrossRuns) {
  CountingPicture a{kPictureVtable, 1}, b{kPictureVtable, 1};
  auto* normal = reinterpret_cast<hostabi::TButInf*>(host.buttonStyleObject + hostabi::kNormalButtonTemplate);
  normal->pictures[0] = reinterpret_cast<IPicture*>(&a);
  normal->pictures[1] = nullptr;
  normal->pictures[2] = reinterpret_cast<IPicture*>(&b);

  HWND first = ShownStatusWindow();
  EXPECT_EQ(a.refs, 2);
  EXPECT_EQ(b.refs, 2);
  DestroyWindow(first);
  HWND second = ShownStatusWindow();
  EXPECT_EQ(a.refs, 2);
  EXPECT_EQ(b.refs, 2);
  EXPECT_EQ(cancelButton.pictures[0], normal->pictures[0]);
  DestroyWindow(second);
  ReleaseCancelButton();
  EXPECT_EQ(a.refs, 1);
  EXPECT_EQ(b.refs, 1);
  ReleaseCancelButton();
  EXPECT_EQ(a.refs, 1);
  *normal = hostabi::TButInf{};
}

}  // namespace
