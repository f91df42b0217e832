// Downloading a player's games: the file name the save dialog suggests and
// the dialog's set-up, against a fake host.
#include <gtest/gtest.h>

#include "hostsim/fakehost.h"
#include "plugin/velmarsh.h"
#include "tagging/gamessite.h"

namespace {

TEST(SuggestedFileName, IsTheNameMadeAFileNameInTheDialogsFolder) {
  EXPECT_EQ(SuggestedFileName("Navara,D"), L"Navara,D.pgn");
  EXPECT_EQ(SuggestedFileName("O'Kelly de Galway, A. (BEL)"), L"O'Kelly de Galway, A. (BEL).pgn");
  EXPECT_EQ(SuggestedFileName("/etc/passwd"), L"-etc-passwd.pgn");
  EXPECT_EQ(SuggestedFileName("\\\\server\\share\\x"), L"--server-share-x.pgn");
  // Leading dots would climb out of the folder ("..x" is x one folder up)
  // and a colon names a drive; dots elsewhere are plain.
  EXPECT_EQ(SuggestedFileName("..\\..\\Windows\\win, X/y"), L"---..-Windows-win, X-y.pgn");
  EXPECT_EQ(SuggestedFileName(".."), L"--.pgn");
  EXPECT_EQ(SuggestedFileName("...Smith"), L"---Smith.pgn");
  EXPECT_EQ(SuggestedFileName("Smith..Jo"), L"Smith..Jo.pgn");
  EXPECT_EQ(SuggestedFileName("C:Smith"), L"C-Smith.pgn");
  // Other characters stay: the dialog refuses those a file name cannot hold.
  EXPECT_EQ(SuggestedFileName("Smith \"Jo\" <*?|>"), L"Smith \"Jo\" <*?|>.pgn");
  EXPECT_EQ(SuggestedFileName(""), L".pgn");
}

TEST(SaveGamesDialog, AsksBeforeReplacingAFile) {
  wchar_t file[256] = L"Navara,D.pgn";
  const wchar_t* folder = L"C:\\Lumora\\";
  OPENFILENAMEW d = SaveGamesDialog(file, folder);
  EXPECT_EQ(d.Flags, static_cast<DWORD>(OFN_OVERWRITEPROMPT));
  // The rest as before.
  EXPECT_EQ(d.lStructSize, 88u);
  EXPECT_EQ(d.hwndOwner, ownerWindow);
  EXPECT_EQ(std::wstring(d.lpstrFilter, 23), std::wstring(L"Chess bases pgn\0*.pgn\0", 23));
  EXPECT_EQ(d.nFilterIndex, 1u);
  EXPECT_EQ(d.lpstrFile, file);
  EXPECT_EQ(d.nMaxFile, 256u);
  EXPECT_EQ(d.lpstrInitialDir, folder);
  EXPECT_STREQ(d.lpstrDefExt, L"pgn");
  EXPECT_EQ(d.lpstrTitle, nullptr);
  EXPECT_EQ(d.lpstrCustomFilter, nullptr);
  EXPECT_EQ(d.lpfnHook, nullptr);
}

TEST(DownloadPlayerGames, SuggestsTheNameAsAFileName) {
  FakeHost host;
  StartLumoraProc(FakeHost::F);
  host.base.AddGame("..\\..\\Windows\\win, X/y", "Svidler,P",
                    {{"WhiteFIDE", "309095"}, {"BlackFIDE", "4102142"}});
  host.base.Publish();
  DownloadWhiteGames();
  EXPECT_EQ(downloadFileName, L"---..-Windows-win, X-y.pgn");
  DownloadBlackGames();
  EXPECT_EQ(downloadFileName, L"Svidler,P.pgn");
  ASSERT_EQ(host.downloads.size(), 2u);
  EXPECT_EQ(host.downloads[0].url, "https://chessarchive.example.org/public/download.jsp?id=309095");
}

}  // namespace
