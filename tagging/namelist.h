// The batch run's list of distinct player names: every White and Black name
// of the open base with the places (game and side) where it occurs, kept
// sorted by name in byte order so that a name is found by bisection.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tagging/player_struct.h"

// One place where a name occurs.
struct tplnitem {
  int32_t game = 0;   // game record index in GameList
  uint8_t side = 0;   // 0 White, 1 Black
  tplay_info info;    // what the header said when the list was built
};

// One distinct name. Its places are in order of game record index, White
// before Black within a game; `items.size()` is the number of places.
struct tplname {
  std::string name;
  std::vector<tplnitem> items;
  int32_t capacity = 0;  // places reserved: grows in blocks of 10
};

constexpr int32_t kPlaceBlock = 10;

// Sorted ascending by name, bytes compared as unsigned numbers; names that
// differ in letter case are different names. Rebuilt by each run.
extern std::vector<tplname> NameList;

struct NamePosition {
  bool found;
  int32_t position;  // of the name, or where it would be inserted
};

// Bisection of NameList.
NamePosition FindName(std::string_view name);
// Records one place of a name, creating its entry in sorted position.
void AddOccurrence(std::string_view name, Side side, int32_t game, const tplay_info& info);
void AddOccurrence(std::string_view name, Side side, int32_t game, tplay_info&& info);
// Builds NameList from every game of the host's open base. Names that begin
// with "Anonymous" (exactly so) are left out.
void CollectPlayerNames();
