#include "tools/tagrun.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <numeric>
#include <optional>

#include "tools/tag_history.h"

namespace {

constexpr Side kSides[2] = {Side::White, Side::Black};
constexpr uint32_t kPlaceBlock = 1u << 16;
constexpr size_t kIoBlock = size_t{1} << 20;

int32_t FideIdOf(int32_t index) { return PlayerList()[static_cast<size_t>(index)].fideId; }

// The player a choice names: a candidate with that FIDE ID first, else the
// first of the list with it; -1 when there is none.
int32_t ChosenPlayer(int32_t id, const std::vector<SearchHit>& candidates) {
  for (const SearchHit& c : candidates)
    if (FideIdOf(c.index) == id) return c.index;
  Player player;
  int32_t index = -1;
  return FindByIdAt(id, player, index) ? index : -1;
}

void Decide(NameRow& row, TagRun& run) {
  // The step of the plug-in's run: places with a FIDE ID completed from the
  // database, the word search for the others.
  NameStep step = PlanNameStep(row.name, row.places, run.options.tags);
  if (step.anonymous) {
    row.result = NameResult::kAnonymous;
    return;
  }
  if (!step.known.empty()) row.fideId = FideIdOf(step.known.front());
  if (step.choice == NameChoice::None || step.unknownName) {
    row.result = step.AddsTagById()                               ? NameResult::kById
                 : !step.byId.empty()                             ? NameResult::kPresent
                 : step.known.empty() && !step.unknownIds.empty() ? NameResult::kUnknownId
                 : step.unknownName                               ? NameResult::kUnknownName
                                                                  : NameResult::kPresent;
    if (step.unknownName && run.choices.count(row.name)) {
      row.choice = run.choices.at(row.name);
      row.note = "a name that names nobody takes no choice";
    }
    return;
  }

  // Taken without a choice: the plug-in's rule, and unless loose the fit of
  // the game's name to the player, since nobody sees the result.
  const bool clearHit = step.choice == NameChoice::ClearHit;
  row.takenWithoutChoice = clearHit && (run.options.loose || IsClearFit(row.name, step.hits));
  if (clearHit && !row.takenWithoutChoice) {
    row.looseFideId = FideIdOf(step.hits[0].index);
    row.note = "--loose takes " + std::to_string(row.looseFideId) + ": the name does not fit " +
               std::string(PlayerList()[static_cast<size_t>(step.hits[0].index)].name);
  }
  row.candidates = step.hits;
  int32_t chosen = -1;
  if (row.takenWithoutChoice) {
    chosen = step.hits[0].index;
    row.result = NameResult::kFound;
  } else {
    row.result = step.choice == NameChoice::NoCandidate ? NameResult::kNotFound : NameResult::kAmbiguous;
    if (run.options.extended) row.candidates = ExtendedStepSearch(row.name, step.known);
  }
  if (auto choice = run.choices.find(row.name); choice != run.choices.end()) {
    row.choice = choice->second;
    int32_t index = ChosenPlayer(row.choice, row.candidates);
    if (index >= 0) {
      chosen = index;
      row.result = NameResult::kChosen;
    } else {
      row.note = "the chosen FIDE ID is not in the database" + (row.note.empty() ? "" : "; " + row.note);
    }
  }
  if (chosen < 0) return;
  row.fideId = FideIdOf(chosen);
  row.chosen = chosen;
}

// The game's tags as the rules read them; `values` holds the values that
// had escapes.
void ReadHeaderTags(const PgnGame& game, std::vector<HeaderTag>& tags, std::vector<std::string>& values) {
  tags.clear();
  values.clear();
  values.reserve(game.tags.size());
  for (const PgnTag& tag : game.tags) {
    std::string_view value = game.RawValue(tag);
    if (tag.escaped) value = values.emplace_back(game.Value(tag));
    tags.push_back({game.Name(tag), value});
  }
}

// The side's name as the rules read it, "?" when the game has none.
std::string_view SideNameIn(std::span<const HeaderTag> tags, Side side) {
  std::string_view roster = side == Side::White ? "White" : "Black";
  for (const HeaderTag& tag : tags)
    if (tag.name == roster) return tag.value;
  return "?";
}

PlayerFacts ReadSide(std::span<const HeaderTag> tags, Side side, bool fideIdTags) {
  PlayerFacts player;
  ReadPlayerFacts(tags, side, player);
  if (fideIdTags && player.fideId == 0) {
    std::string_view idTag = side == Side::White ? "WhiteFideId" : "BlackFideId";
    for (const HeaderTag& tag : tags) {
      int32_t id = 0;
      if (tag.name == idTag && ParseDecimal(tag.value, id) && id != 0) player.fideId = id;
    }
  }
  return player;
}

constexpr uint32_t kBlackBit = 1u << 31;

PlaceLink& LinkAt(TagRun& run, uint32_t i) { return run.places[i / kPlaceBlock][i % kPlaceBlock]; }

// Keeps a place of the row, at the end of its chain.
void AddPlace(TagRun& run, NameRow& row, const PlayerFacts& player, Side side) {
  if (run.placeCount % kPlaceBlock == 0) run.places.push_back(std::make_unique<PlaceLink[]>(kPlaceBlock));
  uint32_t i = run.placeCount++;
  LinkAt(run, i) = {player, kChainEnd | (side == Side::Black ? kBlackBit : 0)};
  if (row.lastPlace == kChainEnd)
    row.firstPlace = i;
  else
    LinkAt(run, row.lastPlace).nextAndSide = (LinkAt(run, row.lastPlace).nextAndSide & kBlackBit) | i;
  row.lastPlace = i;
}

// The row's places, from their chain.
void GatherPlaces(TagRun& run, NameRow& row) {
  row.places.clear();
  for (uint32_t i = row.firstPlace; i != kChainEnd;) {
    const PlaceLink& link = LinkAt(run, i);
    row.places.push_back({-1, link.nextAndSide & kBlackBit ? Side::Black : Side::White, link.player});
    i = link.nextAndSide & ~kBlackBit;
  }
}

bool SaysNothing(const PlayerFacts& p) {
  return p.fideId == 0 && p.rating == 0 && p.sex == Sex::None && p.title == Title::None &&
         p.federation == 0 && p.month < 0;
}

}  // namespace

std::string_view ResultText(NameResult result) {
  switch (result) {
    case NameResult::kById: return "by id";
    case NameResult::kFound: return "found";
    case NameResult::kChosen: return "chosen";
    case NameResult::kPresent: return "already present";
    case NameResult::kUnknownId: return "unknown id";
    case NameResult::kAmbiguous: return "ambiguous";
    case NameResult::kNotFound: return "not found";
    case NameResult::kAnonymous: return "anonymous";
    case NameResult::kUnknownName: return "unknown name";
  }
  return "";
}

std::string SideName(const PgnGame& game, Side side) {
  const PgnTag* tag = game.Find(side == Side::White ? "White" : "Black");
  return tag ? game.Value(*tag) : std::string("?");
}

bool CollectNames(PgnReader& in, TagRun& run) {
  std::deque<NameRow> rows;  // stable while rowOf points at their names
  run.rowOf.clear();
  std::vector<HeaderTag> tags;
  std::vector<std::string> values;
  PgnGame game;
  while (in.Next(game)) {
    run.bytes += game.size;
    if (!game.isGame) {
      run.leadingBytes += game.size;
      continue;
    }
    if (game.size >= kLongGame) run.longGames[run.games] = game.size;
    run.gameBytes.push_back(static_cast<uint32_t>(std::min<int64_t>(game.size, kLongGame)));
    int64_t g = run.games++;
    if (game.damaged) {
      run.damaged.push_back({g + 1, game.problemLine, game.problem});
      continue;
    }
    ReadHeaderTags(game, tags, values);
    int16_t month = -1;
    if (run.options.history)
      for (const HeaderTag& tag : tags)
        if (tag.name == "Date")
          if (std::optional<MonthNumber> m = MonthOfPgnDate(tag.value)) month = static_cast<int16_t>(*m);
    for (Side side : kSides) {
      std::string_view name = SideNameIn(tags, side);
      auto found = run.rowOf.find(name);
      if (found == run.rowOf.end()) {
        NameRow& added = rows.emplace_back();
        added.name = name;
        added.anonymous = IsAnonymousName(name);
        added.unknown = IsUnknownName(name);
        found = run.rowOf.emplace(added.name, static_cast<uint32_t>(rows.size() - 1)).first;
      }
      NameRow& row = rows[found->second];
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
      if (player.fideId == 0) {
        // One place stands for those that say nothing about the player.
        if ((row.unknown || SaysNothing(player)) && row.placeWithoutId) {
          ++row.placesLeftOut;
          continue;
        }
        row.placeWithoutId = true;
      }
      AddPlace(run, row, player, side);
    }
  }
  if (in.Failed()) return false;
  std::vector<uint32_t> order(rows.size());
  std::iota(order.begin(), order.end(), 0u);
  // string_view compares bytes as unsigned char: the plug-in's name order.
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    return std::string_view(rows[a].name) < std::string_view(rows[b].name);
  });
  run.rowOf.clear();
  run.names.clear();
  run.names.reserve(rows.size());
  for (uint32_t i : order) run.names.push_back(std::move(rows[i]));
  rows.clear();
  for (uint32_t i = 0; i < run.names.size(); ++i) run.rowOf.emplace(run.names[i].name, i);
  return true;
}

void DecideNames(TagRun& run) {
  for (NameRow& row : run.names) {
    GatherPlaces(run, row);
    Decide(row, run);
    if (run.options.history) ApplyHistory(row, run);
    // The places are not needed any more; the report needs only their count.
    row.places = {};
    row.firstPlace = row.lastPlace = kChainEnd;
  }
  run.places.clear();
  run.placeCount = 0;
}

std::vector<TagWrite> GameTagWrites(const PgnGame& game, const TagRun& run) {
  std::vector<HeaderTag> tags;
  std::vector<std::string> values;
  ReadHeaderTags(game, tags, values);
  struct SideWrites {
    const NameRow* row;
    Side side;
    PlayerFacts player;
  };
  SideWrites sides[2];
  int count = 0;
  for (Side side : kSides) {
    auto found = run.rowOf.find(SideNameIn(tags, side));
    if (found == run.rowOf.end()) continue;
    const NameRow& row = run.names[found->second];
    if (row.result == NameResult::kAnonymous) continue;
    PlayerFacts player = ReadSide(tags, side, run.options.fideIdTags);
    if (player.fideId == 0 && row.chosen < 0) continue;
    sides[count++] = {&row, side, player};
  }
  // The plug-in writes name by name in name order; within a name, first the
  // places known by FIDE ID, then the others, each in game order.
  if (count == 2 &&
      (sides[1].row->name < sides[0].row->name ||
       (sides[1].row == sides[0].row && sides[0].player.fideId == 0 && sides[1].player.fideId != 0)))
    std::swap(sides[0], sides[1]);
  std::optional<MonthNumber> month;
  if (run.options.history)
    for (const HeaderTag& tag : tags)
      if (tag.name == "Date") month = MonthOfPgnDate(tag.value);
  std::vector<TagWrite> writes;
  for (int i = 0; i < count; ++i) {
    const SideWrites& s = sides[i];
    Player record;
    int32_t index = s.row->chosen;
    if (s.player.fideId != 0) {
      if (!FindByIdAt(s.player.fideId, record, index)) continue;  // an ID the database lacks
    } else {
      record = PlayerList()[static_cast<size_t>(index)];
    }
    // With a history, the rating in force at the game's date instead of today's.
    if (run.options.history && month) record.rating = HistoryRating(run, record.fideId, *month);
    PlayerTags t = s.player.fideId == 0
                       ? FideTagWrites(record, s.row->name, s.player, s.side, run.options.tags)
                       : PlayerTagWrites(record, s.row->name, s.player, s.side, run.options.tags);
    for (TagWrite& w : t.writes) writes.push_back(std::move(w));
  }
  return writes;
}

namespace {

// The file read again, a game at a time: each piece's bytes in the buffer,
// as long as it is.
struct PieceReader {
  explicit PieceReader(std::FILE* file) : in(file) {}
  std::FILE* in;
  std::string buffer;
  size_t at = 0, held = 0;
  bool failed = false;

  // The next n bytes, or a shorter view at the end of the file.
  std::string_view Take(size_t n) {
    if (held - at < n) {
      std::memmove(buffer.data(), buffer.data() + at, held - at);
      held -= at;
      at = 0;
      if (buffer.size() < std::max(n, kIoBlock)) buffer.resize(std::max(n, kIoBlock));
      while (held < n) {
        size_t got = std::fread(buffer.data() + held, 1, buffer.size() - held, in);
        if (got == 0) {
          failed = std::ferror(in) != 0;
          break;
        }
        held += got;
      }
    }
    std::string_view piece(buffer.data() + at, std::min(n, held - at));
    at += piece.size();
    return piece;
  }
  bool AtEnd() { return at == held && std::fgetc(in) == EOF && !std::ferror(in); }
};

struct BlockWriter {
  explicit BlockWriter(std::FILE* file) : out(file) { buffer.reserve(kIoBlock); }
  std::FILE* out;
  std::string buffer;
  bool failed = false;

  void Write(std::string_view bytes) {
    if (buffer.size() + bytes.size() > kIoBlock) Flush();
    if (bytes.size() >= kIoBlock) {
      failed = failed || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size();
      return;
    }
    buffer += bytes;
  }
  void Flush() {
    failed = failed || std::fwrite(buffer.data(), 1, buffer.size(), out) != buffer.size();
    buffer.clear();
  }
};

// Copies n bytes through, a block at a time.
bool CopyPiece(PieceReader& in, BlockWriter& out, int64_t n) {
  while (n > 0) {
    auto chunk = static_cast<size_t>(std::min<int64_t>(n, static_cast<int64_t>(kIoBlock)));
    std::string_view bytes = in.Take(chunk);
    if (bytes.size() != chunk) return false;
    out.Write(bytes);
    n -= static_cast<int64_t>(chunk);
  }
  return true;
}

}  // namespace

bool WriteTaggedGames(std::FILE* in, std::FILE* out, const TagRun& run) {
  PieceReader reader(in);
  BlockWriter writer(out);
  PgnHeaderReader headers;
  PgnGame game;
  std::vector<TagSetting> settings;
  auto damaged = run.damaged.begin();
  if (!CopyPiece(reader, writer, run.leadingBytes)) return false;
  for (size_t g = 0; g < run.gameBytes.size(); ++g) {
    int64_t length = run.gameBytes[g];
    if (length == kLongGame) length = run.longGames.at(static_cast<int64_t>(g));
    // A damaged game is copied as it is, however long.
    if (damaged != run.damaged.end() && damaged->game == static_cast<int64_t>(g) + 1) {
      ++damaged;
      if (!CopyPiece(reader, writer, length)) return false;
      continue;
    }
    std::string_view text = reader.Take(static_cast<size_t>(length));
    // The game alone reads as it read within the file.
    if (text.size() != static_cast<size_t>(length) || !headers.Read(text, game) || game.damaged) return false;
    std::vector<TagWrite> writes = GameTagWrites(game, run);
    if (writes.empty()) {
      writer.Write(text);
      continue;
    }
    settings.clear();
    for (const TagWrite& w : writes) settings.push_back({w.name, w.value});
    writer.Write(WithTags(game, settings));
  }
  writer.Flush();
  // The file must end where it ended before.
  return !writer.failed && !reader.failed && reader.AtEnd();
}
