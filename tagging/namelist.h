// The batch run's list of distinct player names: every White and Black name
// of the open base with the places (game and side) where it occurs, kept
// sorted by name in byte order so that a name is found by bisection.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tagrules/tagrules.h"

// One distinct name. Its places are in order of game record index, White
// before Black within a game.
struct NameEntry {
  std::string name;
  std::vector<NamePlace> places;
  int32_t capacity = 0;  // places reserved: grows in blocks of 10
};

constexpr int32_t kPlaceBlock = 10;

// A list of names is sorted ascending by name, bytes compared as unsigned
// numbers; names that differ in letter case are different names.
using NameList = std::vector<NameEntry>;

struct NamePosition {
  bool found;
  int32_t position;  // of the name, or where it would be inserted
};

// Bisection of the list.
NamePosition FindName(const NameList& names, std::string_view name);
// Records one place of a name, creating its entry in sorted position.
void AddOccurrence(NameList& names, std::string_view name, Side side, int32_t game, const PlayerFacts& info);
// The names of every game of the host's open base. Names that begin with
// "Anonymous" (exactly so) are left out.
NameList CollectPlayerNames();
