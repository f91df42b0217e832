#include <gtest/gtest.h>

#include <filesystem>

#include "players/fidelistimport.h"
#include "players/playercodes.h"
#include "players/playerdatabase.h"
#include "players/playersearch.h"
#include "players/searchrules.h"

namespace {

using Entries = std::vector<std::pair<int32_t, int>>;  // index, score

Entries Of(const std::vector<SearchHit>& hits) {
  Entries e;
  for (const SearchHit& r : hits) e.emplace_back(r.index, r.score);
  return e;
}

class Search : public ::testing::Test {
 protected:
  PlayerDatabase db;
  std::vector<SearchHit> hits;
  int32_t limit = kNormalSearchLimit;
  void Players(const std::vector<std::string>& names) {
    std::vector<PlayerRow> rows;
    for (const std::string& n : names) rows.push_back(PlayerRow{n, static_cast<int32_t>(rows.size() + 100)});
    db = DatabaseOf(rows);
  }
  uint8_t Score(std::string_view w, const std::string& name) {
    Players({name});
    return ScoreWord(db.Players(), w, 0);
  }
};

}  // namespace

TEST(QueryWordsOfAName, LongestTwoRunsOfLettersWithoutInitials) {
  auto words = [](std::string_view name) { return WordsOfName(name); };
  using W = std::vector<std::string>;
  EXPECT_EQ(words("Doe, J."), W{"doe"});
  EXPECT_EQ(words("van der Berg, Anna"), (W{"berg", "anna"}));
  EXPECT_EQ(words("Li, Wei Ming"), (W{"ming", "wei"}));
  EXPECT_EQ(words("Al Bo Cy"), (W{"al", "bo"})) << "equally long words keep the name's order";
  EXPECT_EQ(words("J. D."), W{});
  EXPECT_EQ(words("O'Brien-SMITH"), (W{"brien", "smith"}));
  EXPECT_EQ(words("M\xC3\xBCller, J\xC3\xB6rg"), (W{"ller", "rg"})) << "only ASCII letters make words";
  EXPECT_EQ(words("Kasparov2, Garry"), (W{"kasparov", "garry"}));
}

TEST(TakingAWord, RemovesTheFirstWholeWordAndKeepsSeparators) {
  std::string t = "joanna ann, ann";
  EXPECT_TRUE(TakeWord("ann", t));
  EXPECT_EQ(t, "joanna , ann");
  EXPECT_TRUE(TakeWord("ann", t));
  EXPECT_EQ(t, "joanna , ");
  EXPECT_FALSE(TakeWord("ann", t));
  EXPECT_EQ(t, "joanna , ");
  std::string u = "ann-lee";
  EXPECT_TRUE(TakeWord("lee", u));
  EXPECT_EQ(u, "ann-");
}

TEST(Federations, CodesAndRowsFollowTheFixedTable) {
  EXPECT_EQ(FederationByCode("NOR"), 135);
  EXPECT_EQ(FederationByCode("nor"), 0);
  EXPECT_EQ(FederationByCode("IVB"), 28) << "the first of the two IVB rows";
  EXPECT_EQ(FederationByCode("AFG"), 1);
  EXPECT_EQ(FederationByCode("FID"), 208);
  EXPECT_EQ(FederationByCode("NO"), 0);
  EXPECT_EQ(FederationByCode("NORW"), 0);
  EXPECT_EQ(FederationByCode("   "), 0);
  EXPECT_EQ(FederationCode(198), "IVB");
  EXPECT_EQ(FederationCode(150), "ROU");
  EXPECT_EQ(FederationCode(0), "");
  EXPECT_EQ(FederationCode(209), "");
  EXPECT_EQ(FederationCode(-1), "");
  EXPECT_EQ(FederationTable[20].name, FederationTable[19].name) << "BIZ and BLZ";
  for (int row = 1; row <= kFederationCount; ++row)
    if (row != 198) {
      EXPECT_EQ(FederationByCode(FederationCode(row)), row);
    }
  EXPECT_EQ(TitleText(Title::kGM), "GM");
  EXPECT_EQ(TitleText(Title::kWFM), "WFM");
  EXPECT_EQ(TitleText(Title::kNone), "");
  EXPECT_EQ(TitleText(static_cast<Title>(200)), "");
  EXPECT_EQ(TitleByText("WIM"), Title::kWIM);
  EXPECT_EQ(TitleByText("wim"), Title::kNone);
  EXPECT_EQ(SexText(Sex::kFemale), "F");
  EXPECT_EQ(SexText(Sex::kNone), "");
}

TEST_F(Search, DescriptionsOfCandidates) {
  std::vector<PlayerRow> rows{{"Doe, Jane", 1, 2405, Sex::kFemale, Title::kWIM, 135, 1990},
                              {"Doe, John", 2, 0, Sex::kMale, Title::kNone, 0, 0},
                              {"Damaged, Row", 3, 1500, Sex::kMale, static_cast<Title>(77), 250, 0},
                              {"Titled, Unrated", 4, 0, Sex::kMale, Title::kGM, 192, 0}};
  db = DatabaseOf(rows);
  EXPECT_EQ(DescribePlayer(db, 0), "Doe, Jane (NOR),  WIM,  2405 ELO");
  EXPECT_EQ(DescribePlayer(db, 1), "Doe, John (\?\?\?)");
  EXPECT_EQ(DescribePlayer(db, 2), "Damaged, Row (\?\?\?),  1500 ELO");
  EXPECT_EQ(DescribePlayer(db, 3), "Titled, Unrated (USA),  GM");
  EXPECT_EQ(DescribePlayer(db, 4), "");
  EXPECT_EQ(DescribePlayer(db, -1), "");
}

TEST_F(Search, FindByIdGivesTheFirstPlayerInListOrder) {
  std::vector<PlayerRow> rows{{"A", 5}, {"B", 7}, {"C", 7}, {"D", 0}};
  db = DatabaseOf(rows);
  Player p;
  int32_t index = 99;
  ASSERT_TRUE(FindByIdAt(db, 7, p, index));
  EXPECT_EQ(index, 1);
  EXPECT_EQ(p.name, "B");
  ASSERT_TRUE(FindById(db, 0, p));
  EXPECT_EQ(p.name, "D");
  EXPECT_FALSE(FindByIdAt(db, 6, p, index));
  db = PlayerDatabase{};
  EXPECT_FALSE(FindById(db, 5, p));
}

TEST_F(Search, WholeWordSearchMatchesWordsInEitherOrder) {
  Players({"Doe, Jane"});
  for (std::string_view query : {"Doe, Jane", "Jane Doe", "JANE DOE", "doe"}) {
    hits = WordSearch(db, query, limit);
    EXPECT_EQ(Of(hits), (Entries{{0, 1}})) << query;
  }
}

TEST_F(Search, WholeWordsAreDelimitedByTheSeparatorsOnly) {
  Players({"Smithson, Jo", "Mueller-Smith, Jo", "O'Smith, Al", "Smith2, Bo", "Smith\xE9, Cy", "[Smith], Di",
           "Smith", "smith"});
  hits = WordSearch(db, "Smith", limit);
  EXPECT_EQ(Of(hits), (Entries{{1, 1}, {2, 1}, {5, 1}, {6, 1}, {7, 1}}));
}

TEST_F(Search, OneWordKeepsTheFirstMatchesInListOrder) {
  std::vector<std::string> names;
  for (int i = 0; i < 15; ++i) names.push_back("Smith, Player" + std::string(1, static_cast<char>('a' + i)));
  Players(names);
  hits = WordSearch(db, "Smith", limit);
  Entries first10;
  for (int i = 0; i < 10; ++i) first10.emplace_back(i, 1);
  EXPECT_EQ(Of(hits), first10);
  limit = 3;
  hits = WordSearch(db, "Smith", limit);
  EXPECT_EQ(Of(hits), (Entries{{0, 1}, {1, 1}, {2, 1}}));
}

TEST_F(Search, TwoWordsKeepAtMostOneFewerAndDisplaceOnlyByABetterScore) {
  std::vector<std::string> names(12, "Smith, Bob");  // only smith: score 2
  names.push_back("Jones, John");                    // only john: 3, no room
  names.push_back("Smith, John");                    // both: 1, displaces the last
  names.push_back("Smith, Bob");                     // 2, not better than the last
  Players(names);
  hits = WordSearch(db, "Smith, John", limit);
  Entries expected{{13, 1}};
  for (int i = 0; i < 8; ++i) expected.emplace_back(i, 2);
  EXPECT_EQ(Of(hits), expected);
}

TEST_F(Search, TwoWordsRankBothOverFirstOverSecond) {
  Players({"Jones, John", "Smith, Bob", "Smith, John", "Nobody, Here"});
  hits = WordSearch(db, "John Smith", limit);  // smith is the longer, so the first word
  EXPECT_EQ(Of(hits), (Entries{{2, 1}, {1, 2}, {0, 3}}));
}

TEST_F(Search, OneWordOfANameCannotServeBothQueryWords) {
  Players({"Ann, Lee", "Ann, Ann"});
  hits = WordSearch(db, "Ann Ann", limit);
  EXPECT_EQ(Of(hits), (Entries{{1, 1}, {0, 2}}));
}

TEST_F(Search, NamesWithoutWordsFindNothing) {
  Players({"Doe, J", "D, J"});
  hits = WordSearch(db, "Doe", limit);
  ASSERT_FALSE(hits.empty());
  for (std::string_view query : {"J. D.", "", "1234", "--"}) {
    hits = WordSearch(db, query, limit);
    EXPECT_TRUE(hits.empty()) << query;
    hits = RankedSearch(db, "Doe", limit);
    hits = RankedSearch(db, query, limit);
    EXPECT_TRUE(hits.empty()) << query;
  }
}

TEST_F(Search, ScoreOfOneWord) {
  EXPECT_EQ(Score("jane", "Doe, Jane"), 1);
  EXPECT_EQ(Score("doe", "Doe, Jane"), 1);
  EXPECT_EQ(Score("do", "Dog, Peter"), 2) << "start of a word";
  EXPECT_EQ(Score("son", "Smithson, Jo"), 2) << "end of a word";
  EXPECT_EQ(Score("mit", "Smithson, Jo"), 3) << "inside a word";
  EXPECT_EQ(Score("doa", "Dog, Peter"), 255) << "short words are never substituted";
  EXPECT_EQ(Score("smyth", "Smith, Jo"), 4);
  EXPECT_EQ(Score("smyth", "Smithson, Jo"), 4);
  EXPECT_EQ(Score("smxxh", "Smith, Jo"), 255) << "two substitutions are too many";
  EXPECT_EQ(Score("smith", "Smyth-Smith"), 1) << "an exact occurrence beats a substitution";
  EXPECT_EQ(Score("abcd", "Abce Xabcd"), 2);
  EXPECT_EQ(Score("abcd", "Xabcdx Abce"), 3) << "after an exact occurrence substitutions no longer count";
  EXPECT_EQ(Score("abcd", "Xabcdx Abcd"), 1);
  EXPECT_EQ(Score("longerthanname", "Short"), 255);
  EXPECT_EQ(Score("jane", ""), 255);
  Players({"Doe, Jane"});
  EXPECT_EQ(ScoreWord(db.Players(), "jane", 1), 255);
  EXPECT_EQ(ScoreWord(db.Players(), "jane", -1), 255);
}

TEST_F(Search, RankedTotalsOfBothWords) {
  Players({"Doe, Jane", "Jane, Smith", "Doe, Peter", "Smith, John", "Smyth, Jahn", "Smith, Jahn", "Doe"});
  hits = RankedSearch(db, "Doe, Jane", limit);
  EXPECT_EQ(Of(hits), (Entries{{0, 2}, {1, 251}, {2, 252}, {6, 252}}));
  hits = RankedSearch(db, "Jane Doe", limit);
  EXPECT_EQ(Of(hits), (Entries{{0, 2}, {1, 251}, {2, 252}, {6, 252}}));
  // A substitution weighs 6 in the first word and 7 in the second.
  hits = RankedSearch(db, "Smyth, John", limit);
  EXPECT_EQ(Of(hits), (Entries{{3, 7}, {4, 8}, {5, 13}}));
}

TEST_F(Search, RankedSearchStopsOnceAllKeptCandidatesAreGoodEnough) {
  // With room for two: Janet (3) and Jan (252) are held; Jane (2) pushes Jan
  // out, every kept total is then 3 or less and the scan ends before the
  // second Jane.
  Players({"Doe, Janet", "Doe, Jan", "Doe, Jane", "Doe, Jane"});
  limit = 2;
  hits = RankedSearch(db, "Doe, Jane", limit);
  EXPECT_EQ(Of(hits), (Entries{{2, 2}, {0, 3}}));
  limit = 3;
  hits = RankedSearch(db, "Doe, Jane", limit);
  EXPECT_EQ(Of(hits), (Entries{{2, 2}, {3, 2}, {0, 3}}));
}

TEST_F(Search, RankedSearchKeepsTheBestAndEarlierOnTies) {
  std::vector<std::string> names;
  for (int i = 0; i < 30; ++i) names.push_back(i % 3 ? "Smithe, Al" : "Smyth, Bo");
  Players(names);
  limit = 20;
  hits = RankedSearch(db, "Smith", limit);
  ASSERT_EQ(hits.size(), 20u);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(hits[i].score, 2);
    EXPECT_NE(hits[i].index % 3, 0);
  }
  EXPECT_EQ(hits[0].index, 1);
  EXPECT_EQ(hits[19].index, 29);
}

TEST_F(Search, ALimitBelowOneIsTakenAsOne) {
  Players({"Smith, Jo", "Smith, Al"});
  for (int32_t limit : {0, -5}) {
    limit = limit;
    hits = RankedSearch(db, "Smith", limit);
    EXPECT_EQ(Of(hits), (Entries{{0, 1}}));
    hits = WordSearch(db, "Smith", limit);
    EXPECT_EQ(Of(hits), (Entries{{0, 1}}));
  }
}

TEST_F(Search, RealListFindsPlayersByNameAndId) {
  std::string f = std::string(VELMARSH_TESTDATA) + "/fide/rapid_sep12_combined_layout.txt";
  if (!std::filesystem::exists(f)) GTEST_SKIP() << "test data not found: " << f;
  std::string error;
  std::optional<PlayerDatabase> imported = ImportFideList(f, error, Indexing::kBuild);
  ASSERT_TRUE(imported) << error;
  db = std::move(*imported);
  Player p;
  int32_t index;
  ASSERT_TRUE(FindByIdAt(db, 1503014, p, index));
  EXPECT_EQ(index, 0);
  EXPECT_EQ(DescribePlayer(db, index), "Carlsen, Magnus (NOR),  GM,  2845 ELO");

  hits = WordSearch(db, "Carlsen, Magnus", limit);
  ASSERT_FALSE(hits.empty());
  EXPECT_EQ(hits[0].index, 0);
  EXPECT_EQ(hits[0].score, 1);

  // The games write "Navara,D": the initial is dropped, the surname found.
  hits = WordSearch(db, "Navara,D", limit);
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(db.Players()[hits[0].index].name, "Navara, David");

  limit = 20;
  hits = RankedSearch(db, "Karlsen, Magnus", limit);
  ASSERT_FALSE(hits.empty());
  EXPECT_EQ(db.Players()[hits[0].index].name, "Carlsen, Magnus");
  EXPECT_EQ(hits[0].score, 7) << "magnus exactly, karlsen with one letter changed";
}
