// fidelist: the player database. The process-wide PlayerList (players in
// rating order, highest first), its file players.dat, the import of FIDE's
// rating list, the federation table, and lookup by FIDE ID and by name.
// Players are referred to by their 0-based index in PlayerList.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One player. `name` views the list's own name storage: a copy of a record
// stays valid while the list it came from is loaded (a list is never
// replaced while a command runs).
struct fideitem {
  std::string_view name;  // as in the FIDE list, trailing blanks removed; 1..61 bytes
  int32_t fideId = 0;     // 0 when the list line had no digits at its start
  uint16_t rating = 0;    // 0 = no rating
  uint8_t sex = 2;        // 0 M, 1 F, 2 other
  uint8_t title = 6;      // 0 GM, 1 IM, 2 FM, 3 WGM, 4 WIM, 5 WFM, 6 none
  uint8_t federation = 0; // row in FederationTable, 1..208; 0 none
  uint16_t birthYear = 0; // 0 = not given
};

// A player that owns its name: for building lists in tests and tools.
struct PlayerRow {
  std::string name;
  int32_t fideId = 0;
  uint16_t rating = 0;
  uint8_t sex = 2;
  uint8_t title = 6;
  uint8_t federation = 0;
  uint16_t birthYear = 0;
};

// ---- The list and its file ----

// The loaded list; empty until loaded or imported.
std::span<const fideitem> PlayerList();
// Replaces PlayerList by these players, in this order; names longer than
// the file can hold (255 bytes) are cut.
void SetPlayerList(std::span<const PlayerRow> rows);
void ClearPlayerList();

// Reads players.dat into PlayerList, replacing it. A missing file gives an
// empty list; a damaged one gives what could be read (never more players
// than its size can hold).
void LoadPlayers(const std::string& path);
// What a load found: a file is intact when its count and its records fill
// it exactly. `complete` counts the records wholly inside the file.
struct PlayersFileState {
  bool intact = false;
  int64_t announced = 0;  // the count at the file's start
  int64_t complete = 0;
};
// LoadPlayers, telling what the file held.
PlayersFileState LoadPlayersChecked(const std::string& path);
// LoadPlayers(path) when PlayerList is empty: what every command that needs
// player data calls first.
void LoadPlayersOnDemand(const std::string& path);
// Writes PlayerList to path, replacing the previous file only once the new
// one is completely written. Returns false when it could not be written.
bool SavePlayers(const std::string& path);

// ---- Import of FIDE's rating list ----

// Parses a FIDE list text file (combined layout) into PlayerList in file
// order. Returns false, leaving PlayerList as it was, when the file cannot
// be opened or read.
bool ImportFideList(const std::string& path);
// Orders PlayerList by rating, highest first, stable among equal ratings.
void SortByRating();

// ---- Federations and titles ----

constexpr int kFederationCount = 208;
// The row (1..208) of an exact, case-sensitive 3-letter code; 0 when none.
int FederationByCode(std::string_view code);
// The code of a row; empty for 0 or a row outside the table.
std::string_view FederationCode(int row);
// "GM", "IM", "FM", "WGM", "WIM", "WFM" for 0..5; empty otherwise.
std::string_view TitleText(int title);

// ---- Lookup and search ----
// The results are those of scans of PlayerList from index 0. Indexes of the
// list give them without a scan: built on the first lookup after a list is
// installed, dropped when it is replaced.

// The first player in list order with this FIDE ID; index is -1 when there
// is none.
bool FindById(int32_t id, fideitem& player);
bool FindByIdAt(int32_t id, fideitem& player, int32_t& index);

struct tsearchress {
  int32_t index;  // in PlayerList
  uint8_t score;  // lower is better; 1 best
};
// The entries of the last search; each search replaces them.
extern std::vector<tsearchress> SearchResults;
// The most entries a search keeps; 10 normally. A value below 1 counts as 1.
extern int32_t MaxResults;
constexpr int32_t kDefaultMaxResults = 10;

// Whole-word search: one query word gives score 1 per match in list order,
// stopping at MaxResults; two words give scores 1..3, at most MaxResults - 1.
void WordSearch(std::string_view name);
// Tolerant scored search, best totals first, at most MaxResults entries.
void RankedSearch(std::string_view name);

// The candidate line: name (CODE),  TITLE,  RATING ELO. Empty for an index
// outside PlayerList.
std::string DescribePlayer(int32_t index);
