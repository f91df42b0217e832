// playerlist: the player database in memory and on disk. The process-wide
// PlayerList (players in rating order, highest first) and its file
// players.dat. Players are referred to by their 0-based index in PlayerList.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "database/playercodes.h"

// One player. `name` views the list's own name storage: a copy of a record
// stays valid while the list it came from is loaded (a list is never
// replaced while a command runs).
struct Player {
  std::string_view name;  // as in the FIDE list, trailing blanks removed; 1..61 bytes
  int32_t fideId = 0;     // 0 when the list line had no digits at its start
  uint16_t rating = 0;    // 0 = no rating
  Sex sex = Sex::None;
  Title title = Title::None;
  uint8_t federation = 0;  // row in FederationTable, 1..208; 0 none
  uint16_t birthYear = 0;  // 0 = not given
};

// A player that owns its name: for building lists in tests and tools.
struct PlayerRow {
  std::string name;
  int32_t fideId = 0;
  uint16_t rating = 0;
  Sex sex = Sex::None;
  Title title = Title::None;
  uint8_t federation = 0;
  uint16_t birthYear = 0;
};

// The loaded list; empty until loaded or imported. It lives for the process:
// every command finds players in it, and only an import replaces it.
std::span<const Player> PlayerList();
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
