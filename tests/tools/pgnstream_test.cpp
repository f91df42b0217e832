// The PGN stream keeps every byte: games put back together give the file,
// tags set change only their own lines, and games are told apart and
// refused exactly as the stand-in host's reader does.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "database/pgnstream.h"
#include "hostsim/pgn.h"

using namespace std::string_literals;

namespace {

const std::string kPgnData = std::string(VELMARSH_TESTDATA) + "/pgn";

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

std::vector<PgnGame> ReadAll(const std::string& text) {
  MemoryFile file(text);
  PgnReader reader(file.f);
  std::vector<PgnGame> games;
  PgnGame game;
  while (reader.Next(game)) games.push_back(game);
  EXPECT_FALSE(reader.Failed());
  return games;
}

std::string Joined(const std::vector<PgnGame>& games) {
  std::string all;
  for (const PgnGame& g : games) all += g.text;
  return all;
}

using Tags = std::vector<std::pair<std::string, std::string>>;

Tags TagsOf(const PgnGame& game) {
  Tags tags;
  for (const PgnTag& t : game.tags) tags.emplace_back(game.Name(t), game.Value(t));
  return tags;
}

// The games as the host reads them: roster first, the damaged ones left out.
void ExpectAsHostReads(const std::string& text, const std::string& what) {
  std::vector<PgnGame> games = ReadAll(text);
  ASSERT_EQ(Joined(games), text) << what;
  pgn::ReadResult host = pgn::Read(text);
  size_t good = 0, damaged = 0;
  for (const PgnGame& g : games) {
    if (!g.isGame) continue;
    if (g.damaged) {
      ++damaged;
      continue;
    }
    ASSERT_LT(good, host.games.size()) << what;
    pgn::Game mine;
    mine.tags = TagsOf(g);
    pgn::ArrangeRoster(mine);
    EXPECT_EQ(mine.tags, host.games[good].tags) << what << ", game " << good;
    ++good;
  }
  EXPECT_EQ(good, host.games.size()) << what;
  EXPECT_EQ(damaged, static_cast<size_t>(host.skippedGames)) << what;
}

std::vector<std::string> RealBases() {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(kPgnData, error))
    if (entry.path().extension() == ".pgn") files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

TEST(PgnStream, RealBasesComeBackByteForByteAndSplitAsTheHostSplitsThem) {
  std::vector<std::string> files = RealBases();
  if (files.empty()) GTEST_SKIP() << "test data not found: " << kPgnData;
  for (const std::string& path : files) {
    std::string text = ReadFileBytes(path);
    ExpectAsHostReads(text, path);
    ExpectAsHostReads(WithCrLf(text), path + " with CR LF");
    ExpectAsHostReads("\xEF\xBB\xBF" + text, path + " with a byte-order mark");
    // Without its last line end, and cut in the middle of a game.
    ExpectAsHostReads(text.substr(0, text.find_last_not_of("\r\n") + 1), path + " without final line end");
    ExpectAsHostReads(text.substr(0, text.size() / 2 + 7), path + " cut");
  }
}

// Every game gets a new tag and a replaced Event: removing the new lines and
// putting the old values back gives the file.
TEST(PgnStream, SettingTagsChangesOnlyTheirLines) {
  std::vector<std::string> files = RealBases();
  if (files.empty()) GTEST_SKIP() << "test data not found: " << kPgnData;
  for (const std::string& path : files) {
    for (bool crlf : {false, true}) {
      std::string text = ReadFileBytes(path);
      if (crlf) text = WithCrLf(text);
      std::string tagged, restored;
      for (const PgnGame& g : ReadAll(text)) {
        TagSetting settings[] = {{"WhiteFIDE", "123"}, {"Event", "A \"new\" event"}};
        std::string out = WithTags(g, settings);
        tagged += out;
        if (!g.isGame || g.damaged) {
          EXPECT_EQ(out, g.text);
          restored += out;
          continue;
        }
        const PgnTag* event = g.Find("Event");
        if (event) {
          std::string_view now = R"(A \"new\" event)";
          ASSERT_EQ(out.substr(event->valueStart, now.size()), now);
          out.replace(event->valueStart, now.size(), g.text, event->valueStart,
                      event->valueEnd - event->valueStart);
        }
        // At the end of a file without a final line end, the line end comes first.
        auto line = [&](std::string text) {
          return g.headerEndsLine ? text + std::string(g.lineEnd) : std::string(g.lineEnd) + text;
        };
        std::string added;
        if (!g.Find("WhiteFIDE")) added += line("[WhiteFIDE \"123\"]");
        if (!event) added += line(R"([Event "A \"new\" event"])");
        ASSERT_EQ(out.substr(g.headerEnd, added.size()), added) << path;
        out.erase(g.headerEnd, added.size());
        EXPECT_EQ(out, g.text) << path;
        restored += out;
      }
      EXPECT_EQ(restored, text) << path;
      // The tagged file reads back with the new values and as many games.
      std::vector<PgnGame> again = ReadAll(tagged);
      std::vector<PgnGame> before = ReadAll(text);
      ASSERT_EQ(again.size(), before.size()) << path;
      for (size_t i = 0; i < again.size(); ++i) {
        if (!again[i].isGame || again[i].damaged) continue;
        ASSERT_TRUE(again[i].Find("WhiteFIDE")) << path;
        EXPECT_EQ(again[i].Value(*again[i].Find("Event")), "A \"new\" event");
      }
    }
  }
}

TEST(PgnStream, GamesEndWhereTheHostEndsThem) {
  const std::string text =
      "% escape line before the first game\n"
      "\n"
      "[Event \"One\"] [Site \"Two tags on a line\"]\n"
      "[White \"A\"]\n"
      "\n"
      "1. e4 {a comment\n"
      "[Not \"a tag: inside the comment\"]\n"
      "} e5 (1... c5 2. Nf3) ; rest of line [x\n"
      "% escape line in the moves\n"
      "1-0\n"
      "\n\n"
      "[Event \"Headers only\"]\n"
      "\n"
      "[Event \"Three\"]\n"
      "1. d4 {never closed\n"
      "\n"
      "[Event \"Four\"]\n"
      "[White \"B\"]";
  std::vector<PgnGame> games = ReadAll(text);
  ExpectAsHostReads(text, "crafted");
  ASSERT_EQ(games.size(), 4u);
  EXPECT_EQ(games[0].firstLine, 3);
  EXPECT_EQ(games[0].tags.size(), 3u);
  EXPECT_FALSE(games[0].damaged);
  EXPECT_TRUE(games[0].text.starts_with("% escape line"));
  EXPECT_TRUE(games[0].text.ends_with("1-0\n\n\n"));
  EXPECT_EQ(games[1].Value(games[1].tags[0]), "Headers only");
  EXPECT_TRUE(games[2].damaged);
  EXPECT_EQ(games[2].problem, "comment is not closed");
  EXPECT_EQ(games[2].problemLine, 16);
  EXPECT_FALSE(games[3].headerEndsLine);
  // A header at the very end of the file: the new tag goes on a new line,
  // and the file still ends without a line end.
  TagSetting black[] = {{"Black", "C"}};
  EXPECT_EQ(WithTags(games[3], black), "[Event \"Four\"]\n[White \"B\"]\n[Black \"C\"]");
}

TEST(PgnStream, DamagedGamesAreKeptAndNamed) {
  const std::string text =
      "[Event \"Good\"]\r\n\r\n1. e4 *\r\n\r\n"
      "[Event \"Bad]\r\n\r\n1. e4 *\r\n\r\n"
      "[Event \"Zero\"]\r\n\r\n1. e4\0 *\r\n\r\n"s
      "[White Doe]\r\n";
  std::vector<PgnGame> games = ReadAll(text);
  ExpectAsHostReads(text, "damaged");
  ASSERT_EQ(games.size(), 4u);
  EXPECT_FALSE(games[0].damaged);
  EXPECT_EQ(games[1].problem, "value of tag Event is not closed");
  EXPECT_EQ(games[1].problemLine, 5);
  EXPECT_EQ(games[2].problem, "zero byte in the text");
  EXPECT_EQ(games[3].problem, "tag White has no quoted value");
  TagSetting any[] = {{"Event", "x"}};
  for (size_t i = 1; i < 4; ++i) EXPECT_EQ(WithTags(games[i], any), games[i].text);
  EXPECT_EQ(WithTags(games[0], any), "[Event \"x\"]\r\n\r\n1. e4 *\r\n\r\n");
}

TEST(PgnStream, ValuesKeepTheirBytesUnlessChanged) {
  const std::string text = "[Event \"A \\\"quoted\\\" \\\\ name\"]\n[White \"Doe, J\"]\n\n*\n";
  std::vector<PgnGame> games = ReadAll(text);
  ASSERT_EQ(games.size(), 1u);
  EXPECT_EQ(games[0].Value(games[0].tags[0]), "A \"quoted\" \\ name");
  TagSetting same[] = {{"Event", "A \"quoted\" \\ name"}, {"White", "Doe, J"}};
  EXPECT_EQ(WithTags(games[0], same), text);
  // The later of two settings of one tag wins, new tags in their order.
  TagSetting changed[] = {{"WhiteElo", "1"}, {"White", "Doe, John"}, {"WhiteElo", "2"}, {"WhiteSex", "M"}};
  EXPECT_EQ(WithTags(games[0], changed),
            "[Event \"A \\\"quoted\\\" \\\\ name\"]\n[White \"Doe, John\"]\n[WhiteElo \"2\"]\n[WhiteSex "
            "\"M\"]\n\n*\n");
}

TEST(PgnStream, LongLinesCrossTheReadBlocks) {
  std::string comment(3'000'000, 'x');
  std::string text = "[Event \"Long\"]\n\n1. e4 {" + comment + "} *\n\n[Event \"Next\"]\n\n*\n";
  std::vector<PgnGame> games = ReadAll(text);
  ASSERT_EQ(games.size(), 2u);
  EXPECT_EQ(Joined(games), text);
  EXPECT_EQ(games[1].firstLine, 5);
}

TEST(PgnStream, TextWithoutGames) {
  EXPECT_TRUE(ReadAll("").empty());
  std::vector<PgnGame> games = ReadAll("\n  \n% only escapes\n");
  ASSERT_EQ(games.size(), 1u);
  EXPECT_FALSE(games[0].isGame);
  TagSetting any[] = {{"Event", "x"}};
  EXPECT_EQ(WithTags(games[0], any), games[0].text);
}

}  // namespace
