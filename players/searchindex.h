// searchindex: indexes of a database's players that answer the lookups by
// FIDE ID and by name without visiting every player, with exactly the
// results of the plain scans. A PlayerDatabase builds its own when it is
// made.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "players/searchrules.h"

// The first player of every FIDE ID: an open-addressing table of player
// index + 1 (0 marks a free slot), its size a power of two.
struct IdTable {
  std::vector<uint32_t> slots;
};

// Every word of two or more bytes in the lower-cased names (a word being a
// maximal run of bytes outside NameSeparators), numbered in order of first
// appearance, with the players whose names hold it.
struct WordIndex {
  std::vector<char> text;              // the words' bytes, one after another
  std::vector<uint32_t> textStart;     // word w is text[textStart[w], textStart[w + 1])
  std::vector<uint32_t> postingStart;  // its players: postings[postingStart[w], postingStart[w + 1])
  std::vector<uint32_t> postings;      // ascending player indexes, one per occurrence
  std::vector<uint32_t> slots;         // word + 1 by hash of its bytes, 0 free; a power of two
  std::vector<uint32_t> bigramStart;   // 26 * 26 + 1 offsets into bigramWords
  std::vector<uint32_t> bigramWords;   // per pair of letters a-z, the ascending words holding it
  std::vector<uint32_t> inOrder;       // the words in byte order (WordsStartingWith)
  // Beside each posting, the letters that begin the words of its player's
  // name (NameLetters) and the WordSign bits of its words: a search for a
  // name's holders passes over most players that cannot hold the name
  // without looking at them.
  std::vector<uint32_t> postingLetters;
};

// A bit above those of NameLetters for the word with this number: a player
// whose posting lacks it does not hold the word.
inline uint32_t WordSign(uint32_t word) { return uint32_t{1} << (27 + word % 5); }

struct SearchIndex {
  IdTable ids;
  WordIndex words;
};

// Builds the index of players. Throws std::bad_alloc.
std::unique_ptr<SearchIndex> BuildSearchIndex(std::span<const Player> players);
// The bytes an index holds.
size_t SearchIndexBytes(const SearchIndex& index);

// ---- Lookups through the index of players ----

// The first player in list order with this ID, or -1.
int32_t FindIdIndexed(const SearchIndex& index, std::span<const Player> players, int32_t id);
// The same entries as WordMatchesLinear and RankedMatchesLinear. Several may
// run at once, each with its own out.
void WordMatchesIndexed(const SearchIndex& index, std::span<const Player> players, const QueryWordList& words,
                        size_t limit, std::vector<SearchHit>& out);
void RankedMatchesIndexed(const SearchIndex& index, std::span<const Player> players,
                          const QueryWordList& words, size_t limit, std::vector<SearchHit>& out);

// VisitHolders through the index.
void HoldersIndexed(const SearchIndex& index, std::span<const Player> players, const HolderQuery& query,
                    const HolderVisit& visit);
// The words that begin with start, as a range of WordIndex::inOrder.
std::span<const uint32_t> WordsStartingWith(const WordIndex& index, std::string_view start);

// ---- Shared by the index's source files ----

constexpr size_t kBigrams = 26 * 26;
// The pair of letters at text[0..1] as 0..675, or -1 when either is not a-z.
inline int BigramOf(const char* text) {
  unsigned a = static_cast<unsigned char>(text[0]) - 'a', b = static_cast<unsigned char>(text[1]) - 'a';
  return a < 26 && b < 26 ? static_cast<int>(a * 26 + b) : -1;
}
// The word with these bytes, or -1.
int64_t FindWord(const WordIndex& index, std::string_view word);
inline std::string_view WordText(const WordIndex& index, uint32_t w) {
  return {index.text.data() + index.textStart[w], index.textStart[w + 1] - index.textStart[w]};
}
inline std::span<const uint32_t> WordPlayers(const WordIndex& index, uint32_t w) {
  return {index.postings.data() + index.postingStart[w], index.postingStart[w + 1] - index.postingStart[w]};
}
// The first element at or after from that is not less than value: a
// galloping search, cheap when the answer lies near.
const uint32_t* SeekAtLeast(const uint32_t* from, const uint32_t* end, uint32_t value);
