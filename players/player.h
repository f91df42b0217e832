// player: one player of the database, as the searches hand it out (Player,
// its name a view into the database's storage) and as tests and tools
// write one down (PlayerRow, owning its name).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "players/playercodes.h"

// One player. `name` views the name storage of the database it came from:
// a copy of a record stays valid while that database lives.
struct Player {
  std::string_view name;  // as in the FIDE list, trailing blanks removed; 1..61 bytes
  int32_t fideId = 0;     // 0 when the list line had no digits at its start
  uint16_t rating = 0;    // 0 = no rating
  Sex sex = Sex::kNone;
  Title title = Title::kNone;
  uint8_t federation = 0;  // row in FederationTable, 1..208; 0 none
  uint16_t birthYear = 0;  // 0 = not given
};

// A player that owns its name: for building databases in tests and tools.
struct PlayerRow {
  std::string name;
  int32_t fideId = 0;
  uint16_t rating = 0;
  Sex sex = Sex::kNone;
  Title title = Title::kNone;
  uint8_t federation = 0;
  uint16_t birthYear = 0;
};
