// INTERIM: the plug-in's tag rules over plain values, until the portable
// rules of database/ replace them. Which tags a player gets, and the batch
// step's decision for a name without a user.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "database/fidelist.h"
#include "database/playerinfofile.h"

enum class Side : uint8_t { kWhite = 0, kBlack = 1 };

// What a game says about one player; the codes are those of fideitem.
struct GamePlayerInfo {
  int32_t fideId = 0;
  uint16_t rating = 0;
  uint8_t sex = 2;
  uint8_t title = 6;
  uint8_t federation = 0;
};

struct TagWrite {
  std::string name;
  std::string value;
};

// The roster tag of the side's name, and its five player tags.
std::string_view SideNameTag(Side side);
// Reads one tag of the game into info when it is one of the side's.
void ReadSideTag(std::string_view tag, std::string_view value, Side side, GamePlayerInfo& info);
bool ParseDecimal(std::string_view text, int32_t& value);

// The tags the plug-in writes for a database player into a place whose
// game says `info` and `name`, in writing order: the FIDE ID (withFideId),
// title, Elo, sex, country, then the name.
std::vector<TagWrite> PlayerTagWrites(Side side, const fideitem& record, std::string_view name,
                                      const GamePlayerInfo& info, const TagOptions& options, bool withFideId);
// Any of title, Elo, sex or country among the writes.
bool WritesPlayerTag(std::span<const TagWrite> writes, Side side);

bool IsAnonymousName(std::string_view name);
// One player, or a whole-name fit followed only by weaker ones.
bool IsClearCut(std::span<const tsearchress> results);
// Gives each player of `indices` score 2 in results.
void PromoteKnownPlayers(std::vector<tsearchress>& results, std::span<const int32_t> indices);
