// searchrules: the rules of the name searches, shared by their source files
// and tests: the words of names and their scoring, and the plain scans that
// define what the lookups find, which the indexed lookups (searchindex.h)
// must agree with.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "players/player.h"
#include "players/playercodes.h"
#include "players/playersearch.h"

// ---- Words of names ----

// The 20 bytes that separate the words of a player name.
inline constexpr std::string_view NameSeparators{"\t\n\r !\"'(),-./:;?[\\]`", 20};
inline constexpr std::array<bool, 256> kNameSeparatorTable = [] {
  std::array<bool, 256> table{};
  for (char c : NameSeparators) table[static_cast<unsigned char>(c)] = true;
  return table;
}();
inline bool IsNameSeparator(unsigned char c) { return kNameSeparatorTable[c]; }
// Lower-cases A-Z only; every other byte stays as it is.
inline char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// At most two lower-case words of a searched name, longest first.
using QueryWordList = std::vector<std::string>;
// The query words of name: its runs of two or more ASCII letters.
QueryWordList WordsOfName(std::string_view name);
// Finds the first whole word of text equal to word and deletes its bytes
// (not the separators around it). False when there is none.
bool TakeWord(std::string_view word, std::string& text);
// How well the lower-case query word w fits player index of players: 1 a
// whole word of the name, 2 the start or end of a word, 3 inside a word, 4
// (words of four letters or more) with one letter substituted, 255 not at
// all or no such player.
uint8_t ScoreWord(std::span<const Player> players, std::string_view w, int32_t index);

// The ranked total of player index for the query words; 255 when the
// player is no candidate.
int RankedTotal(std::span<const Player> players, const QueryWordList& words, int32_t index);

// The number of hits a search keeps for a limit: at least 1.
size_t ResultLimit(int32_t limit);

// The ranked search's list of best totals as the scan fills it.
struct RankedList {
  std::vector<SearchHit>& entries;
  size_t limit;
  int lowestWorst = 255;
};
// Offers player index with its total to the list, in list order. Returns
// true when the scan ends here: every kept total is then 3 or less.
bool OfferRanked(RankedList& list, int32_t index, int total);
// Adds an entry after those with the same or a better score.
void InsertByScore(std::vector<SearchHit>& entries, int32_t index, uint8_t score);

// ---- The plain scans: the reference every faster lookup must match ----

// The first player in list order with this ID, or -1.
int32_t FindIdLinear(std::span<const Player> players, int32_t id);
// The searches for given query words and limit into out. They only read
// the players, so several may run at once, each with its own out.
void WordMatchesLinear(std::span<const Player> players, const QueryWordList& words, size_t limit,
                       std::vector<SearchHit>& out);
void RankedMatchesLinear(std::span<const Player> players, const QueryWordList& words, size_t limit,
                         std::vector<SearchHit>& out);

// The letters a-z that begin the words of a name, ignoring case: bit 0 for
// a; and kRepeatedLetter when one of them begins two words or more.
uint32_t NameLetters(std::string_view name);
// Whether a name holds the words of a holder query; VisitHolders by a scan.
bool HoldsQuery(std::string_view name, const HolderQuery& query);
void HoldersLinear(std::span<const Player> players, const HolderQuery& query, const HolderVisit& visit);

// As FindByIdAt, WordSearch and RankedSearch, by the plain scans.
bool FindByIdAtLinear(std::span<const Player> players, int32_t id, Player& player, int32_t& index);
std::vector<SearchHit> WordSearchLinear(std::span<const Player> players, std::string_view name,
                                        int32_t limit = kNormalSearchLimit);
std::vector<SearchHit> RankedSearchLinear(std::span<const Player> players, std::string_view name,
                                          int32_t limit);
