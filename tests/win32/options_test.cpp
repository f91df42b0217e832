// The Options dialog run as a real modal window: what its boxes show and
// save, its keys, its button pictures and the list import it starts.
#include "tests/win32/optionsdialog.h"

#include <commdlg.h>
#include <dlgs.h>

#include "host/plugindatabase.h"
#include "tests/win32/fidelines.h"

namespace {

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
                     // The owner coming back from a minimised state, or a hide
                     // and show, shows the dialog again: the boxes and their
                     // ticks stay as they are.
                     SendMessageW(d, WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
                     SendMessageW(d, WM_SHOWWINDOW, TRUE, 0);
                     EXPECT_EQ(hostwin::CheckBoxesOf(d).size(), 9u);
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
  ReplacePluginDatabase(PlayerDatabase{});

  HWND dialog = nullptr;
  size_t afterImport = 0, afterCancel = 0;
  Run({[&](HWND d) {
         dialog = d;
         answer = FileDialogAnswer{};
         answer.path = AnsiToWide(list);
         SetTimer(nullptr, 0, 50, AnswerFileDialog);
         ClickNow(Button(d, L"New FIDE list"));
         EXPECT_EQ(host.windowResult, hostabi::kWindowOpen);
         afterImport = PluginDatabase().Players().size();
         answer = FileDialogAnswer{};
         SetTimer(nullptr, 0, 50, AnswerFileDialog);
         ClickNow(Button(d, L"New FIDE list"));
         afterCancel = PluginDatabase().Players().size();
       },
       [](HWND d) { PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0); }});
  EXPECT_EQ(answer.owner, dialog);
  EXPECT_EQ(answer.filter, L"List of players from FIDE");
  EXPECT_EQ(answer.folder + L"\\", folder);
  EXPECT_EQ(afterImport, 2u);
  EXPECT_EQ(afterCancel, 2u);
  ASSERT_EQ(PluginDatabase().Players().size(), 2u);
  EXPECT_EQ(PluginDatabase().Players()[0].name, "Carlsen, Magnus");
  EXPECT_FALSE(ReadAllBytes(players).empty());
  EXPECT_TRUE(host.messages.empty());
  ReplacePluginDatabase(PlayerDatabase{});
  std::remove(players.c_str());
}

}  // namespace
