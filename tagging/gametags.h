// Reading a player's tags from a game header of the host's base, and writing
// tags from the player database into a game through the host, under the
// settings. The rules are the portable ones of tagrules/tagrules.h.
#pragma once

#include <cstdint>
#include <span>

#include "lumora/hostabi.h"
#include "players/player.h"
#include "players/playerdatabase.h"
#include "tagrules/tagrules.h"

// The player of one side of the game shown at a displayed position; a
// position outside the base gives an empty name and no information.
GamePlayer ReadGameTags(int32_t position, Side side);
// The same for a game record index.
GamePlayer ReadRecordTags(int32_t game, Side side);
// The same rules applied to a header.
GamePlayer ReadHeaderTags(std::span<const hostabi::TagPair> header, Side side);

// Sets the tags in game record `game` through the host, in order; returns
// what they add.
AddedTags WriteTags(int32_t game, const PlayerTags& tags);
// Writes the FIDE ID tag of database player `player`, then its other tags
// (FideTagWrites under the settings). Nothing for an index outside db.
AddedTags WriteFideTag(const PlayerDatabase& db, const GamePlayer& info, int32_t player, int32_t game,
                       Side side);
// Writes title, Elo, sex, country and name tags as the settings allow
// (PlayerTagWrites).
AddedTags WritePlayerTags(int32_t game, Side side, const Player& record, const GamePlayer& info);
