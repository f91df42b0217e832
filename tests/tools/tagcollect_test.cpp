// A mapped file read in two parts side by side gives the run that one
// reading of the whole file gives, and read from the mapping the second
// time, the same bytes as read as a stream.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "files/mappedfile.h"
#include "pgn/pgnstream.h"
#include "players/playerdatabase.h"
#include "tests/tempdir.h"
#include "tools/tagcollect.h"
#include "tools/tagrun.h"
#include "tools/tagwrite.h"

namespace {

std::string Game(const std::string& white, const std::string& black, const std::string& extra = "") {
  return "[Event \"E\"]\n[White \"" + white + "\"]\n[Black \"" + black + "\"]\n" + extra + "\n1. e4 *\n\n";
}

// Games of a few names, some saying nothing about their players, some with
// an Elo, a FIDE ID, a title, up to `bytes`.
std::string Games(size_t bytes, int seed) {
  const char* names[] = {"Navara,D", "Smith,J", "?", "Anonymous", "Bocharov,D", "Smith,B", "Doe,J"};
  std::string text;
  for (int i = seed; text.size() < bytes; ++i) {
    std::string extra;
    if (i % 3 == 0) extra += "[WhiteElo \"" + std::to_string(1800 + i % 700) + "\"]\n";
    if (i % 7 == 1) extra += "[BlackFIDE \"33\"]\n";
    if (i % 11 == 2) extra += "[BlackTitle \"GM\"]\n";
    text += Game(names[i % 7], names[(3 * i + 1) % 7], extra);
  }
  return text;
}

// Everything the first reading leaves for the decisions and the second
// reading, as text.
std::string Dump(const TagRun& run) {
  std::ostringstream out;
  out << run.games << " games, " << run.bytes << " bytes, " << run.leadingBytes << " leading\n";
  std::vector<NamePlace> places;
  for (const NameRow& row : run.names) {
    out << row.name << ": " << row.games << " games, " << row.placesLeftOut << " left out;";
    run.places.Gather(row.chains, places);
    for (const NamePlace& p : places)
      out << ' ' << (p.side == Side::kWhite ? 'w' : 'b') << p.player.fideId << '/' << p.player.rating << '/'
          << static_cast<int>(p.player.title);
    out << '\n';
  }
  for (const DamagedGame& d : run.damaged)
    out << "damaged " << d.game << " line " << d.line << ' ' << d.problem << '\n';
  for (size_t g = 0; g < run.gameRecords.count(); ++g)
    out << run.gameRecords.Length(static_cast<int64_t>(g)) << ':' << run.gameRecords.rows[g][0] << ','
        << run.gameRecords.rows[g][1] << ' ';
  return out.str();
}

class TwoParts : public ::testing::Test {
 protected:
  void SetUp() override {
    db = DatabaseOf(std::vector<PlayerRow>{{"Navara, David", 309095, 2706}, {"Smith, John", 33, 1900}});
  }

  // Reads text both ways and expects the same run; returns the parts the
  // mapped reading took.
  int ExpectSameRun(const std::string& text) {
    std::string path = dir.File("games.pgn");
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    std::FILE* in = std::fopen(path.c_str(), "rb");
    TagRun stream;
    stream.database = &db;
    {
      PgnReader reader(in);
      EXPECT_TRUE(CollectNames(reader, stream));
    }
    MappedFile mapped;
    if (!MapFileOnly(path, mapped)) {
      std::fclose(in);
      return 0;
    }
    TagRun parted;
    parted.database = &db;
    int parts = CollectNames(mapped, parted);
    EXPECT_EQ(Dump(parted), Dump(stream));
    // Decided alike, written alike from the mapping and from the stream.
    DecideNames(stream);
    DecideNames(parted, 2);
    std::string fromStream = Written([&](std::FILE* out) {
      std::rewind(in);
      return WriteTaggedGames(in, out, stream);
    });
    std::string fromMap = Written([&](std::FILE* out) { return WriteTaggedGames(mapped, out, parted); });
    EXPECT_EQ(fromMap, fromStream);
    EXPECT_GT(fromStream.size(), text.size()) << "some games get tags";
    std::fclose(in);
    return parts;
  }

  template <class Write>
  std::string Written(Write write) {
    std::FILE* out = std::tmpfile();
    EXPECT_TRUE(write(out));
    std::string text(static_cast<size_t>(std::ftell(out)), '\0');
    std::rewind(out);
    EXPECT_EQ(std::fread(text.data(), 1, text.size(), out), text.size());
    std::fclose(out);
    return text;
  }

  PlayerDatabase db;
  TempDir dir;
};

}  // namespace

// The later part begins with names the first part has seen: places that
// say nothing (one stands for all), of a name that names nobody, with FIDE
// IDs; and a damaged game, counted by its number and line in the file.
TEST_F(TwoParts, ReadAsOneReadingOfTheWholeFile) {
  std::string first = "% leading text\n\n" + Games(size_t{5} << 20, 0);
  std::string later = Game("Smith,J", "?") + Game("Navara,D", "Anonymous", "[WhiteFIDE \"309095\"]\n") +
                      Game("Doe,J", "Smith,B", "[WhiteElo \"2000\"]\n") + "[Event \"Broken]\n\n*\n\n" +
                      Game("Newcomer,A", "Smith,J") + Games(size_t{4} << 20, 5);
  // The later part begins at the first game after the middle.
  ASSERT_LT(later.size(), first.size());
  later.append(first.size() - later.size() - 2, '\n');
  EXPECT_EQ(ExpectSameRun(first + later), 2);
}

TEST_F(TwoParts, NoGameBeginningInTheMiddleIsReadInOnePart) {
  // The middle falls in a comment that holds what looks like a game.
  std::string first = Games(size_t{5} << 20, 0);
  std::string comment = "{a comment\n\n[Event \"not a game\"]\n}\n";
  std::string rest = Games(first.size() - (size_t{64} << 10), 3);
  ASSERT_LT(comment.size() + rest.size(), first.size());
  rest.append(first.size() + 2 - comment.size() - rest.size(), '\n');
  EXPECT_EQ(ExpectSameRun(first + comment + rest), 1);
  // A file too small to part.
  EXPECT_EQ(ExpectSameRun(Games(size_t{1} << 20, 0)), 1);
}
