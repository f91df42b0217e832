// Choosing a player among the hits of a name search in the search window:
// the one place where the plug-in asks, for the commands on the current game
// and for the run over all games.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "players/playersearch.h"
#include "tagrules/tagrules.h"
#include "windows/searchwindow.h"

// What the user chose.
struct PlayerChoice {
  enum class Kind : uint8_t {
    kChosen,     // `hit` is the player
    kSkipped,    // Skip, Escape or a closed window: the name is passed over
    kCancelled,  // Cancel: the run over all games stops
  };
  Kind kind = Kind::kSkipped;
  SearchHit hit{};
};

// How a question is asked.
struct Asking {
  bool offerCancel = false;    // the run over all games offers Cancel
  bool centreOnMouse = false;  // each window opens where the mouse is, not at the stored point
};

// Shows the hits found for the game's player `prompted`; "Extended search..."
// looks again with the tolerant search (the players of `known`, whom the
// name's other games name by FIDE ID, promoted) and asks once more without
// offering it again.
PlayerChoice AskForPlayer(const PlayerDatabase& db, const Asking& how, const GamePlayer& prompted,
                          std::vector<SearchHit> hits, std::span<const int32_t> known);

// Finds the game player by name, asking the user when the name is ambiguous:
// the hit taken, or nothing when nobody was found (already said) or chosen.
std::optional<SearchHit> SelectPlayer(const PlayerDatabase& db, const GamePlayer& info);
// The search window's lines for these hits.
std::vector<CandidateLine> CandidateLines(const PlayerDatabase& db, std::span<const SearchHit> hits);
// "Search FIDE for " and what the game says about the player.
std::wstring SearchWindowTitle(const GamePlayer& info);
