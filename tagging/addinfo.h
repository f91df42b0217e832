// The commands that add information about the current game's players, and
// the choice of a player by name that they share with the games-site
// commands and the batch run.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "database/playersearch.h"
#include "database/tagrules.h"
#include "windows/searchwindow.h"

// Add information about the current game's players (menu commands).
void __stdcall AddWhiteCommand();
void __stdcall AddBlackCommand();
void __stdcall AddBothCommand();

// Finds the game player by name, asking the user when the name is ambiguous:
// the hit taken, or nothing when nobody was found (already said) or chosen.
std::optional<SearchHit> SelectPlayer(const GamePlayer& info);
// The search window's lines for these hits.
std::vector<CandidateLine> CandidateLines(std::span<const SearchHit> hits);
// "Search FIDE for " and what the game says about the player.
std::wstring SearchWindowTitle(const GamePlayer& info);
