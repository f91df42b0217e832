// A game's header as the tag rules read it, for both readings of
// `players tag`: its tags with their values unescaped, the players' names
// and what the game says about each player.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pgn/pgnstream.h"
#include "tagrules/tagrules.h"

// The game's tags; `values` holds the values that had escapes.
void ReadHeaderTags(const PgnGame& game, std::vector<HeaderTag>& tags, std::vector<std::string>& values);
// The side's name, "?" when the game has none.
std::string_view SideNameIn(std::span<const HeaderTag> tags, Side side);
// The federations of the game's national teams, White's and Black's (0: the
// teams are no national ones, or the game names none).
std::array<uint8_t, 2> NationalTeams(std::span<const HeaderTag> tags);
// What the game says about the side's player; with fideIdTags a
// WhiteFideId/BlackFideId tag counts where WhiteFIDE/BlackFIDE is missing.
PlayerFacts ReadSide(std::span<const HeaderTag> tags, Side side, bool fideIdTags);
// The game says nothing about the player but the name.
bool SaysNothing(const PlayerFacts& p);
