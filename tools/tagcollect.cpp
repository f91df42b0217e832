#include "tools/tagcollect.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <numeric>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

#include "tools/gameheader.h"
#include "tools/tag_history.h"

namespace {

constexpr Side kSides[2] = {Side::White, Side::Black};
// A file smaller than this is read in one part.
constexpr int64_t kLeastToPart = int64_t{8} << 20;
// Mapped pages behind the reading are let go this many bytes at a time.
constexpr int64_t kReleaseStep = int64_t{4} << 20;

// The row of the name, made when it is new.
uint32_t RowFor(TagRun& run, std::string_view name) {
  uint64_t hash = NameTable::Hash(name);
  if (uint32_t row = run.rowOf.Find(name, hash); row != NameTable::kNone) return row;
  NameRow& row = run.names.emplace_back();
  row.name = name;
  row.anonymous = IsAnonymousName(name);
  row.unknown = IsUnknownName(name);
  return run.rowOf.Add(name, hash);
}

void AddGame(const PgnGame& game, TagRun& run, std::vector<HeaderTag>& tags,
             std::vector<std::string>& values) {
  int64_t g = run.games++;
  if (game.damaged) {
    run.gameRecords.Add(game.size, kNoRow, kNoRow);
    run.damaged.push_back({g + 1, game.problemLine, game.problem});
    return;
  }
  ReadHeaderTags(game, tags, values);
  int16_t month = -1;
  if (run.options.history)
    for (const HeaderTag& tag : tags)
      if (tag.name == "Date")
        if (std::optional<MonthNumber> m = MonthOfPgnDate(tag.value)) month = static_cast<int16_t>(*m);
  const std::array<uint8_t, 2> teams = NationalTeams(tags);
  uint32_t entry[2];
  for (Side side : kSides) {
    uint32_t r = entry[side == Side::Black] = RowFor(run, SideNameIn(tags, side));
    NameRow& row = run.names[r];
    if (row.lastGame != g) {
      ++row.games;
      row.lastGame = g;
    }
    // The plug-in never lists anonymous names; they are reported all the
    // same. A place of a name that names nobody gets tags only by its own
    // FIDE ID: the others need not be kept.
    if (row.anonymous) continue;
    PlayerFacts player = ReadSide(tags, side, run.options.fideIdTags);
    player.month = month;
    player.team = teams[side == Side::Black];
    if (player.fideId != 0) {
      entry[side == Side::Black] |= kSideHasId;
    } else {
      // One place stands for those that say nothing about the player.
      if ((row.unknown || SaysNothing(player)) && row.placeWithoutId) {
        ++row.placesLeftOut;
        continue;
      }
      row.placeWithoutId = true;
    }
    run.places.Add(row.chains, side, player);
  }
  run.gameRecords.Add(game.size, entry[0], entry[1]);
}

enum class Reading : uint8_t { kEnd, kAtStop, kPassedStop, kCancelled };

// Reads pieces into the run until the input ends, a piece ends at or
// beyond `stopAt` (unless it is negative), or `cancel` is set; `every` is
// called every 4096 games.
Reading ReadGames(PgnReader& in, TagRun& run, int64_t stopAt, const std::atomic<bool>* cancel,
                  const std::function<void()>& every) {
  std::vector<HeaderTag> tags;
  std::vector<std::string> values;
  PgnGame game;
  while (in.Next(game)) {
    run.bytes += game.size;
    if (!game.isGame) {
      run.leadingBytes += game.size;
    } else {
      if (run.games % 4096 == 0) {
        if (every) every();
        if (cancel && cancel->load(std::memory_order_relaxed)) return Reading::kCancelled;
      }
      AddGame(game, run, tags, values);
    }
    if (stopAt >= 0 && run.bytes >= stopAt)
      return run.bytes == stopAt ? Reading::kAtStop : Reading::kPassedStop;
  }
  return Reading::kEnd;
}

// The rows into name order (bytes as unsigned: the plug-in's name order),
// each moved once where it is (a cycle of the permutation at a time), and
// the games pointed at them there; the table of names is not needed any more.
void OrderNames(TagRun& run) {
  std::deque<NameRow>& rows = run.names;
  std::vector<uint32_t> order(rows.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    return std::string_view(rows[a].name) < std::string_view(rows[b].name);
  });
  run.rowOf = {};
  std::vector<uint32_t> moved(rows.size());
  for (uint32_t i = 0; i < order.size(); ++i) moved[order[i]] = i;
  std::vector<bool> placed(rows.size());
  for (size_t start = 0; start < rows.size(); ++start) {
    if (placed[start]) continue;
    NameRow first = std::move(rows[start]);
    size_t at = start;
    for (;;) {
      placed[at] = true;
      size_t from = order[at];
      if (from == start) break;
      rows[at] = std::move(rows[from]);
      at = from;
    }
    rows[at] = std::move(first);
  }
  for (size_t g = 0; g < run.gameRecords.count(); ++g)
    for (uint32_t& r : run.gameRecords.rows[g])
      if (r != kNoRow) r = moved[r & ~kSideHasId] | (r & kSideHasId);
}

// The games of the file's later part, read into `later` from the start of
// a game, after those of the run, as one reading of the whole file would
// have them: places in game order, one place for those that say nothing,
// damaged games by their number and line in the file.
void JoinLater(TagRun& run, TagRun& later, int64_t linesBefore) {
  PlaceStore::Offsets at = run.places.Append(std::move(later.places));
  std::vector<uint32_t> rowMap(later.names.size());
  for (size_t r = 0; r < later.names.size(); ++r) {
    NameRow& from = later.names[r];
    uint32_t to = rowMap[r] = RowFor(run, from.name);
    NameRow& row = run.names[to];
    row.games += from.games;
    row.placesLeftOut += from.placesLeftOut;
    PlaceStore::Chains chains = PlaceStore::Shift(from.chains, at);
    // The later part kept its first place without FIDE ID even when it
    // said nothing, not knowing of those before.
    bool drop = row.placeWithoutId && chains.first != PlaceStore::kEnd &&
                (row.unknown || SaysNothing(run.places.FirstWithoutId(chains)));
    if (drop) ++row.placesLeftOut;
    run.places.Join(row.chains, chains, drop);
    row.placeWithoutId = row.placeWithoutId || from.placeWithoutId;
  }
  for (const DamagedGame& d : later.damaged)
    run.damaged.push_back({run.games + d.game, linesBefore + d.line, d.problem});
  run.gameRecords.Append(later.gameRecords, rowMap);
  run.games += later.games;
  run.bytes += later.bytes;
}

// Where the later part may begin: a '[' at the start of a line after an
// empty line, at or after `from`, as games usually begin; npos none.
size_t LikelyGameStart(std::string_view text, size_t from) {
  for (size_t at = from; (at = text.find("\n[", at)) != std::string_view::npos; ++at) {
    size_t before = at;  // the line end before the '['
    if (before > 0 && text[before - 1] == '\r') --before;
    if (before > 0 && text[before - 1] == '\n') return at + 1;
  }
  return std::string_view::npos;
}

}  // namespace

void GameRecords::Add(int64_t length, uint32_t white, uint32_t black) {
  constexpr uint16_t kLonger = UINT16_MAX;
  if (length >= kLonger) longer[static_cast<int64_t>(count())] = length;
  lengths.push_back(static_cast<uint16_t>(std::min<int64_t>(length, kLonger)));
  rows.push_back({white, black});
}

int64_t GameRecords::Length(int64_t game) const {
  uint16_t length = lengths[static_cast<size_t>(game)];
  return length == UINT16_MAX ? longer.at(game) : length;
}

void GameRecords::Append(const GameRecords& later, const std::vector<uint32_t>& rowMap) {
  for (size_t g = 0; g < later.count(); ++g) {
    std::array<uint32_t, 2> entry = later.rows[g];
    for (uint32_t& e : entry)
      if (e != kNoRow) e = rowMap[e & ~kSideHasId] | (e & kSideHasId);
    Add(later.Length(static_cast<int64_t>(g)), entry[0], entry[1]);
  }
}

bool CollectNames(PgnReader& in, TagRun& run, const ReadingProgress& progress) {
  run.rowOf = {};
  auto every = [&] {
    if (progress) progress(run.bytes, run.games, run.rowOf.size());
  };
  ReadGames(in, run, -1, nullptr, every);
  if (in.Failed()) return false;
  OrderNames(run);
  return true;
}

int CollectNames(const MappedFile& file, TagRun& run, const ReadingProgress& progress, int parts) {
  std::string_view text = file.bytes();
  run.rowOf = {};
  size_t split = parts > 1 && static_cast<int64_t>(text.size()) >= kLeastToPart
                     ? LikelyGameStart(text, text.size() / 2)
                     : std::string_view::npos;
  // The later part: its own rows and places, joined to the run's at the end.
  TagRun later;
  later.options = run.options;
  std::atomic<bool> cancel = false;
  std::atomic<int64_t> laterBytes = 0, laterGames = 0;
  std::jthread second;
  if (split != std::string_view::npos) {
    second = std::jthread([&, split] {
      PgnReader reader(text.substr(split));
      int64_t released = 0;
      ReadGames(reader, later, -1, &cancel, [&] {
        laterBytes.store(later.bytes, std::memory_order_relaxed);
        laterGames.store(later.games, std::memory_order_relaxed);
        if (later.bytes - released >= kReleaseStep) {
          file.Release(static_cast<int64_t>(split) + released, static_cast<int64_t>(split) + later.bytes);
          released = later.bytes;
        }
      });
    });
  }
  PgnReader reader(text);
  int64_t released = 0;
  auto every = [&] {
    if (progress)
      progress(run.bytes + laterBytes.load(std::memory_order_relaxed),
               run.games + laterGames.load(std::memory_order_relaxed), run.rowOf.size());
    if (run.bytes - released >= kReleaseStep) {
      file.Release(released, run.bytes);
      released = run.bytes;
    }
  };
  int64_t stopAt = split == std::string_view::npos ? -1 : static_cast<int64_t>(split);
  parts = 1;
  if (ReadGames(reader, run, stopAt, nullptr, every) == Reading::kAtStop) {
    second.join();
    JoinLater(run, later, PgnLineEnds(text.substr(0, split)));
    parts = 2;
  } else if (stopAt >= 0) {
    // No game began where the later part began: its reading is worth nothing.
    cancel = true;
    second.join();
    ReadGames(reader, run, -1, nullptr, every);
  }
  file.Release(0, static_cast<int64_t>(text.size()));
  OrderNames(run);
  return parts;
}
