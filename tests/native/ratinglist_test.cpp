#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "ratings/ratinglist.h"
#include "tests/tempdir.h"

namespace {

const std::string kTestData = VELMARSH_TESTDATA;

struct ReadList {
  bool ok = false;
  std::string error;
  ListFormat format;
  std::vector<ListPlayer> players;
  std::vector<std::string> names, births;  // the players' names and birth dates, kept
  const ListPlayer* Find(int32_t id) const {
    for (const ListPlayer& p : players)
      if (p.id == id) return &p;
    return nullptr;
  }
  int Rated(RatingKind k) const {
    int n = 0;
    for (const ListPlayer& p : players) n += p.rating[static_cast<int>(k)] > 0;
    return n;
  }
  int64_t Sum(RatingKind k) const {
    int64_t n = 0;
    for (const ListPlayer& p : players) n += p.rating[static_cast<int>(k)];
    return n;
  }
};

ReadList Read(const std::string& path, std::optional<RatingKind> kind = std::nullopt) {
  ReadList r;
  r.ok = ReadRatingList(
      path,
      [&](ListFormat& format, std::string&) {
        if (kind) UseSingleKind(format, *kind);
        r.format = format;
        return true;
      },
      [&](const ListPlayer& p) {
        r.players.push_back(p);
        r.names.emplace_back(p.name);
        r.births.emplace_back(p.birth);
      },
      r.error);
  for (size_t i = 0; i < r.players.size(); ++i) r.players[i].name = r.names[i];
  return r;
}

std::string Fide(const std::string& file) { return kTestData + "/fide/" + file; }
bool Have(const std::string& path) { return std::filesystem::exists(path); }

constexpr auto kStandard = RatingKind::kStandard;
constexpr auto kRapid = RatingKind::kRapid;
constexpr auto kBlitz = RatingKind::kBlitz;

// The real lists, each in its own layout: counts, sums and players as they
// stand in the files.
TEST(RealLists, CombinedWithFoa2018) {
  if (!Have(Fide("players_list_foa_2018_excerpt.txt"))) GTEST_SKIP() << "test data not found";
  ReadList r = Read(Fide("players_list_foa_2018_excerpt.txt"));
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.format.layout, ListLayout::kCombined);
  EXPECT_FALSE(r.format.month);
  // 999 lines, every one with an ID, also the two without a name.
  ASSERT_EQ(r.players.size(), 999u);
  EXPECT_EQ(r.Rated(kStandard), 286);
  EXPECT_EQ(r.Rated(kRapid), 131);
  EXPECT_EQ(r.Rated(kBlitz), 77);
  EXPECT_EQ(r.Sum(kStandard), 422114);
  EXPECT_EQ(r.Sum(kRapid), 195242);
  EXPECT_EQ(r.Sum(kBlitz), 118635);
  EXPECT_EQ(r.players[0].id, 419214);
  EXPECT_EQ(r.players[0].name, "");
  EXPECT_EQ(r.players[0].rating, (std::array<uint16_t, 3>{1736, 1587, 0}));
  EXPECT_EQ(r.players[2].name, ", Mayilsamy K");
  EXPECT_EQ(r.players.back().id, 25607430);
}

TEST(RealLists, RapidSep2012ReLaidIntoTheCombinedLayout) {
  // Its rapid ratings stand in the SRtng columns.
  if (!Have(Fide("rapid_sep12_combined_layout.txt"))) GTEST_SKIP() << "test data not found";
  ReadList r = Read(Fide("rapid_sep12_combined_layout.txt"));
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(r.players.size(), 5906u);
  EXPECT_EQ(r.Sum(kStandard), 11832941);
  EXPECT_EQ(r.Rated(kRapid), 0);
  ASSERT_TRUE(r.Find(1503014));
  EXPECT_EQ(r.Find(1503014)->name, "Carlsen, Magnus");
  EXPECT_EQ(r.Find(1503014)->rating[0], 2845);
}

TEST(RealLists, SingleRapidSep2012) {
  if (!Have(Fide("other-layouts/rapid_sep12frl.txt"))) GTEST_SKIP() << "test data not found";
  ReadList r = Read(Fide("other-layouts/rapid_sep12frl.txt"), kRapid);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.format.layout, ListLayout::kSingle);
  EXPECT_EQ(r.format.month, MakeMonth(2012, 9));
  EXPECT_EQ(r.format.rating[1].begin, 109u);  // under "sep12", column 110
  ASSERT_EQ(r.players.size(), 5906u);
  EXPECT_EQ(r.Rated(kRapid), 5906);
  EXPECT_EQ(r.Sum(kRapid), 11832941);  // the same ratings as the re-laid copy
  EXPECT_EQ(r.Rated(kStandard), 0);
  EXPECT_EQ(r.Find(1503014)->rating[1], 2845);
  EXPECT_EQ(r.players.front().id, 25021044);
  EXPECT_EQ(r.players.front().rating[1], 1283);
  EXPECT_EQ(r.players.back().id, 12811130);
  EXPECT_EQ(KindOfFileName(Fide("other-layouts/rapid_sep12frl.txt")), kRapid);
}

TEST(RealLists, SingleStandardMar2026WithFoaAndNoFinalLineEnd) {
  if (!Have(Fide("other-layouts/standard_mar26_AHO.txt"))) GTEST_SKIP() << "test data not found";
  ReadList r = Read(Fide("other-layouts/standard_mar26_AHO.txt"));
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.format.layout, ListLayout::kSingle);
  EXPECT_EQ(r.format.month, MakeMonth(2026, 3));
  EXPECT_EQ(r.format.rating[0].begin, 113u);  // "MAR26" stands at 114, after FOA
  ASSERT_EQ(r.players.size(), 95u);
  EXPECT_EQ(r.Sum(kStandard), 167300);
  EXPECT_EQ(r.players.front().id, 1061143);
  EXPECT_EQ(r.players.front().rating[0], 1806);
  EXPECT_EQ(r.players.back().id, 7500181);  // the last line has no line end
  EXPECT_EQ(r.players.back().rating[0], 1908);
  EXPECT_EQ(r.players.back().name, "Zalm, Norman");
}

TEST(RealLists, FormatBefore2013) {
  if (!Have(Fide("other-layouts/list_mar11_old_format.txt"))) GTEST_SKIP() << "test data not found";
  ReadList r = Read(Fide("other-layouts/list_mar11_old_format.txt"));
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.format.layout, ListLayout::kBefore2013);
  EXPECT_EQ(r.format.month, MakeMonth(2011, 3));
  ASSERT_EQ(r.players.size(), 9999u);
  EXPECT_EQ(r.Rated(kStandard), 3709);  // the unrated players are listed too
  EXPECT_EQ(r.Sum(kStandard), 7343989);
  // IDs right-aligned in columns 1-8, the name from 11.
  EXPECT_EQ(r.players.front().id, 4158814);
  EXPECT_EQ(r.players.front().name, "Andreikin, Dmitry");
  EXPECT_EQ(r.players.front().rating[0], 2686);
  EXPECT_EQ(r.Find(25087835)->name, ", Vardharajan");
  EXPECT_EQ(r.Find(25087835)->rating[0], 0);
  EXPECT_EQ(r.players.back().id, 857238);
  EXPECT_EQ(r.players.back().rating[0], 1718);
}

// FIDE's lists of 2001 to 2004 in their three column sets and header forms
// (indented "ID_NUMBER", "ID_NUMBER" at column 1, "CODE", a blank line
// first, no header), against an independent reading of the same files.
TEST(RealLists, Before2005) {
  struct Case {
    std::string file;
    std::optional<MonthNumber> month;  // the header's
    size_t lines;
    int64_t sum;
    int32_t firstId;
    uint16_t firstRating;
    std::string lastName;
    uint16_t lastRating;
    std::string firstBirth;
  };
  const Case cases[] = {
      {"JAN01FRL.TXT", MakeMonth(2001, 1), 150, 329710, 1701991, 2300, "Abubakar, Nurdin", 2175, ""},
      {"APR01FRL.TXT", MakeMonth(2001, 4), 150, 329485, 1701991, 2347, "Abreu Suarez, Isauro", 2137,
       "17.01.1972"},
      {"JUL01FRL.TXT", MakeMonth(2001, 7), 150, 329080, 1701991, 2373, "Abramson, Horacio", 2221,
       "17.01.1972"},
      {"JAN02FRL.TXT", MakeMonth(2002, 1), 150, 328439, 1006274, 2117, "Adam, Gyorgy", 2116, "01.09.67"},
      {"OCT02FRL.TXT", MakeMonth(2002, 10), 161, 350853, 1006274, 2117, "Altenburger, Walter", 1858,
       "01.09.67"},
      {"jan03frl.txt", MakeMonth(2003, 1), 149, 323731, 1006274, 2117, "Abhyankar, M.N.", 2169, "01.09.67"},
      {"APR03FRL.TXT", MakeMonth(2003, 4), 150, 325190, 1701991, 2404, "Abhyankar, M.N.", 2169, "17.01.72"},
      {"jul03frl.txt", std::nullopt, 172, 371932, 1701991, 2404, "Kuznetsov, Fiodor", 2135, "17.01.72"},
      // Ends with a Ctrl-Z after the last line end.
      {"APR04FRL.TXT", MakeMonth(2004, 4), 143, 308891, 1701991, 2383, "von Wantoch-Rekowski , Danijela",
       2132, "17.01.72"},
  };
  for (const Case& c : cases) {
    std::string path = Fide("before-2005/" + c.file);
    if (!Have(path)) GTEST_SKIP() << "test data not found";
    ReadList r = Read(path);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.format.layout, ListLayout::kBefore2005) << c.file;
    EXPECT_EQ(r.format.month, c.month) << c.file;
    ASSERT_EQ(r.players.size(), c.lines) << c.file;
    EXPECT_EQ(r.Rated(kStandard), static_cast<int>(c.lines)) << c.file;
    EXPECT_EQ(r.Sum(kStandard), c.sum) << c.file;
    EXPECT_EQ(r.players.front().id, c.firstId) << c.file;
    EXPECT_EQ(r.players.front().rating[0], c.firstRating) << c.file;
    EXPECT_EQ(r.births.front(), c.firstBirth) << c.file;
    EXPECT_EQ(r.players.back().name, c.lastName) << c.file;
    EXPECT_EQ(r.players.back().rating[0], c.lastRating) << c.file;
  }
}

// ---- Headers ----

const std::string kFront =
    "ID Number      Name                                                         Fed Sex Tit  WTit OTit      "
    "     ";

TEST(Header, CombinedWithoutFoaFindsTheShiftedColumns) {
  std::string header = kFront + "SRtng SGm SK RRtng RGm Rk BRtng BGm BK B-day Flag";
  std::string why;
  std::optional<ListFormat> f = RecognizeHeader(header, why);
  ASSERT_TRUE(f) << why;
  EXPECT_EQ(f->layout, ListLayout::kCombined);
  EXPECT_EQ(f->rating[0].begin, 109u);
  EXPECT_EQ(f->rating[1].begin, 122u);
  EXPECT_EQ(f->rating[2].begin, 135u);
  std::string line(158, ' ');
  line.replace(0, 7, "1234567");
  line.replace(15, 9, "Doe, Jane");
  line.replace(109, 4, "2405");
  line.replace(122, 4, "2301");
  line.replace(135, 4, "2250");
  line.replace(148, 4, "1990");
  ListPlayer p;
  ASSERT_TRUE(ReadListLine(*f, line, p));
  EXPECT_EQ(p.id, 1234567);
  EXPECT_EQ(p.rating, (std::array<uint16_t, 3>{2405, 2301, 2250}));
}

TEST(Header, MonthTokens) {
  EXPECT_EQ(MonthOfToken("Mar11"), MakeMonth(2011, 3));
  EXPECT_EQ(MonthOfToken("sep12"), MakeMonth(2012, 9));
  EXPECT_EQ(MonthOfToken("MAR26"), MakeMonth(2026, 3));
  EXPECT_EQ(MonthOfToken("jul99"), MakeMonth(1999, 7));
  EXPECT_EQ(MonthOfToken("Jan00"), MakeMonth(2000, 1));
  for (std::string_view bad : {"Foo12", "Mar1", "Mar123", "SRtng", "Ma r1", "12Mar"})
    EXPECT_FALSE(MonthOfToken(bad)) << bad;
  EXPECT_EQ(ParseMonth("2012-09"), MakeMonth(2012, 9));
  EXPECT_EQ(MonthText(MakeMonth(2011, 3)), "2011-03");
  for (std::string_view bad : {"2012-13", "2012-00", "2012-9", "201a-09", "2012/09", "0999-01", ""})
    EXPECT_FALSE(ParseMonth(bad)) << bad;
}

TEST(Header, UnrecognisedHeadersSayWhy) {
  for (std::string header :
       {std::string(""), std::string("[Event \"Tata Steel\"]"), std::string(" ID Number      Name  Mar11"),
        kFront + "Gms K  B-day Flag", std::string("ID Number Fed Mar11"), kFront + "Mar11 Apr11 Gms",
        kFront + "FOA SRtng sep12 Gms"}) {
    std::string why;
    EXPECT_FALSE(RecognizeHeader(header, why)) << header;
    EXPECT_FALSE(why.empty());
  }
}

TEST(Header, ListsOf2001To2004TakeTheirColumnsFromAPlayerLine) {
  std::string why;
  std::optional<ListFormat> f =
      RecognizeHeader("  ID_NUMBER NAME                             TITLE COUNTRY JAN01 GAMES FLAG", why);
  ASSERT_TRUE(f) << why;
  EXPECT_EQ(f->layout, ListLayout::kBefore2005);
  EXPECT_TRUE(f->columnsPending);
  EXPECT_FALSE(f->birthNamed);
  EXPECT_EQ(f->month, MakeMonth(2001, 1));
  f = RecognizeHeader("   CODE   NAME                          TITLE COUNTRY APR03 GAMES BIRTHDAY FLAG", why);
  ASSERT_TRUE(f) << why;
  EXPECT_TRUE(f->birthNamed);
  EXPECT_FALSE(RecognizeHeader("ID_NUMBER TITLE COUNTRY APR03", why));
  EXPECT_NE(why.find("NAME"), std::string::npos) << why;

  // The rating's last digit at column 63, 64 or 57 tells the column set.
  struct Case {
    std::string line;
    size_t ratingEnd, birthBegin;
  };
  for (const Case& c :
       {Case{"   1701991  Aaberg, Anton                          SWE     2300    0   17.01.72", 64, 71},
        Case{"    1701991 Aaberg, Anton                          SWE      2347    17 17.01.1972", 65, 71},
        Case{" 1701991  Aaberg, Anton                         SWE  2404    0  17.01.72", 58, 64}}) {
    ListFormat early = *f;
    ASSERT_TRUE(FitColumnsBefore2005(early, c.line)) << c.line;
    EXPECT_FALSE(early.columnsPending);
    EXPECT_EQ(early.rating[0].end, c.ratingEnd);
    ListPlayer p;
    ASSERT_TRUE(ReadListLine(early, c.line, p));
    EXPECT_EQ(p.id, 1701991);
    EXPECT_EQ(p.name, "Aaberg, Anton");
    EXPECT_GT(p.rating[0], 2299);
    EXPECT_EQ(p.birth, c.line.substr(c.birthBegin));
  }
  ListFormat none;
  for (std::string line :
       {std::string(" 1701991  Aaberg, Anton                         SWE   2404   0  17.01.72"),
        std::string("x1701991  Aaberg, Anton                         SWE  2404    0  17.01.72"),
        std::string()})
    EXPECT_FALSE(FitColumnsBefore2005(none, line)) << line;
}

TEST(Header, MonthOfFileName) {
  EXPECT_EQ(MonthOfFileName("/lists/JAN01FRL.TXT"), MakeMonth(2001, 1));
  EXPECT_EQ(MonthOfFileName("C:\\lists\\jul03frl.txt"), MakeMonth(2003, 7));
  EXPECT_EQ(MonthOfFileName("oct02"), MakeMonth(2002, 10));
  for (std::string_view bad : {"players_list_foa.txt", "standard_jan03frl.txt", "jan031.txt", "jan0.txt"})
    EXPECT_FALSE(MonthOfFileName(bad)) << bad;
}

TEST(Header, KindOfFileName) {
  EXPECT_EQ(KindOfFileName("blitz_mar26frl.txt"), kBlitz);
  EXPECT_EQ(KindOfFileName("/lists/STANDARD_sep12frl.txt"), kStandard);
  EXPECT_EQ(KindOfFileName("C:\\lists\\rapid_jan13.txt"), kRapid);
  EXPECT_FALSE(KindOfFileName("players_list_foa.txt"));
  EXPECT_FALSE(KindOfFileName("standard/players.txt"));
  EXPECT_FALSE(KindOfFileName("rapid.txt"));
}

// ---- Player lines ----

TEST(Lines, FieldsAreReadOnlyWhenTheyHoldANumberAlone) {
  std::string why;
  ListFormat f = *RecognizeHeader(kFront + "FOA MAR26 Gms K  B-day Flag", why);
  auto line = [](std::string id, std::string rating) {
    std::string s(136, ' ');
    s.replace(0, id.size(), id);
    s.replace(15, 4, "Name");
    s.replace(113, rating.size(), rating);
    return s;
  };
  ListPlayer p;
  EXPECT_FALSE(ReadListLine(f, line("", "2400"), p));
  EXPECT_FALSE(ReadListLine(f, line("12a45", "2400"), p));
  EXPECT_FALSE(ReadListLine(f, line("0", "2400"), p));
  EXPECT_FALSE(ReadListLine(f, line("2147483648", "2400"), p));
  ASSERT_TRUE(ReadListLine(f, line("2147483647", "2400"), p));
  EXPECT_EQ(p.id, 2147483647);
  for (std::string unrated : {"", "24x0", "12345", "-2400", "0"}) {
    ASSERT_TRUE(ReadListLine(f, line("7", unrated), p));
    EXPECT_EQ(p.rating[0], 0) << unrated;
  }
  ASSERT_TRUE(ReadListLine(f, line("7", "  900"), p));
  EXPECT_EQ(p.rating[0], 900);
  // A line cut short: the columns beyond it are blanks.
  ASSERT_TRUE(ReadListLine(f, "7", p));
  EXPECT_EQ(p.name, "");
  EXPECT_EQ(p.rating[0], 0);
}

TEST(Files, EmptyMissingAndForeignFilesAreErrors) {
  TempDir dir;
  WriteAllBytes(dir.File("empty.txt"), {});
  std::string pgn = "[Event \"x\"]\n[White \"Doe\"]\n\n1. e4 *\n";
  WriteAllBytes(dir.File("game.pgn"), std::vector<unsigned char>(pgn.begin(), pgn.end()));
  for (std::string file : {"empty.txt", "game.pgn", "missing.txt"}) {
    ReadList r = Read(dir.File(file));
    EXPECT_FALSE(r.ok) << file;
    EXPECT_NE(r.error.find(file), std::string::npos) << r.error;
    EXPECT_EQ(r.error.find('\n'), std::string::npos);
  }
}

// Blank lines before the header, a list of 2001 to 2004 without one, and
// lists that hold no player or whose lines fit no layout.
TEST(Files, HeaderlessBlankAndPlayerlessLists) {
  TempDir dir;
  auto read = [&](const std::string& name, const std::string& text) {
    WriteAllBytes(dir.File(name), std::vector<unsigned char>(text.begin(), text.end()));
    return Read(dir.File(name));
  };
  const std::string line = " 1701991  Aaberg, Anton                         SWE  2404    0  17.01.72       ";
  ReadList r = read("jul03frl.txt", "\n  \r\n" + line + "\n" + line.substr(0, 75) + "\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.format.layout, ListLayout::kBefore2005);
  EXPECT_EQ(r.players.size(), 2u);
  r = read("oct02.txt",
           "\nID_NUMBER NAME TITLE COUNTRY OCT02 GAMES BIRTHDAY FLAG\n          No, Id\n" + line + "\n");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.format.month, MakeMonth(2002, 10));
  EXPECT_EQ(r.births[0], "17.01.72");

  r = read("shifted.txt", "ID_NUMBER NAME OCT02\n " + line + "\n");
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("column sets of the lists of 2001 to 2004"), std::string::npos) << r.error;
  for (std::string text :
       {kFront + "SRtng RRtng BRtng\r\n", kFront + "SRtng RRtng BRtng\r\n\r\n" + kFront + "\r\n",
        std::string("ID_NUMBER NAME OCT02\n\n")}) {
    r = read("header_only.txt", text);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("lists no players"), std::string::npos) << r.error;
  }
}

TEST(Files, LineEndsCtrlZAndLongLines) {
  TempDir dir;
  std::string header = kFront + "FOA MAR26 Gms K  B-day Flag";
  auto line = [](std::string id, std::string rating) {
    std::string s(136, ' ');
    s.replace(0, id.size(), id);
    s.replace(113, rating.size(), rating);
    return s;
  };
  // A line far longer than the reading chunk, CRLF and LF mixed, a Ctrl-Z.
  std::string text = header + "\r\n" + line("1", "2000") + std::string(3 << 20, 'x') + "\n" +
                     line("2", "2100") + "\r\n" + line("3", "2200") + "\n\x1a" + line("4", "2300") + "\n";
  WriteAllBytes(dir.File("list.txt"), std::vector<unsigned char>(text.begin(), text.end()));
  ReadList r = Read(dir.File("list.txt"));
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(r.players.size(), 3u);
  EXPECT_EQ(r.players[0].rating[0], 2000);
  EXPECT_EQ(r.players[1].rating[0], 2100);
  EXPECT_EQ(r.players[2].rating[0], 2200);
}

}  // namespace
