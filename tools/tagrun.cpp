#include "tools/tagrun.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <optional>
#include <unordered_map>

#include "tools/tag_history.h"

namespace {

constexpr Side kSides[2] = {Side::White, Side::Black};

size_t PlaceSlot(int64_t game, Side side) {
  return static_cast<size_t>(game) * 2 + (side == Side::Black ? 1 : 0);
}

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

// The month of a name's places without a FIDE ID (the median of those
// known), for the rating in force; -1 none.
MonthNumber MonthOfName(const NameRow& row, const TagRun& run) {
  std::vector<MonthNumber> months;
  for (const NamePlace& place : row.places) {
    const size_t game = static_cast<size_t>(place.game);
    if (place.player.fideId == 0 && game < run.gameMonth.size() && run.gameMonth[game] >= 0)
      months.push_back(run.gameMonth[game]);
  }
  if (months.empty()) return -1;
  std::nth_element(months.begin(), months.begin() + months.size() / 2, months.end());
  return months[months.size() / 2];
}

// The evidence rule for the places without a FIDE ID: the player taken, or
// -1 with the candidates left for a person.
int32_t DecideByEvidence(NameRow& row, const NameStep& step, const TagRun& run) {
  std::vector<PlaceEvidence> places;
  for (size_t i = 0; i < row.places.size(); ++i)
    if (row.places[i].player.fideId == 0) places.push_back(row.evidence[i]);
  const NameEvidence evidence = GatherEvidence(row.name, places);
  // With a history, the standard rating in force in the games' month: the
  // game's Elo is one, so the gates are those of the history.
  const EloGates* gates = &kListGates;
  RatingOf ratingOf;
  if (const RatingHistory* history = run.options.history) {
    const KindHistory& kind = (*history)[run.options.historyKind];
    const MonthNumber month = MonthOfName(row, run);
    if (month >= 0 && RatingAt(kind, 0, month)) {
      if (run.options.historyKind == RatingKind::kStandard) gates = &kHistoryGates;
      ratingOf = [&kind, month](int32_t index) -> uint16_t {
        std::optional<RatingInForce> r = RatingAt(kind, FideIdOf(index), month);
        return r ? r->rating : 0;
      };
    }
  }
  EvidenceChoice choice = ChooseByEvidence(evidence, step.known, *gates, ratingOf);
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
    row.candidates = WordSearch(row.name);
    PromoteKnownPlayers(row.candidates, step.known);
  }
  return -1;
}

// The word search's clear hit, as the plug-in takes it, and unless loose
// only when the game's name fits it: the player taken, or -1.
int32_t DecideByClearHit(NameRow& row, const NameStep& step, const TagRun& run) {
  const bool clearHit = step.choice == NameChoice::ClearHit;
  row.takenWithoutChoice =
      clearHit && (run.options.rule == TagRule::kLoose || IsClearFit(row.name, step.hits));
  if (clearHit && !row.takenWithoutChoice) {
    row.looseFideId = FideIdOf(step.hits[0].index);
    row.note = "--loose takes " + std::to_string(row.looseFideId) + ": the name does not fit " +
               std::string(PlayerList()[static_cast<size_t>(step.hits[0].index)].name);
  }
  row.candidates = step.hits;
  if (row.takenWithoutChoice) {
    row.result = NameResult::kFound;
    return step.hits[0].index;
  }
  row.result = step.choice == NameChoice::NoCandidate ? NameResult::kNotFound : NameResult::kAmbiguous;
  return -1;
}

void Decide(NameRow& row, TagRun& run) {
  // The step of the plug-in's run: places with a FIDE ID completed from the
  // database, then a choice by name for the others.
  const bool byEvidence = run.options.rule == TagRule::kEvidence;
  NameStep step = PlanNameStep(row.name, row.places, run.options.tags, !byEvidence);
  if (step.anonymous) {
    row.result = NameResult::kAnonymous;
    return;
  }
  for (const PlaceTags& p : step.byId) {
    const NamePlace& place = row.places[p.place];
    run.applied[PlaceSlot(place.game, place.side)] = p.player;
  }
  if (!step.known.empty()) row.fideId = FideIdOf(step.known.front());
  if (step.firstWithoutId < 0) {
    row.result = step.AddsTagById()                               ? NameResult::kById
                 : step.known.empty() && !step.unknownIds.empty() ? NameResult::kUnknownId
                                                                  : NameResult::kPresent;
    return;
  }

  int32_t chosen = byEvidence ? DecideByEvidence(row, step, run) : DecideByClearHit(row, step, run);
  if (chosen < 0 && run.options.extended) {
    // The evidence's fitting players stay first; the plug-in's rules show
    // the tolerant search's alone.
    std::vector<SearchHit> tolerant = ExtendedStepSearch(row.name, step.known);
    if (!byEvidence) row.candidates.clear();
    for (const SearchHit& h : tolerant)
      if (std::none_of(row.candidates.begin(), row.candidates.end(),
                       [&](const SearchHit& c) { return c.index == h.index; }))
        row.candidates.push_back(h);
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
  for (const PlaceTags& p : ChosenPlayerTags(row.places, chosen, run.options.tags)) {
    const NamePlace& place = row.places[p.place];
    run.applied[PlaceSlot(place.game, place.side)] = chosen;
    run.withFideId[PlaceSlot(place.game, place.side)] = 1;
  }
}

// The game's tags as the rules read them; `values` holds the values that
// had escapes.
std::vector<HeaderTag> HeaderTags(const PgnGame& game, std::vector<std::string>& values) {
  std::vector<HeaderTag> tags;
  tags.reserve(game.tags.size());
  values.clear();
  values.reserve(game.tags.size());
  for (const PgnTag& tag : game.tags) {
    std::string_view value = game.RawValue(tag);
    if (tag.escaped) value = values.emplace_back(game.Value(tag));
    tags.push_back({game.Name(tag), value});
  }
  return tags;
}

GamePlayer ReadSide(const PgnGame& game, std::span<const HeaderTag> tags, Side side, bool fideIdTags) {
  GamePlayer player = ReadGamePlayer(SideName(game, side), tags, side);
  if (fideIdTags && player.fideId == 0) {
    std::string_view idTag = side == Side::White ? "WhiteFideId" : "BlackFideId";
    for (const HeaderTag& tag : tags) {
      int32_t id = 0;
      if (tag.name == idTag && ParseDecimal(tag.value, id) && id != 0) player.fideId = id;
    }
  }
  return player;
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
  }
  return "";
}

std::string SideName(const PgnGame& game, Side side) {
  const PgnTag* tag = game.Find(side == Side::White ? "White" : "Black");
  return tag ? game.Value(*tag) : std::string("?");
}

GamePlayer SidePlayer(const PgnGame& game, Side side, bool fideIdTags) {
  std::vector<std::string> values;
  std::vector<HeaderTag> tags = HeaderTags(game, values);
  return ReadSide(game, tags, side, fideIdTags);
}

bool CollectNames(PgnReader& in, TagRun& run, std::FILE* spool) {
  std::unordered_map<std::string, uint32_t> rowOf;
  std::vector<NameRow> rows;
  std::vector<std::string> values;
  PgnGame game;
  while (in.Next(game)) {
    int64_t offset = run.bytes;
    run.bytes += static_cast<int64_t>(game.text.size());
    if (spool && std::fwrite(game.text.data(), 1, game.text.size(), spool) != game.text.size()) return false;
    if (!game.isGame) continue;
    if (game.text.size() > UINT32_MAX) return false;
    run.gameBytes.push_back({offset, static_cast<uint32_t>(game.text.size())});
    auto g = static_cast<int32_t>(run.games++);
    if (game.damaged) {
      run.damaged.push_back({g + 1, game.problemLine, game.problem});
      continue;
    }
    std::vector<HeaderTag> tags = HeaderTags(game, values);
    const std::array<uint8_t, 2> teams = NationalTeams(tags);
    for (Side side : kSides) {
      GamePlayer player = ReadSide(game, tags, side, run.options.fideIdTags);
      const std::string& name = player.name;
      // The plug-in never lists these; they are reported all the same.
      auto [it, isNew] = rowOf.try_emplace(name, static_cast<uint32_t>(rows.size()));
      if (isNew) {
        rows.emplace_back();
        rows.back().name = name;
      }
      NameRow& row = rows[it->second];
      if (row.places.empty() || row.places.back().game != g) ++row.games;
      // What the game says of the player besides the name: its Elo, title,
      // and country tag or national team.
      row.evidence.push_back({player.rating, player.title,
                              player.federation ? player.federation : teams[side == Side::White ? 0 : 1]});
      row.places.push_back({g, side, std::move(player)});
    }
    if (run.options.history) {
      const PgnTag* date = game.Find("Date");
      std::optional<MonthNumber> month = date ? MonthOfPgnDate(game.Value(*date)) : std::nullopt;
      run.gameMonth.resize(static_cast<size_t>(g) + 1, -1);
      if (month) run.gameMonth[static_cast<size_t>(g)] = *month;
    }
  }
  if (in.Failed()) return false;
  std::vector<uint32_t> order(rows.size());
  std::iota(order.begin(), order.end(), 0u);
  // string_view compares bytes as unsigned char: the plug-in's name order.
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    return std::string_view(rows[a].name) < std::string_view(rows[b].name);
  });
  run.names.clear();
  run.names.reserve(rows.size());
  for (uint32_t i : order) run.names.push_back(std::move(rows[i]));
  return true;
}

void DecideNames(TagRun& run) {
  run.applied.assign(static_cast<size_t>(run.games) * 2, -1);
  run.withFideId.assign(static_cast<size_t>(run.games) * 2, 0);
  run.historyRating.assign(run.options.history ? static_cast<size_t>(run.games) * 2 : 0, -1);
  for (NameRow& row : run.names) {
    Decide(row, run);
    if (run.options.history) ApplyHistory(row, run);
    // The places are not needed any more; the report needs only their count.
    row.places = {};
    row.evidence = {};
  }
}

std::vector<TagWrite> GameTagWrites(const PgnGame& game, int64_t gameIndex, const TagRun& run) {
  struct SideWrites {
    Side side;
    GamePlayer player;
    bool byName;  // applied to a place without FIDE ID: written after those with one
  };
  std::vector<std::string> values;
  std::vector<HeaderTag> tags = HeaderTags(game, values);
  std::vector<SideWrites> sides;
  for (Side side : kSides) {
    size_t slot = PlaceSlot(gameIndex, side);
    if (slot >= run.applied.size() || run.applied[slot] < 0) continue;
    sides.push_back({side, ReadSide(game, tags, side, run.options.fideIdTags), run.withFideId[slot] != 0});
  }
  // The plug-in writes name by name in name order; within a name, first the
  // places known by FIDE ID, then the others, each in game order.
  std::sort(sides.begin(), sides.end(), [](const SideWrites& a, const SideWrites& b) {
    if (a.player.name != b.player.name)
      return std::string_view(a.player.name) < std::string_view(b.player.name);
    return a.byName < b.byName;
  });
  std::vector<TagWrite> writes;
  for (const SideWrites& s : sides) {
    size_t slot = PlaceSlot(gameIndex, s.side);
    Player record = PlayerList()[static_cast<size_t>(run.applied[slot])];
    // With a history, the rating in force at the game's date instead of today's.
    if (slot < run.historyRating.size() && run.historyRating[slot] >= 0)
      record.rating = static_cast<uint16_t>(run.historyRating[slot]);
    PlayerTags t = s.byName ? FideTagWrites(record, s.player, s.side, run.options.tags)
                            : PlayerTagWrites(record, s.player, s.side, run.options.tags);
    for (TagWrite& w : t.writes) writes.push_back(std::move(w));
  }
  return writes;
}

namespace {

// Copies n bytes from in to out; false on a short read or a write error.
bool CopyBytes(std::FILE* in, std::FILE* out, int64_t n, std::string& buffer) {
  buffer.resize(size_t{1} << 20);
  while (n > 0) {
    size_t chunk = static_cast<size_t>(std::min<int64_t>(n, static_cast<int64_t>(buffer.size())));
    if (std::fread(buffer.data(), 1, chunk, in) != chunk) return false;
    if (std::fwrite(buffer.data(), 1, chunk, out) != chunk) return false;
    n -= static_cast<int64_t>(chunk);
  }
  return true;
}

}  // namespace

bool WriteTaggedGames(std::FILE* in, std::FILE* out, const TagRun& run) {
  std::string buffer, text;
  std::vector<TagSetting> settings;
  int64_t at = 0;
  for (size_t g = 0; g < run.gameBytes.size(); ++g) {
    if (run.applied[2 * g] < 0 && run.applied[2 * g + 1] < 0) continue;
    const TagRun::Span& span = run.gameBytes[g];
    if (!CopyBytes(in, out, span.offset - at, buffer)) return false;
    text.resize(span.length);
    if (std::fread(text.data(), 1, text.size(), in) != text.size()) return false;
    at = span.offset + span.length;
    // The game alone reads as it read within the file.
    PgnReader reader(text);
    PgnGame game;
    if (!reader.Next(game) || !game.isGame || game.damaged || game.text.size() != text.size()) return false;
    std::vector<TagWrite> writes = GameTagWrites(game, static_cast<int64_t>(g), run);
    settings.clear();
    for (const TagWrite& w : writes) settings.push_back({w.name, w.value});
    std::string tagged = WithTags(game, settings);
    if (std::fwrite(tagged.data(), 1, tagged.size(), out) != tagged.size()) return false;
  }
  if (!CopyBytes(in, out, run.bytes - at, buffer)) return false;
  // The file must end where it ended before.
  return std::fgetc(in) == EOF && !std::ferror(in);
}
