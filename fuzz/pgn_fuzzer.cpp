// Any text read as PGN comes back byte for byte, whether read from memory or
// from a file in blocks of any size; each game read alone reads as it read
// within the text; and tags set go only into their own game's header: the
// tagged text reads as the same games, each with exactly the tags set, and
// its bytes are the game's with the new lines added and the values
// replaced, nothing else moved.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "pgn/pgnstream.h"

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

// Read from a file `block` bytes at a time, with the copy of every byte.
std::vector<PgnGame> ReadFile(const std::string& text, size_t block) {
  std::FILE* f = std::tmpfile();
  std::FILE* copy = std::tmpfile();
  if (!f || !copy) std::abort();
  std::fwrite(text.data(), 1, text.size(), f);
  std::rewind(f);
  std::vector<PgnGame> games;
  {
    PgnReader reader(f, copy, block);
    PgnGame game;
    while (reader.Next(game)) games.push_back(game);
    Check(!reader.Failed());
  }
  std::string copied(text.size() + 1, '\0');
  std::rewind(copy);
  copied.resize(std::fread(copied.data(), 1, copied.size(), copy));
  Check(copied == text);
  std::fclose(f);
  std::fclose(copy);
  return games;
}

using Tags = std::vector<std::pair<std::string, std::string>>;

Tags TagsOf(const PgnGame& game) {
  Tags tags;
  for (const PgnTag& t : game.tags) tags.emplace_back(game.Name(t), game.Value(t));
  return tags;
}

// The same piece; `why` compares what makes a game damaged too, which a
// game read alone may tell otherwise (a malformed pair read on into the next
// game's bytes within the file, to the end of the text alone).
bool Same(const PgnGame& a, const PgnGame& b, bool why) {
  return a.text == b.text && a.size == b.size && a.isGame == b.isGame && a.damaged == b.damaged &&
         (!why || (a.problem == b.problem && a.problemLine == b.problemLine)) && TagsOf(a) == TagsOf(b) &&
         a.movetextStart == b.movetextStart && a.headerEnd == b.headerEnd &&
         a.headerEndsLine == b.headerEndsLine && a.lineEnd == b.lineEnd;
}

const TagSetting kSettings[] = {{"WhiteFIDE", "4100018"}, {"Event", "Quote \" and \\ back"}};

// What setting kSettings must make of a good game, worked out apart from
// WithTags: the values replaced where they stand, the new pairs at headerEnd.
std::string ExpectedTagging(const PgnGame& g) {
  std::string out = g.text;
  std::string added;
  for (const TagSetting& s : kSettings) {
    if (g.Find(s.name)) continue;
    std::string pair = "[" + std::string(s.name) + " \"" + EscapeTagValue(s.value) + "\"]";
    added += g.headerEndsLine ? pair + std::string(g.lineEnd) : std::string(g.lineEnd) + pair;
  }
  out.insert(g.headerEnd, added);
  std::vector<std::pair<const PgnTag*, std::string>> replaced;
  for (const TagSetting& s : kSettings)
    if (const PgnTag* t = g.Find(s.name); t && g.Value(*t) != s.value)
      replaced.emplace_back(t, EscapeTagValue(s.value));
  std::sort(replaced.begin(), replaced.end(),
            [](const auto& a, const auto& b) { return a.first->valueStart > b.first->valueStart; });
  for (const auto& [t, raw] : replaced) out.replace(t->valueStart, t->valueEnd - t->valueStart, raw);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<PgnGame> games = ReadText(text);
  size_t block = 1 + (size > 0 ? data[0] % 61 : 0);
  std::vector<PgnGame> fromFile = ReadFile(text, block);
  Check(fromFile.size() == games.size());
  for (size_t i = 0; i < games.size(); ++i) Check(Same(fromFile[i], games[i], true));

  std::string joined;
  PgnHeaderReader headers;
  for (const PgnGame& g : games) {
    joined += g.text;
    Check(!g.text.empty() && g.size == static_cast<int64_t>(g.text.size()));
    Check(g.headerEnd <= g.text.size() && g.movetextStart <= g.text.size());
    for (const PgnTag& t : g.tags) {
      Check(t.nameStart + t.nameLength < t.valueStart && t.valueStart <= t.valueEnd &&
            t.valueEnd < g.headerEnd);
    }
    // The game alone is the same game; so is its header read again.
    std::vector<PgnGame> alone = ReadText(g.text);
    Check(alone.size() == 1 && Same(alone[0], g, false));
    PgnGame header;
    if (g.isGame && !g.damaged) Check(headers.Read(g.text, header) && TagsOf(header) == TagsOf(g));
  }
  Check(joined == text);

  // Tags set: the same games, each with the values set, no byte moved.
  std::string tagged;
  for (const PgnGame& g : games) {
    std::string out = WithTags(g, kSettings);
    if (!g.isGame || g.damaged)
      Check(out == g.text);
    else
      Check(out == ExpectedTagging(g));
    tagged += out;
  }
  std::vector<PgnGame> again = ReadText(tagged);
  Check(again.size() == games.size());
  for (size_t i = 0; i < games.size(); ++i) {
    Check(again[i].isGame == games[i].isGame && again[i].damaged == games[i].damaged);
    if (!games[i].isGame || games[i].damaged) {
      Check(again[i].text == games[i].text);
      continue;
    }
    Tags want = TagsOf(games[i]);
    for (const TagSetting& s : kSettings) {
      auto at = std::find_if(want.begin(), want.end(), [&](const auto& t) { return t.first == s.name; });
      if (at != want.end())
        at->second = s.value;
      else
        want.emplace_back(s.name, s.value);
    }
    Check(TagsOf(again[i]) == want);
  }
  return 0;
}
