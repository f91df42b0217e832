#include <gtest/gtest.h>

#include <filesystem>

#include "database/fidelist.h"
#include "database/fidelist_internal.h"

namespace {

using Entries = std::vector<std::pair<int32_t, int>>;  // index, score

Entries Results() {
  Entries e;
  for (const tsearchress& r : SearchResults) e.emplace_back(r.index, r.score);
  return e;
}

class Search : public ::testing::Test {
 protected:
  void TearDown() override {
    ClearPlayerList();
    MaxResults = kDefaultMaxResults;
  }
  void Players(const std::vector<std::string>& names) {
    std::vector<PlayerRow> rows;
    for (const std::string& n : names) rows.push_back(PlayerRow{n, static_cast<int32_t>(rows.size() + 100)});
    SetPlayerList(rows);
  }
  uint8_t Score(std::string_view w, const std::string& name) {
    Players({name});
    return ScoreWord(w, 0);
  }
};

}  // namespace

TEST(QueryWordsOfAName, LongestTwoRunsOfLettersWithoutInitials) {
  auto words = [](std::string_view name) {
    SplitQueryWords(name);
    return QueryWords;
  };
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
  EXPECT_EQ(TitleText(0), "GM");
  EXPECT_EQ(TitleText(5), "WFM");
  EXPECT_EQ(TitleText(6), "");
  EXPECT_EQ(TitleText(200), "");
}

TEST_F(Search, DescriptionsOfCandidates) {
  std::vector<PlayerRow> rows{{"Doe, Jane", 1, 2405, 1, 4, 135, 1990},
                              {"Doe, John", 2, 0, 0, 6, 0, 0},
                              {"Damaged, Row", 3, 1500, 0, 77, 250, 0},
                              {"Titled, Unrated", 4, 0, 0, 0, 192, 0}};
  SetPlayerList(rows);
  EXPECT_EQ(DescribePlayer(0), "Doe, Jane (NOR),  WIM,  2405 ELO");
  EXPECT_EQ(DescribePlayer(1), "Doe, John (\?\?\?)");
  EXPECT_EQ(DescribePlayer(2), "Damaged, Row (\?\?\?),  1500 ELO");
  EXPECT_EQ(DescribePlayer(3), "Titled, Unrated (USA),  GM");
  EXPECT_EQ(DescribePlayer(4), "");
  EXPECT_EQ(DescribePlayer(-1), "");
}

TEST_F(Search, FindByIdGivesTheFirstPlayerInListOrder) {
  std::vector<PlayerRow> rows{{"A", 5}, {"B", 7}, {"C", 7}, {"D", 0}};
  SetPlayerList(rows);
  fideitem p;
  int32_t index = 99;
  ASSERT_TRUE(FindByIdAt(7, p, index));
  EXPECT_EQ(index, 1);
  EXPECT_EQ(p.name, "B");
  ASSERT_TRUE(FindById(0, p));
  EXPECT_EQ(p.name, "D");
  EXPECT_FALSE(FindByIdAt(6, p, index));
  ClearPlayerList();
  EXPECT_FALSE(FindById(5, p));
}

TEST_F(Search, WholeWordSearchMatchesWordsInEitherOrder) {
  Players({"Doe, Jane"});
  for (std::string_view query : {"Doe, Jane", "Jane Doe", "JANE DOE", "doe"}) {
    WordSearch(query);
    EXPECT_EQ(Results(), (Entries{{0, 1}})) << query;
  }
}

TEST_F(Search, WholeWordsAreDelimitedByTheSeparatorsOnly) {
  Players({"Smithson, Jo", "Mueller-Smith, Jo", "O'Smith, Al", "Smith2, Bo", "Smith\xE9, Cy", "[Smith], Di",
           "Smith", "smith"});
  WordSearch("Smith");
  EXPECT_EQ(Results(), (Entries{{1, 1}, {2, 1}, {5, 1}, {6, 1}, {7, 1}}));
}

TEST_F(Search, OneWordKeepsTheFirstMatchesInListOrder) {
  std::vector<std::string> names;
  for (int i = 0; i < 15; ++i) names.push_back("Smith, Player" + std::string(1, static_cast<char>('a' + i)));
  Players(names);
  WordSearch("Smith");
  Entries first10;
  for (int i = 0; i < 10; ++i) first10.emplace_back(i, 1);
  EXPECT_EQ(Results(), first10);
  MaxResults = 3;
  WordSearch("Smith");
  EXPECT_EQ(Results(), (Entries{{0, 1}, {1, 1}, {2, 1}}));
}

TEST_F(Search, TwoWordsKeepAtMostOneFewerAndDisplaceOnlyByABetterScore) {
  std::vector<std::string> names(12, "Smith, Bob");          // only smith: score 2
  names.push_back("Jones, John");                           // only john: 3, no room
  names.push_back("Smith, John");                           // both: 1, displaces the last
  names.push_back("Smith, Bob");                            // 2, not better than the last
  Players(names);
  WordSearch("Smith, John");
  Entries expected{{13, 1}};
  for (int i = 0; i < 8; ++i) expected.emplace_back(i, 2);
  EXPECT_EQ(Results(), expected);
}

TEST_F(Search, TwoWordsRankBothOverFirstOverSecond) {
  Players({"Jones, John", "Smith, Bob", "Smith, John", "Nobody, Here"});
  WordSearch("John Smith");  // smith is the longer, so the first word
  EXPECT_EQ(Results(), (Entries{{2, 1}, {1, 2}, {0, 3}}));
}

TEST_F(Search, OneWordOfANameCannotServeBothQueryWords) {
  Players({"Ann, Lee", "Ann, Ann"});
  WordSearch("Ann Ann");
  EXPECT_EQ(Results(), (Entries{{1, 1}, {0, 2}}));
}

TEST_F(Search, NamesWithoutWordsFindNothing) {
  Players({"Doe, J", "D, J"});
  WordSearch("Doe");
  ASSERT_FALSE(SearchResults.empty());
  for (std::string_view query : {"J. D.", "", "1234", "--"}) {
    WordSearch(query);
    EXPECT_TRUE(SearchResults.empty()) << query;
    RankedSearch("Doe");
    RankedSearch(query);
    EXPECT_TRUE(SearchResults.empty()) << query;
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
  EXPECT_EQ(ScoreWord("jane", 1), 255);
  EXPECT_EQ(ScoreWord("jane", -1), 255);
}

TEST_F(Search, RankedTotalsOfBothWords) {
  Players({"Doe, Jane", "Jane, Smith", "Doe, Peter", "Smith, John", "Smyth, Jahn", "Smith, Jahn", "Doe"});
  RankedSearch("Doe, Jane");
  EXPECT_EQ(Results(), (Entries{{0, 2}, {1, 251}, {2, 252}, {6, 252}}));
  RankedSearch("Jane Doe");
  EXPECT_EQ(Results(), (Entries{{0, 2}, {1, 251}, {2, 252}, {6, 252}}));
  // A substitution weighs 6 in the first word and 7 in the second.
  RankedSearch("Smyth, John");
  EXPECT_EQ(Results(), (Entries{{3, 7}, {4, 8}, {5, 13}}));
}

TEST_F(Search, RankedSearchStopsOnceAllKeptCandidatesAreGoodEnough) {
  // With room for two: Janet (3) and Jan (252) are held; Jane (2) pushes Jan
  // out, every kept total is then 3 or less and the scan ends before the
  // second Jane.
  Players({"Doe, Janet", "Doe, Jan", "Doe, Jane", "Doe, Jane"});
  MaxResults = 2;
  RankedSearch("Doe, Jane");
  EXPECT_EQ(Results(), (Entries{{2, 2}, {0, 3}}));
  MaxResults = 3;
  RankedSearch("Doe, Jane");
  EXPECT_EQ(Results(), (Entries{{2, 2}, {3, 2}, {0, 3}}));
}

TEST_F(Search, RankedSearchKeepsTheBestAndEarlierOnTies) {
  std::vector<std::string> names;
  for (int i = 0; i < 30; ++i) names.push_back(i % 3 ? "Smithe, Al" : "Smyth, Bo");
  Players(names);
  MaxResults = 20;
  RankedSearch("Smith");
  ASSERT_EQ(SearchResults.size(), 20u);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(SearchResults[i].score, 2);
    EXPECT_NE(SearchResults[i].index % 3, 0);
  }
  EXPECT_EQ(SearchResults[0].index, 1);
  EXPECT_EQ(SearchResults[19].index, 29);
}

TEST_F(Search, ALimitBelowOneIsTakenAsOne) {
  Players({"Smith, Jo", "Smith, Al"});
  for (int32_t limit : {0, -5}) {
    MaxResults = limit;
    RankedSearch("Smith");
    EXPECT_EQ(Results(), (Entries{{0, 1}}));
    WordSearch("Smith");
    EXPECT_EQ(Results(), (Entries{{0, 1}}));
  }
}

TEST_F(Search, RealListFindsPlayersByNameAndId) {
  std::string f = std::string(VELMARSH_TESTDATA) + "/fide/rapid_sep12_combined_layout.txt";
  if (!std::filesystem::exists(f)) GTEST_SKIP() << "test data not found: " << f;
  ASSERT_TRUE(ImportFideList(f));
  SortByRating();
  fideitem p;
  int32_t index;
  ASSERT_TRUE(FindByIdAt(1503014, p, index));
  EXPECT_EQ(index, 0);
  EXPECT_EQ(DescribePlayer(index), "Carlsen, Magnus (NOR),  GM,  2845 ELO");

  WordSearch("Carlsen, Magnus");
  ASSERT_FALSE(SearchResults.empty());
  EXPECT_EQ(SearchResults[0].index, 0);
  EXPECT_EQ(SearchResults[0].score, 1);

  // The games write "Navara,D": the initial is dropped, the surname found.
  WordSearch("Navara,D");
  ASSERT_EQ(SearchResults.size(), 1u);
  EXPECT_EQ(PlayerList()[SearchResults[0].index].name, "Navara, David");

  MaxResults = 20;
  RankedSearch("Karlsen, Magnus");
  ASSERT_FALSE(SearchResults.empty());
  EXPECT_EQ(PlayerList()[SearchResults[0].index].name, "Carlsen, Magnus");
  EXPECT_EQ(SearchResults[0].score, 7) << "magnus exactly, karlsen with one letter changed";
}
