// Reading a player's tags from a game header and writing tags under the
// settings, against a fake host's base.
#include <gtest/gtest.h>

#include "host/settings.h"
#include "hostsim/fakehost.h"
#include "plugin/velmarsh.h"
#include "tagging/gametags.h"

namespace {

using Tags = std::vector<std::pair<std::string, std::string>>;

class GameTags : public ::testing::Test {
 protected:
  void SetUp() override {
    settings = Settings{};
    int nor = FederationByCode("NOR"), ger = FederationByCode("GER");
    std::vector<PlayerRow> rows = {
        {"Doe, Jane", 12345678, 2405, Sex::kFemale, Title::kWIM, static_cast<uint8_t>(nor), 1990},
        {"Roe, Richard", 777, 0, Sex::kNone, Title::kNone, 0, 0},
        {"Smith, Jo", 4242, 2650, Sex::kMale, Title::kGM, static_cast<uint8_t>(ger), 1970},
    };
    db = DatabaseOf(rows);
    StartLumoraProc(FakeHost::F);
  }

  int32_t AddGame(const std::string& white, const std::string& black, Tags extra = {}) {
    host.base.AddGame(white, black, std::move(extra));
    host.base.Publish();
    return static_cast<int32_t>(host.base.games.size()) - 1;
  }
  std::vector<std::string> Writes() const {
    std::vector<std::string> w;
    for (const auto& t : host.tagWrites) w.push_back(t.tag + "=" + t.value);
    return w;
  }
  const Player& Listed(int i) const { return db.Players()[static_cast<size_t>(i)]; }

  PlayerDatabase db;
  FakeHost host;
};

TEST_F(GameTags, ARosterOnlyHeaderGivesJustTheName) {
  AddGame("Doe, Jane", "Roe, Richard");
  GamePlayer info = ReadGameTags(0, Side::kBlack);
  EXPECT_EQ(info.name, "Roe, Richard");
  EXPECT_EQ(info.fideId, 0);
  EXPECT_EQ(info.rating, 0);
  EXPECT_EQ(info.sex, Sex::kNone);
  EXPECT_EQ(info.title, Title::kNone);
  EXPECT_EQ(info.federation, 0);
}

TEST_F(GameTags, ReaderTakesOnlyItsSidesExactTagsAndTheLastOfEach) {
  AddGame("Doe, Jane", "X",
          {{"WhiteElo", "2300"},
           {"whiteelo", "1000"},
           {"BlackElo", "1500"},
           {"WhiteElo", "2405"},
           {"WhiteFIDE", "12345678"},
           {"WhiteSex", "F"},
           {"WhiteSex", "f"},
           {"WhiteTitle", "WIM"},
           {"WhiteTitle", "CM"},
           {"WhiteCountry", "NOR"}});
  GamePlayer info = ReadGameTags(0, Side::kWhite);
  EXPECT_EQ(info.rating, 2405);
  EXPECT_EQ(info.fideId, 12345678);
  EXPECT_EQ(info.sex, Sex::kFemale) << "an unknown sex value is ignored, not a reset";
  EXPECT_EQ(info.title, Title::kWIM) << "an unknown title is ignored";
  EXPECT_EQ(info.federation, FederationByCode("NOR"));
}

TEST_F(GameTags, BadNumbersAndCountryLengthsAreIgnored) {
  AddGame("A", "B",
          {{"WhiteElo", "0"},
           {"WhiteFIDE", "12a4"},
           {"WhiteCountry", "NO"},
           {"BlackElo", ""},
           {"BlackFIDE", "99999999999"},
           {"BlackCountry", "NORW"}});
  GamePlayer white = ReadGameTags(0, Side::kWhite);
  GamePlayer black = ReadGameTags(0, Side::kBlack);
  EXPECT_EQ(white.rating, 0);
  EXPECT_EQ(white.fideId, 0);
  EXPECT_EQ(white.federation, 0);
  EXPECT_EQ(black.rating, 0);
  EXPECT_EQ(black.fideId, 0) << "a number beyond 32 bits is not an ID";
  EXPECT_EQ(black.federation, 0) << "only exactly three characters are a code";
}

TEST_F(GameTags, EloAbove65535IsKeptModulo65536) {
  AddGame("A", "B", {{"WhiteElo", "70000"}});
  GamePlayer info = ReadGameTags(0, Side::kWhite);
  EXPECT_EQ(info.rating, 70000 - 65536);
}

TEST_F(GameTags, PositionsFollowTheDisplayedOrderAndOutsideGivesNothing) {
  AddGame("First", "B");
  AddGame("Second", "B");
  host.base.order = {1, 0};
  host.base.Publish();
  GamePlayer info = ReadGameTags(0, Side::kWhite);
  EXPECT_EQ(info.name, "Second");
  for (int32_t position : {-1, 2, 1000}) {
    info = ReadGameTags(position, Side::kWhite);
    EXPECT_EQ(info.name, "") << position;
    EXPECT_EQ(info.sex, Sex::kNone);
  }
}

TEST_F(GameTags, ShortHeaderGivesAnEmptyName) {
  AddGame("A", "B");
  host.base.games[0].tags.resize(4);
  host.base.Publish();
  GamePlayer info = ReadGameTags(0, Side::kWhite);
  EXPECT_EQ(info.name, "");
}

TEST_F(GameTags, EverythingNewIsWrittenInOrder) {
  settings.saveTitle = settings.saveSex = settings.changeName = true;
  int32_t g = AddGame("Doe,J", "B");
  GamePlayer info = ReadRecordTags(g, Side::kWhite);
  AddedTags added = WriteFideTag(db, info, 0, g, Side::kWhite);
  EXPECT_EQ(Writes(), (std::vector<std::string>{"WhiteFIDE=12345678", "WhiteTitle=WIM", "WhiteElo=2405",
                                                "WhiteSex=F", "WhiteCountry=NOR", "White=Doe, Jane"}));
  EXPECT_TRUE(added.fideId && added.title && added.elo && added.sex && added.country);
  EXPECT_EQ(host.base.games[0].Tag("White"), "Doe, Jane");
}

TEST_F(GameTags, DefaultSettingsWriteOnlyIdEloAndCountry) {
  int32_t g = AddGame("A", "Doe, Jane");
  GamePlayer info = ReadRecordTags(g, Side::kBlack);
  AddedTags added = WriteFideTag(db, info, 0, g, Side::kBlack);
  EXPECT_EQ(Writes(), (std::vector<std::string>{"BlackFIDE=12345678", "BlackElo=2405", "BlackCountry=NOR"}));
  EXPECT_FALSE(added.title || added.sex);
}

TEST_F(GameTags, ExistingTagsStayUnlessOverwriteIsOn) {
  settings.saveTitle = settings.saveSex = true;
  int32_t g =
      AddGame("Smith, Jo", "B",
              {{"WhiteTitle", "IM"}, {"WhiteElo", "2500"}, {"WhiteSex", "F"}, {"WhiteCountry", "NOR"}});
  GamePlayer info = ReadRecordTags(g, Side::kWhite);
  EXPECT_FALSE(WritePlayerTags(g, Side::kWhite, Listed(2), info).AnyTag());
  EXPECT_TRUE(Writes().empty());

  settings.overwriteTitle = settings.overwriteElo = settings.overwriteSex = settings.overwriteCountry = true;
  WritePlayerTags(g, Side::kWhite, Listed(2), info);
  EXPECT_EQ(Writes(),
            (std::vector<std::string>{"WhiteTitle=GM", "WhiteElo=2650", "WhiteSex=M", "WhiteCountry=GER"}));
  EXPECT_EQ(host.base.games[0].Tag("WhiteTitle"), "GM");
}

TEST_F(GameTags, OverwriteAloneWritesNothingAndEqualValuesAreNotRewritten) {
  settings.saveElo = false;
  settings.overwriteElo = true;
  int32_t g = AddGame("Smith, Jo", "B", {{"WhiteElo", "2000"}, {"WhiteCountry", "GER"}});
  settings.overwriteCountry = true;
  GamePlayer info = ReadRecordTags(g, Side::kWhite);
  WritePlayerTags(g, Side::kWhite, Listed(2), info);
  EXPECT_TRUE(Writes().empty());
}

TEST_F(GameTags, UnknownDatabaseValuesNeverBecomeTags) {
  settings.saveTitle = settings.saveSex = true;
  int32_t g = AddGame("Roe, Richard", "B");
  GamePlayer info = ReadRecordTags(g, Side::kWhite);
  WritePlayerTags(g, Side::kWhite, Listed(1), info);
  EXPECT_TRUE(Writes().empty()) << "rating 0, sex 2, title 6, federation 0";
}

TEST_F(GameTags, OutOfRangeCodesFromADamagedFileAreNotWritten) {
  settings.saveTitle = settings.saveSex = true;
  db = DatabaseOf(
      std::vector<PlayerRow>{{"Bad, Data", 5, 0, static_cast<Sex>(7), static_cast<Title>(9), 250, 0}});
  int32_t g = AddGame("Bad, Data", "B");
  GamePlayer info = ReadRecordTags(g, Side::kWhite);
  WritePlayerTags(g, Side::kWhite, Listed(0), info);
  EXPECT_TRUE(Writes().empty());
}

TEST_F(GameTags, NameChangeAlsoForLetterCaseAndSetsNoFlag) {
  settings.changeName = true;
  settings.saveElo = settings.saveCountry = false;
  int32_t g = AddGame("A", "doe, jane");
  GamePlayer info = ReadRecordTags(g, Side::kBlack);
  EXPECT_FALSE(WritePlayerTags(g, Side::kBlack, Listed(0), info).Any());
  EXPECT_EQ(Writes(), (std::vector<std::string>{"Black=Doe, Jane"}));
}

}  // namespace
