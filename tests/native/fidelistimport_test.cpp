#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

#include "players/fidelistimport.h"
#include "players/playercodes.h"
#include "players/playersfile.h"
#include "players/playerstore.h"
#include "tests/tempdir.h"

namespace {

const std::string kHeader =
    "ID Number      Name                                                         Fed Sex Tit  "
    "WTit OTit           FOA SRtng SGm SK RRtng RGm Rk BRtng BGm BK B-day Flag";

const std::string kFront =
    "ID Number      Name                                                         Fed Sex Tit  WTit OTit      "
    "     ";

// A line of a single list: its rating and birth year at 0-based columns.
std::string SingleLine(size_t rating, size_t birth) {
  std::string s(birth + 10, ' ');
  auto put = [&](size_t at, const std::string& text) { s.replace(at, text.size(), text); };
  put(0, "12345678");
  put(15, "Doe, Jane");
  put(76, "NOR");
  put(80, "F");
  put(84, "WIM");
  put(rating, "2405  0   20");
  put(birth, "1990");
  return s;
}

struct Line {
  std::string id = "12345678";
  std::string name = "Doe, Jane";
  std::string fed = "NOR";
  std::string sex = "F";
  std::string title = "";
  std::string rating = "2405";
  std::string birth = "1990";
};

// A 162-character line of the combined layout.
std::string ListLine(const Line& l) {
  std::string s(162, ' ');
  auto put = [&](int column, const std::string& text) { s.replace(column - 1, text.size(), text); };
  put(1, l.id);
  put(16, l.name);
  put(77, l.fed);
  put(81, l.sex);
  put(85, l.title);
  put(114, l.rating);
  put(120, "0   20");
  put(153, l.birth);
  return s;
}

std::string ListText(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
  std::string text = kHeader + end;
  for (const std::string& l : lines) text += l + end;
  return text;
}

void WriteText(const std::string& file, const std::string& text) {
  WriteAllBytes(file, std::vector<unsigned char>(text.begin(), text.end()));
}

class Import : public ::testing::Test {
 protected:
  // Reads the list at f in file order; false when it is refused.
  bool Read(const std::string& f) {
    read = ReadFideList(f, error);
    return read.has_value();
  }
  bool ImportText(const std::string& text) {
    std::string f = dir.File("players_list.txt");
    WriteText(f, text);
    return Read(f);
  }
  std::span<const Player> Players() const { return read ? read->items : std::span<const Player>{}; }
  const Player& Only() {
    EXPECT_EQ(Players().size(), 1u);
    return Players()[0];
  }

  TempDir dir;
  std::optional<PlayerStore> read;
  std::string error;
};

}  // namespace

// The combined list, and FIDE's single standard list (today's and that of
// 2012) read through its header, whose file name must say its kind: the
// standard rating is the Elo.
TEST_F(Import, ReadsEveryColumnOfTheCombinedAndTheStandardLists) {
  const std::pair<std::string, std::string> lists[] = {
      {"players_list.txt", ListText({ListLine({.title = "WIM"})})},
      // No final line end, as FIDE writes them.
      {"standard_mar26frl.txt", kFront + "FOA MAR26 Gms K  B-day Flag\n" + SingleLine(113, 126)},
      {"standard_sep12frl.txt", kFront + "sep12 Gms K  B-day Flag\n" + SingleLine(109, 122)}};
  for (const auto& [name, text] : lists) {
    std::string f = dir.File(name);
    WriteText(f, text);
    ASSERT_TRUE(Read(f)) << name;
    const Player& p = Only();
    EXPECT_EQ(p.name, "Doe, Jane");
    EXPECT_EQ(p.fideId, 12345678);
    EXPECT_EQ(p.federation, 135);
    EXPECT_EQ(p.sex, Sex::kFemale);
    EXPECT_EQ(p.title, Title::kWIM);
    EXPECT_EQ(p.rating, 2405);
    EXPECT_EQ(p.birthYear, 1990);
  }
}

// What the database does not take is refused with the reason: FIDE's
// other downloads (a rapid or blitz list, the XML list, the older formats), a
// file without FIDE's header, a list with no players, and a download cut in
// the middle of its last line, whose digits would be taken for a rating.
TEST_F(Import, OtherDownloadsAndBrokenListsAreRefused) {
  const std::string single = kFront + "FOA MAR26 Gms K  B-day Flag\n" + SingleLine(113, 126) + "\n";
  struct Case {
    std::string file, text, why;
  };
  const Case cases[] = {
      {"rapid_mar26frl.txt", single, "is a rapid list"},
      {"blitz_mar26frl.txt", single, "is a blitz list"},
      {"mar26frl.txt", single, "does not say its kind"},
      {"players_list_xml_foa.xml",
       "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<playerslist>\n<player>\n<fideid>1503014</fideid>\n"
       "<name>Carlsen, Magnus</name>\n<title>GM</title>\n</player>\n</playerslist>\n",
       "not a FIDE rating list"},
      {"list_mar11.txt",
       "ID number Name                              TitlFed  Mar11 GamesBorn  Flag\r\n"
       " 4158814  Andreikin, Dmitry                 g   RUS  2686    9  1990  \r\n",
       "format before 2013"},
      {"jul03frl.txt", "\n 1701991  Aaberg, Anton                         SWE  2404    0  17.01.72       \n",
       "format before 2013"},
      {"players_list.txt",
       ListLine({.name = "First, Line"}) + "\n" + ListLine({.name = "Second, Line"}) + "\n",
       "not a FIDE rating list"},
      {"players_list.txt", kHeader + "\r\n", "lists no players"},
      {"players_list.txt", kHeader + "\r\n" + ListLine({.name = "lower, case"}) + "\r\n", "lists no players"},
      {"players_list.txt", "", "is empty"},
      {"players_list.txt", ListText({ListLine({})}) + ListLine({}).substr(0, 116),
       "ends in the middle of a line"},
      {"players_list.txt", ListText({}) + ListLine({}).substr(0, 154) + "\x1A rest", "ends in the middle"},
  };
  for (const Case& c : cases) {
    std::string f = dir.File(c.file);
    WriteText(f, c.text);
    EXPECT_FALSE(Read(f)) << c.file;
    EXPECT_NE(error.find(c.why), std::string::npos) << c.file << ": " << error;
  }
}

TEST_F(Import, LastLineWithoutLineEndIsImported) {
  for (std::string end : {"\r\n", "\n"}) {
    std::string text = ListText({ListLine({.name = "A, B"})}, end) + ListLine({.name = "Last, One"});
    ASSERT_TRUE(ImportText(text));
    ASSERT_EQ(Players().size(), 2u);
    EXPECT_EQ(Players()[1].name, "Last, One");
    EXPECT_EQ(Players()[1].birthYear, 1990);
  }
}

TEST_F(Import, TitleColumnsGiveOnlyTheSixKnownTitles) {
  std::vector<std::pair<std::string, int>> cases{{"GM", 0},  {"IM", 1},  {"FM", 2},  {"WGM", 3}, {"WIM", 4},
                                                 {"WFM", 5}, {"CM", 6},  {"WCM", 6}, {"WF", 6},  {"WC", 6},
                                                 {"", 6},    {"GMX", 6}, {"g", 6},   {"WGMX", 6}};
  std::vector<std::string> lines;
  for (auto& [title, code] : cases) lines.push_back(ListLine({.title = title}));
  ASSERT_TRUE(ImportText(ListText(lines)));
  ASSERT_EQ(Players().size(), cases.size());
  for (size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(static_cast<int>(Players()[i].title), cases[i].second) << '"' << cases[i].first << '"';
}

TEST_F(Import, FederationSexAndNumbersFollowTheirColumnRules) {
  ASSERT_TRUE(ImportText(ListText({
      ListLine({.fed = "XYZ", .sex = "M", .rating = "2450"}),
      ListLine({.fed = "nor", .sex = "f", .rating = "", .birth = ""}),
      ListLine({.fed = "IVB", .sex = "", .rating = "24a0", .birth = "19x"}),
      ListLine({.fed = "FID", .sex = "X", .rating = " 2450", .birth = "0000"}),
      ListLine({.id = " 12345", .rating = "123456"}),
      ListLine({.id = "99999999999", .name = "Big, Number"}),
  })));
  auto list = Players();
  ASSERT_EQ(list.size(), 6u);
  EXPECT_EQ(list[0].federation, 0);
  EXPECT_EQ(list[0].sex, Sex::kMale);
  EXPECT_EQ(list[0].rating, 2450);
  EXPECT_EQ(list[1].federation, 0) << "codes are case-sensitive";
  EXPECT_EQ(list[1].sex, Sex::kNone);
  EXPECT_EQ(list[1].rating, 0);
  EXPECT_EQ(list[1].birthYear, 0);
  EXPECT_EQ(list[2].federation, 28) << "the first IVB row";
  EXPECT_EQ(list[2].sex, Sex::kNone);
  EXPECT_EQ(list[2].rating, 24);
  EXPECT_EQ(list[2].birthYear, 19);
  EXPECT_EQ(list[3].federation, 208);
  EXPECT_EQ(list[3].rating, 0) << "column 114 is blank";
  EXPECT_EQ(list[3].birthYear, 0);
  EXPECT_EQ(list[4].fideId, 0) << "the ID column starts with a blank";
  EXPECT_EQ(list[4].rating, 1234) << "at most four digits";
  EXPECT_EQ(list[5].fideId, 0) << "too large for an ID";
}

TEST_F(Import, OnlyNamesStartingWithACapitalLetterAreImported) {
  std::string withInnerBlanks = "Van  Der Berg,  Anna";
  std::string longest(61, 'Q');
  ASSERT_TRUE(ImportText(ListText({
      ListLine({.name = ""}), ListLine({.name = ", Mayilsamy K"}), ListLine({.name = "de Souza, Ana"}),
      ListLine({.name = "\xC4ngstr\xF6m, Eva"}), ListLine({.name = " Leading, Blank"}),
      ListLine({.name = withInnerBlanks}), ListLine({.name = longest}),
      "12345678       X",  // a short line: every later column blank
  })));
  auto list = Players();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].name, withInnerBlanks);
  EXPECT_EQ(list[1].name, longest);
  EXPECT_EQ(list[2].name, "X");
  EXPECT_EQ(list[2].fideId, 12345678);
  EXPECT_EQ(list[2].federation, 0);
  EXPECT_EQ(list[2].sex, Sex::kNone);
  EXPECT_EQ(list[2].title, Title::kNone);
  EXPECT_EQ(list[2].rating, 0);
  EXPECT_EQ(list[2].birthYear, 0);
}

TEST_F(Import, LineEndsAndEndOfTextMarker) {
  // A lone carriage return is part of the line; Ctrl-Z ends the text.
  std::string shortLine = "1              Cr, Inside\rX";
  std::string crAtEnd = "2              Short, Line\r";
  std::string text = kHeader + "\n" + shortLine + "\n" + crAtEnd + "\n" + ListLine({.name = "Before, End"}) +
                     "\r\n\x1A" + ListLine({.name = "After, End"}) + "\r\n";
  ASSERT_TRUE(ImportText(text));
  auto list = Players();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].name, "Cr, Inside\rX");
  EXPECT_EQ(list[1].name, "Short, Line");
  EXPECT_EQ(list[2].name, "Before, End");

  ASSERT_TRUE(ImportText(ListText({}) + ListLine({.name = "Whole, Line"}) + "\x1A rest"));
  EXPECT_EQ(Only().name, "Whole, Line");
}

TEST_F(Import, LinesLongerThanTheReadBufferAndAcrossItsBoundaries) {
  // Many lines of varying length so that line ends fall everywhere in the
  // read chunks, and one line of several megabytes.
  std::vector<std::string> lines;
  for (int i = 0; i < 30000; ++i) {
    std::string l = ListLine({.id = std::to_string(i + 1),
                              .name = "Player, Number " + std::to_string(i),
                              .rating = std::to_string(1000 + i % 1700)});
    l.resize(static_cast<size_t>(i % 2 ? 100 + i % 14 : 117 + i % 46), ' ');
    lines.push_back(l);
  }
  lines[20000] = ListLine({.id = "777", .name = "Very, Long"}) + std::string(3 << 20, 'x');
  ASSERT_TRUE(ImportText(ListText(lines)));
  auto list = Players();
  ASSERT_EQ(list.size(), lines.size());
  for (size_t i = 0; i < list.size(); ++i) {
    if (i == 20000) continue;
    ASSERT_EQ(list[i].fideId, static_cast<int32_t>(i + 1));
    ASSERT_EQ(list[i].name, "Player, Number " + std::to_string(i));
    ASSERT_EQ(list[i].rating, i % 2 ? 0 : 1000 + i % 1700) << i;
    // The birth year (columns 153-156) of a line cut inside it or before.
    const size_t length = lines[i].size();
    const int birth = length >= 156 ? 1990 : length == 155 ? 199 : length == 154 ? 19 : length == 153 ? 1 : 0;
    ASSERT_EQ(list[i].birthYear, birth) << i;
  }
  EXPECT_EQ(list[20000].name, "Very, Long");
  EXPECT_EQ(list[20000].birthYear, 1990);
}

TEST_F(Import, ReadErrorsAreRefused) {
  EXPECT_FALSE(Read(dir.File("missing.txt")));
  EXPECT_FALSE(Read(dir.path.string()));  // a folder: opening or reading fails
  EXPECT_FALSE(ImportFideList(dir.path.string(), error, Indexing::kNone));
}

TEST_F(Import, SortKeepsListOrderAmongEqualRatingsAndPutsUnratedLast) {
  ASSERT_TRUE(ImportText(ListText({
      ListLine({.name = "Unrated, First", .rating = ""}),
      ListLine({.name = "Equal, One", .rating = "2400"}),
      ListLine({.name = "Low, Player", .rating = "1000"}),
      ListLine({.name = "Equal, Two", .rating = "2400"}),
      ListLine({.name = "High, Player", .rating = "2800"}),
      ListLine({.name = "Unrated, Second", .rating = "0"}),
      ListLine({.name = "Equal, Three", .rating = "2400"}),
  })));
  SortByRating(*read);
  std::vector<std::string> names;
  for (const Player& p : Players()) names.emplace_back(p.name);
  EXPECT_EQ(names, (std::vector<std::string>{"High, Player", "Equal, One", "Equal, Two", "Equal, Three",
                                             "Low, Player", "Unrated, First", "Unrated, Second"}));
}

TEST_F(Import, SortHandlesAnySixteenBitRating) {
  std::vector<PlayerRow> rows{{"A", 1, 10}, {"B", 2, 65535}, {"C", 3, 10000}, {"D", 4, 10}};
  PlayerStore store = StoreOf(rows);
  SortByRating(store);
  std::vector<int32_t> ids;
  for (const Player& p : store.items) ids.push_back(p.fideId);
  EXPECT_EQ(ids, (std::vector<int32_t>{2, 3, 1, 4}));
}

// ---- Real lists ----

namespace {

std::string TestData(const std::string& relative) {
  std::string path = std::string(VELMARSH_TESTDATA) + "/" + relative;
  return std::filesystem::exists(path) ? path : std::string();
}

#define REQUIRE_TESTDATA(var, relative) \
  std::string var = TestData(relative); \
  if (var.empty()) GTEST_SKIP() << "test data not found: " << relative

struct Totals {
  size_t players = 0;
  int64_t ratings = 0, birthYears = 0, federations = 0;
  size_t unknownFederation = 0, women = 0;
  std::array<size_t, 7> titles{};
};

Totals TotalsOf(std::span<const Player> list) {
  Totals t;
  t.players = list.size();
  for (const Player& p : list) {
    t.ratings += p.rating;
    t.birthYears += p.birthYear;
    t.federations += p.federation;
    t.unknownFederation += p.federation == 0;
    t.women += p.sex == Sex::kFemale;
    ++t.titles.at(static_cast<size_t>(p.title));
  }
  return t;
}

}  // namespace

// The totals below come from an independent reading of the same files.
TEST_F(Import, RealCombinedListExcerptOf2018) {
  REQUIRE_TESTDATA(f, "fide/players_list_foa_2018_excerpt.txt");
  ASSERT_TRUE(Read(f));
  Totals t = TotalsOf(Players());
  EXPECT_EQ(t.players, 996u) << "two empty names and \", Mayilsamy K\" are skipped";
  EXPECT_EQ(t.ratings, 418768);
  EXPECT_EQ(t.birthYears, 1919036);
  EXPECT_EQ(t.federations, 85723);
  EXPECT_EQ(t.unknownFederation, 6u);
  EXPECT_EQ(t.women, 175u);
  EXPECT_EQ(t.titles, (std::array<size_t, 7>{1, 3, 2, 0, 1, 1, 988}));
  EXPECT_EQ(Players()[0].name, "A B M Hasibuzzaman, Tapan");
  EXPECT_EQ(Players()[0].fideId, 10224084);
}

TEST_F(Import, RealRapidListOf2012) {
  REQUIRE_TESTDATA(f, "fide/rapid_sep12_combined_layout.txt");
  ASSERT_TRUE(Read(f));
  Totals t = TotalsOf(Players());
  EXPECT_EQ(t.players, 5903u);
  EXPECT_EQ(t.ratings, 11827213);
  EXPECT_EQ(t.birthYears, 11389794);
  EXPECT_EQ(t.federations, 672323);
  EXPECT_EQ(t.unknownFederation, 15u);
  EXPECT_EQ(t.women, 859u);
  EXPECT_EQ(t.titles, (std::array<size_t, 7>{280, 320, 391, 46, 48, 0, 4818}))
      << "the two-letter women's titles of 2012 are no titles here";

  std::optional<PlayerDatabase> imported = ImportFideList(f, error, Indexing::kNone);
  ASSERT_TRUE(imported);
  auto list = imported->Players();
  EXPECT_EQ(list[0].name, "Carlsen, Magnus");
  EXPECT_TRUE(imported->RatingOrder());
  std::string out = dir.File("players.dat");
  ASSERT_TRUE(SavePlayers(*imported, out));
  PlayerDatabase loaded = LoadPlayers(out);
  ASSERT_EQ(loaded.Players().size(), list.size());
  for (size_t i = 0; i < list.size(); ++i) {
    ASSERT_EQ(loaded.Players()[i].name, list[i].name);
    ASSERT_EQ(loaded.Players()[i].fideId, list[i].fideId);
    ASSERT_EQ(loaded.Players()[i].rating, list[i].rating);
  }
}

// Today's standard list, named as FIDE names it, and the rapid list of 2012
// and the format of 2011, which it refuses.
TEST_F(Import, RealSingleListsOfOtherLayouts) {
  REQUIRE_TESTDATA(standard, "fide/other-layouts/standard_mar26_AHO.txt");
  ASSERT_TRUE(Read(standard));
  Totals t = TotalsOf(Players());
  EXPECT_EQ(t.players, 95u);
  EXPECT_EQ(t.ratings, 167300);
  EXPECT_EQ(t.birthYears, 181013);
  for (std::string refused :
       {"fide/other-layouts/rapid_sep12frl.txt", "fide/other-layouts/list_mar11_old_format.txt",
        "fide/before-2005/OCT02FRL.TXT"}) {
    EXPECT_FALSE(Read(TestData(refused))) << refused;
  }
}

// players.dat of the combined lists, byte for byte as before the import
// checked what it reads (FNV-1a of the file written then).
TEST_F(Import, RealCombinedListsWriteTheSameBytesAsBefore) {
  for (auto [file, size, hash] :
       {std::tuple{"fide/players_list_foa_2018_excerpt.txt", 26478u, 0x09cd848224b32718ull},
        std::tuple{"fide/rapid_sep12_combined_layout.txt", 167906u, 0xa89a949e922979bfull}}) {
    REQUIRE_TESTDATA(f, file);
    std::optional<PlayerDatabase> imported = ImportFideList(f, error, Indexing::kNone);
    ASSERT_TRUE(imported);
    std::string out = dir.File("players.dat");
    ASSERT_TRUE(SavePlayers(*imported, out));
    std::vector<unsigned char> bytes = ReadAllBytes(out);
    uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char b : bytes) h = (h ^ b) * 0x100000001b3ull;
    EXPECT_EQ(bytes.size(), size) << file;
    EXPECT_EQ(h, hash) << file;
  }
}
