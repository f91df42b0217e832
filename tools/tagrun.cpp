#include "tools/tagrun.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <numeric>
#include <optional>
#include <utility>

#include "tools/tag_history.h"

namespace {

constexpr Side kSides[2] = {Side::kWhite, Side::kBlack};
constexpr size_t kIoBlock = size_t{1} << 20;

int32_t FideIdOf(const PlayerDatabase& db, int32_t index) {
  return db.Players()[static_cast<size_t>(index)].fideId;
}

// The player a choice names: a candidate with that FIDE ID first, else the
// first of the list with it; -1 when there is none.
int32_t ChosenPlayer(const PlayerDatabase& db, int32_t id, const std::vector<SearchHit>& candidates) {
  for (const SearchHit& c : candidates)
    if (FideIdOf(db, c.index) == id) return c.index;
  Player player;
  int32_t index = -1;
  return FindByIdAt(db, id, player, index) ? index : -1;
}

// The month of a name's places without a FIDE ID (the median of those
// known), for the rating in force; -1 none.
MonthNumber MonthOfName(const NameRow& row) {
  std::vector<MonthNumber> months;
  for (const NamePlace& place : row.places)
    if (place.player.fideId == 0 && place.player.month >= 0) months.push_back(place.player.month);
  if (months.empty()) return -1;
  std::nth_element(months.begin(), months.begin() + static_cast<std::ptrdiff_t>(months.size() / 2),
                   months.end());
  return months[months.size() / 2];
}

// The evidence rule for the places without a FIDE ID: the player taken, or
// -1 with the candidates left for a person.
int32_t DecideByEvidence(NameRow& row, const NameStep& step, const TagRun& run) {
  const PlayerDatabase& db = *run.database;
  std::vector<PlaceEvidence> places;
  for (const NamePlace& place : row.places) {
    const PlayerFacts& p = place.player;
    if (p.fideId == 0) places.push_back({p.rating, p.title, p.federation ? p.federation : p.team});
  }
  const NameEvidence evidence = GatherEvidence(row.name, places);
  // With a history, the rating in force in the games' month; against the
  // standard rating, which the game's Elo is, the gates are those of the
  // history.
  const EloGates* gates = &kListGates;
  RatingOf ratingOf;
  if (const RatingHistory* history = run.options.history) {
    const KindHistory& kind = (*history)[run.options.historyKind];
    const MonthNumber month = MonthOfName(row);
    if (month >= 0 && RatingAt(kind, 0, month)) {  // a list of the kind is in force
      if (run.options.historyKind == RatingKind::kStandard) gates = &kHistoryGates;
      ratingOf = [&db, &kind, month](int32_t index) -> uint16_t {
        std::optional<RatingInForce> r = RatingAt(kind, FideIdOf(db, index), month);
        return r ? r->rating : 0;
      };
    }
  }
  EvidenceChoice choice = ChooseByEvidence(db, evidence, step.known, *gates, ratingOf);
  row.note = choice.note;
  if (choice.outcome == EvidenceOutcome::kTaken) {
    row.result = NameResult::kFound;
    row.takenWithoutChoice = row.byEvidence = true;
    row.candidates = {{choice.player, 1}};
    return choice.player;
  }
  row.result = choice.outcome == EvidenceOutcome::kAsked ? NameResult::kAmbiguous : NameResult::kNotFound;
  for (int32_t c : choice.candidates) row.candidates.push_back({c, 1});
  if (row.candidates.empty()) {
    // Nobody fits: the word search's players, for a person who knows better.
    row.candidates = WordSearch(db, row.name);
    PromoteKnownPlayers(row.candidates, step.known);
  }
  return -1;
}

// The word search's clear hit, as the plug-in takes it, and unless loose
// only when the game's name fits it: the player taken, or -1.
int32_t DecideByClearHit(NameRow& row, const NameStep& step, const TagRun& run) {
  const PlayerDatabase& db = *run.database;
  const bool clearHit = step.choice == NameChoice::kClearHit;
  row.takenWithoutChoice =
      clearHit && (run.options.rule == TagRule::kLoose || IsClearFit(db, row.name, step.hits));
  if (clearHit && !row.takenWithoutChoice) {
    row.looseFideId = FideIdOf(db, step.hits[0].index);
    row.note = "--loose takes " + std::to_string(row.looseFideId) + ": the name does not fit " +
               std::string(db.Players()[static_cast<size_t>(step.hits[0].index)].name);
  }
  row.candidates = step.hits;
  if (row.takenWithoutChoice) {
    row.result = NameResult::kFound;
    return step.hits[0].index;
  }
  row.result = step.choice == NameChoice::kNoCandidate ? NameResult::kNotFound : NameResult::kAmbiguous;
  return -1;
}

void Decide(NameRow& row, TagRun& run) {
  const PlayerDatabase& db = *run.database;
  // The step of the plug-in's run: places with a FIDE ID completed from the
  // database, then a choice by name for the others.
  const bool byEvidence = run.options.rule == TagRule::kEvidence;
  NameStep step = PlanNameStep(db, row.name, row.places, run.options.tags, !byEvidence);
  if (step.anonymous) {
    row.result = NameResult::kAnonymous;
    return;
  }
  row.tagsById = !step.byId.empty();
  if (!step.known.empty()) row.fideId = FideIdOf(db, step.known.front());
  if (step.firstWithoutId < 0 || step.unknownName) {
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

  int32_t chosen = byEvidence ? DecideByEvidence(row, step, run) : DecideByClearHit(row, step, run);
  if (chosen < 0 && run.options.extended) {
    // The evidence's fitting players stay first; the plug-in's rules show
    // the tolerant search's alone.
    std::vector<SearchHit> tolerant = ExtendedStepSearch(db, row.name, step.known);
    if (!byEvidence) row.candidates.clear();
    for (const SearchHit& h : tolerant)
      if (std::none_of(row.candidates.begin(), row.candidates.end(),
                       [&](const SearchHit& c) { return c.index == h.index; }))
        row.candidates.push_back(h);
  }
  if (auto choice = run.choices.find(row.name); choice != run.choices.end()) {
    row.choice = choice->second;
    int32_t index = ChosenPlayer(db, row.choice, row.candidates);
    if (index >= 0) {
      chosen = index;
      row.result = NameResult::kChosen;
    } else {
      row.note = "the chosen FIDE ID is not in the database" + (row.note.empty() ? "" : "; " + row.note);
    }
  }
  if (chosen < 0) return;
  row.fideId = FideIdOf(db, chosen);
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
  std::string_view roster = side == Side::kWhite ? "White" : "Black";
  for (const HeaderTag& tag : tags)
    if (tag.name == roster) return tag.value;
  return "?";
}

// The federations of the game's national teams, White's and Black's (0: the
// teams are no national ones, or the game names none).
std::array<uint8_t, 2> NationalTeams(std::span<const HeaderTag> tags) {
  std::string_view white, black;
  for (const HeaderTag& tag : tags) {
    if (tag.name == "WhiteTeam") white = tag.value;
    if (tag.name == "BlackTeam") black = tag.value;
  }
  if (white.empty() || black.empty()) return {0, 0};
  return {NationalTeamFederation(white, black), NationalTeamFederation(black, white)};
}

PlayerFacts ReadSide(std::span<const HeaderTag> tags, Side side, bool fideIdTags) {
  PlayerFacts player;
  ReadPlayerFacts(tags, side, player);
  if (fideIdTags && player.fideId == 0) {
    std::string_view idTag = side == Side::kWhite ? "WhiteFideId" : "BlackFideId";
    for (const HeaderTag& tag : tags) {
      int32_t id = 0;
      if (tag.name == idTag && ParseDecimal(tag.value, id) && id != 0) player.fideId = id;
    }
  }
  return player;
}

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

bool SaysNothing(const PlayerFacts& p) {
  return p.fideId == 0 && p.rating == 0 && p.sex == Sex::kNone && p.title == Title::kNone &&
         p.federation == 0 && p.team == 0 && p.month < 0;
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

bool CollectNames(PgnReader& in, TagRun& run, const TagRunProgress& progress) {
  std::deque<NameRow>& rows = run.names;  // in the order found until the end
  run.rowOf = {};
  std::vector<HeaderTag> tags;
  std::vector<std::string> values;
  PgnGame game;
  while (in.Next(game)) {
    run.bytes += game.size;
    if (!game.isGame) {
      run.leadingBytes += game.size;
      continue;
    }
    int64_t g = run.games++;
    if (progress && g % 4096 == 0) progress(run.bytes);
    if (game.damaged) {
      run.gameRecords.Add(game.size, kNoRow, kNoRow);
      run.damaged.push_back({g + 1, game.problemLine, game.problem});
      continue;
    }
    ReadHeaderTags(game, tags, values);
    int16_t month = -1;
    if (run.options.history)
      for (const HeaderTag& tag : tags)
        if (tag.name == "Date")
          if (std::optional<MonthNumber> m = MonthOfPgnDate(tag.value)) month = static_cast<int16_t>(*m);
    const std::array<uint8_t, 2> teams = NationalTeams(tags);
    uint32_t rowOfSide[2];
    for (Side side : kSides) {
      uint32_t r = rowOfSide[side == Side::kBlack] = RowFor(run, SideNameIn(tags, side));
      NameRow& row = rows[r];
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
      player.team = teams[side == Side::kBlack];
      if (player.fideId == 0) {
        // One place stands for those that say nothing about the player.
        if ((row.unknown || SaysNothing(player)) && row.placeWithoutId) {
          ++row.placesLeftOut;
          continue;
        }
        row.placeWithoutId = true;
      }
      run.places.Add(row.chains, side, player);
    }
    run.gameRecords.Add(game.size, rowOfSide[0], rowOfSide[1]);
  }
  if (in.Failed()) return false;
  std::vector<uint32_t> order(rows.size());
  std::iota(order.begin(), order.end(), 0u);
  // string_view compares bytes as unsigned char: the plug-in's name order.
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    return std::string_view(rows[a].name) < std::string_view(rows[b].name);
  });
  // The rows into that order where they are, each moved once (a cycle of
  // the permutation at a time), and the games pointed at them there; the
  // table of names is not needed any more.
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
      if (r != kNoRow) r = moved[r];
  return true;
}

void DecideNames(TagRun& run) {
  for (NameRow& row : run.names) {
    run.places.Gather(row.chains, row.places);
    Decide(row, run);
    if (run.options.history) ApplyHistory(row, run);
    // The places are not needed any more; the report needs only their count.
    std::vector<NamePlace>().swap(row.places);
    row.chains = {};
  }
  run.places.Clear();
}

namespace {

// What a game's tags are read into, kept from one game to the next.
struct GameScratch {
  std::vector<HeaderTag> tags;
  std::vector<std::string> values;
};

// Whether a place of each row may get tags: by its own FIDE ID, or as a
// place of a name that got a player. One byte a row, at hand for each game.
std::vector<uint8_t> RowsWithTags(const TagRun& run) {
  std::vector<uint8_t> rows(run.names.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const NameRow& r = run.names[i];
    rows[i] = r.result != NameResult::kAnonymous && (r.tagsById || r.chosen >= 0);
  }
  return rows;
}

// The tags the game of these rows gets, appended to `writes` in the order
// the plug-in writes them. False when its names are not those of the rows
// (the file changed since it was read).
bool AddGameTagWrites(const PgnGame& game, const std::array<uint32_t, 2>& rows, const TagRun& run,
                      GameScratch& scratch, std::vector<TagWrite>& writes) {
  ReadHeaderTags(game, scratch.tags, scratch.values);
  const std::vector<HeaderTag>& tags = scratch.tags;
  struct SideWrites {
    const NameRow* row;
    Side side;
    PlayerFacts player;
  };
  SideWrites sides[2];
  int count = 0;
  for (Side side : kSides) {
    const NameRow* row = &run.names[rows[side == Side::kBlack]];
    if (row->name != SideNameIn(tags, side)) return false;
    if (row->result == NameResult::kAnonymous) continue;
    PlayerFacts player = ReadSide(tags, side, run.options.fideIdTags);
    if (player.fideId == 0 && row->chosen < 0) continue;
    sides[count++] = {row, side, player};
  }
  // The plug-in writes name by name in name order; within a name, first the
  // places known by FIDE ID, then the others, each in game order.
  if (count == 2 &&
      (sides[1].row->name < sides[0].row->name ||
       (sides[1].row == sides[0].row && sides[0].player.fideId == 0 && sides[1].player.fideId != 0)))
    std::swap(sides[0], sides[1]);
  std::optional<MonthNumber> month;
  if (run.options.history && count > 0)
    for (const HeaderTag& tag : tags)
      if (tag.name == "Date") month = MonthOfPgnDate(tag.value);
  for (int i = 0; i < count; ++i) {
    const SideWrites& s = sides[i];
    Player record;
    int32_t index = s.row->chosen;
    if (s.player.fideId != 0) {
      if (!FindByIdAt(*run.database, s.player.fideId, record, index)) continue;  // an ID the database lacks
    } else {
      record = run.database->Players()[static_cast<size_t>(index)];
    }
    // With a history, the rating in force at the game's date instead of today's.
    if (run.options.history && month) record.rating = HistoryRating(run, record.fideId, *month);
    PlayerTags t = s.player.fideId == 0
                       ? FideTagWrites(record, s.row->name, s.player, s.side, run.options.tags)
                       : PlayerTagWrites(record, s.row->name, s.player, s.side, run.options.tags);
    for (TagWrite& w : t.writes) writes.push_back(std::move(w));
  }
  return true;
}

}  // namespace

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

bool WriteTaggedGames(std::FILE* in, std::FILE* out, const TagRun& run, const TagRunProgress& progress) {
  PieceReader reader(in);
  BlockWriter writer(out);
  PgnHeaderReader headers;
  PgnGame game;
  GameScratch scratch;
  std::vector<TagWrite> writes;
  std::vector<TagSetting> settings;
  auto damaged = run.damaged.begin();
  std::vector<uint8_t> withTags = RowsWithTags(run);
  auto mayGetTags = [&](uint32_t row) { return row != kNoRow && withTags[row] != 0; };
  if (!CopyPiece(reader, writer, run.leadingBytes)) return false;
  int64_t done = run.leadingBytes;
  for (int64_t g = 0; g < static_cast<int64_t>(run.gameRecords.count()); ++g) {
    if (progress && g % 4096 == 0) progress(done);
    int64_t length = run.gameRecords.Length(g);
    const std::array<uint32_t, 2>& rows = run.gameRecords.rows[static_cast<size_t>(g)];
    done += length;
    // A damaged game is copied as it is, however long.
    if (damaged != run.damaged.end() && damaged->game == g + 1) {
      ++damaged;
      if (!CopyPiece(reader, writer, length)) return false;
      continue;
    }
    std::string_view text = reader.Take(static_cast<size_t>(length));
    if (text.size() != static_cast<size_t>(length)) return false;
    // A game none of whose players gets tags is copied without reading it.
    if (!mayGetTags(rows[0]) && !mayGetTags(rows[1])) {
      writer.Write(text);
      continue;
    }
    // The game alone reads as it read within the file.
    if (!headers.Read(text, game) || game.damaged) return false;
    writes.clear();
    if (!AddGameTagWrites(game, rows, run, scratch, writes)) return false;
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
