// Any text read as PGN, from a file or from memory, comes back byte for
// byte, is split into games as the stand-in host splits it, and takes new
// tags without losing a game.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "database/pgnstream.h"
#include "hostsim/pgn.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::vector<PgnGame> ReadText(const std::string& text) {
  std::vector<PgnGame> games;
  PgnReader reader{std::string_view(text)};
  PgnGame game;
  while (reader.Next(game)) games.push_back(game);
  return games;
}

std::vector<PgnGame> ReadFile(const std::string& text) {
  std::FILE* f = std::tmpfile();
  if (!f) std::abort();
  std::fwrite(text.data(), 1, text.size(), f);
  std::rewind(f);
  std::vector<PgnGame> games;
  {
    PgnReader reader(f);
    PgnGame game;
    while (reader.Next(game)) games.push_back(game);
    Check(!reader.Failed());
  }
  std::fclose(f);
  return games;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<PgnGame> games = ReadFile(text);
  std::vector<PgnGame> fromMemory = ReadText(text);
  Check(fromMemory.size() == games.size());
  for (size_t i = 0; i < games.size(); ++i)
    Check(fromMemory[i].text == games[i].text && fromMemory[i].tags.size() == games[i].tags.size() &&
          fromMemory[i].damaged == games[i].damaged);

  std::string joined;
  size_t good = 0, damaged = 0;
  for (const PgnGame& g : games) {
    joined += g.text;
    Check(!g.text.empty());
    Check(g.headerEnd <= g.text.size());
    for (const PgnTag& t : g.tags) {
      Check(t.nameStart + t.nameLength <= g.headerEnd);
      Check(t.valueStart <= t.valueEnd && t.valueEnd < g.headerEnd);
    }
    if (g.isGame) (g.damaged ? damaged : good)++;
  }
  Check(joined == text);

  // The host keeps the same games and refuses the same ones.
  pgn::ReadResult host = pgn::Read(text);
  Check(host.games.size() == good);
  Check(static_cast<size_t>(host.skippedGames) == damaged);

  // New and replaced tags: as many games again, each with the values set.
  std::string tagged;
  const TagSetting settings[] = {{"WhiteFIDE", "4100018"}, {"Event", "Quote \" and \\ back"}};
  for (const PgnGame& g : games) tagged += WithTags(g, settings);
  std::vector<PgnGame> again = ReadText(tagged);
  Check(again.size() == games.size());
  for (size_t i = 0; i < games.size(); ++i) {
    Check(again[i].isGame == games[i].isGame && again[i].damaged == games[i].damaged);
    if (!games[i].isGame || games[i].damaged) {
      Check(again[i].text == games[i].text);
      continue;
    }
    const PgnTag* fide = again[i].Find("WhiteFIDE");
    const PgnTag* event = again[i].Find("Event");
    Check(fide && again[i].Value(*fide) == "4100018");
    Check(event && again[i].Value(*event) == "Quote \" and \\ back");
  }
  return 0;
}
