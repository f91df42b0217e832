// player_info.dat read and written as bytes, as the plug-in reads and writes
// it; and players.dat loads that say whether the file was intact.
#include <gtest/gtest.h>

#include <vector>

#include "players/playersfile.h"
#include "tagrules/playerinfofile.h"
#include "tests/tempdir.h"

namespace {

TagOptions FromBytes(std::vector<uint8_t> bytes) { return OptionsFromSettingsBytes(bytes); }

TEST(SettingsBytes, NineBytesSetEveryStoredFlag) {
  TagOptions o = FromBytes({1, 1, 0, 0, 1, 1, 1, 1, 1});
  EXPECT_TRUE(o.saveTitle && o.saveSex && !o.saveElo && !o.saveCountry);
  EXPECT_TRUE(o.overwriteTitle && o.overwriteSex && o.overwriteElo && o.overwriteCountry && o.changeName);
  EXPECT_TRUE(o.saveFideId);
}

TEST(SettingsBytes, ShortFilesTurnOffWhatTheyLackButTheNameOption) {
  TagOptions on;
  on.changeName = true;
  TagOptions eight = OptionsFromSettingsBytes(std::vector<uint8_t>{0, 0, 1, 1, 0, 0, 0, 0}, on);
  EXPECT_TRUE(eight.changeName);  // an eight-byte file predates the option
  EXPECT_TRUE(eight.saveElo && eight.saveCountry && !eight.saveTitle);
  TagOptions three = FromBytes({1, 1, 1});
  EXPECT_TRUE(three.saveTitle && three.saveSex && three.saveElo);
  EXPECT_FALSE(three.saveCountry || three.overwriteTitle || three.overwriteCountry || three.changeName);
  TagOptions empty = OptionsFromSettingsBytes({}, on);
  EXPECT_FALSE(empty.saveElo || empty.saveCountry);
  EXPECT_TRUE(empty.changeName);
}

TEST(SettingsBytes, AnyNonZeroByteIsOnAndWritesBackAsOne) {
  TagOptions o = FromBytes({2, 0, 0xFF, 0, 0, 0, 0, 0, 0, 7, 7});
  EXPECT_TRUE(o.saveTitle && o.saveElo && !o.changeName);
  EXPECT_EQ(SettingsBytes(o), (std::array<uint8_t, 9>{1, 0, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(SettingsBytes(TagOptions{}), (std::array<uint8_t, 9>{0, 0, 1, 1, 0, 0, 0, 0, 0}));
}

class PlayersFile : public ::testing::Test {
 protected:
  // players.dat of two players: 4 + (12 + 3) + (12 + 5) = 36 bytes.
  std::vector<unsigned char> Intact() {
    std::vector<PlayerRow> rows = {{"Doe", 1, 2400}, {"Smith", 2, 2300}};
    EXPECT_TRUE(SavePlayers(DatabaseOf(rows), dir.File("players.dat")));
    return ReadAllBytes(dir.File("players.dat"));
  }
  PlayersFileState Load(const std::vector<unsigned char>& bytes) {
    WriteAllBytes(dir.File("test.dat"), bytes);
    PlayersFileState state;
    db = LoadPlayers(dir.File("test.dat"), &state);
    return state;
  }
  TempDir dir;
  PlayerDatabase db;
};

TEST_F(PlayersFile, AnIntactFileSaysSo) {
  std::vector<unsigned char> bytes = Intact();
  ASSERT_EQ(bytes.size(), 36u);
  PlayersFileState s = Load(bytes);
  EXPECT_TRUE(s.intact);
  EXPECT_EQ(s.announced, 2);
  EXPECT_EQ(s.complete, 2);
  EXPECT_TRUE(Load({0, 0, 0, 0}).intact);  // an empty list
}

TEST_F(PlayersFile, DamageIsToldWithThePlayersThatCouldBeRead) {
  std::vector<unsigned char> bytes = Intact();
  std::vector<unsigned char> cut(bytes.begin(), bytes.end() - 3);
  PlayersFileState s = Load(cut);
  EXPECT_FALSE(s.intact);
  EXPECT_EQ(s.announced, 2);
  EXPECT_EQ(s.complete, 1);
  EXPECT_EQ(db.Players().size(), 2u);  // the plug-in's load keeps its zero-filled record

  std::vector<unsigned char> longer = bytes;
  longer.push_back(0);
  EXPECT_FALSE(Load(longer).intact);

  std::vector<unsigned char> count = bytes;
  count[3] = 200;  // more players than the file can hold
  s = Load(count);
  EXPECT_FALSE(s.intact);
  EXPECT_EQ(s.announced, 200);
  EXPECT_EQ(s.complete, 2);

  EXPECT_FALSE(Load({0, 0}).intact);
  EXPECT_FALSE(Load({}).intact);
  std::vector<unsigned char> negative = bytes;
  negative[0] = 0xFF;
  EXPECT_FALSE(Load(negative).intact);
}

}  // namespace
