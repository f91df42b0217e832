// player_struct: what a game's header says about its players, writing player
// tags from the database under the settings, and the commands that add
// information about the current game's players.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "database/fidelist.h"
#include "host/hostabi.h"

enum Side : int { White = 0, Black = 1 };

// What a game says about one player; the codes are those of fideitem.
struct tplay_info {
  std::string name;
  int32_t fideId = 0;
  uint16_t rating = 0;
  uint8_t sex = 2;
  uint8_t title = 6;
  uint8_t federation = 0;
};

// Which kinds of information the last write added.
struct TAddedFlags {
  bool fideId = false, title = false, sex = false, elo = false, country = false;
  bool AnyTag() const { return title || sex || elo || country; }
  bool Any() const { return fideId || AnyTag(); }
};
extern TAddedFlags AddedFlags;

// ---- Reading and writing tags ----

// The player of one side of the game shown at a displayed position; a
// position outside the base gives an empty name and no information.
void ReadGameTags(int32_t position, Side side, tplay_info& info);
// The same for a game record index.
void ReadRecordTags(int32_t game, Side side, tplay_info& info);
// The same rules applied to a header.
void ReadHeaderTags(std::span<const hostabi::TagPair> header, Side side, tplay_info& info);

// Writes the FIDE ID tag of database player `player`, then its other tags.
void WriteFideTag(const tplay_info& info, int32_t player, int32_t game, Side side);
// Writes title, Elo, sex, country and name tags as the settings allow.
void WritePlayerTags(int32_t game, Side side, const fideitem& record, const tplay_info& info);

// ---- Helpers ----

std::string DecimalText(uint32_t value);
// ASCII digits to a number; "" gives 0. Anything else, or a value beyond
// 32 bits, fails and leaves `value` unchanged.
bool ParseDecimal(std::string_view text, int32_t& value);
// Lower-cases A-Z and the capital Cyrillic letters of code page 1251.
std::string ToLowerName(std::string_view name);
// The name is anonymous when its lower-cased form begins with "anonymous".
bool IsAnonymousName(std::string_view name);
// Loads players.dat when the list is still empty.
void EnsurePlayersLoaded();

// ---- The add-information commands and what they share ----

struct SearchChoice {
  int32_t index;  // in PlayerList
  uint8_t score;
};
// Finds the game player by name, asking the user when the name is ambiguous.
bool SelectPlayer(const tplay_info& info, SearchChoice& candidate);
// A name search is clear-cut when it found one player, or a best whole-name
// fit followed only by weaker ones: that player is taken without asking.
bool IsClearCut(std::span<const tsearchress> results);
// RankedSearch with room for `limit` results (held at 1 at the least);
// MaxResults is back at its default afterwards, also when the search throws.
void TolerantSearch(const std::string& name, int32_t limit);
// Fills the search window's candidate lines from SearchResults.
void FillCandidateNames();
// "Search FIDE for " and what the game says about the player.
std::wstring SearchWindowTitle(const tplay_info& info);
// name (CODE),  TITLE,  RATING ELO from what the game says.
std::string DescribeGamePlayer(const tplay_info& info);
std::wstring ReportSideText(const tplay_info& info, const fideitem& record);
void ReportOneSide(const tplay_info& info, const fideitem& record);
// Shows text in the host's message window, centred on the mouse; kind 0 is
// a report, 1 a failure.
void ShowMessage(const std::wstring& caption, const std::wstring& text, int32_t kind);
