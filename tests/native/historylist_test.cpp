#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ratings/historylist.h"
#include "tests/tempdir.h"
#include "tools/fidegen.h"

namespace {

// The player's standard rating in the list (0: unrated); nullopt when he is
// not in it.
std::optional<uint16_t> Rating(const HistoryList& list, int32_t id, RatingKind kind = RatingKind::kStandard) {
  for (const ListRating& r : list.ratings[static_cast<int>(kind)])
    if (r.id == id) return r.rating;
  return std::nullopt;
}

struct Dir : TempDir {
  std::string Write(const std::string& name, const std::string& text) {
    WriteAllBytes(File(name), std::vector<unsigned char>(text.begin(), text.end()));
    return File(name);
  }
};

HistoryList Read(const std::string& path, const HistoryListChoice& choice, std::string& error) {
  HistoryList list;
  error.clear();
  if (!ReadHistoryList(path, choice, list, error)) {
    EXPECT_FALSE(error.empty());
  }
  return list;
}

const std::string kOldHeader = "ID number Name                              TitlFed  Mar11 GamesBorn  Flag";
const std::string kOldLine = " 4158814  Andreikin, Dmitry                 g   RUS  2686    9  1990  ";
const std::string kEarlyLine =
    " 1701991  Aaberg, Anton                         SWE  2404    0  17.01.72       ";

}  // namespace

TEST(RepeatedIds, LaterLineOfOnePersonNoneForTwoPeople) {
  struct Line {
    int32_t id;
    std::string_view name, birth;
    uint16_t rating;
  };
  const Line list[] = {
      {300, "Doe, Jane", "1990", 2100},
      {5, "Roe, Rick", "01.02.60", 1900},
      {300, "Doe, Jane", "1990", 2186},  // re-rated: the later line
      {2000000000, "Big, Id", "", 2000},
      {7, "Becker, Thomas", "13.07.64", 1833},
      {7, "Becker, Thomas", "31.05.70", 2169},  // another person under the same ID
      {9, "Same, Name", "", 2200},
      {9, "Same, Name", "", 2210},
      {9, "Other, Name", "", 2220},
  };
  std::vector<ListRating> players;
  for (const Line& l : list) players.push_back({l.id, l.rating});
  std::vector<int32_t> repeated = SortById(players);
  EXPECT_EQ(repeated, (std::vector<int32_t>{7, 9, 300}));
  std::vector<RepeatedLine> lines;  // by ID, each in the list's order
  for (int32_t id : repeated)
    for (const Line& l : list)
      if (l.id == id) lines.push_back({l.id, PersonKey(l.name, l.birth)});
  std::vector<ListRating> sorted = players;
  ASSERT_TRUE(SettleRepeatedIds(players, lines));
  std::vector<std::pair<int32_t, uint16_t>> got;
  for (const ListRating& p : players) got.emplace_back(p.id, p.rating);
  EXPECT_EQ(got, (std::vector<std::pair<int32_t, uint16_t>>{
                     {5, 1900}, {7, 0}, {9, 0}, {300, 2186}, {2000000000, 2000}}));
  lines.pop_back();  // the list changed between two readings
  EXPECT_FALSE(SettleRepeatedIds(sorted, lines));
}

// The real repeated IDs: Alsina Leal of October 2002 (2101 with no games,
// then 2186 with 13), Ancheev of July 2003 (one person, two ratings), and
// Becker and Kuznetsov of July 2003 (two birth dates under one ID).
TEST(RepeatedIds, RealListsOf2002And2003) {
  const std::string folder = std::string(VELMARSH_TESTDATA) + "/fide/before-2005/";
  if (!std::filesystem::exists(folder)) GTEST_SKIP() << "test data not found";
  std::string error;
  HistoryList oct02 = Read(folder + "OCT02FRL.TXT", {}, error);
  ASSERT_EQ(oct02.ratings[0].size(), 160u) << error;
  EXPECT_EQ(Rating(oct02, 2252627), 2186);
  HistoryList jul03 = Read(folder + "jul03frl.txt", {}, error);
  ASSERT_EQ(jul03.ratings[0].size(), 169u) << error;
  EXPECT_EQ(jul03.month, MakeMonth(2003, 7)) << "from the file name";
  EXPECT_EQ(Rating(jul03, 4167252), 1996);
  EXPECT_EQ(Rating(jul03, 4624904), 0);
  EXPECT_EQ(Rating(jul03, 4159853), 0);
  EXPECT_EQ(Rating(jul03, 4650174), 2187) << "the other Becker, Thomas";
}

TEST(KindAndMonth, DecidedByTheListItsNameAndTheChoices) {
  Dir dir;
  std::string error;
  // The format before 2013 holds standard ratings, whatever its name says.
  std::string old = dir.Write("blitz_mar11frl.txt", kOldHeader + "\r\n" + kOldLine + "\r\n");
  HistoryList list = Read(old, {}, error);
  EXPECT_EQ(list.kinds, std::vector<RatingKind>{RatingKind::kStandard}) << error;
  EXPECT_EQ(list.month, MakeMonth(2011, 3));
  Read(old, {.month = {}, .kind = RatingKind::kBlitz}, error);
  EXPECT_NE(error.find("is a standard list"), std::string::npos) << error;
  Read(old, {.month = MakeMonth(2011, 4), .kind = {}}, error);
  EXPECT_NE(error.find("is the list of 2011-03, not of 2011-04"), std::string::npos) << error;

  // A list of 2001 to 2004 without a header: its month from its name, or
  // --month; its kind standard.
  std::string early = dir.Write("JUL03FRL.TXT", "\n" + kEarlyLine + "\n");
  list = Read(early, {}, error);
  EXPECT_EQ(list.month, MakeMonth(2003, 7)) << error;
  EXPECT_EQ(list.kinds, std::vector<RatingKind>{RatingKind::kStandard});
  EXPECT_EQ(Read(early, {.month = MakeMonth(2003, 8), .kind = {}}, error).month, MakeMonth(2003, 8));
  Read(early, {.month = {}, .kind = RatingKind::kRapid}, error);
  EXPECT_NE(error.find("is a standard list"), std::string::npos) << error;
  Read(dir.Write("list.txt", kEarlyLine + "\n"), {}, error);
  EXPECT_NE(error.find("give --month"), std::string::npos) << error;

  // A single list's header does not say its kind.
  std::string single =
      dir.Write("sep12frl.txt", std::string("ID Number      Name") + std::string(91, ' ') +
                                    "sep12 Gms K  B-day Flag\n" + "1503014        Carlsen, Magnus" +
                                    std::string(80, ' ') + "2845  0   20 1990\n");
  Read(single, {}, error);
  EXPECT_NE(error.find("give --kind"), std::string::npos) << error;
  list = Read(single, {.month = {}, .kind = RatingKind::kRapid}, error);
  EXPECT_EQ(list.kinds, std::vector<RatingKind>{RatingKind::kRapid}) << error;
  EXPECT_EQ(Rating(list, 1503014, RatingKind::kRapid), 2845);
}

// A download that broke off in the middle of its last line, in every layout
// and at every byte of that line: the list is refused, or everything read
// is what the whole list says (the cut never yields a rating it does not).
TEST(CutLists, NoCutDigitsAreEverTaken) {
  for (ListStyle style :
       {ListStyle::kCombined, ListStyle::kCombinedWithoutFoa, ListStyle::kSingle2012, ListStyle::kSingle,
        ListStyle::kBefore2013, ListStyle::kJan01, ListStyle::kApr01, ListStyle::kOct02}) {
    Dir dir;
    SeriesOptions series;
    series.list.style = style;
    series.months = 1;
    std::string path;
    ASSERT_TRUE(WriteSeries(dir.path.string(), 3, 200, series,
                            [&](const std::string& p, const ListOptions&, auto) { path = p; }));
    const HistoryListChoice choice{.month = MakeMonth(2012, 1), .kind = RatingKind::kStandard};
    std::string error;
    HistoryList whole = Read(path, choice, error);
    ASSERT_FALSE(whole.ratings[0].empty()) << error;
    std::vector<unsigned char> bytes = ReadAllBytes(path);
    std::string text(bytes.begin(), bytes.end());
    size_t end = text.size() - (text.ends_with("\r\n") ? 2 : 1);
    size_t lastLine = text.rfind('\n', end - 1) + 1;
    int refused = 0;
    for (size_t cut = lastLine; cut <= end; ++cut) {
      std::string name = "cut_" + std::filesystem::path(path).filename().string();
      HistoryList read = Read(dir.Write(name, text.substr(0, cut)), choice, error);
      if (read.ratings[0].empty()) {
        EXPECT_NE(error.find("ends in the middle of a line: download it again"), std::string::npos) << error;
        ++refused;
        continue;
      }
      ASSERT_GE(read.ratings[0].size() + 1, whole.ratings[0].size()) << cut;
      for (const ListRating& r : read.ratings[0])
        ASSERT_EQ(Rating(whole, r.id), r.rating) << static_cast<int>(style) << " cut at " << cut;
    }
    EXPECT_GT(refused, 3) << static_cast<int>(style);
  }
}
