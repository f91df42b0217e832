// playersearch: lookup of players by FIDE ID and by name in a database.
// The results are those of scans of its players from index 0; its index
// gives them without a scan.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "players/playerdatabase.h"

// The first player in list order with this FIDE ID; index is -1 when there
// is none.
bool FindById(const PlayerDatabase& db, int32_t id, Player& player);
bool FindByIdAt(const PlayerDatabase& db, int32_t id, Player& player, int32_t& index);

// One player a name search found.
struct SearchHit {
  int32_t index;  // in the database's Players()
  uint8_t score;  // lower is better; 1 best
};

// How many hits a name search keeps: normally, and in the tolerant search
// the user asks for in the search window.
constexpr int32_t kNormalSearchLimit = 10;
constexpr int32_t kExtendedSearchLimit = 20;

// Whole-word search: one query word gives score 1 per match in list order,
// stopping at `limit` hits; two words give scores 1..3, at most limit - 1.
// A limit below 1 counts as 1.
std::vector<SearchHit> WordSearch(const PlayerDatabase& db, std::string_view name,
                                  int32_t limit = kNormalSearchLimit);
// Tolerant scored search, best totals first, at most `limit` hits (at least 1).
std::vector<SearchHit> RankedSearch(const PlayerDatabase& db, std::string_view name, int32_t limit);

// ---- Every player holding some words ----

// The words a player's name must hold, lower-case, two or more bytes each:
// every word of `whole` as a whole word, and for every one of `starts` a
// word that begins with it (the word itself included); and for every letter
// of `letters` (bit 0 for a, ignoring case) a word that begins with it, and
// with kRepeatedLetter, two words that begin with the same letter.
constexpr uint32_t kRepeatedLetter = uint32_t{1} << 26;
struct HolderQuery {
  std::vector<std::string> whole;
  std::vector<std::string> starts;
  uint32_t letters = 0;
};
// Called with a holder's index; returns the least index it wants to see
// next: index + 1 for every holder, a later one to pass over the players
// before it, kStopVisit to end.
using HolderVisit = std::function<int32_t(int32_t index)>;
constexpr int32_t kStopVisit = INT32_MAX;
// Calls visit with the index of every player whose name holds the query's
// words, in list order and without a limit. A query without words visits
// nobody.
void VisitHolders(const PlayerDatabase& db, const HolderQuery& query, const HolderVisit& visit);

// The candidate line: name (CODE),  TITLE,  RATING ELO. Empty for an index
// outside the database.
std::string DescribePlayer(const PlayerDatabase& db, int32_t index);
