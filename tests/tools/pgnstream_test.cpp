// The PGN reader's rules (pgn/pgnstream.h): every byte kept, games told
// apart as the standard's import format has them, tags set only into their
// own game's header. The smallest case of each fault once found, the corpus
// of real-world shapes written for these tests (tests/pgnshapes) and the real
// bases of the test data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "pgn/pgnstream.h"

using namespace std::string_literals;

namespace {

const std::string kPgnData = std::string(VELMARSH_TESTDATA) + "/pgn";
const std::string kShapes = std::string(VELMARSH_SOURCE_DIR) + "/tests/pgnshapes";

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

struct MemoryFile {
  std::FILE* f;
  explicit MemoryFile(const std::string& text) : f(std::tmpfile()) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::rewind(f);
  }
  ~MemoryFile() { std::fclose(f); }
};

// The pieces of a file read `block` bytes at a time.
std::vector<PgnGame> ReadAll(const std::string& text, size_t block = size_t{1} << 20) {
  MemoryFile file(text);
  PgnReader reader(file.f, nullptr, block);
  std::vector<PgnGame> games;
  PgnGame game;
  while (reader.Next(game)) games.push_back(game);
  EXPECT_FALSE(reader.Failed());
  return games;
}

std::vector<PgnGame> ReadText(std::string_view text) {
  PgnReader reader(text);
  std::vector<PgnGame> games;
  PgnGame game;
  while (reader.Next(game)) games.push_back(game);
  return games;
}

using Tags = std::vector<std::pair<std::string, std::string>>;

Tags TagsOf(const PgnGame& game) {
  Tags tags;
  for (const PgnTag& t : game.tags) tags.emplace_back(game.Name(t), game.Value(t));
  return tags;
}

// The games of the pieces, and of those the damaged ones.
std::pair<size_t, size_t> Count(const std::vector<PgnGame>& pieces) {
  size_t games = 0, damaged = 0;
  for (const PgnGame& g : pieces) {
    games += g.isGame;
    damaged += g.damaged;
  }
  return {games, damaged};
}

std::string Joined(const std::vector<PgnGame>& games) {
  std::string all;
  for (const PgnGame& g : games) all += g.text;
  return all;
}

// What every reading must give: the file back byte for byte, the same pieces
// from memory and from a file in blocks of any size, each game alone read as
// it was read in the file, and tags set only where WithTags says, the
// tagged file read as the same games with the tags set.
void ExpectSoundReading(const std::string& text, const std::string& what,
                        std::vector<size_t> blocks = {1, 2, 7, 64, size_t{1} << 20}) {
  std::vector<PgnGame> games = ReadText(text);
  ASSERT_EQ(Joined(games), text) << what;
  for (size_t block : blocks) {
    std::vector<PgnGame> fromFile = ReadAll(text, block);
    ASSERT_EQ(fromFile.size(), games.size()) << what << ", blocks of " << block;
    for (size_t i = 0; i < games.size(); ++i) {
      EXPECT_EQ(fromFile[i].text, games[i].text) << what << ", blocks of " << block;
      EXPECT_EQ(fromFile[i].problemLine, games[i].problemLine) << what << ", blocks of " << block;
    }
  }
  PgnHeaderReader headers;
  std::string tagged;
  const TagSetting settings[] = {{"WhiteFIDE", "4100018"}, {"Event", "A \"new\" event"}};
  for (const PgnGame& g : games) {
    std::vector<PgnGame> alone = ReadText(g.text);
    ASSERT_EQ(alone.size(), 1u) << what << ": " << g.text;
    EXPECT_EQ(TagsOf(alone[0]), TagsOf(g)) << what;
    EXPECT_EQ(alone[0].damaged, g.damaged) << what;
    EXPECT_EQ(alone[0].headerEnd, g.headerEnd) << what;
    PgnGame header;
    if (g.isGame && !g.damaged) {
      EXPECT_TRUE(headers.Read(g.text, header)) << what;
      EXPECT_EQ(TagsOf(header), TagsOf(g)) << what;
    }
    tagged += WithTags(g, settings);
  }
  std::vector<PgnGame> again = ReadText(tagged);
  ASSERT_EQ(again.size(), games.size()) << what;
  for (size_t i = 0; i < games.size(); ++i) {
    EXPECT_EQ(again[i].damaged, games[i].damaged) << what;
    if (!games[i].isGame || games[i].damaged) continue;
    Tags want = TagsOf(games[i]);
    for (const TagSetting& s : settings) {
      auto at = std::find_if(want.begin(), want.end(), [&](const auto& t) { return t.first == s.name; });
      if (at == want.end())
        want.emplace_back(s.name, s.value);
      else
        at->second = s.value;
    }
    EXPECT_EQ(TagsOf(again[i]), want) << what << ", game " << i;
  }
}

// The value of a tag of the i-th piece ("" without it).
std::string Tag(const std::vector<PgnGame>& games, size_t i, std::string_view name) {
  const PgnTag* t = games.at(i).Find(name);
  return t ? games[i].Value(*t) : "";
}

}  // namespace

TEST(PgnReading, ACommentHoldsWhatLooksLikeAHeader) {
  const std::string text =
      "[White \"A\"]\n\n1. e4 {Compare\n\n[Event \"x\"]\n[White \"Svidler, Peter\"]\n} e5 1-0\n";
  std::vector<PgnGame> games = ReadText(text);
  ASSERT_EQ(games.size(), 1u);
  EXPECT_FALSE(games[0].damaged);
  EXPECT_EQ(TagsOf(games[0]), (Tags{{"White", "A"}}));
  TagSetting fide[] = {{"WhiteFIDE", "1"}};
  EXPECT_EQ(WithTags(games[0], fide), "[White \"A\"]\n[WhiteFIDE \"1\"]\n" + text.substr(12));
  ExpectSoundReading(text, "comment");
}

TEST(PgnReading, EscapeCommentAndEmptyLinesAmongTagPairsKeepOneHeader) {
  for (std::string between : {"%x\n", "; a comment\n", "\n", "\n\n% x\n\n"}) {
    std::string text = "[White \"Carlsen, Magnus\"]\n" + between + "[Black \"Navara, David\"]";
    std::vector<PgnGame> games = ReadText(text);
    ASSERT_EQ(games.size(), 1u) << between;
    EXPECT_EQ(TagsOf(games[0]), (Tags{{"White", "Carlsen, Magnus"}, {"Black", "Navara, David"}})) << between;
    ExpectSoundReading(text, between);
  }
}

TEST(PgnReading, ARepeatedTagNameBeginsTheNextGame) {
  std::vector<PgnGame> games = ReadText("[White \"Carlsen, Magnus\"]\n[White \"Navara, David\"]");
  ASSERT_EQ(games.size(), 2u);
  EXPECT_EQ(Tag(games, 0, "White"), "Carlsen, Magnus");
  EXPECT_EQ(Tag(games, 1, "White"), "Navara, David");
  // On one line, the game begins at its pair; a new tag goes after the
  // first game's pair, not into the second.
  games = ReadText("[White \"A\"] [Black \"B\"] [White \"C\"]");
  ASSERT_EQ(games.size(), 2u);
  EXPECT_EQ(games[1].text, "[White \"C\"]");
  TagSetting elo[] = {{"WhiteElo", "2000"}};
  EXPECT_EQ(WithTags(games[0], elo), "[White \"A\"] [Black \"B\"]\n[WhiteElo \"2000\"] ");
}

TEST(PgnReading, GamesWithoutTagsAreGamesEndedByTheirResult) {
  for (std::string text : {"1. e4 1-0\n1. d4 0-1\n1. c4 1/2-1/2\n", "1. e4 1-0 1. d4 0-1 1. c4 1/2-1/2",
                           "1. e4 1-0\r\n\r\n1. d4 0-1\r\n\r\n\r\n1. c4 *"}) {
    auto [games, damaged] = Count(ReadText(text));
    EXPECT_EQ(games, 3u) << text;
    EXPECT_EQ(damaged, 0u) << text;
    ExpectSoundReading(text, text);
  }
  // A tag goes in front of the movetext, on a line of its own.
  std::vector<PgnGame> games = ReadText("1. e4 1-0 1. d4 0-1\n");
  TagSetting event[] = {{"Event", "E"}};
  EXPECT_EQ(WithTags(games[1], event), "[Event \"E\"]\n1. d4 0-1\n");
}

TEST(PgnReading, OneLineGamesAndLineEndsOfEveryKind) {
  std::vector<PgnGame> games = ReadText("[Result \"1-0\"] e4 *");
  ASSERT_EQ(games.size(), 1u);
  EXPECT_FALSE(games[0].damaged);
  EXPECT_EQ(games[0].movetextStart, 15u);
  TagSetting white[] = {{"White", "W"}};
  EXPECT_EQ(WithTags(games[0], white), "[Result \"1-0\"]\n[White \"W\"] e4 *");
  // CR alone: the header's line end for new tags, and lines counted.
  games = ReadText("[A \"1\"]\r\r1. e4 *\r\r[B \"2]\r*\r");
  ASSERT_EQ(games.size(), 2u);
  EXPECT_FALSE(games[0].damaged);
  EXPECT_EQ(WithTags(games[0], white), "[A \"1\"]\r[White \"W\"]\r\r1. e4 *\r\r");
  EXPECT_TRUE(games[1].damaged);
  EXPECT_EQ(games[1].problemLine, 5);
}

TEST(PgnReading, AByteOrderMarkIsWhiteSpace) {
  std::vector<PgnGame> games = ReadText("\n\n\xEF\xBB\xBF[White \"A\"]\n\n*\n\xEF\xBB\xBF[White \"B\"]\n*");
  auto [count, damaged] = Count(games);
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(games.size(), 3u) << "the empty lines are text before the first game";
  EXPECT_EQ(Tag(games, 2, "White"), "B");
}

TEST(PgnReading, DamagedGamesAreKeptAndNamed) {
  const std::string text =
      "[Event \"Good\"]\r\n\r\n1. e4 *\r\n\r\n"
      "[Event \"Bad]\r\n\r\n1. e4 *\r\n\r\n"
      "[Event \"Zero\"]\r\n\r\n1. e4\0 *\r\n\r\n"s
      "[White Doe]\r\n\r\n*\r\n"
      "[Event \"No bracket\"\r\n1. d4 *\r\n"
      "[Event \"Open\"]\r\n\r\n1. e4 {never closed\r\n[Event \"Swallowed\"]\r\n*\r\n";
  std::vector<PgnGame> games = ReadText(text);
  ASSERT_EQ(games.size(), 6u);
  EXPECT_FALSE(games[0].damaged);
  std::vector<std::pair<int64_t, std::string>> problems;
  for (size_t i = 1; i < games.size(); ++i) problems.emplace_back(games[i].problemLine, games[i].problem);
  EXPECT_EQ(problems, (std::vector<std::pair<int64_t, std::string>>{{5, "value of tag Event is not closed"},
                                                                    {11, "zero byte in the text"},
                                                                    {13, "tag White has no quoted value"},
                                                                    {16, "tag Event is not closed by ]"},
                                                                    {20, "comment is not closed"}}));
  TagSetting any[] = {{"Event", "x"}};
  for (size_t i = 1; i < games.size(); ++i) EXPECT_EQ(WithTags(games[i], any), games[i].text);
  EXPECT_EQ(WithTags(games[0], any), "[Event \"x\"]\r\n\r\n1. e4 *\r\n\r\n");
  ExpectSoundReading(text, "damaged");
  // A comment opened after a game's result that never closes begins a
  // damaged game of its own; the game before keeps its tags.
  games = ReadText("[Event \"A\"]\n1. e4 1-0\n{never\n[Event \"B\"]\n*\n");
  ASSERT_EQ(games.size(), 2u);
  EXPECT_FALSE(games[0].damaged);
  EXPECT_EQ(games[1].problem, "comment is not closed");
}

TEST(PgnReading, AGameBeyondTheLimitIsDamagedAndKeptByItsLength) {
  std::string big = "[Event \"Big\"]\n\n1. e4 {" + std::string(500, 'x') + "} *\n\n";
  std::string text = big + "[Event \"Small\"]\n\n*\n";
  for (size_t block : {size_t{0}, size_t{16}, size_t{1000}}) {
    std::vector<PgnGame> games;
    PgnGame game;
    MemoryFile file(text);
    std::unique_ptr<PgnReader> reader = block ? std::make_unique<PgnReader>(file.f, nullptr, block)
                                              : std::make_unique<PgnReader>(std::string_view(text));
    reader->SetGameLimit(100);
    while (reader->Next(game)) games.push_back(game);
    ASSERT_EQ(games.size(), 2u) << block;
    EXPECT_TRUE(games[0].damaged);
    EXPECT_EQ(games[0].size, static_cast<int64_t>(big.size()));
    EXPECT_TRUE(games[0].text.empty());
    EXPECT_EQ(games[1].text, "[Event \"Small\"]\n\n*\n");
  }
}

TEST(PgnReading, TheShapesOfRealFiles) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kShapes)) {
    if (entry.path().extension() != ".pgn") continue;
    ++files;
    std::string name = entry.path().filename().string();
    std::string text = ReadFileBytes(entry.path().string());
    // "% games N[, damaged D]: what the file shows", on a line of its own.
    size_t at = text.find("% games ");
    ASSERT_NE(at, std::string::npos) << name;
    size_t games = std::stoul(text.substr(at + 8)), damaged = 0;
    if (size_t d = text.find(", damaged ", at); d < text.find(':', at))
      damaged = std::stoul(text.substr(d + 10));
    EXPECT_EQ(Count(ReadText(text)), std::make_pair(games, damaged)) << name;
    ExpectSoundReading(text, name);
  }
  EXPECT_GE(files, 10);
}

TEST(PgnReading, ValuesKeepTheirBytesUnlessChanged) {
  const std::string text = "[Event \"A \\\"quoted\\\" \\\\ name\"]\n[White \"Doe, J\"]\n\n*\n";
  std::vector<PgnGame> games = ReadText(text);
  ASSERT_EQ(games.size(), 1u);
  EXPECT_EQ(games[0].Value(games[0].tags[0]), "A \"quoted\" \\ name");
  TagSetting same[] = {{"Event", "A \"quoted\" \\ name"}, {"White", "Doe, J"}};
  EXPECT_EQ(WithTags(games[0], same), text);
  // The later of two settings of one tag wins, new tags in their order.
  TagSetting changed[] = {{"WhiteElo", "1"}, {"White", "Doe, John"}, {"WhiteElo", "2"}, {"WhiteSex", "M"}};
  EXPECT_EQ(WithTags(games[0], changed),
            "[Event \"A \\\"quoted\\\" \\\\ name\"]\n[White \"Doe, John\"]\n[WhiteElo \"2\"]\n[WhiteSex "
            "\"M\"]\n\n*\n");
  // A header at the very end of the file: the new tag goes on a new line,
  // and the file still ends without a line end.
  games = ReadText("[Event \"Four\"]\n[White \"B\"]");
  TagSetting black[] = {{"Black", "C"}};
  EXPECT_EQ(WithTags(games[0], black), "[Event \"Four\"]\n[White \"B\"]\n[Black \"C\"]");
}

TEST(PgnReading, LongLinesCrossTheReadBlocks) {
  std::string comment(3'000'000, 'x');
  std::string text = "[Event \"Long\"]\n\n1. e4 {" + comment + "} *\n\n[Event \"Next\"]\n\n*\n";
  std::vector<PgnGame> games = ReadAll(text);
  ASSERT_EQ(games.size(), 2u);
  EXPECT_EQ(Joined(games), text);
}

TEST(PgnReading, TextWithoutGames) {
  EXPECT_TRUE(ReadAll("").empty());
  std::vector<PgnGame> games = ReadAll("\n  \n% only escapes\n{and a comment}\n");
  ASSERT_EQ(games.size(), 1u);
  EXPECT_FALSE(games[0].isGame);
  TagSetting any[] = {{"Event", "x"}};
  EXPECT_EQ(WithTags(games[0], any), games[0].text);
}

namespace {

std::vector<std::string> RealBases() {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(kPgnData, error))
    if (entry.path().extension() == ".pgn") files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

// Every line end made `end`.
std::string WithLineEnds(const std::string& text, std::string_view end) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (text[i] == '\n' || text[i] == '\r')
      out += end;
    else
      out += text[i];
  }
  return out;
}

}  // namespace

// The games each real base holds (an independent reader's counts), read
// alike whatever its line ends, with a byte order mark, joined to itself,
// and cut anywhere.
TEST(PgnReading, RealBasesAreReadSoundlyInEveryShape) {
  std::vector<std::string> files = RealBases();
  if (files.empty()) GTEST_SKIP() << "test data not found: " << kPgnData;
  const std::map<std::string, size_t> counts = {{"pgnmentor_Carlsen.pgn", 1782},
                                                {"twic0920.pgn", 2245},
                                                {"twic_2020_232games.pgn", 232},
                                                {"lichess_FWWRC2024_headers_only.pgn", 605},
                                                {"lichess_uzchesscup2025_headers_only.pgn", 45},
                                                {"python-chess_nepomniachtchi-liren-wch2023-g1.pgn", 1}};
  for (const std::string& path : files) {
    std::string text = ReadFileBytes(path);
    std::string name = std::filesystem::path(path).filename().string();
    size_t games = counts.count(name) ? counts.at(name) : Count(ReadText(text)).first;
    for (std::string_view end : {"\n", "\r\n", "\r"}) {
      std::string shaped = WithLineEnds(text, end);
      EXPECT_EQ(Count(ReadText(shaped)), std::make_pair(games, size_t{0})) << name;
      EXPECT_EQ(Count(ReadText("\xEF\xBB\xBF" + shaped + shaped)), std::make_pair(2 * games, size_t{0}))
          << name;
    }
    // Its first 64 kB in blocks of every size, then whole in bigger ones,
    // without its last line end, and cut in the middle of a game.
    ExpectSoundReading(text.substr(0, 65536), name);
    ExpectSoundReading(text, name, {4096});
    ExpectSoundReading(text.substr(0, text.find_last_not_of("\r\n") + 1), name + " without final line end",
                       {});
    ExpectSoundReading(text.substr(0, text.size() / 2 + 7), name + " cut", {});
  }
}
