// Lookup of players by FIDE ID and by name: the whole-word search tried
// first and the tolerant ranked search. The results are those of scans of
// the database's players from the top (searchscans.cpp), so among equally
// good candidates the higher rated come first; the database's index gives
// them without visiting every player.
#include "players/playersearch.h"

#include "players/searchindex.h"
#include "players/searchrules.h"

bool FindByIdAt(const PlayerDatabase& db, int32_t id, Player& player, int32_t& index) {
  const SearchIndex* searchIndex = db.Index();
  index = searchIndex ? FindIdIndexed(*searchIndex, db.Players(), id) : FindIdLinear(db.Players(), id);
  if (index < 0) return false;
  player = db.Players()[static_cast<size_t>(index)];
  return true;
}

bool FindById(const PlayerDatabase& db, int32_t id, Player& player) {
  int32_t index;
  return FindByIdAt(db, id, player, index);
}

std::vector<SearchHit> WordSearch(const PlayerDatabase& db, std::string_view name, int32_t limit) {
  std::vector<SearchHit> hits;
  const QueryWordList words = WordsOfName(name);
  if (const SearchIndex* searchIndex = db.Index())
    WordMatchesIndexed(*searchIndex, db.Players(), words, ResultLimit(limit), hits);
  else
    WordMatchesLinear(db.Players(), words, ResultLimit(limit), hits);
  return hits;
}

std::vector<SearchHit> RankedSearch(const PlayerDatabase& db, std::string_view name, int32_t limit) {
  std::vector<SearchHit> hits;
  const QueryWordList words = WordsOfName(name);
  if (const SearchIndex* searchIndex = db.Index())
    RankedMatchesIndexed(*searchIndex, db.Players(), words, ResultLimit(limit), hits);
  else
    RankedMatchesLinear(db.Players(), words, ResultLimit(limit), hits);
  return hits;
}

void VisitHolders(const PlayerDatabase& db, const HolderQuery& query, const HolderVisit& visit) {
  if (const SearchIndex* searchIndex = db.Index())
    HoldersIndexed(*searchIndex, db.Players(), query, visit);
  else
    HoldersLinear(db.Players(), query, visit);
}
