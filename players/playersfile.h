// playersfile: the player database on disk, players.dat: read into a
// database, and written from one.
#pragma once

#include <cstdint>
#include <string>

#include "players/playerdatabase.h"

// What a load found: a file is intact when its count and its records fill
// it exactly. `complete` counts the records wholly inside the file.
struct PlayersFileState {
  bool intact = false;
  int64_t announced = 0;  // the count at the file's start
  int64_t complete = 0;
};

// Reads players.dat. A missing file gives an empty database; a damaged one
// what could be read (never more players than its size can hold), and so
// does one there is not memory enough for: state, when given, tells.
PlayerDatabase LoadPlayers(const std::string& path, PlayersFileState* state = nullptr,
                           Indexing indexing = Indexing::kBuild);
// Writes the database's players to path, replacing the previous file only
// once the new one is completely written. Returns false when it could not
// be written.
bool SavePlayers(const PlayerDatabase& db, const std::string& path);
