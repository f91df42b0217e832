// The plug-in's "Add tags for all players" over a PGN file, without a user:
// every distinct White and Black name of the file decided once for all its
// games, then the file written again with the tags of the players decided.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "pgn/pgnstream.h"
#include "players/playerdatabase.h"
#include "players/playersearch.h"
#include "ratings/ratinghistory.h"
#include "tagrules/nameevidence.h"
#include "tagrules/tagrules.h"
#include "tools/blockvector.h"
#include "tools/placestore.h"

// How a name without a FIDE ID is settled without a person.
enum class TagRule : uint8_t {
  kEvidence,  // the evidence of the name's games (tagrules/nameevidence.h)
  kFitOnly,   // a clear hit of the word search that the name fits (NameFits)
  kLoose,     // a clear hit of the word search: the plug-in's rule, where a person sees each result
};

struct TagRunOptions {
  TagOptions tags;          // the plug-in's settings
  bool fideIdTags = false;  // WhiteFideId/BlackFideId count as a FIDE ID where WhiteFIDE/BlackFIDE is missing
  bool extended = false;    // candidates of the tolerant search for names without a clear hit
  TagRule rule = TagRule::kEvidence;
  // With a history, the Elo written is the rating in force at the game's
  // date (tools/tag_history.h).
  const RatingHistory* history = nullptr;
  RatingKind historyKind = RatingKind::kStandard;
};

// What became of a name.
enum class NameResult : uint8_t {
  kById,         // completed from the database by the FIDE ID of its games
  kFound,        // taken by name without a choice
  kChosen,       // settled by the choices file
  kPresent,      // known by FIDE ID, nothing to add
  kUnknownId,    // its FIDE IDs are not in the database
  kAmbiguous,    // candidates, none taken: left untagged
  kNotFound,     // no candidate (by the evidence: no player fits the name)
  kAnonymous,    // "Anonymous...": never looked up
  kUnknownName,  // names nobody ("?", "NN", ...): never looked up (IsUnknownName)
};
std::string_view ResultText(NameResult result);

struct NameRow {
  std::string name;
  // While DecideNames decides the name, and only then: its places, those
  // with a FIDE ID first, each kind in game order (White before Black).
  // Their `game` is -1: the run keeps no game index. Kept are the places
  // with a FIDE ID, those whose game says something else about the player
  // (Elo, title, sex, country, national team, and with a history the
  // game's month), and
  // one place for all those that say nothing; of a name that names nobody
  // only the places with a FIDE ID and one other, of an anonymous name
  // none: the others never get tags.
  std::vector<NamePlace> places;
  uint32_t games = 0;  // distinct games
  NameResult result = NameResult::kNotFound;
  int32_t fideId = 0;                 // the FIDE ID used (the first, for names known by ID)
  int32_t choice = 0;                 // the choices file's FIDE ID for the name, 0 none
  std::string note;                   // which evidence decided, or why a choice or the fit did not take
  std::vector<SearchHit> candidates;  // for a name without a clear hit (and for chosen ones)
  // Decided here, before any tag is written: whether the name is taken
  // without a choice: the plug-in's rule and, unless loose, the fit.
  bool takenWithoutChoice = false;
  // The FIDE ID the plug-in's rule takes for a name that does not fit it,
  // left open by the fit-only rule; 0 otherwise.
  int32_t looseFideId = 0;
  bool byEvidence = false;  // taken by the evidence of its games
  // The player (database index) whose tags the places without a FIDE ID
  // get, -1 none. A place with a FIDE ID gets its own player's, always.
  int32_t chosen = -1;
  bool tagsById = false;  // a place gets tags by its own FIDE ID

  // Until the name is decided: its places in TagRun::places.
  PlaceStore::Chains chains;
  uint32_t placesLeftOut = 0;  // places without FIDE ID not kept (see `places`)
};

struct DamagedGame {
  int64_t game;  // counted from 1
  int64_t line;
  std::string problem;
};

constexpr uint32_t kNoRow = UINT32_MAX;
// In a game's entry of a side, beside the name's row: the side carries a
// FIDE ID.
constexpr uint32_t kSideHasId = 1u << 31;

// What the second reading needs of each game: its length (a longer game's
// in `longer`) and for its White and Black the name's row and whether the
// side carries a FIDE ID (kNoRow for a damaged game). Ten bytes a game.
struct GameRecords {
  void Add(int64_t length, uint32_t white, uint32_t black);
  int64_t Length(int64_t game) const;
  size_t count() const { return lengths.size(); }
  // The games of a later part of the file after these, their rows made
  // rows here by rowMap; `later` is emptied as they move.
  void Append(GameRecords&& later, const std::vector<uint32_t>& rowMap);
  BlockVector<uint16_t> lengths;
  BlockVector<std::array<uint32_t, 2>> rows;
  std::map<int64_t, int64_t> longer;
};

struct TagRun {
  const PlayerDatabase* database = nullptr;  // the players the names are decided against
  TagRunOptions options;
  std::map<std::string, int32_t> choices;  // name -> FIDE ID
  std::deque<NameRow> names;               // in name order (bytes as unsigned)
  std::vector<DamagedGame> damaged;
  int64_t games = 0;  // games of the file, damaged ones included
  int64_t bytes = 0;
  // The file in pieces, as the second reading takes it: the text before the
  // first game, then each game.
  int64_t leadingBytes = 0;
  GameRecords gameRecords;
  PlaceStore places;  // every name's places, until the names are decided
};

// Decides every name as the plug-in's batch run would with a user who
// answers every question with Skip, except where run.choices settles it.
// Names are decided side by side on `threads` threads; each decision
// depends on its name alone.
void DecideNames(TagRun& run, unsigned threads = 1);
