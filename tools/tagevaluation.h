// tagevaluation: how well `players tag` settles names without a person,
// measured on real games whose players' FIDE IDs are known: the games'
// WhiteFideId/BlackFideId serve only as the truth and are taken out of the
// games before they are tagged against a list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/tagrun.h"

// What one rule did with the names that carry a FIDE ID.
struct RuleCount {
  int right = 0, wrong = 0, asked = 0, notFound = 0;
  int Taken() const { return right + wrong; }
  RuleCount& operator+=(const RuleCount& o);
};

struct Evaluation {
  int names = 0;     // distinct names with a FIDE ID in their games
  int findable = 0;  // of those, whose FIDE ID the list holds
  RuleCount fitOnly, loose, evidence;
  // For choosing the Elo gates: the distance between the name's Elo and
  // the list's rating, of the right player for findable names, and of the
  // nearest fitting namesake for names whose player the list lacks.
  std::vector<int> rightDistance, absentDistance;
  // Of the evidence rule: findable names not taken right, and wrong takes,
  // each with its row's note.
  std::vector<std::string> misses;
  Evaluation& operator+=(const Evaluation& o);
};

// Measures the rules on the games of a PGN text against db.
Evaluation Evaluate(const PlayerDatabase& db, std::string_view pgn);

// Real games paired with a complete FIDE list of the test data (folders
// pgn/ and fide/). The June 2012 games against the lists of nearby months
// are of one period; the later games against the 2013 and 2018 lists are
// years apart, where most of their players are absent (the namesakes'
// traps) and the present ones' ratings have moved.
struct Pairing {
  const char* games;
  const char* list;
  bool samePeriod;
};
extern const std::vector<Pairing> kRealPairings;
// Imports the pairing's list (in rating order) and measures
// its games; false when either file is missing or unreadable.
bool EvaluatePairing(const std::string& testdata, const Pairing& pairing, Evaluation& out);
