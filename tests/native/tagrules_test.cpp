// The tag rules: what a header says about a player, which tags a database
// player adds under the options and in which order, and what a name's step
// decides without a person.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "players/playercodes.h"
#include "players/playerdatabase.h"
#include "tagrules/tagrules.h"

namespace {

using Tags = std::vector<HeaderTag>;
using Writes = std::vector<std::string>;

Writes Of(const PlayerTags& tags) {
  Writes w;
  for (const TagWrite& t : tags.writes) w.push_back(t.name + "=" + t.value);
  return w;
}

const uint8_t kNor = static_cast<uint8_t>(FederationByCode("NOR"));
const uint8_t kGer = static_cast<uint8_t>(FederationByCode("GER"));

Player Jane() { return {"Doe, Jane", 12345678, 2405, Sex::kFemale, Title::kWIM, kNor, 1990}; }

TagOptions Everything() {
  TagOptions o;
  o.saveTitle = o.saveSex = o.saveElo = o.saveCountry = true;
  return o;
}

}  // namespace

TEST(ReadingAHeader, SideTagsLaterPairsWinAndBadValuesSayNothing) {
  Tags tags{{"WhiteElo", "2400"},    {"BlackElo", "2100"},    {"WhiteElo", "2405"},  {"WhiteFIDE", "12x"},
            {"WhiteSex", "f"},       {"WhiteSex", "F"},       {"WhiteTitle", "WIM"}, {"WhiteCountry", "NORW"},
            {"BlackCountry", "GER"}, {"WhiteCountry", "NOR"}, {"whiteelo", "1"}};
  GamePlayer p = ReadGamePlayer("Doe, Jane", tags, Side::kWhite);
  EXPECT_EQ(p.name, "Doe, Jane");
  EXPECT_EQ(p.rating, 2405);
  EXPECT_EQ(p.fideId, 0) << "not a number";
  EXPECT_EQ(p.sex, Sex::kFemale);
  EXPECT_EQ(p.title, Title::kWIM);
  EXPECT_EQ(p.federation, kNor);

  GamePlayer b = ReadGamePlayer("Roe", tags, Side::kBlack);
  EXPECT_EQ(b.rating, 2100);
  EXPECT_EQ(b.federation, kGer);
  EXPECT_EQ(b.title, Title::kNone);

  Tags odd{{"WhiteElo", "0"}, {"WhiteElo", ""}, {"WhiteTitle", "CM"}, {"WhiteElo", "70000"}};
  EXPECT_EQ(ReadGamePlayer("X", odd, Side::kWhite).rating, 70000 - 65536) << "kept modulo 65536";
  EXPECT_EQ(ReadGamePlayer("X", odd, Side::kWhite).title, Title::kNone);
}

TEST(ReadingAHeader, AWholeHeaderTakesTheNameFromTheRosterTag) {
  Tags header{{"Event", "?"}, {"White", "Doe, Jane"}, {"Black", "Roe, R"}, {"BlackFIDE", "777"}};
  EXPECT_EQ(ReadGamePlayer(header, Side::kWhite).name, "Doe, Jane");
  GamePlayer black = ReadGamePlayer(header, Side::kBlack);
  EXPECT_EQ(black.name, "Roe, R");
  EXPECT_EQ(black.fideId, 777);
}

TEST(TagWrites, EverythingNewInTheFixedOrderWithTheFideIdFirst) {
  TagOptions o = Everything();
  o.changeName = true;
  GamePlayer game{"Doe,Jane"};
  PlayerTags t = FideTagWrites(Jane(), game, Side::kBlack, o);
  EXPECT_EQ(Of(t), (Writes{"BlackFIDE=12345678", "BlackTitle=WIM", "BlackElo=2405", "BlackSex=F",
                           "BlackCountry=NOR", "Black=Doe, Jane"}));
  EXPECT_TRUE(t.added.fideId && t.added.title && t.added.elo && t.added.sex && t.added.country);

  PlayerTags rest = PlayerTagWrites(Jane(), game, Side::kWhite, o);
  EXPECT_EQ(Of(rest).front(), "WhiteTitle=WIM");
  EXPECT_FALSE(rest.added.fideId);
}

TEST(TagWrites, ExistingTagsStayUnlessOverwriteAndDifferent) {
  TagOptions o = Everything();
  GamePlayer game{"Doe, Jane", 12345678, 2300, Sex::kFemale, Title::kIM, kGer};
  PlayerTags kept = PlayerTagWrites(Jane(), game, Side::kWhite, o);
  EXPECT_TRUE(kept.writes.empty());
  EXPECT_FALSE(kept.added.Any());

  o.overwriteTitle = o.overwriteElo = o.overwriteCountry = o.overwriteSex = true;
  EXPECT_EQ(Of(PlayerTagWrites(Jane(), game, Side::kWhite, o)),
            (Writes{"WhiteTitle=WIM", "WhiteElo=2405", "WhiteCountry=NOR"}))
      << "the same sex is not written again";
}

TEST(TagWrites, TheDatabaseMustHaveAValueAndTheOptionsAllowIt) {
  Player bare{"Roe, Richard", 777, 0, Sex::kNone, Title::kNone, 0, 0};
  EXPECT_TRUE(PlayerTagWrites(bare, GamePlayer{"Roe, Richard"}, Side::kWhite, Everything()).writes.empty());
  Player damaged{"Roe, Richard", 777, 0, static_cast<Sex>(9), static_cast<Title>(77), 250, 0};
  EXPECT_TRUE(
      PlayerTagWrites(damaged, GamePlayer{"Roe, Richard"}, Side::kWhite, Everything()).writes.empty());
  EXPECT_EQ(Of(PlayerTagWrites(Jane(), GamePlayer{"Doe, Jane"}, Side::kWhite, TagOptions{})),
            (Writes{"WhiteElo=2405", "WhiteCountry=NOR"}))
      << "at first only Elo and country";
  TagOptions noFide;
  noFide.saveFideId = false;
  EXPECT_FALSE(FideTagWrites(Jane(), GamePlayer{"Doe, Jane"}, Side::kWhite, noFide).added.fideId);
}

TEST(TagWrites, ANameDifferingOnlyInCaseIsRewrittenWithoutAFlag) {
  TagOptions o;
  o.saveElo = o.saveCountry = false;
  o.changeName = true;
  PlayerTags t = PlayerTagWrites(Jane(), GamePlayer{"DOE, JANE"}, Side::kWhite, o);
  EXPECT_EQ(Of(t), (Writes{"White=Doe, Jane"}));
  EXPECT_FALSE(t.added.Any());
}

TEST(ChoosingByName, ClearCutAndPromotionOfKnownPlayers) {
  EXPECT_FALSE(IsClearCut(std::vector<SearchHit>{}));
  EXPECT_TRUE(IsClearCut(std::vector<SearchHit>{{4, 3}}));
  EXPECT_TRUE(IsClearCut(std::vector<SearchHit>{{4, 1}, {5, 2}}));
  EXPECT_FALSE(IsClearCut(std::vector<SearchHit>{{4, 1}, {5, 1}}));
  EXPECT_FALSE(IsClearCut(std::vector<SearchHit>{{4, 2}, {5, 3}}));

  auto pairs = [](const std::vector<SearchHit>& hits) {
    std::vector<std::pair<int32_t, int>> r;
    for (const SearchHit& h : hits) r.push_back({h.index, h.score});
    return r;
  };
  using R = std::vector<std::pair<int32_t, int>>;
  std::vector<SearchHit> hits{{10, 1}, {11, 2}, {12, 3}, {13, 4}, {14, 5}};
  const int32_t raise[] = {13, 11, 10};
  PromoteKnownPlayers(hits, raise);
  EXPECT_EQ(pairs(hits), (R{{10, 1}, {11, 2}, {13, 2}, {12, 3}, {14, 5}}));

  hits = {{10, 1}, {11, 2}, {12, 3}, {13, 251}};
  const int32_t add[] = {20, 21};
  PromoteKnownPlayers(hits, add);
  EXPECT_EQ(pairs(hits), (R{{10, 1}, {11, 2}, {20, 2}, {21, 2}, {12, 3}, {13, 251}}));
  hits.clear();
  PromoteKnownPlayers(hits, add);
  EXPECT_EQ(pairs(hits), (R{{20, 2}, {21, 2}}));

  const int32_t one[] = {20};
  hits = {{12, 3}, {13, 4}};
  PromoteKnownPlayers(hits, one);
  EXPECT_EQ(pairs(hits), (R{{20, 2}, {12, 3}, {13, 4}}));
  hits = {{10, 1}, {11, 1}};
  PromoteKnownPlayers(hits, one);
  EXPECT_EQ(pairs(hits), (R{{10, 1}, {11, 1}, {20, 2}}));
}

class NameSteps : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<PlayerRow> rows = {
        {"Smith, Jo", 4242, 2650, Sex::kMale, Title::kGM, kGer, 1970},
        {"Doe, Jane", 12345678, 2405, Sex::kFemale, Title::kWIM, kNor, 1990},
        {"Doe, John", 87654321, 2100, Sex::kMale, Title::kNone, kNor, 1980},
        {"Roe, Richard", 777, 0, Sex::kNone, Title::kNone, 0, 0},
    };
    db = DatabaseOf(rows);
  }

  PlayerDatabase db;
  static NamePlace Place(int32_t game, Side side, GamePlayer player) {
    return {game, side, std::move(player)};
  }
};

TEST_F(NameSteps, AnonymousNamesInAnyCaseArePassedOver) {
  for (const char* name : {"anonymous", "ANONYMOUS 2", "Anonymous"}) {
    std::vector<NamePlace> places{Place(0, Side::kWhite, {name})};
    EXPECT_TRUE(PlanNameStep(db, name, places, TagOptions{}).anonymous) << name;
  }
  EXPECT_FALSE(PlanNameStep(db, "Anonymou", {}, TagOptions{}).anonymous);
}

TEST_F(NameSteps, PlacesWithAKnownIdAreCompletedAndTheRestChooseByName) {
  std::vector<NamePlace> places{
      Place(0, Side::kWhite, {"Doe", 12345678}),
      Place(1, Side::kBlack, {"Doe", 999}),  // not in the database
      Place(2, Side::kWhite, {"Doe", 12345678, 2405, Sex::kNone, Title::kNone, kNor}),
      Place(3, Side::kBlack, {"Doe"}),
      Place(4, Side::kWhite, {"Doe"}),
  };
  NameStep step = PlanNameStep(db, "Doe", places, TagOptions{});
  ASSERT_EQ(step.byId.size(), 2u);
  EXPECT_EQ(step.byId[0].place, 0u);
  EXPECT_EQ(step.byId[0].player, 1);
  EXPECT_EQ(Of(step.byId[0].tags), (Writes{"WhiteElo=2405", "WhiteCountry=NOR"}));
  EXPECT_TRUE(step.byId[1].tags.writes.empty());
  EXPECT_TRUE(step.AddsTagById());
  EXPECT_EQ(step.unknownIds, (std::vector<size_t>{1}));
  EXPECT_EQ(step.known, (std::vector<int32_t>{1}));
  EXPECT_EQ(step.firstWithoutId, 3);
  // Jane and John both fit "Doe" wholly; Jane is known by ID and stays first.
  EXPECT_EQ(step.choice, NameChoice::kAskUser);
  ASSERT_EQ(step.hits.size(), 2u);
  EXPECT_EQ(step.hits[0].index, 1);

  std::vector<PlaceTags> chosen = ChosenPlayerTags(db, "Doe", places, 2, TagOptions{});
  ASSERT_EQ(chosen.size(), 2u);
  EXPECT_EQ(chosen[0].place, 3u);
  EXPECT_EQ(Of(chosen[1].tags), (Writes{"WhiteFIDE=87654321", "WhiteElo=2100", "WhiteCountry=NOR"}));
  EXPECT_TRUE(ChosenPlayerTags(db, "Doe", places, 4, TagOptions{}).empty());
  EXPECT_TRUE(ChosenPlayerTags(db, "Doe", places, -1, TagOptions{}).empty());
}

// A name that names nobody is no player's: its places get tags only from
// their own FIDE ID, never from another place's, and are never renamed.
TEST_F(NameSteps, UnknownNamesGetTagsOnlyFromTheirOwnId) {
  for (const char* name : {"", "?", "-", "??", "NN", "nn", "N.N.", "N. N.", "n.n", "1"}) {
    std::vector<NamePlace> places{Place(0, Side::kWhite, {name, 12345678}), Place(1, Side::kWhite, {name}),
                                  Place(2, Side::kBlack, {name})};
    TagOptions rename;
    rename.changeName = true;
    NameStep step = PlanNameStep(db, name, places, rename);
    EXPECT_TRUE(step.unknownName) << name;
    EXPECT_EQ(step.choice, NameChoice::kNoCandidate) << name;
    EXPECT_TRUE(step.hits.empty()) << name << ": the player known by ID is not offered to the others";
    ASSERT_EQ(step.byId.size(), 1u) << name;
    EXPECT_EQ(Of(step.byId[0].tags), (Writes{"WhiteElo=2405", "WhiteCountry=NOR"}))
        << name << ": not renamed";
    EXPECT_TRUE(ChosenPlayerTags(db, name, places, 1, rename).empty()) << name;
  }
  for (const char* name : {"N", "Nn, A", "Anonymous", "À", "N.N.N.", "O'Neil"})
    EXPECT_FALSE(IsUnknownName(name)) << name;
}

TEST_F(NameSteps, OneClearHitNoCandidateOrNothingToChoose) {
  std::vector<NamePlace> smith{Place(0, Side::kWhite, {"Smith, Jo"})};
  NameStep clear = PlanNameStep(db, "Smith, Jo", smith, TagOptions{});
  EXPECT_EQ(clear.choice, NameChoice::kClearHit);
  EXPECT_EQ(clear.hits.at(0).index, 0);

  std::vector<NamePlace> nobody{Place(0, Side::kWhite, {"Zzyzx, Q"})};
  EXPECT_EQ(PlanNameStep(db, "Zzyzx, Q", nobody, TagOptions{}).choice, NameChoice::kNoCandidate);

  std::vector<NamePlace> byId{Place(0, Side::kWhite, {"Roe, Richard", 777})};
  NameStep done = PlanNameStep(db, "Roe, Richard", byId, TagOptions{});
  EXPECT_EQ(done.choice, NameChoice::kNone);
  EXPECT_FALSE(done.AddsTagById()) << "the database has nothing more about him";

  // A known player the word search misses still stands as the one choice.
  std::vector<NamePlace> mixed{Place(0, Side::kWhite, {"Richardz, Q", 777}),
                               Place(1, Side::kBlack, {"Richardz, Q"})};
  NameStep promoted = PlanNameStep(db, "Richardz, Q", mixed, TagOptions{});
  ASSERT_EQ(promoted.hits.size(), 1u);
  EXPECT_EQ(promoted.hits[0].index, 3);
  EXPECT_EQ(promoted.choice, NameChoice::kClearHit);
}

TEST_F(NameSteps, TheExtendedSearchLeavesRoomForKnownPlayersButAtLeastOne) {
  std::vector<int32_t> many(25, 0);
  for (int32_t i = 0; i < 25; ++i) many[static_cast<size_t>(i)] = i % 4;
  std::vector<SearchHit> hits = ExtendedStepSearch(db, "Doe", many);
  EXPECT_FALSE(hits.empty());
  for (const SearchHit& h : hits) EXPECT_LE(h.score, 2);
}

TEST(Texts, DecimalAndNames) {
  int32_t v = 5;
  EXPECT_TRUE(ParseDecimal("", v));
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(ParseDecimal("2147483647", v));
  EXPECT_EQ(v, 2147483647);
  v = 9;
  EXPECT_FALSE(ParseDecimal("2147483648", v));
  EXPECT_FALSE(ParseDecimal("-5", v));
  EXPECT_FALSE(ParseDecimal(" 5", v));
  EXPECT_EQ(v, 9) << "a failed parse leaves the value";
  EXPECT_EQ(DecimalText(0), "0");
  EXPECT_EQ(DecimalText(12345678), "12345678");
  EXPECT_EQ(ToLowerName("AnOnYmOuS \xC0\xDF\xA8\xE0"), "anonymous \xE0\xFF\xB8\xE0");
  EXPECT_TRUE(IsAnonymousName("ANONYMOUS"));
  EXPECT_TRUE(IsAnonymousName("Anonymous7"));
  EXPECT_FALSE(IsAnonymousName("Anonymou"));
  EXPECT_FALSE(IsAnonymousName(""));
}

TEST(Texts, DescriptionsOfGamePlayers) {
  GamePlayer p{"Doe, Jane", 0, 2405, Sex::kFemale, Title::kWIM, kNor};
  EXPECT_EQ(DescribeGamePlayer(p), "Doe, Jane (NOR),  WIM,  2405 ELO");
  EXPECT_EQ(DescribeGamePlayer(GamePlayer{"Roe"}), "Roe");
}
