// player_struct: what a game's header says about its players, writing player
// tags from the database under the settings, and the commands that add
// information about the current game's players.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "database/playerlist.h"
#include "database/playersearch.h"
#include "database/tagrules.h"
#include "host/hostmessage.h"
#include "lumora/hostabi.h"
#include "windows/searchwindow.h"

// ---- Reading and writing tags ----

// The player of one side of the game shown at a displayed position; a
// position outside the base gives an empty name and no information.
void ReadGameTags(int32_t position, Side side, GamePlayer& info);
// The same for a game record index.
void ReadRecordTags(int32_t game, Side side, GamePlayer& info);
// The same rules applied to a header.
void ReadHeaderTags(std::span<const hostabi::TagPair> header, Side side, GamePlayer& info);

// Sets the tags in game record `game` through the host, in order; returns
// what they add.
AddedTags WriteTags(int32_t game, const PlayerTags& tags);
// Writes the FIDE ID tag of database player `player`, then its other tags
// (FideTagWrites under the settings). Nothing for an index outside the list.
AddedTags WriteFideTag(const GamePlayer& info, int32_t player, int32_t game, Side side);
// Writes title, Elo, sex, country and name tags as the settings allow
// (PlayerTagWrites).
AddedTags WritePlayerTags(int32_t game, Side side, const Player& record, const GamePlayer& info);

// ---- Helpers ----

// Loads players.dat when the list is still empty.
void EnsurePlayersLoaded();

// ---- The add-information commands and what they share ----

struct SearchChoice {
  int32_t index;  // in PlayerList
  uint8_t score;
};
// Finds the game player by name, asking the user when the name is ambiguous.
bool SelectPlayer(const GamePlayer& info, SearchChoice& candidate);
// The search window's lines for these hits.
std::vector<CandidateLine> CandidateLines(std::span<const SearchHit> hits);
// "Search FIDE for " and what the game says about the player.
std::wstring SearchWindowTitle(const GamePlayer& info);
// The report of what a write added about one side (and tells the host the
// header changed), or that the game already had it all.
std::wstring ReportSideText(const GamePlayer& info, const Player& record, const AddedTags& added);
void ReportOneSide(const GamePlayer& info, const Player& record, const AddedTags& added);
// ShowMessage, shared by the commands, is the host's (host/hostmessage.h).
