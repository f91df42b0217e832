#include "tools/tagrun.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <thread>
#include <utility>

#include "tools/tag_history.h"

namespace {

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

void DecideNames(TagRun& run, unsigned threads) {
  std::atomic<size_t> next = 0;
  auto decide = [&run, &next] {
    constexpr size_t kRowsAtATime = 32;
    for (;;) {
      size_t from = next.fetch_add(kRowsAtATime);
      if (from >= run.names.size()) return;
      for (size_t r = from; r < std::min(from + kRowsAtATime, run.names.size()); ++r) {
        NameRow& row = run.names[r];
        run.places.Gather(row.chains, row.places);
        Decide(row, run);
        if (run.options.history && row.result != NameResult::kAnonymous) {
          const HistoryLists lists{(*run.options.history)[run.options.historyKind], run.options.historyKind,
                                   *run.database};
          std::string note = HistoryNote(row.places, row.chosen, row.placesLeftOut, lists);
          if (!note.empty()) row.note += (row.note.empty() ? "" : "; ") + note;
        }
        // The places are not needed any more; the report needs only their count.
        std::vector<NamePlace>().swap(row.places);
        row.chains = {};
      }
    }
  };
  {
    std::vector<std::jthread> helpers;
    for (unsigned t = 1; t < threads; ++t) helpers.emplace_back(decide);
    decide();
  }
  run.places.Clear();
}
