// The commands that add information about the current game's players, and
// the choice of a player by name that they share with the games-site
// commands and the batch run.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "database/playersearch.h"
#include "database/tagrules.h"

// Add information about the current game's players (menu commands).
void __stdcall AddWhiteCommand();
void __stdcall AddBlackCommand();
void __stdcall AddBothCommand();

struct SearchChoice {
  int32_t index;  // in PlayerList
  uint8_t score;
};
// Finds the game player by name, asking the user when the name is ambiguous.
bool SelectPlayer(const GamePlayer& info, SearchChoice& candidate);
// Fills the search window's candidate lines from these hits.
void FillCandidateNames(std::span<const SearchHit> hits);
// "Search FIDE for " and what the game says about the player.
std::wstring SearchWindowTitle(const GamePlayer& info);
