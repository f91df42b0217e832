// PGN reading and writing in the host's style: round trips, the Seven Tag
// Roster, escapes, damaged input and the real bases of the test data.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "hostsim/pgn.h"

namespace {

using pgn::Game;

std::string Crlf(std::initializer_list<std::string_view> lines) {
  std::string s;
  for (auto l : lines) s += std::string(l) + "\r\n";
  return s;
}

std::vector<std::string> TagNames(const Game& g) {
  std::vector<std::string> names;
  for (const auto& t : g.tags) names.push_back(t.first);
  return names;
}

const std::vector<std::string> kRoster = {"Event", "Site", "Date", "Round", "White", "Black", "Result"};

TEST(PgnRoundTrip, HostStyleComesBackByteForByte) {
  std::string text = Crlf({R"([Event "Club"])",
                           R"([Site "Town"])",
                           R"([Date "2023.05.01"])",
                           R"([Round "1"])",
                           R"([White "Doe, Jane"])",
                           R"([Black "Roe, R"])",
                           R"([Result "1-0"])",
                           R"([Annotator "say \"hi\" \\ there"])",
                           "",
                           "1. e4 {a comment",
                           "",
                           "with a blank line} e5  1-0",
                           "",
                           R"([Event "Headers only"])",
                           R"([Site "?"])",
                           R"([Date "????.??.??"])",
                           R"([Round "?"])",
                           R"([White "A"])",
                           R"([Black "B"])",
                           R"([Result "*"])",
                           "",
                           R"([Event "Last"])",
                           R"([Site "?"])",
                           R"([Date "?"])",
                           R"([Round "?"])",
                           R"([White "C"])",
                           R"([Black "D"])",
                           R"([Result "*"])",
                           "",
                           "*",
                           ""});
  pgn::ReadResult r = pgn::Read(text);
  ASSERT_TRUE(r.problems.empty());
  ASSERT_EQ(r.games.size(), 3u);
  EXPECT_EQ(r.games[0].tags[7].second, R"(say "hi" \ there)");
  EXPECT_EQ(r.games[0].movetext, "1. e4 {a comment\r\n\r\nwith a blank line} e5  1-0");
  EXPECT_TRUE(r.games[1].movetext.empty());
  EXPECT_EQ(pgn::Write(r.games), text);
}

TEST(PgnRoundTrip, OtherStylesSettleAfterOneWrite) {
  std::string text =
      "\xEF\xBB\xBF[White \"W\"]\n[Event \"E\"]\n1. d4 d5 *\n[Black \"B\"] [Result \"0-1\"]\n\n\n1. c4 0-1";
  pgn::ReadResult r = pgn::Read(text);
  ASSERT_TRUE(r.problems.empty());
  ASSERT_EQ(r.games.size(), 2u);
  std::string once = pgn::Write(r.games);
  EXPECT_EQ(once.find('\n') != std::string::npos && once.find("\r\n") != std::string::npos, true);
  pgn::ReadResult again = pgn::Read(once);
  EXPECT_EQ(pgn::Write(again.games), once);
  EXPECT_EQ(again.games[1].movetext, "1. c4 0-1");
}

TEST(PgnRoster, MissingTagsGetPlaceholdersAndOrderIsStandard) {
  pgn::ReadResult r = pgn::Read("[WhiteElo \"2100\"]\n[Black \"B\"]\n[Event \"E\"]\n[ECO \"A00\"]\n\n*\n");
  ASSERT_EQ(r.games.size(), 1u);
  const Game& g = r.games[0];
  std::vector<std::string> want = kRoster;
  want.insert(want.end(), {"WhiteElo", "ECO"});
  EXPECT_EQ(TagNames(g), want);
  EXPECT_EQ(g.tags[0].second, "E");
  EXPECT_EQ(g.tags[1].second, "?");
  EXPECT_EQ(g.tags[2].second, "????.??.??");
  EXPECT_EQ(g.tags[4].second, "?");
  EXPECT_EQ(g.tags[5].second, "B");
  EXPECT_EQ(g.tags[6].second, "*");
}

TEST(PgnRoster, MovetextWithoutTagsIsAGameAndARepeatedTagBeginsAnother) {
  pgn::ReadResult r = pgn::Read("1. e4 *\n\n[White \"First\"]\n[White \"Second\"] 1. d4 *\n");
  ASSERT_EQ(r.games.size(), 3u);
  EXPECT_EQ(TagNames(r.games[0]), kRoster);
  EXPECT_EQ(r.games[0].movetext, "1. e4 *");
  EXPECT_EQ(r.games[1].tags[4].second, "First");
  EXPECT_TRUE(r.games[1].movetext.empty());
  EXPECT_EQ(r.games[2].tags[4].second, "Second");
  EXPECT_EQ(r.games[2].movetext, "1. d4 *");
}

TEST(PgnText, EscapesAndCommentsAreFollowed) {
  EXPECT_EQ(pgn::TagLine("A", "x\"y\\z"), R"([A "x\"y\\z"])");
  EXPECT_EQ(pgn::EscapeTagValue(""), "");
  // A brace after ';' opens no comment, so the next tag line starts a game.
  pgn::ReadResult r = pgn::Read("[Event \"1\"]\n\n1. e4 ; not {a comment\n[Event \"2\"]\n\n*\n");
  EXPECT_TRUE(r.problems.empty());
  EXPECT_EQ(r.games.size(), 2u);
  // Lines starting with '%' between games are skipped.
  EXPECT_EQ(pgn::Read("% escaped line\n[Event \"x\"]\n\n*\n").games.size(), 1u);
  EXPECT_TRUE(pgn::Read("").games.empty());
  EXPECT_TRUE(pgn::Read("\r\n\n  \n").games.empty());
}

TEST(PgnDamaged, BadGamesAreLeftOutAndTheRestKept) {
  static const char kText[] =
      "[Event \"Good\"]\n\n1. e4 *\n\n"
      "[Event \"Open]\n\n*\n\n"                 // line 5: value not closed
      "[Event \"NoBracket\"\n\n*\n\n"           // line 9: no ]
      "[ \"x\"]\n\n*\n\n"                       // line 13: no name
      "[Event x]\n\n*\n\n"                      // line 17: no quoted value
      "[Event \"A\"] junk\n\n*\n\n"             // line 21: a game, its movetext on the tag's line
      "[Event \"Zero\"]\n\n1. e4\0 *\n\n"       // line 27: zero byte
      "[Event \"Comment\"]\n\n1. e4 {open\n\n"  // line 31: comment not closed
      "[Event \"After\"]\n\n*\n";
  pgn::ReadResult r = pgn::Read(std::string_view(kText, sizeof kText - 1));
  // The comment left open holds the rest of the file.
  ASSERT_EQ(r.games.size(), 2u);
  EXPECT_EQ(r.games[0].tags[0].second, "Good");
  EXPECT_EQ(r.games[1].tags[0].second, "A");
  EXPECT_EQ(r.games[1].movetext, "junk\r\n\r\n*");
  EXPECT_EQ(r.skippedGames, 6);
  std::vector<int> lines;
  for (const auto& p : r.problems) lines.push_back(p.line);
  EXPECT_EQ(lines, (std::vector<int>{5, 9, 13, 17, 27, 31}));
  EXPECT_EQ(r.problems[0].what, "value of tag Event is not closed");
}

TEST(PgnDamaged, CommentOpenAtTheEndLosesOnlyItsGame) {
  pgn::ReadResult r = pgn::Read("[Event \"A\"]\n\n*\n\n[Event \"B\"]\n\n1. e4 {\n[Event \"C\"]\n");
  ASSERT_EQ(r.games.size(), 1u);
  EXPECT_EQ(r.skippedGames, 1);
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_EQ(r.problems[0].line, 7);
}

TEST(PgnDamaged, BinaryNoiseNeverCrashes) {
  std::string noise;
  uint32_t x = 12345;
  for (int i = 0; i < 200000; ++i) {
    x = x * 1103515245u + 12345u;
    noise += static_cast<char>("[]\"\\{};%\n\r a1\0"[(x >> 16) % 15]);
  }
  pgn::ReadResult r = pgn::Read(noise);
  std::string written = pgn::Write(r.games);
  EXPECT_EQ(pgn::Read(written).games.size(), r.games.size());
}

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(PgnRealBases, ReadCompletelyAndSettleAfterOneWrite) {
  std::filesystem::path folder = std::filesystem::path(VELMARSH_TESTDATA) / "pgn";
  if (!std::filesystem::exists(folder)) GTEST_SKIP() << folder << " is absent";
  const std::pair<const char*, size_t> bases[] = {{"pgnmentor_Carlsen.pgn", 1782},
                                                  {"twic0920.pgn", 2245},
                                                  {"twic_2020_232games.pgn", 232},
                                                  {"lichess_FWWRC2024_headers_only.pgn", 605},
                                                  {"lichess_uzchesscup2025_headers_only.pgn", 45},
                                                  {"python-chess_nepomniachtchi-liren-wch2023-g1.pgn", 1}};
  for (auto [name, count] : bases) {
    SCOPED_TRACE(name);
    std::string text = ReadFile(folder / name);
    pgn::ReadResult r = pgn::Read(text);
    EXPECT_TRUE(r.problems.empty());
    ASSERT_EQ(r.games.size(), count);
    std::string once = pgn::Write(r.games);
    pgn::ReadResult back = pgn::Read(once);
    ASSERT_EQ(back.games.size(), count);
    for (size_t i = 0; i < count; ++i) {
      EXPECT_EQ(back.games[i].tags, r.games[i].tags);
      EXPECT_EQ(back.games[i].movetext, r.games[i].movetext);
    }
    EXPECT_EQ(pgn::Write(back.games), once);
    if (std::string(name) == "pgnmentor_Carlsen.pgn") {
      EXPECT_TRUE(once == text) << "a base in the host's style";
    }
  }
}

}  // namespace
