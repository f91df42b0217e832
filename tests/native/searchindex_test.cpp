#include <gtest/gtest.h>

#include <random>

#include "players/fidelistimport.h"
#include "players/playerdatabase.h"
#include "players/playersearch.h"
#include "players/playersfile.h"
#include "players/searchindex.h"
#include "players/searchrules.h"
#include "tests/tempdir.h"

namespace {

using Entries = std::vector<std::pair<int32_t, int>>;  // index, score

Entries Of(const std::vector<SearchHit>& results) {
  Entries e;
  for (const SearchHit& r : results) e.emplace_back(r.index, r.score);
  return e;
}

class SearchIndexTest : public ::testing::Test {
 protected:
  PlayerDatabase db;
  std::vector<SearchHit> hits;
  int32_t limit = kNormalSearchLimit;
  void Players(const std::vector<std::string>& names) {
    std::vector<PlayerRow> rows;
    for (const std::string& n : names) rows.push_back(PlayerRow{n, static_cast<int32_t>(rows.size() + 1)});
    db = DatabaseOf(rows);
  }
  // Both ways for the same words and limit; the indexed ones must agree.
  void ExpectSameAsScans(std::string_view name, size_t limit) {
    const SearchIndex* index = db.Index();
    ASSERT_NE(index, nullptr);
    QueryWordList words = WordsOfName(name);
    std::vector<SearchHit> linear, indexed;
    WordMatchesLinear(db.Players(), words, limit, linear);
    WordMatchesIndexed(*index, db.Players(), words, limit, indexed);
    EXPECT_EQ(Of(indexed), Of(linear)) << "word search for \"" << name << "\", limit " << limit;
    RankedMatchesLinear(db.Players(), words, limit, linear);
    RankedMatchesIndexed(*index, db.Players(), words, limit, indexed);
    EXPECT_EQ(Of(indexed), Of(linear)) << "ranked search for \"" << name << "\", limit " << limit;
  }
};

}  // namespace

TEST_F(SearchIndexTest, EachDatabaseIsSearchedThroughItsOwnIndex) {
  PlayerDatabase first = DatabaseOf(std::vector<PlayerRow>{{"Doe, Jane", 5}, {"Roe, Rick", 6}});
  PlayerDatabase second =
      DatabaseOf(std::vector<PlayerRow>{{"Roe, Rick", 7}, {"Poe, Jane", 5}, {"Jane, Doe", 8}});
  ASSERT_NE(first.Index(), nullptr);
  Player p;
  int32_t index;
  ASSERT_TRUE(FindByIdAt(first, 6, p, index));
  EXPECT_EQ(Of(WordSearch(first, "Jane", limit)), (Entries{{0, 1}}));
  ASSERT_TRUE(FindByIdAt(second, 5, p, index));
  EXPECT_EQ(index, 1);
  EXPECT_EQ(p.name, "Poe, Jane");
  EXPECT_FALSE(FindByIdAt(second, 6, p, index));
  EXPECT_EQ(Of(WordSearch(second, "Jane", limit)), (Entries{{1, 1}, {2, 1}}));
  EXPECT_EQ(Of(RankedSearch(second, "Rick Roe", limit)), (Entries{{0, 2}}));

  // A database moved elsewhere keeps its players' names and its index.
  PlayerDatabase moved = std::move(second);
  EXPECT_EQ(Of(WordSearch(moved, "Jane", limit)), (Entries{{1, 1}, {2, 1}}));
  EXPECT_EQ(moved.Players()[2].name, "Jane, Doe");

  // One written and loaded again, or sorted, is indexed as it now is.
  TempDir dir;
  std::string file = dir.File("players.dat");
  const std::vector<PlayerRow> rows{{"Zed, Ann", 1, 1000}, {"Doe, Jane", 2, 2000}};
  ASSERT_TRUE(SavePlayers(DatabaseOf(rows, Indexing::kNone), file));
  PlayerStore unsorted = StoreOf(rows);
  SortByRating(unsorted);
  PlayerDatabase sorted(std::move(unsorted), Indexing::kBuild);
  EXPECT_TRUE(sorted.RatingOrder());
  EXPECT_EQ(Of(WordSearch(sorted, "Jane", limit)), (Entries{{0, 1}}));
  PlayerDatabase loaded = LoadPlayers(file);
  EXPECT_FALSE(loaded.RatingOrder());
  EXPECT_EQ(Of(WordSearch(loaded, "Jane", limit)), (Entries{{1, 1}}));
  ASSERT_TRUE(FindById(loaded, 2, p));
  EXPECT_EQ(p.name, "Doe, Jane");
  EXPECT_FALSE(FindById(PlayerDatabase{}, 2, p));
  EXPECT_TRUE(WordSearch(PlayerDatabase{}, "Jane", limit).empty());
}

// A database without an index (too little memory, or made not to be
// searched) finds the same players by the scans.
TEST_F(SearchIndexTest, ADatabaseWithoutIndexFindsTheSame) {
  const std::vector<PlayerRow> rows{{"Doe, Jane", 5, 2400}, {"Roe, Rick", 6, 2300}, {"Jane, Doe", 5, 2200}};
  PlayerDatabase indexed = DatabaseOf(rows), scanned = DatabaseOf(rows, Indexing::kNone);
  EXPECT_EQ(scanned.Index(), nullptr);
  EXPECT_TRUE(scanned.RatingOrder());
  for (const char* name : {"Jane", "Doe, Jane", "Rikc Roe"}) {
    EXPECT_EQ(Of(WordSearch(scanned, name, limit)), Of(WordSearch(indexed, name, limit))) << name;
    EXPECT_EQ(Of(RankedSearch(scanned, name, limit)), Of(RankedSearch(indexed, name, limit))) << name;
  }
  Player p;
  int32_t a, b;
  EXPECT_TRUE(FindByIdAt(scanned, 5, p, a) && FindByIdAt(indexed, 5, p, b));
  EXPECT_EQ(a, b);
}

TEST_F(SearchIndexTest, FirstPlayerOfAnIdAmongManyThatShareIt) {
  std::vector<PlayerRow> rows;
  for (int i = 0; i < 30000; ++i) rows.push_back(PlayerRow{"P", i % 3 == 0 ? 0 : 100000 + i * 7});
  rows.push_back(PlayerRow{"Negative", -42});
  rows.push_back(PlayerRow{"Largest", INT32_MAX});
  rows.push_back(PlayerRow{"Again", 100000 + 7});
  db = DatabaseOf(rows);
  Player p;
  int32_t index = 0;
  for (int32_t id : {0, 100007, 100000 + 29999 * 7, -42, INT32_MAX}) {
    ASSERT_TRUE(FindByIdAt(db, id, p, index)) << id;
    EXPECT_EQ(index, FindIdLinear(db.Players(), id)) << id;
  }
  EXPECT_EQ(index, 30001);
  for (int32_t id : {100000, 1, -1, INT32_MIN}) {
    EXPECT_FALSE(FindByIdAt(db, id, p, index)) << id;
    EXPECT_EQ(index, -1);
  }
}

TEST_F(SearchIndexTest, ASeparatorInsideTheWindowCountsAsTheChangedLetter) {
  // "sm th" differs from "smath" only where the blank stands; "smat-h" and
  // "s-math" likewise, across other separators and at either end.
  Players({"Sm th, Jo", "Smat-h, Al", "Xs-math", "Sm, Ath", "Smith, Jo", "Nobody"});
  limit = 20;
  hits = RankedSearch(db, "Smath", limit);
  EXPECT_EQ(Of(hits), (Entries{{0, 4}, {1, 4}, {2, 4}, {4, 4}}));
  for (std::string_view query : {"Smath", "Smath Jo", "Jo Smath", "Xsmath", "Math Al", "Tha"})
    ExpectSameAsScans(query, 20);
}

TEST_F(SearchIndexTest, OtherBytesInsideWordsAreSubstitutedLikeLetters) {
  Players({"M\xFCller, Jo", "Mu1ler, Al", "Muller2, Bo", "Smith", "M\xFC\xFCller"});
  limit = 20;
  hits = RankedSearch(db, "Muller", limit);
  EXPECT_EQ(Of(hits), (Entries{{2, 2}, {0, 4}, {1, 4}}));
  ExpectSameAsScans("Muller Jo", 20);
  ExpectSameAsScans("Mueller", 20);
}

TEST_F(SearchIndexTest, PlayersThatCannotBeatTheLastKeptTotalAreSkippedLikeTheScanSkipsThem) {
  // For "Smith John": totals 2, 3, 7, 8 (two ways), 9 (two ways), 13, 251,
  // 252 (two ways), 253, 254 and none, in many orders and with small limits,
  // so that the list fills with each of them as its last entry.
  const std::vector<std::string> kinds{"Smith, John",   "Smith, Johnson", "Smyth, John",  "Smyth, Johnson",
                                       "Smith, Jxhn",   "Smyth, Xjohnx",  "Smithy, Jxhn", "Smyth, Jxhn",
                                       "Smith, Peter",  "Smithy, Peter",  "Brown, John",  "Xsmithx, Peter",
                                       "Brown, Johnny", "Brown, Xjohnx",  "Brown, Peter"};
  std::mt19937 rng(7);
  for (int round = 0; round < 60; ++round) {
    // A few of the kinds at a time, so that the best totals differ.
    std::vector<std::string> some;
    for (size_t n = 2 + rng() % 4; some.size() < n;) some.push_back(kinds[rng() % kinds.size()]);
    std::vector<std::string> names;
    for (int i = 0; i < 200; ++i) names.push_back(some[rng() % some.size()]);
    Players(names);
    for (size_t limit = 1; limit <= 8; ++limit) {
      ExpectSameAsScans("Smith John", limit);
      ExpectSameAsScans("Smyth Jxhn", limit);
    }
    if (HasFailure()) break;
  }
  Players(kinds);
  RankedMatchesLinear(db.Players(), WordsOfName("Smith John"), 20, hits);
  Entries totals = Of(hits);
  EXPECT_EQ(totals, (Entries{{0, 2},
                             {1, 3},
                             {2, 7},
                             {3, 8},
                             {4, 8},
                             {5, 9},
                             {6, 9},
                             {7, 13},
                             {8, 251},
                             {9, 252},
                             {10, 252},
                             {11, 253},
                             {12, 253},
                             {13, 254}}));
}

// Names from a small vocabulary joined by every kind of separator, with
// digits, bytes above 127 and repeated words, over several of the chunks
// the ranked search gathers players in; queries from those names, changed.
TEST_F(SearchIndexTest, AgreesWithTheScansOnManyHardQueries) {
  std::mt19937 rng(20240607);
  auto below = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
  const std::vector<std::string> vocabulary{
      "ann", "anna", "jo",      "johan", "johanna",   "li",     "lin",   "smith", "smyth", "smithson", "van",
      "der", "berg", "bergman", "o",     "m\xFCller", "mu1ler", "kumar", "kuma",  "umar",  "x"};
  const std::string separators = " ,-'.()/\t";
  auto makeName = [&] {
    std::string name;
    for (size_t i = 0, n = 1 + below(4); i < n; ++i) {
      if (i > 0) name += separators.substr(below(separators.size()), 1 + below(2));  // one or two
      std::string w = vocabulary[below(vocabulary.size())];
      if (below(3) == 0) w[0] = static_cast<char>(w[0] - 'a' + 'A');
      name += w;
    }
    return name;
  };
  std::vector<std::string> names;
  for (int i = 0; i < 12000; ++i) names.push_back(makeName());
  Players(names);

  for (int q = 0; q < 1500; ++q) {
    std::string query = below(4) == 0 ? makeName() : names[below(names.size())];
    switch (below(4)) {
      case 0:  // one byte changed, anywhere
        if (!query.empty()) query[below(query.size())] = static_cast<char>('a' + below(26));
        break;
      case 1:  // a letter dropped
        if (!query.empty()) query.erase(below(query.size()), 1);
        break;
      default: break;
    }
    size_t limit = below(3) == 0 ? 1 + below(21) : 20;
    ExpectSameAsScans(query, limit);
    if (HasFailure()) break;
  }
}

TEST_F(SearchIndexTest, HoldersOfWordsStartsAndLettersAgreeWithTheScan) {
  std::mt19937 rng(20241208);
  auto below = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
  std::vector<std::string> vocabulary{"ann", "anna",  "jo",        "johan", "johanna", "li",
                                      "lin", "smith", "van",       "der",   "berg",    "o",
                                      "x",   "kumar", "m\xFCller", "mu1ler"};
  for (char c = 'a'; c < 'a' + 20; ++c)
    vocabulary.push_back(std::string("ka") + c + "x");  // a start of 20 words
  const std::string separators = " ,-'.";
  std::vector<std::string> names;
  for (int i = 0; i < 3000; ++i) {
    std::string name;
    for (size_t k = 0, n = 1 + below(4); k < n; ++k) {
      if (k > 0) name += separators[below(separators.size())];
      std::string w = vocabulary[below(vocabulary.size())];
      if (below(3) == 0) w[0] = static_cast<char>(w[0] - 'a' + 'A');
      name += w;
    }
    names.push_back(name);
  }
  Players(names);
  const SearchIndex* index = db.Index();
  ASSERT_NE(index, nullptr);
  const std::vector<std::string> starts{"an", "jo", "joh", "li", "sm", "ka", "kab", "ku", "m\xFC", "zz"};
  for (int q = 0; q < 400; ++q) {
    HolderQuery query;
    if (q == 0) {
      query.starts = {"ka"};  // only a start of many words
    } else {
      for (size_t k = below(3); k > 0; --k) {
        const std::string& w = vocabulary[below(vocabulary.size())];
        if (w.size() >= 2) query.whole.push_back(w);
      }
      for (size_t k = below(3); k > 0; --k) query.starts.push_back(starts[below(starts.size())]);
      for (size_t k = below(3); k > 0; --k) query.letters |= uint32_t{1} << below(26);
      if (below(4) == 0) query.letters |= kRepeatedLetter;
    }
    // Every holder, then a visit that passes over some and stops early.
    for (int skipping = 0; skipping < 2; ++skipping) {
      std::vector<int32_t> linear, indexed;
      auto collect = [&](std::vector<int32_t>& into) {
        return [&, skipping](int32_t i) {
          into.push_back(i);
          if (!skipping) return i + 1;
          return into.size() == 25 ? kStopVisit : i + 1 + i % 7;
        };
      };
      HoldersLinear(db.Players(), query, collect(linear));
      HoldersIndexed(*index, db.Players(), query, collect(indexed));
      EXPECT_EQ(indexed, linear) << "query " << q << (skipping ? ", skipping" : "");
    }
    if (HasFailure()) break;
  }
}
