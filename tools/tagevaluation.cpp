// Measuring the tag rules: the truth is read from the games, the games are
// tagged without it by each rule, and every name's outcome is compared.
#include "tools/tagevaluation.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "players/fidelistimport.h"
#include "players/playersearch.h"
#include "tagrules/nameevidence.h"
#include "tools/tagcollect.h"

namespace {

// The games without their WhiteFideId/BlackFideId lines.
std::string WithoutTruth(std::string_view pgn) {
  std::string out;
  out.reserve(pgn.size());
  size_t start = 0;
  while (start < pgn.size()) {
    size_t end = pgn.find('\n', start);
    end = end == std::string_view::npos ? pgn.size() : end + 1;
    std::string_view line = pgn.substr(start, end - start);
    if (!line.starts_with("[WhiteFideId ") && !line.starts_with("[BlackFideId ")) out += line;
    start = end;
  }
  return out;
}

// Each name with the FIDE ID of its first game that gives one.
std::map<std::string, int32_t> Truth(std::string_view pgn) {
  std::map<std::string, int32_t> truth;
  PgnReader reader(pgn);
  PgnGame game;
  while (reader.Next(game)) {
    if (!game.isGame || game.damaged) continue;
    for (Side side : {Side::kWhite, Side::kBlack}) {
      const PgnTag* id = game.Find(side == Side::kWhite ? "WhiteFideId" : "BlackFideId");
      int32_t value = 0;
      const PgnTag* name = game.Find(side == Side::kWhite ? "White" : "Black");
      if (id && ParseDecimal(game.Value(*id), value) && value > 0)
        truth.emplace(name ? game.Value(*name) : std::string("?"), value);
    }
  }
  return truth;
}

TagRun Run(const PlayerDatabase& db, const std::string& pgn, TagRule rule) {
  TagRun run;
  run.database = &db;
  run.options.rule = rule;
  PgnReader reader(pgn);
  CollectNames(reader, run);
  // The places are dropped by DecideNames; the distances need the Elo.
  return run;
}

void Count(RuleCount& count, const NameRow& row, int32_t truth) {
  if (row.result == NameResult::kFound)
    ++(row.fideId == truth ? count.right : count.wrong);
  else if (row.result == NameResult::kAmbiguous)
    ++count.asked;
  else
    ++count.notFound;
}

// The distance between the name's Elo and the rating of the right player,
// or of the nearest fitting namesake when the list lacks the player; -1
// when there is nothing to compare.
int Distance(const TagRun& run, const NameRow& row, int32_t truth, bool findable) {
  const PlayerDatabase& db = *run.database;
  std::vector<NamePlace> gathered;
  run.places.Gather(row.chains, gathered);
  std::vector<PlaceEvidence> places;
  for (const NamePlace& p : gathered)
    if (p.player.fideId == 0) places.push_back({p.player.rating, p.player.title, p.player.federation});
  const NameEvidence e = GatherEvidence(row.name, places);
  if (e.elo == 0) return -1;
  Player player;
  if (findable) return FindById(db, truth, player) && player.rating ? std::abs(e.elo - player.rating) : -1;
  int nearest = -1;
  VisitHolders(db, HolderQueryOf(e.form), [&](int32_t index) {
    const Player& p = db.Players()[static_cast<size_t>(index)];
    if (p.rating && FormFits(e.form, p.name)) {
      const int d = std::abs(e.elo - p.rating);
      if (nearest < 0 || d < nearest) nearest = d;
    }
    return index + 1;
  });
  return nearest;
}

}  // namespace

RuleCount& RuleCount::operator+=(const RuleCount& o) {
  right += o.right, wrong += o.wrong, asked += o.asked, notFound += o.notFound;
  return *this;
}

Evaluation& Evaluation::operator+=(const Evaluation& o) {
  names += o.names, findable += o.findable;
  fitOnly += o.fitOnly, loose += o.loose, evidence += o.evidence;
  rightDistance.insert(rightDistance.end(), o.rightDistance.begin(), o.rightDistance.end());
  absentDistance.insert(absentDistance.end(), o.absentDistance.begin(), o.absentDistance.end());
  misses.insert(misses.end(), o.misses.begin(), o.misses.end());
  return *this;
}

Evaluation Evaluate(const PlayerDatabase& db, std::string_view pgn) {
  Evaluation ev;
  const std::map<std::string, int32_t> truth = Truth(pgn);
  const std::string games = WithoutTruth(pgn);
  for (const auto& [name, id] : truth) {
    Player player;
    ++ev.names;
    if (FindById(db, id, player)) ++ev.findable;
  }
  for (TagRule rule : {TagRule::kFitOnly, TagRule::kLoose, TagRule::kEvidence}) {
    TagRun run = Run(db, games, rule);
    if (rule == TagRule::kEvidence)
      for (const NameRow& row : run.names) {
        auto t = truth.find(row.name);
        if (t == truth.end()) continue;
        Player player;
        const bool findable = FindById(db, t->second, player);
        const int d = Distance(run, row, t->second, findable);
        if (d >= 0) (findable ? ev.rightDistance : ev.absentDistance).push_back(d);
      }
    DecideNames(run);
    RuleCount& count = rule == TagRule::kFitOnly ? ev.fitOnly
                       : rule == TagRule::kLoose ? ev.loose
                                                 : ev.evidence;
    for (const NameRow& row : run.names) {
      auto t = truth.find(row.name);
      if (t == truth.end()) continue;
      Count(count, row, t->second);
      if (rule != TagRule::kEvidence) continue;
      Player player;
      const bool findable = FindById(db, t->second, player);
      const bool right = row.result == NameResult::kFound && row.fideId == t->second;
      if ((findable && !right) || (row.result == NameResult::kFound && !right))
        ev.misses.push_back(row.name + " (" + std::to_string(t->second) + (findable ? "" : ", absent") +
                            "): " + std::string(ResultText(row.result)) + " " +
                            (row.fideId ? std::to_string(row.fideId) + " " : "") + row.note);
    }
  }
  return ev;
}

const std::vector<Pairing> kRealPairings = {
    {"twic0920.pgn", "rapid_sep12_combined_layout.txt", true},
    {"twic0920.pgn", "blitz_sep12_combined_layout.txt", true},
    {"twic0920.pgn", "rapid_dec12_combined_layout.txt", true},
    {"twic0920.pgn", "blitz_dec12_combined_layout.txt", true},
    {"twic0920.pgn", "rapid_jun13_combined_layout.txt", true},
    {"twic_2020_232games.pgn", "rapid_jun13_combined_layout.txt", false},
    {"twic_2020_232games.pgn", "players_list_foa_2018_excerpt.txt", false},
    {"lichess_FWWRC2024_headers_only.pgn", "rapid_jun13_combined_layout.txt", false},
    {"lichess_FWWRC2024_headers_only.pgn", "players_list_foa_2018_excerpt.txt", false},
    {"lichess_uzchesscup2025_headers_only.pgn", "players_list_foa_2018_excerpt.txt", false},
};

bool EvaluatePairing(const std::string& testdata, const Pairing& pairing, Evaluation& out) {
  const std::string games = testdata + "/pgn/" + pairing.games;
  const std::string list = testdata + "/fide/" + pairing.list;
  if (!std::filesystem::exists(games) || !std::filesystem::exists(list)) return false;
  std::string error;
  std::optional<PlayerDatabase> db = ImportFideList(list, error, Indexing::kBuild);
  if (!db) return false;
  std::ifstream in(games, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  out = Evaluate(*db, text.str());
  return true;
}
