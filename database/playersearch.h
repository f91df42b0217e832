// playersearch: lookup of players by FIDE ID and by name. The results are
// those of scans of PlayerList from index 0; indexes of the list give them
// without a scan (built on the first lookup after a list is installed,
// dropped when it is replaced).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "database/playerlist.h"

// The first player in list order with this FIDE ID; index is -1 when there
// is none.
bool FindById(int32_t id, Player& player);
bool FindByIdAt(int32_t id, Player& player, int32_t& index);

// One player a name search found.
struct SearchHit {
  int32_t index;  // in PlayerList
  uint8_t score;  // lower is better; 1 best
};

// How many hits a name search keeps: normally, and in the tolerant search
// the user asks for in the search window.
constexpr int32_t kNormalSearchLimit = 10;
constexpr int32_t kExtendedSearchLimit = 20;

// Whole-word search: one query word gives score 1 per match in list order,
// stopping at `limit` hits; two words give scores 1..3, at most limit - 1.
// A limit below 1 counts as 1.
std::vector<SearchHit> WordSearch(std::string_view name, int32_t limit = kNormalSearchLimit);
// Tolerant scored search, best totals first, at most `limit` hits (at least 1).
std::vector<SearchHit> RankedSearch(std::string_view name, int32_t limit);

// The candidate line: name (CODE),  TITLE,  RATING ELO. Empty for an index
// outside PlayerList.
std::string DescribePlayer(int32_t index);
