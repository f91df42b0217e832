// The Options dialog, run as a real modal window by a fake host and driven
// by a script of steps: what its boxes show and save, its keys, its layout
// and drawing, the link, the button pictures and the list import it starts.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "database/fidelist.h"
#include "fakehost.h"
#include "fidelines.h"
#include "host/commands.h"
#include "host/commonfunc.h"
#include "host/settings.h"
#include "host/velmarsh.h"
#include "tempdir.h"
#include "windows/plnastr.h"

#include <commdlg.h>
#include <dlgs.h>

namespace {

using Bytes = std::vector<unsigned char>;
using Step = std::function<void(HWND dialog)>;

// ---- Running the dialog through a script ----

constexpr UINT kNextStep = WM_APP + 1;
WNDPROC dialogProc = nullptr;
hostabi::PaintCallback dialogPaint = nullptr;
std::vector<Step> steps;
size_t nextStep = 0;
bool ranOut = false;
int paints = 0;

// Runs the next step once the messages posted by the previous one are
// handled; closes the window when the script ran out without ending it.
LRESULT CALLBACK ScriptedProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
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
  if (m == WM_SHOWWINDOW && wp) PostMessageW(w, kNextStep, 0, 0);
  return r;
}

void __stdcall CountingPaint(HWND w, HDC dc) {
  ++paints;
  dialogPaint(w, dc);
}

RECT PlaceOf(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Boxes as the user sees them: row by row, left to right.
std::vector<HWND> BoxesByPlace(HWND dialog) {
  auto boxes = hostwin::CheckBoxesOf(dialog);
  std::sort(boxes.begin(), boxes.end(), [](HWND a, HWND b) {
    RECT ra = PlaceOf(a), rb = PlaceOf(b);
    return std::pair(ra.top, ra.left) < std::pair(rb.top, rb.left);
  });
  return boxes;
}

std::vector<int> BoxStates(HWND dialog) {
  std::vector<int> states;
  for (HWND b : BoxesByPlace(dialog)) states.push_back(hostwin::CheckBoxRecord(b)->state);
  return states;
}

HWND Button(HWND dialog, const wchar_t* caption) {
  for (HWND b : hostwin::ButtonsOf(dialog)) {
    wchar_t text[64] = {};
    GetWindowTextW(b, text, 63);
    if (std::wstring(text) == caption) return b;
  }
  ADD_FAILURE() << "no button";
  return nullptr;
}

// The nine stored flags in file order.
Bytes FlagBytes() {
  const Settings& s = settings;
  Bytes b;
  for (bool f : {s.saveTitle, s.saveSex, s.saveElo, s.saveCountry, s.overwriteTitle,
                 s.overwriteSex, s.overwriteElo, s.overwriteCountry, s.changeName})
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
      return result = hostwin::RunPluginWindow(caption, 400, 300, parent, ScriptedProc,
                                               CountingPaint);
    };
    StartLumoraProc(FakeHost::F);
  }
  void TearDown() override { std::remove(path.c_str()); }

  int32_t Run(std::vector<Step> script) {
    steps = std::move(script), nextStep = 0, ranOut = false, result = 0;
    ShowOptions();
    EXPECT_FALSE(ranOut) << "the dialog did not end by itself";
    return result;
  }

  FakeHost host;
  std::string path = SettingsFilePath();
  HWND parent = nullptr;
  int32_t result = 0;
};

// ---- Boxes, buttons and keys ----

TEST_F(OptionsDialog, OpensWithTheDefaultsAndSavesThemUnchangedAsNineBytes) {
  std::vector<int> states;
  EXPECT_EQ(Run({[&](HWND d) {
              states = BoxStates(d);
              hostwin::Click(Button(d, L"Save"));
            }}),
            1);
  EXPECT_EQ(host.windowCaptions, (std::vector<std::wstring>{L"Options"}));
  EXPECT_EQ(parent, host.mainWindow);
  // Country, Sex, Title, ELO (save, overwrite), then changeName.
  EXPECT_EQ(states, (std::vector<int>{1, 2, 2, 2, 2, 2, 1, 2, 2}));
  EXPECT_EQ(ReadAllBytes(path), (Bytes{0, 0, 1, 1, 0, 0, 0, 0, 0}));
}

TEST_F(OptionsDialog, EachBoxIsBoundToItsRowsFlag) {
  // File offsets of Country, Sex, Title, ELO (save, overwrite) and changeName.
  const int offset[9] = {3, 7, 1, 5, 0, 4, 2, 6, 8};
  for (int box = 0; box < 9; ++box) {
    settings = Settings{};
    settings.saveElo = settings.saveCountry = false;
    Run({[&](HWND d) { hostwin::Click(BoxesByPlace(d).at(box)); },
         [&](HWND d) { hostwin::Click(Button(d, L"Save")); }});
    Bytes expected(9, 0);
    expected[offset[box]] = 1;
    EXPECT_EQ(FlagBytes(), expected) << "box " << box;
    EXPECT_EQ(ReadAllBytes(path), expected) << "box " << box;
  }
}

TEST_F(OptionsDialog, CloseEscapeAndCloseBoxKeepFlagsAndFileAndReopeningShowsThem) {
  const Bytes before{1, 0, 0, 0, 0, 0, 0, 1, 1};
  WriteAllBytes(path, before);
  ReadSettingsFile();
  const std::vector<Step> enders = {
      [](HWND d) { hostwin::Click(Button(d, L"Close")); },
      [](HWND d) { PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0); },
      [](HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); },
  };
  for (const Step& end : enders) {
    std::vector<int> opened, ticked;
    EXPECT_EQ(Run({[&](HWND d) {
                     opened = BoxStates(d);
                     for (HWND b : BoxesByPlace(d)) hostwin::Click(b);
                   },
                   [&](HWND d) {
                     ticked = BoxStates(d);
                     // Other keys do nothing.
                     SendMessageW(d, WM_KEYDOWN, 'A', 0);
                     SendMessageW(d, WM_KEYDOWN, VK_SPACE, 0);
                     EXPECT_EQ(host.windowResult, hostabi::kWindowOpen);
                   },
                   end}),
              -1);
    EXPECT_EQ(opened, (std::vector<int>{2, 1, 2, 2, 1, 2, 2, 2, 1}));
    EXPECT_EQ(ticked, (std::vector<int>{1, 2, 1, 1, 2, 1, 1, 1, 2}));
    EXPECT_EQ(FlagBytes(), before);
    EXPECT_EQ(ReadAllBytes(path), before);
  }
}

TEST_F(OptionsDialog, EnterSavesLikeSave) {
  EXPECT_EQ(Run({[](HWND d) { hostwin::Click(BoxesByPlace(d).at(4)); },  // Title, save
                 [](HWND d) { PostMessageW(d, WM_KEYDOWN, VK_RETURN, 0); }}),
            1);
  EXPECT_EQ(ReadAllBytes(path), (Bytes{1, 0, 1, 1, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(settings.saveTitle);
}

// ---- Layout and drawing ----

// The client area drawn by the paint routine into a bitmap.
struct Canvas {
  int width = 0, height = 0;
  std::vector<uint32_t> bits;  // 0x00RRGGBB, top row first

  explicit Canvas(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    width = r.right, height = r.bottom;
    bits.resize(static_cast<size_t>(width) * height);
    HDC screen = GetDC(window);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(dc, bitmap);
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
          box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                 std::max<LONG>(box.right, x), std::max<LONG>(box.bottom, y)};
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

// Where everything should be, worked out from the host's metrics and the
// body font's text extents.
struct Expected {
  std::vector<POINT> boxes;  // by place
  RECT newList, close, save, link;
  int separatorY, width, height;
};

Expected ExpectedLayout(const hostwin::Style& s) {
  HDC dc = GetDC(nullptr);
  HFONT font = CreateFontIndirectA(&s.bodyFont);
  HGDIOBJ old = SelectObject(dc, font);
  auto extent = [&](const wchar_t* text) {
    SIZE size;
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
    return size;
  };
  const wchar_t* heading = L"Save the following information about players:";
  int h = extent(heading).cy, x0 = s.marginLeft + 10, cw = s.checkBoxWidth;
  int wl = 0;
  for (auto* label : {L"Country:", L"Sex:", L"Title:", L"ELO:"}) wl = std::max<int>(wl, extent(label).cx);
  int c1 = x0 + wl + 15, c2 = c1 + cw + 10 + extent(L"Overwrite:").cx + 5;
  int dy = (std::max(h, s.checkBoxHeight) - s.checkBoxHeight) / 2;
  int wc = extent(L"Change name, if it is spelled differently in FIDE").cx;
  Expected e;
  int y = s.marginTop + 5 + h + 8;
  for (int row = 0; row < 4; ++row, y += h + 5) {
    e.boxes.push_back({c1, y + dy});
    e.boxes.push_back({c2, y + dy});
  }
  y += 5;  // ten pixels after the ELO row
  e.boxes.push_back({x0 + wc + 5, y + dy});
  e.separatorY = y + h + 10;
  e.newList = {x0, e.separatorY + 17, x0 + 148, e.separatorY + 45};
  int linkTop = e.separatorY + 54 + 2 * h;
  e.link = {x0, linkTop, x0 + extent(L"Visit website").cx, linkTop + h};
  int w = std::max<int>({extent(heading).cx, c2 + cw, wc + 5 + cw,
                         extent(L"You should at first download the list of players from").cx,
                         extent(L"fide.com and unzip it.").cx});
  e.width = w + 2 * x0;
  int bottom = linkTop + h + 5;
  e.close = {e.width - s.marginRight - 118, bottom, e.width - s.marginRight - 13, bottom + 28};
  e.save = {e.close.left - 118, bottom, e.close.left - 13, bottom + 28};
  e.height = bottom + s.marginBottom + 42;
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  return e;
}

void ExpectRect(const RECT& actual, const RECT& expected, const char* what) {
  EXPECT_EQ(std::vector<LONG>({actual.left, actual.top, actual.right, actual.bottom}),
            std::vector<LONG>({expected.left, expected.top, expected.right, expected.bottom}))
      << what;
}

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

    Canvas canvas(d);
    RECT blue = canvas.BlueBox();
    EXPECT_TRUE(blue.left >= e.link.left && blue.top >= e.link.top &&
                blue.right <= e.link.right && blue.bottom <= e.link.bottom)
        << "the link is drawn within its rectangle";
    EXPECT_GT(blue.right - blue.left, (e.link.right - e.link.left) / 2);
    const uint32_t magenta = 0xFF00FF;
    const int lineEnd = e.width - host.style.marginRight - 11;
    EXPECT_EQ(canvas.At(e.link.left, e.separatorY), magenta);
    EXPECT_EQ(canvas.At(lineEnd, e.separatorY), magenta);
    EXPECT_NE(canvas.At(lineEnd + 1, e.separatorY), magenta);
    EXPECT_NE(canvas.At(e.link.left, e.separatorY - 1), magenta);
    PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0);
  }});
}

TEST_F(OptionsDialog, WindowIsCentredOnTheMouseInsideTheWorkArea) {
  const Expected e = ExpectedLayout(host.style);
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const POINT cursors[3] = {{5, 5}, {500, 400}, {work.right - 3, work.bottom - 3}};
  const POINT corners[3] = {{0, 0},
                            {500 - e.width / 2, 400 - e.height / 2},
                            {work.right - e.width, work.bottom - e.height}};
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
    EXPECT_TRUE(SendMessageW(d, WM_SETCURSOR, reinterpret_cast<WPARAM>(d), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
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
    PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0);
  }});
}

// Wine hands web addresses to scripts/record-url.sh, which appends them to
// the file named by VELMARSH_URL_LOG.
std::string UnixPath(const std::string& windowsPath) {
  using Convert = char*(__cdecl*)(const wchar_t*);
  auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return {};
  char* unix = convert(AnsiToWide(windowsPath).c_str());
  std::string result = unix ? unix : "";
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

TEST_F(OptionsDialog, PressOnTheLinkOpensTheFidePageAndOtherClicksDoNothing) {
  TempDir tmp;
  std::string log = tmp.File("urls.txt");
  std::string unixLog = UnixPath(log);
  if (unixLog.empty()) GTEST_SKIP() << "not running under Wine";
  SetEnvironmentVariableA("VELMARSH_URL_LOG", unixLog.c_str());
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

// ---- Button pictures ----

int References(IPicture* picture) {
  picture->AddRef();
  return static_cast<int>(picture->Release());
}

TEST_F(OptionsDialog, ButtonPicturesOfThePreviousOpeningAreReleased) {
  IPicture* wide = nullptr;
  IPicture* normal = nullptr;
  for (IPicture** p : {&wide, &normal}) {
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    ASSERT_EQ(OleCreatePictureIndirect(&desc, IID_IPicture, TRUE, reinterpret_cast<void**>(p)), S_OK);
  }
  auto* templates = host.buttonStyleObject;
  reinterpret_cast<hostabi::TButInf*>(templates + hostabi::kWideButtonTemplate)->pictures[1] = wide;
  reinterpret_cast<hostabi::TButInf*>(templates + hostabi::kNormalButtonTemplate)->pictures[0] = normal;
  for (int opening = 0; opening < 3; ++opening) {
    Run({[](HWND d) { hostwin::Click(Button(d, L"Close")); }});
    EXPECT_EQ(References(wide), 2) << "one copy for New FIDE list";
    EXPECT_EQ(References(normal), 3) << "copies for Close and Save";
  }
  ReleaseOptionsButtons();
  EXPECT_EQ(References(wide), 1);
  EXPECT_EQ(References(normal), 1);
  wide->Release();
  normal->Release();
}

// ---- New FIDE list ----

struct FileDialogAnswer {
  std::wstring path;  // empty: cancel
  HWND owner = nullptr;
  std::wstring filter, folder;
} answer;

BOOL CALLBACK FindFileDialog(HWND w, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(w, name, 15);
  if (lstrcmpW(name, L"#32770") != 0 || !IsWindowVisible(w)) return TRUE;
  *reinterpret_cast<HWND*>(found) = w;
  return FALSE;
}

// A thread timer keeps firing inside the file dialog's own loop.
void CALLBACK AnswerFileDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindFileDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  KillTimer(nullptr, timer);
  wchar_t text[MAX_PATH] = {};
  answer.owner = GetWindow(dialog, GW_OWNER);
  GetDlgItemTextW(dialog, cmb1, text, MAX_PATH);
  answer.filter = text;
  SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(text));
  answer.folder = text;
  if (!answer.path.empty()) SetWindowTextW(GetDlgItem(dialog, cmb13), answer.path.c_str());
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer.path.empty() ? IDCANCEL : IDOK, BN_CLICKED), 0);
}

// Clicks a button at once, so that what it starts ends within the step.
void ClickNow(HWND control) {
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(OptionsDialog, NewFideListImportsTheChosenListAndTheDialogStaysOpen) {
  TempDir tmp;
  std::string list = tmp.File("players_list_foa.txt");
  std::string text = std::string(kFideListHeader) +
                     FideLine("1503014", "Carlsen, Magnus", "NOR", 'M', "GM", "2835", "1990") +
                     FideLine("13300474", "Ju, Wenjun", "CHN", 'F', "GM", "2560", "1991");
  WriteAllBytes(list, Bytes(text.begin(), text.end()));
  std::wstring folder = ModulePath();
  CreateDirectoryW((folder + L"plugins").c_str(), nullptr);
  std::string players = PlayersFilePath();
  std::remove(players.c_str());
  ClearPlayerList();

  HWND dialog = nullptr;
  size_t afterImport = 0, afterCancel = 0;
  Run({[&](HWND d) {
         dialog = d;
         answer = FileDialogAnswer{};
         answer.path = AnsiToWide(list);
         SetTimer(nullptr, 0, 50, AnswerFileDialog);
         ClickNow(Button(d, L"New FIDE list"));
         EXPECT_EQ(host.windowResult, hostabi::kWindowOpen);
         afterImport = PlayerList().size();
         answer = FileDialogAnswer{};
         SetTimer(nullptr, 0, 50, AnswerFileDialog);
         ClickNow(Button(d, L"New FIDE list"));
         afterCancel = PlayerList().size();
       },
       [](HWND d) { PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0); }});
  EXPECT_EQ(answer.owner, dialog);
  EXPECT_EQ(answer.filter, L"List of players from FIDE");
  EXPECT_EQ(answer.folder + L"\\", folder);
  EXPECT_EQ(afterImport, 2u);
  EXPECT_EQ(afterCancel, 2u);
  ASSERT_EQ(PlayerList().size(), 2u);
  EXPECT_EQ(PlayerList()[0].name, "Carlsen, Magnus");
  EXPECT_FALSE(ReadAllBytes(players).empty());
  EXPECT_TRUE(host.messages.empty());
  ClearPlayerList();
  std::remove(players.c_str());
}

}  // namespace
