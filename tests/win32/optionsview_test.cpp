// What the Options dialog shows and where: the layout from the host's
// metrics, the drawing, the window's place, and the link to FIDE's page.
#include "tests/win32/optionsdialog.h"

namespace {

// ---- Layout and drawing ----

TEST_F(OptionsDialog, LayoutAndDrawingFollowTheHostMetrics) {
  const Expected e = ExpectedLayout(host.style);
  Run({[&](HWND d) {
    auto boxes = BoxesByPlace(d);
    ASSERT_EQ(boxes.size(), 9u);
    for (size_t i = 0; i < boxes.size(); ++i) {
      RECT r = PlaceOf(boxes[i]);
      EXPECT_EQ(std::pair(r.left, r.top), std::pair(e.boxes[i].x, e.boxes[i].y)) << "box " << i;
    }
    ExpectRect(PlaceOf(Button(d, L"New FIDE list")), e.newList, "New FIDE list");
    ExpectRect(PlaceOf(Button(d, L"Close")), e.close, "Close");
    ExpectRect(PlaceOf(Button(d, L"Save")), e.save, "Save");
    RECT window;
    GetWindowRect(d, &window);
    EXPECT_EQ(window.right - window.left, e.width);
    EXPECT_EQ(window.bottom - window.top, e.height);

    // The link is drawn exactly where its rectangle lies.
    Canvas canvas(d);
    Canvas reference(d, [&](HDC dc) {
      HFONT font = CreateFontIndirectA(&host.style.bodyFont);
      HGDIOBJ old = SelectObject(dc, font);
      SetTextColor(dc, RGB(0, 0, 255));
      SetBkMode(dc, TRANSPARENT);
      TextOutW(dc, e.link.left, e.link.top, L"Visit website", 13);
      DeleteObject(SelectObject(dc, old));
    });
    ExpectRect(canvas.BlueBox(), reference.BlueBox(), "the link's text");
    const uint32_t magenta = 0xFF00FF;
    const int lineEnd = e.width - host.style.marginRight - 11;
    EXPECT_EQ(canvas.At(e.link.left, e.separatorY), magenta);
    EXPECT_EQ(canvas.At(lineEnd, e.separatorY), magenta);
    EXPECT_NE(canvas.At(lineEnd + 1, e.separatorY), magenta);
    EXPECT_NE(canvas.At(e.link.left, e.separatorY - 1), magenta);
    ExpectControlsAndDrawingInsideTheMargins(d, host.style, PaintOptionsDialog, "Options");
    PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0);
  }});
}

TEST_F(OptionsDialog, EverythingStaysInsideTheMarginsWithALargeFontAndWideMargins) {
  host.style.bodyFont.lfHeight = -22;
  host.style.marginTop = 40, host.style.marginBottom = 25;
  host.style.marginLeft = 20, host.style.marginRight = 30;
  host.style.checkBoxHeight = 20, host.style.checkBoxWidth = 20;
  Run({[&](HWND d) {
    EXPECT_EQ(BoxesByPlace(d).size(), 9u);
    ExpectControlsAndDrawingInsideTheMargins(d, host.style, PaintOptionsDialog, "Options");
    PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0);
  }});
}

TEST_F(OptionsDialog, WindowIsCentredOnTheMouseInsideTheWorkArea) {
  const Expected e = ExpectedLayout(host.style);
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const POINT cursors[3] = {{5, 5}, {500, 400}, {work.right - 3, work.bottom - 3}};
  const POINT corners[3] = {
      {0, 0}, {500 - e.width / 2, 400 - e.height / 2}, {work.right - e.width, work.bottom - e.height}};
  for (int i = 0; i < 3; ++i) {
    SetCursorPos(cursors[i].x, cursors[i].y);
    POINT at;
    GetCursorPos(&at);
    if (at.x != cursors[i].x || at.y != cursors[i].y) GTEST_SKIP() << "the mouse cannot be moved";
    RECT placed{};
    Run({[&](HWND d) {
      GetWindowRect(d, &placed);
      PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0);
    }});
    EXPECT_EQ(std::pair(placed.left, placed.top), std::pair(corners[i].x, corners[i].y)) << i;
  }
}

// ---- The link ----

TEST_F(OptionsDialog, HandCursorAndUnderlineOnlyWhileOverTheLinkText) {
  const RECT link = ExpectedLayout(host.style).link;
  const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND), arrow = LoadCursorW(nullptr, IDC_ARROW);
  auto move = [](HWND d, int x, int y) { SendMessageW(d, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); };
  Run({[&](HWND d) {
    UpdateWindow(d);
    paints = 0;
    move(d, link.left - 1, link.top);
    move(d, link.left, link.bottom + 1);
    EXPECT_EQ(paints, 0);
    EXPECT_FALSE(Canvas(d).Underlined(link));

    move(d, link.left, link.top);
    EXPECT_EQ(paints, 1) << "repainted at once on entering";
    EXPECT_EQ(GetCursor(), hand);
    EXPECT_TRUE(Canvas(d).Underlined(link));
    move(d, link.right, link.bottom);
    EXPECT_EQ(paints, 1) << "no repaint within the link";
    SetCursor(arrow);  // as the window class would on the next movement
    EXPECT_TRUE(
        SendMessageW(d, WM_SETCURSOR, reinterpret_cast<WPARAM>(d), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), hand);

    move(d, link.right + 1, link.bottom);
    EXPECT_EQ(paints, 2);
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_FALSE(Canvas(d).Underlined(link));

    host.mouseBusy = 1;  // the host handles the mouse: nothing changes
    move(d, link.left + 1, link.top + 1);
    EXPECT_EQ(paints, 2);
    EXPECT_EQ(GetCursor(), arrow);
    host.mouseBusy = 0;
    move(d, link.left, link.top);
    PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0);  // ended while over the link
  }});
  Run({[&](HWND d) {
    EXPECT_FALSE(Canvas(d).Underlined(link)) << "a new opening starts without hover";
    PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0);
  }});
}

// Wine hands web addresses to scripts/record-url.sh, which appends them to
// the file named by VELMARSH_URL_LOG: opened-urls.txt in this program's folder.
TEST_F(OptionsDialog, PressOnTheLinkOpensTheFidePageAndOtherClicksDoNothing) {
  if (!std::getenv("VELMARSH_URL_LOG")) GTEST_SKIP() << "web addresses are not recorded";
  std::string log = WideToAnsi(ModulePath()) + "opened-urls.txt";
  std::remove(log.c_str());
  const RECT link = ExpectedLayout(host.style).link;
  auto mouse = [](HWND d, UINT m, int x, int y) { SendMessageW(d, m, 0, MAKELPARAM(x, y)); };
  Run({[&](HWND d) {
    mouse(d, WM_LBUTTONUP, link.left + 2, link.top + 2);  // a release opens nothing
    mouse(d, WM_LBUTTONDOWN, link.right + 1, link.top);
    mouse(d, WM_LBUTTONUP, link.right + 1, link.top);
    mouse(d, WM_LBUTTONDOWN, 2, 2);
    mouse(d, WM_LBUTTONUP, 2, 2);
    EXPECT_EQ(host.windowResult, hostabi::kWindowOpen);
    mouse(d, WM_LBUTTONDOWN, link.right, link.bottom);
    PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0);
  }});
  for (int waited = 0; waited < 10000 && ReadAllBytes(log).empty(); waited += 50) Sleep(50);
  Sleep(500);  // a second address would have come by now
  Bytes urls = ReadAllBytes(log);
  EXPECT_EQ(std::string(urls.begin(), urls.end()), "https://ratings.fide.com/download.phtml\n");
  EXPECT_FALSE(std::ifstream(path).good()) << "no click saved anything";
}

}  // namespace
