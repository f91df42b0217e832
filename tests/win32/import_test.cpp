// The import of a chosen FIDE list into the plug-in's database and
// players.dat, and a list that cannot be read or is refused, which leaves the
// database as it was; the database read from players.dat on first need.
#include <gtest/gtest.h>

#include <filesystem>

#include "host/paths.h"
#include "host/plugindatabase.h"
#include "hostsim/fakehost.h"
#include "players/playersfile.h"
#include "plugin/velmarsh.h"
#include "tagging/addinfo.h"
#include "tests/tempdir.h"
#include "tests/win32/fidelines.h"
#include "windows/importcmd.h"

namespace {

using Bytes = std::vector<unsigned char>;

std::vector<std::string> Names(const PlayerDatabase& db = PluginDatabase()) {
  std::vector<std::string> names;
  for (const Player& p : db.Players()) names.emplace_back(p.name);
  return names;
}

class ImportList : public ::testing::Test {
 protected:
  void SetUp() override {
    StartLumoraProc(FakeHost::F);
    CreateDirectoryW((ModulePath() + L"plugins").c_str(), nullptr);
    std::remove(players.c_str());
    ReplacePluginDatabase(PlayerDatabase{});
  }
  void TearDown() override {
    ReplacePluginDatabase(PlayerDatabase{});
    std::remove(players.c_str());
  }
  std::string WriteList(const std::string& text, const std::string& name = "players_list.txt") {
    std::string path = tmp.File(name);
    WriteAllBytes(path, Bytes(text.begin(), text.end()));
    return path;
  }

  FakeHost host;
  TempDir tmp;
  std::string players = PlayersFilePath();
};

TEST_F(ImportList, ChosenListBecomesTheRatingOrderedDatabaseAndItsFile) {
  std::string list = WriteList(std::string(kFideListHeader) +
                               FideLine("11", "Alpha, Anna", "NOR", 'F', "WGM", "2400", "1990") +
                               FideLine("12", "Beta, Bob", "GER", 'M', "GM", "2500", "1980") +
                               FideLine("13", "Gamma, Carl", "XYZ", 'M', "", "", "") +
                               FideLine("14", "delta, lower", "NOR", 'M', "", "2600", "") +
                               FideLine("15", "Delta, Dora", "NOR", 'F', "", "2400", "2001"));
  EXPECT_TRUE(ImportChosenList(list));
  const std::vector<std::string> ordered{"Beta, Bob", "Alpha, Anna", "Delta, Dora", "Gamma, Carl"};
  EXPECT_EQ(Names(), ordered);
  EXPECT_EQ(PluginDatabase().Players()[1].title, Title::kWGM);
  EXPECT_TRUE(host.messages.empty()) << "a good import says nothing";

  const PlayerDatabase saved = LoadPlayers(players);
  EXPECT_EQ(Names(saved), ordered);
  EXPECT_EQ(saved.Players()[0].fideId, 12);
}

TEST_F(ImportList, PlayersDatIsReadOnFirstNeedAndAnImportReplacesItForEveryCommand) {
  ASSERT_TRUE(SavePlayers(DatabaseOf(std::vector<PlayerRow>{{"Doe, Jane", 12345678, 2405}}), players));
  host.base.AddGame("Doe, Jane", "Beta, Bob");
  host.base.Publish();
  AddBothCommand();
  ASSERT_FALSE(host.tagWrites.empty()) << "Doe, Jane is found in players.dat";
  EXPECT_EQ(host.tagWrites[0].tag + "=" + host.tagWrites[0].value, "WhiteFIDE=12345678");

  // Read once: a later players.dat is not read again while the database holds players.
  ASSERT_TRUE(SavePlayers(DatabaseOf(std::vector<PlayerRow>{{"Other, Player", 1}}), players));
  EXPECT_EQ(Names(), std::vector<std::string>{"Doe, Jane"});

  ASSERT_TRUE(ImportChosenList(WriteList(std::string(kFideListHeader) +
                                         FideLine("12", "Beta, Bob", "GER", 'M', "GM", "2500", "1980"))));
  host.tagWrites.clear();
  host.messages.clear();
  AddBlackCommand();
  ASSERT_FALSE(host.tagWrites.empty()) << "the imported player is found";
  EXPECT_EQ(host.tagWrites[0].tag + "=" + host.tagWrites[0].value, "BlackFIDE=12");
}

TEST_F(ImportList, UnreadableOrRefusedListKeepsListAndFileAndTellsTheUser) {
  ReplacePluginDatabase(
      DatabaseOf(std::vector<PlayerRow>{{"Old, Player", 7, 2222, Sex::kMale, Title::kNone, 1, 1970}}));
  ASSERT_TRUE(SavePlayers(PluginDatabase(), players));
  const Bytes before = ReadAllBytes(players);

  std::string locked =
      WriteList(std::string(kFideListHeader) + FideLine("1", "New, Player", "NOR", 'M', "", "2000", ""));
  HANDLE lock = CreateFileW(AnsiToWide(locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  // Lists the database does not take: FIDE's XML and rapid downloads, a
  // list without players, a download cut in its last line.
  const std::string player = FideLine("1", "New, Player", "NOR", 'M', "", "2000", "1990");
  std::string xml = WriteList("<?xml version=\"1.0\"?>\n<playerslist>\n", "players_list_xml_foa.xml");
  std::string single(kFideListHeader.substr(0, kFideListHeader.find("FOA")));
  std::string rapid = WriteList(single + "FOA MAR26 Gms K  B-day Flag\n" + player, "rapid_mar26frl.txt");
  std::string empty = WriteList(std::string(kFideListHeader), "players_list_empty.txt");
  std::string cut = WriteList(std::string(kFideListHeader) + player.substr(0, 115), "players_list_cut.txt");
  for (const std::string& path :
       {tmp.File("missing.txt"), tmp.path.string(), locked, xml, rapid, empty, cut}) {
    host.messages.clear();
    EXPECT_FALSE(ImportChosenList(path)) << path;
    EXPECT_EQ(Names(), std::vector<std::string>{"Old, Player"}) << path;
    EXPECT_EQ(ReadAllBytes(players), before) << path;
    ASSERT_EQ(host.messages.size(), 1u) << path;
    EXPECT_EQ(host.messages[0].caption, L"I can not import the list of players");
    EXPECT_EQ(host.messages[0].lines,
              (std::vector<std::wstring>{
                  L"The list of players could not be read. The previous list of players is kept.", L"OK"}));
    EXPECT_EQ(host.messages[0].kind, 1);
  }
  CloseHandle(lock);
}

TEST_F(ImportList, RealListExcerptIsImportedInRatingOrder) {
  // Under Wine the Unix root is drive Z:.
  std::string root = VELMARSH_TESTDATA;
  if (root.starts_with('/')) root = "Z:" + root;
  std::string list = root + "/fide/players_list_foa_2018_excerpt.txt";
  if (!std::filesystem::exists(list)) GTEST_SKIP() << "no test data at " << list;
  ASSERT_TRUE(ImportChosenList(list));
  auto imported = Names();
  ASSERT_GT(imported.size(), 900u);
  for (size_t i = 1; i < PluginDatabase().Players().size(); ++i)
    ASSERT_GE(PluginDatabase().Players()[i - 1].rating, PluginDatabase().Players()[i].rating) << i;
  EXPECT_EQ(Names(LoadPlayers(players)), imported);
}

}  // namespace
