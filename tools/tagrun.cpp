#include "tools/tagrun.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <unordered_map>

#include "tools/tag_history.h"

namespace {

constexpr Side kSides[2] = {Side::kWhite, Side::kBlack};

size_t PlaceSlot(uint32_t game, Side side) { return size_t{game} * 2 + static_cast<size_t>(side); }

// The tolerant search keeps this many candidates, less the players the
// name already carries by FIDE ID.
constexpr int32_t kExtendedResults = 20;

std::vector<tsearchress> Search(const std::string& name, bool ranked, int32_t limit) {
  struct RestoreLimit {
    ~RestoreLimit() { MaxResults = kDefaultMaxResults; }
  } restore;
  MaxResults = std::max(limit, 1);
  if (ranked)
    RankedSearch(name);
  else
    WordSearch(name);
  return SearchResults;
}

int32_t FideIdOf(int32_t index) { return PlayerList()[static_cast<size_t>(index)].fideId; }

// The player a choice names: a candidate with that FIDE ID first, else the
// first of the list with it; -1 when there is none.
int32_t ChosenPlayer(int32_t id, const std::vector<tsearchress>& candidates) {
  for (const tsearchress& c : candidates)
    if (FideIdOf(c.index) == id) return c.index;
  fideitem player;
  int32_t index = -1;
  return FindByIdAt(id, player, index) ? index : -1;
}

void Decide(NameRow& row, TagRun& run) {
  if (IsAnonymousName(row.name)) {
    row.result = NameResult::kAnonymous;
    return;
  }
  // Places that name the player by FIDE ID are completed from the database.
  struct Known {
    int32_t id, index;
  };
  std::vector<Known> known;
  std::vector<int32_t> missing;
  bool added = false, withoutId = false;
  for (const NamePlace& place : row.places) {
    int32_t id = place.info.fideId;
    if (id == 0) {
      withoutId = true;
      continue;
    }
    auto it = std::find_if(known.begin(), known.end(), [&](const Known& k) { return k.id == id; });
    if (it == known.end()) {
      if (std::find(missing.begin(), missing.end(), id) != missing.end()) continue;
      fideitem player;
      int32_t index = -1;
      if (!FindByIdAt(id, player, index)) {
        missing.push_back(id);
        continue;
      }
      known.push_back({id, index});
      it = known.end() - 1;
    }
    run.applied[PlaceSlot(place.game, place.side)] = it->index;
    const fideitem& record = PlayerList()[static_cast<size_t>(it->index)];
    if (WritesPlayerTag(PlayerTagWrites(place.side, record, row.name, place.info, run.options.tags, false),
                        place.side))
      added = true;
  }
  if (!known.empty()) row.fideId = known.front().id;
  if (!withoutId) {
    row.result = added ? NameResult::kById : known.empty() && !missing.empty() ? NameResult::kUnknownId
                                                                              : NameResult::kPresent;
    return;
  }

  // The places without FIDE ID all get one player, found by name. Players
  // this name carries by ID elsewhere rank among the best.
  std::vector<int32_t> knownIndexes;
  for (const Known& k : known) knownIndexes.push_back(k.index);
  std::vector<tsearchress> results = Search(row.name, false, kDefaultMaxResults);
  PromoteKnownPlayers(results, knownIndexes);

  row.takenWithoutChoice = IsClearCut(results);
  row.candidates = results;
  int32_t chosen = -1;
  if (row.takenWithoutChoice) {
    chosen = results[0].index;
    row.result = NameResult::kFound;
  } else {
    row.result = results.empty() ? NameResult::kNotFound : NameResult::kAmbiguous;
    if (run.options.extended) {
      row.candidates = Search(row.name, true, kExtendedResults - static_cast<int32_t>(knownIndexes.size()));
      PromoteKnownPlayers(row.candidates, knownIndexes);
    }
  }
  if (auto choice = run.choices.find(row.name); choice != run.choices.end()) {
    row.choice = choice->second;
    int32_t index = ChosenPlayer(row.choice, row.candidates);
    if (index >= 0) {
      chosen = index;
      row.result = NameResult::kChosen;
    } else {
      row.note = "the chosen FIDE ID is not in the database";
    }
  }
  if (chosen < 0) return;
  row.fideId = FideIdOf(chosen);
  for (const NamePlace& place : row.places) {
    if (place.info.fideId != 0) continue;
    run.applied[PlaceSlot(place.game, place.side)] = chosen;
    run.withFideId[PlaceSlot(place.game, place.side)] = 1;
  }
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
  const PgnTag* tag = game.Find(SideNameTag(side));
  return tag ? game.Value(*tag) : std::string("?");
}

GamePlayerInfo SideInfo(const PgnGame& game, Side side, bool fideIdTags) {
  GamePlayerInfo info;
  // Every tag is read, so a later tag overrides an earlier one of its name.
  for (const PgnTag& tag : game.tags) {
    std::string_view name = game.Name(tag);
    if (name.size() < 5 || name[0] != (side == Side::kWhite ? 'W' : 'B')) continue;
    ReadSideTag(name, game.Value(tag), side, info);
  }
  if (fideIdTags && info.fideId == 0) {
    std::string_view idTag = side == Side::kWhite ? "WhiteFideId" : "BlackFideId";
    for (const PgnTag& tag : game.tags) {
      int32_t id = 0;
      if (game.Name(tag) == idTag && ParseDecimal(game.Value(tag), id) && id != 0) info.fideId = id;
    }
  }
  return info;
}

bool CollectNames(PgnReader& in, TagRun& run, std::FILE* spool) {
  std::unordered_map<std::string, uint32_t> rowOf;
  std::vector<NameRow> rows;
  PgnGame game;
  while (in.Next(game)) {
    run.bytes += static_cast<int64_t>(game.text.size());
    if (spool && std::fwrite(game.text.data(), 1, game.text.size(), spool) != game.text.size()) return false;
    if (!game.isGame) continue;
    auto g = static_cast<uint32_t>(run.games++);
    if (game.damaged) {
      run.damaged.push_back({g + 1, game.problemLine, game.problem});
      continue;
    }
    for (Side side : kSides) {
      std::string name = SideName(game, side);
      // The plug-in never lists these; they are reported all the same.
      auto [it, isNew] = rowOf.try_emplace(name, static_cast<uint32_t>(rows.size()));
      if (isNew) {
        rows.emplace_back();
        rows.back().name = name;
      }
      NameRow& row = rows[it->second];
      if (row.places.empty() || row.places.back().game != g) ++row.games;
      row.places.push_back({g, side, SideInfo(game, side, run.options.fideIdTags)});
      if (run.options.history) {
        const PgnTag* date = game.Find("Date");
        if (std::optional<MonthNumber> month = date ? MonthOfPgnDate(game.Value(*date)) : std::nullopt)
          row.places.back().month = *month;
      }
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
  }
}

std::vector<TagWrite> GameTagWrites(const PgnGame& game, int64_t gameIndex, const TagRun& run) {
  struct SideWrites {
    Side side;
    std::string name;
    bool byName;  // applied to a place without FIDE ID: written after those with one
  };
  std::vector<SideWrites> sides;
  for (Side side : kSides) {
    size_t slot = static_cast<size_t>(gameIndex) * 2 + static_cast<size_t>(side);
    if (slot >= run.applied.size() || run.applied[slot] < 0) continue;
    sides.push_back({side, SideName(game, side), run.withFideId[slot] != 0});
  }
  // The plug-in writes name by name in name order; within a name, first the
  // places known by FIDE ID, then the others, each in game order.
  std::sort(sides.begin(), sides.end(), [](const SideWrites& a, const SideWrites& b) {
    if (a.name != b.name) return std::string_view(a.name) < std::string_view(b.name);
    return a.byName < b.byName;
  });
  std::vector<TagWrite> writes;
  for (const SideWrites& s : sides) {
    size_t slot = static_cast<size_t>(gameIndex) * 2 + static_cast<size_t>(s.side);
    fideitem record = PlayerList()[static_cast<size_t>(run.applied[slot])];
    if (slot < run.historyRating.size() && run.historyRating[slot] >= 0)
      record.rating = static_cast<uint16_t>(run.historyRating[slot]);
    std::vector<TagWrite> w = PlayerTagWrites(s.side, record, s.name, SideInfo(game, s.side, run.options.fideIdTags),
                                              run.options.tags, s.byName);
    for (TagWrite& t : w) writes.push_back(std::move(t));
  }
  return writes;
}

bool WriteTaggedGames(PgnReader& in, std::FILE* out, const TagRun& run) {
  PgnGame game;
  int64_t games = 0, bytes = 0;
  std::vector<TagSetting> settings;
  while (in.Next(game)) {
    bytes += static_cast<int64_t>(game.text.size());
    std::vector<TagWrite> writes;
    if (game.isGame) {
      if (games >= run.games) return false;
      if (!game.damaged) writes = GameTagWrites(game, games, run);
      ++games;
    }
    if (writes.empty()) {
      if (std::fwrite(game.text.data(), 1, game.text.size(), out) != game.text.size()) return false;
      continue;
    }
    settings.clear();
    for (const TagWrite& w : writes) settings.push_back({w.name, w.value});
    std::string text = WithTags(game, settings);
    if (std::fwrite(text.data(), 1, text.size(), out) != text.size()) return false;
  }
  return !in.Failed() && games == run.games && bytes == run.bytes;
}
