// The plug-in's "Add tags for all players" over a PGN file, without a user:
// every distinct White and Black name of the file decided once for all its
// games, then the file written again with the tags of the players decided.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "database/nameevidence.h"
#include "database/pgnstream.h"
#include "database/playerlist.h"
#include "database/playersearch.h"
#include "database/ratinghistory.h"
#include "database/tagrules.h"

// How a name without a FIDE ID is settled without a person.
enum class TagRule : uint8_t {
  kEvidence,  // the evidence of the name's games (database/nameevidence.h)
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
  kById,       // completed from the database by the FIDE ID of its games
  kFound,      // taken by name without a choice
  kChosen,     // settled by the choices file
  kPresent,    // known by FIDE ID, nothing to add
  kUnknownId,  // its FIDE IDs are not in the database
  kAmbiguous,  // candidates, none taken: left untagged
  kNotFound,   // no candidate (by the evidence: no player fits the name)
  kAnonymous,  // "Anonymous...": never looked up
};
std::string_view ResultText(NameResult result);

struct NameRow {
  std::string name;
  std::vector<NamePlace> places;        // in game order (counted from 0 in the file), White before Black
  std::vector<PlaceEvidence> evidence;  // what each place's game says, beside the name
  uint32_t games = 0;                   // distinct games
  NameResult result = NameResult::kNotFound;
  int32_t fideId = 0;                 // the FIDE ID used (the first, for names known by ID)
  int32_t choice = 0;                 // the choices file's FIDE ID for the name, 0 none
  std::string note;                   // why a choice or a strict check did not take
  std::vector<SearchHit> candidates;  // for a name without a clear hit (and for chosen ones)
  // Decided here, before any tag is written: whether the name is taken
  // without a choice: the plug-in's rule and, unless loose, the fit.
  bool takenWithoutChoice = false;
  // The FIDE ID the plug-in's rule takes for a name that does not fit it,
  // left open by the fit-only rule; 0 otherwise.
  int32_t looseFideId = 0;
  bool byEvidence = false;  // taken by the evidence of its games
};

struct DamagedGame {
  int64_t game;  // counted from 1
  int64_t line;
  std::string problem;
};

struct TagRun {
  TagRunOptions options;
  std::map<std::string, int32_t> choices;  // name -> FIDE ID
  std::vector<NameRow> names;              // in name order (bytes as unsigned)
  std::vector<DamagedGame> damaged;
  int64_t games = 0;  // games of the file, damaged ones included
  int64_t bytes = 0;
  struct Span {
    int64_t offset;
    uint32_t length;
  };
  std::vector<Span> gameBytes;  // where each game lies in the file
  // Per place (2 * game + side): the PlayerList index whose tags go there
  // (-1 none), and whether its FIDE ID tag goes with them.
  std::vector<int32_t> applied;
  std::vector<uint8_t> withFideId;
  // With a history, per place: the rating in force at the game's date (0
  // none), or -1 for the database's rating.
  std::vector<int32_t> historyRating;
  std::vector<MonthNumber> gameMonth;  // with a history: each game's month, -1 unknown
};

// Reads every game, gathering the names with their places. With spool, the
// bytes read are also written there (standard input read twice).
// False on a read or spool error.
bool CollectNames(PgnReader& in, TagRun& run, std::FILE* spool);
// Decides every name as the plug-in's batch run would with a user who
// answers every question with Skip, except where run.choices settles it.
void DecideNames(TagRun& run);
// Copies the file read again from in, reading again only the games that get
// tags. False when the input is not what CollectNames read, or on a read or
// write error.
bool WriteTaggedGames(std::FILE* in, std::FILE* out, const TagRun& run);

// The tag settings of one game, in the order the plug-in writes them.
std::vector<TagWrite> GameTagWrites(const PgnGame& game, int64_t gameIndex, const TagRun& run);
// The side's name ("?" when the game has no such tag, as the host shows it).
std::string SideName(const PgnGame& game, Side side);
// What a game says about the player of one side.
GamePlayer SidePlayer(const PgnGame& game, Side side, bool fideIdTags);
