// playercodes: the codes a player record carries, as players.dat stores them:
// title and sex as typed enums over their bytes, and the federation table
// whose row numbers stand for the federations.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The values are the players.dat bytes. A damaged file may hold any byte;
// such a value is simply none of the named ones.
enum class Title : uint8_t { kGM = 0, kIM = 1, kFM = 2, kWGM = 3, kWIM = 4, kWFM = 5, kNone = 6 };
enum class Sex : uint8_t { kMale = 0, kFemale = 1, kNone = 2 };

// "GM", "IM", "FM", "WGM", "WIM", "WFM"; empty for kNone and any other value.
std::string_view TitleText(Title title);
// The title of one of those texts (exact comparison); Title::kNone otherwise.
Title TitleByText(std::string_view text);
// "M" or "F"; empty for any other value.
std::string_view SexText(Sex sex);

// ---- Federations ----

constexpr int kFederationCount = 208;

struct Federation {
  std::string_view code;  // three capital letters
  std::string_view name;  // carried along, never shown
};
// Row r (1..208) is FederationTable[r - 1]; players.dat stores row numbers.
extern const std::array<Federation, kFederationCount> FederationTable;

// The row (1..208) of an exact, case-sensitive 3-letter code; 0 when none.
int FederationByCode(std::string_view code);
// The code of a row; empty for 0 or a row outside the table.
std::string_view FederationCode(int row);
