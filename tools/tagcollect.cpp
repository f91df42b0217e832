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
#include "tools/nametable.h"
#include "tools/tag_history.h"

namespace {

constexpr Side kSides[2] = {Side::kWhite, Side::kBlack};
// A file smaller than this is read in one part.
constexpr int64_t kLeastToPart = int64_t{8} << 20;
// Mapped pages behind the reading are let go this many bytes at a time.
constexpr size_t kForgetStep = size_t{1} << 20;

// What the reading of a part of the file keeps of a name, until the names
// become the run's rows.
struct PartRow {
  PlaceStore::Chains chains;
  int64_t lastGame = -1;  // the last game counted
  uint32_t games = 0, placesLeftOut = 0;
  bool anonymous = false, unknown = false;
  bool placeWithoutId = false;  // a place without FIDE ID is kept
};

// A part of the file as read: its names (by their row in the table), their
// places, and its games.
struct PartReading {
  explicit PartReading(const TagRunOptions& o) : options(o) {}
  const TagRunOptions& options;
  NameTable rowOf;
  std::deque<PartRow> rows;
  PlaceStore places;
  GameRecords gameRecords;
  std::vector<DamagedGame> damaged;
  int64_t games = 0, bytes = 0, leadingBytes = 0;

  // The row of the name, made when it is new.
  uint32_t RowFor(std::string_view name) {
    uint64_t hash = NameTable::Hash(name);
    if (uint32_t row = rowOf.Find(name, hash); row != NameTable::kNone) return row;
    PartRow& row = rows.emplace_back();
    row.anonymous = IsAnonymousName(name);
    row.unknown = IsUnknownName(name);
    return rowOf.Add(name, hash);
  }
};

void AddGame(const PgnGame& game, PartReading& part, std::vector<HeaderTag>& tags,
             std::vector<std::string>& values) {
  int64_t g = part.games++;
  if (game.damaged) {
    part.gameRecords.Add(game.size, kNoRow, kNoRow);
    part.damaged.push_back({g + 1, game.problemLine, game.problem});
    return;
  }
  ReadHeaderTags(game, tags, values);
  int16_t month = -1;
  if (part.options.history)
    for (const HeaderTag& tag : tags)
      if (tag.name == "Date")
        if (std::optional<MonthNumber> m = MonthOfPgnDate(tag.value)) month = static_cast<int16_t>(*m);
  const std::array<uint8_t, 2> teams = NationalTeams(tags);
  uint32_t entry[2];
  for (Side side : kSides) {
    uint32_t r = entry[side == Side::kBlack] = part.RowFor(SideNameIn(tags, side));
    PartRow& row = part.rows[r];
    if (row.lastGame != g) {
      ++row.games;
      row.lastGame = g;
    }
    // The plug-in never lists anonymous names; they are reported all the
    // same. A place of a name that names nobody gets tags only by its own
    // FIDE ID: the others need not be kept.
    if (row.anonymous) continue;
    PlayerFacts player = ReadSide(tags, side, part.options.fideIdTags);
    player.month = month;
    player.team = teams[side == Side::kBlack];
    if (player.fideId != 0) {
      entry[side == Side::kBlack] |= kSideHasId;
    } else {
      // One place stands for those that say nothing about the player.
      if ((row.unknown || SaysNothing(player)) && row.placeWithoutId) {
        ++row.placesLeftOut;
        continue;
      }
      row.placeWithoutId = true;
    }
    part.places.Add(row.chains, side, player);
  }
  part.gameRecords.Add(game.size, entry[0], entry[1]);
}

enum class Reading : uint8_t { kEnd, kAtStop, kPassedStop, kCancelled };

// Reads pieces into the part until the input ends, a piece ends at or
// beyond `stopAt` (unless it is negative), or `cancel` is set; `every` is
// called every 512 games.
Reading ReadGames(PgnReader& in, PartReading& part, int64_t stopAt, const std::atomic<bool>* cancel,
                  const std::function<void()>& every) {
  std::vector<HeaderTag> tags;
  std::vector<std::string> values;
  PgnGame game;
  while (in.Next(game)) {
    part.bytes += game.size;
    if (!game.isGame) {
      part.leadingBytes += game.size;
    } else {
      if (part.games % 512 == 0) {
        if (every) every();
        if (cancel && cancel->load(std::memory_order_relaxed)) return Reading::kCancelled;
      }
      AddGame(game, part, tags, values);
    }
    if (stopAt >= 0 && part.bytes >= stopAt)
      return part.bytes == stopAt ? Reading::kAtStop : Reading::kPassedStop;
  }
  return Reading::kEnd;
}

// The names read become the run's rows, in name order (bytes as unsigned:
// the plug-in's name order), and the games are pointed at them.
void MakeRows(PartReading& part, TagRun& run) {
  std::vector<uint32_t> order(part.rows.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(),
            [&](uint32_t a, uint32_t b) { return part.rowOf.NameOf(a) < part.rowOf.NameOf(b); });
  std::vector<uint32_t> moved(order.size());
  for (uint32_t i = 0; i < order.size(); ++i) {
    moved[order[i]] = i;
    const PartRow& from = part.rows[order[i]];
    NameRow& row = run.names.emplace_back();
    row.name = part.rowOf.NameOf(order[i]);
    row.games = from.games;
    row.chains = from.chains;
    row.placesLeftOut = from.placesLeftOut;
  }
  part.rows = {};
  part.rowOf = {};
  GameRecords& games = part.gameRecords;
  for (size_t g = 0; g < games.count(); ++g)
    for (uint32_t& r : games.rows[g])
      if (r != kNoRow) r = moved[r & ~kSideHasId] | (r & kSideHasId);
  run.gameRecords = std::move(games);
  run.places = std::move(part.places);
  run.damaged = std::move(part.damaged);
  run.games = part.games;
  run.bytes = part.bytes;
  run.leadingBytes = part.leadingBytes;
}

// The line ends before `split`, a chunk at a time, each let go once
// counted. A chunk ends after a line end, so that a CR LF counts once.
int64_t LinesBefore(const MappedFile& file, size_t split) {
  std::string_view text = file.bytes.substr(0, split);
  int64_t lines = 0;
  size_t forgotten = 0;
  for (size_t at = 0; at < text.size();) {
    size_t end = std::min(text.size(), at + kForgetStep);
    if (end < text.size() && text[end - 1] == '\r') ++end;
    lines += PgnLineEnds(text.substr(at, end - at));
    forgotten = file.Forget(forgotten, end);
    at = end;
  }
  return lines;
}

// The games of the file's later part, read from the start of a game, after
// those of the first, as one reading of the whole file would have them:
// places in game order, one place for those that say nothing, damaged games
// by their number and line in the file.
void JoinLater(PartReading& first, PartReading&& later, const MappedFile& file, size_t split) {
  PlaceStore::Offsets at = first.places.Append(std::move(later.places));
  std::vector<uint32_t> rowMap(later.rows.size());
  for (uint32_t r = 0; r < later.rows.size(); ++r) {
    const PartRow& from = later.rows[r];
    uint32_t to = rowMap[r] = first.RowFor(later.rowOf.NameOf(r));
    PartRow& row = first.rows[to];
    row.games += from.games;
    row.placesLeftOut += from.placesLeftOut;
    PlaceStore::Chains chains = PlaceStore::Shift(from.chains, at);
    // The later part kept its first place without FIDE ID even when it
    // said nothing, not knowing of those before.
    bool drop = row.placeWithoutId && chains.first != PlaceStore::kEnd &&
                (row.unknown || SaysNothing(first.places.FirstWithoutId(chains)));
    if (drop) ++row.placesLeftOut;
    first.places.Join(row.chains, chains, drop);
    row.placeWithoutId = row.placeWithoutId || from.placeWithoutId;
  }
  later.rows = {};
  later.rowOf = {};
  if (!later.damaged.empty()) {
    int64_t linesBefore = LinesBefore(file, split);
    for (const DamagedGame& d : later.damaged)
      first.damaged.push_back({first.games + d.game, linesBefore + d.line, d.problem});
  }
  first.gameRecords.Append(std::move(later.gameRecords), rowMap);
  first.games += later.games;
  first.bytes += later.bytes;
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

void GameRecords::Append(GameRecords&& later, const std::vector<uint32_t>& rowMap) {
  for (size_t g = 0; g < later.count(); ++g) {
    std::array<uint32_t, 2> entry = later.rows[g];
    for (uint32_t& e : entry)
      if (e != kNoRow) e = rowMap[e & ~kSideHasId] | (e & kSideHasId);
    Add(later.Length(static_cast<int64_t>(g)), entry[0], entry[1]);
    if (g % 4096 == 0) {
      later.rows.LetGoBefore(g);
      later.lengths.LetGoBefore(g);
    }
  }
  later = {};
}

bool CollectNames(PgnReader& in, TagRun& run, const ReadingProgress& progress) {
  PartReading part(run.options);
  auto every = [&] {
    if (progress) progress(part.bytes, part.games, part.rowOf.size());
  };
  ReadGames(in, part, -1, nullptr, every);
  if (in.Failed()) return false;
  MakeRows(part, run);
  return true;
}

int CollectNames(const MappedFile& file, TagRun& run, const ReadingProgress& progress, int parts) {
  std::string_view text = file.bytes;
  size_t split = parts > 1 && static_cast<int64_t>(text.size()) >= kLeastToPart
                     ? LikelyGameStart(text, text.size() / 2)
                     : std::string_view::npos;
  PartReading first(run.options), later(run.options);
  std::atomic<bool> cancel = false;
  std::atomic<int64_t> laterBytes = 0, laterGames = 0;
  std::jthread second;
  if (split != std::string_view::npos) {
    second = std::jthread([&, split] {
      PgnReader reader(text.substr(split));
      size_t forgotten = split;
      ReadGames(reader, later, -1, &cancel, [&] {
        laterBytes.store(later.bytes, std::memory_order_relaxed);
        laterGames.store(later.games, std::memory_order_relaxed);
        size_t done = split + static_cast<size_t>(later.bytes);
        if (done - forgotten >= kForgetStep) forgotten = file.Forget(forgotten, done);
      });
    });
  }
  PgnReader reader(text);
  size_t forgotten = 0;
  auto every = [&] {
    if (progress)
      progress(first.bytes + laterBytes.load(std::memory_order_relaxed),
               first.games + laterGames.load(std::memory_order_relaxed), first.rowOf.size());
    auto done = static_cast<size_t>(first.bytes);
    if (done - forgotten >= kForgetStep) forgotten = file.Forget(forgotten, done);
  };
  int64_t stopAt = split == std::string_view::npos ? -1 : static_cast<int64_t>(split);
  parts = 1;
  if (ReadGames(reader, first, stopAt, nullptr, every) == Reading::kAtStop) {
    second.join();
    JoinLater(first, std::move(later), file, split);
    parts = 2;
  } else if (stopAt >= 0) {
    // No game began where the later part began: its reading is worth nothing.
    cancel = true;
    second.join();
    later.rows = {};
    later.rowOf = {};
    later.places.Clear();
    later.gameRecords = {};
    ReadGames(reader, first, -1, nullptr, every);
  }
  file.Forget(0, text.size());
  MakeRows(first, run);
  return parts;
}
