// Pieces of the player database shared by its source files and its tests:
// the federation table, name words and their scoring, and the plain linear
// searches that any faster lookup must agree with.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "database/fidelist.h"

// ---- Federations ----

struct tfidecode {
  std::string_view code;  // three capital letters
  std::string_view name;  // carried along, never shown
};
// Row r (1..208) is FederationTable[r - 1]; players.dat stores row numbers.
extern const std::array<tfidecode, kFederationCount> FederationTable;

// ---- Words of names ----

// The 20 bytes that separate the words of a player name.
inline constexpr std::string_view NameSeparators{"\t\n\r !\"'(),-./:;?[\\]`", 20};
bool IsNameSeparator(unsigned char c);
// Lower-cases A-Z only; every other byte stays as it is.
inline char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// At most two lower-case words of the last searched name, longest first.
extern std::vector<std::string> QueryWords;
// Fills QueryWords from the runs of two or more ASCII letters in name.
void SplitQueryWords(std::string_view name);
// Finds the first whole word of text equal to word and deletes its bytes
// (not the separators around it). False when there is none.
bool TakeWord(std::string_view word, std::string& text);
// How well the lower-case query word w fits player index: 1 a whole word of
// the name, 2 the start or end of a word, 3 inside a word, 4 (words of four
// letters or more) with one letter substituted, 255 not at all.
uint8_t ScoreWord(std::string_view w, int32_t index);

// ---- The plain scans ----

bool FindByIdAtLinear(int32_t id, fideitem& player, int32_t& index);
void WordSearchLinear(std::string_view name);
void RankedSearchLinear(std::string_view name);
