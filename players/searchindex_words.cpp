// The whole-word search through the word index. The scan's entries follow
// from the players of each query word: with one word the first players that
// hold it; with two, the first of those holding both (score 1), then of
// those holding only the first (2), then only the second (3).
#include "players/searchindex.h"

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace {

using Players = std::span<const uint32_t>;

Players PlayersOf(const WordIndex& index, std::string_view word) {
  int64_t w = FindWord(index, word);
  return w < 0 ? Players{} : WordPlayers(index, static_cast<uint32_t>(w));
}

// Calls take(player, occurrences) for each player of the list, in order,
// until take returns false. A player is listed once per occurrence.
template <class Take>
void ForEachPlayer(Players players, Take take) {
  for (size_t i = 0; i < players.size();) {
    size_t j = i + 1;
    while (j < players.size() && players[j] == players[i]) ++j;
    if (!take(players[i], j - i)) return;
    i = j;
  }
}

// Appends player u to kept unless it is the last one kept (a player is
// listed once per occurrence); false when kept is full.
inline bool KeepOnce(uint32_t u, size_t room, std::vector<uint32_t>& kept) {
  if (kept.empty() || kept.back() != u) kept.push_back(u);
  return kept.size() < room;
}

#if defined(__i386__) || defined(__x86_64__)
// Compares blocks of four players of each list at once, all sixteen pairs,
// and moves on the block that ends lower (both when they end alike): every
// pair of blocks whose ranges overlap meets once, so no common player is
// missed, and matches come out in ascending order. Common players are rare
// in the lists this serves, so a block pair rarely needs a closer look.
// Leaves x and y where fewer than four players remain in one list.
__attribute__((target("sse2"))) bool KeepCommonByBlocks(const uint32_t*& x, const uint32_t* xEnd,
                                                        const uint32_t*& y, const uint32_t* yEnd, size_t room,
                                                        std::vector<uint32_t>& kept) {
  while (xEnd - x >= 4 && yEnd - y >= 4) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(x));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(y));
    __m128i same = _mm_cmpeq_epi32(a, b);
    same = _mm_or_si128(same, _mm_cmpeq_epi32(a, _mm_shuffle_epi32(b, _MM_SHUFFLE(0, 3, 2, 1))));
    same = _mm_or_si128(same, _mm_cmpeq_epi32(a, _mm_shuffle_epi32(b, _MM_SHUFFLE(1, 0, 3, 2))));
    same = _mm_or_si128(same, _mm_cmpeq_epi32(a, _mm_shuffle_epi32(b, _MM_SHUFFLE(2, 1, 0, 3))));
    if (const int mask = _mm_movemask_ps(_mm_castsi128_ps(same))) {
      for (int i = 0; i < 4; ++i)
        if ((mask >> i & 1) && !KeepOnce(x[i], room, kept)) return false;
    }
    const uint32_t lastX = x[3], lastY = y[3];
    x += lastX <= lastY ? 4 : 0;
    y += lastY <= lastX ? 4 : 0;
  }
  return true;
}
#endif

// The players in both lists, up to room. With lists of like sizes (common
// words of a large list) a merge costs a few comparisons a player where a
// seek per player costs a search.
void KeepCommonByMerge(Players a, Players b, size_t room, std::vector<uint32_t>& kept) {
  const uint32_t *x = a.data(), *xEnd = x + a.size();
  const uint32_t *y = b.data(), *yEnd = y + b.size();
#if defined(__i386__) || defined(__x86_64__)
  if (__builtin_cpu_supports("sse2") && !KeepCommonByBlocks(x, xEnd, y, yEnd, room, kept)) return;
#endif
  while (x != xEnd && y != yEnd) {
    const uint32_t u = *x, v = *y;
    if (u == v && !KeepOnce(u, room, kept)) return;
    x += u <= v;
    y += v <= u;
  }
}

// Keeps the players of `from` that are (or are not) in `other`, up to room.
void Filter(Players from, Players other, bool inOther, size_t room, std::vector<uint32_t>& kept) {
  if (room == 0) return;
  if (inOther && other.size() / 16 <= from.size()) {
    KeepCommonByMerge(from, other, room, kept);
    return;
  }
  const uint32_t* cursor = other.data();
  const uint32_t* end = other.data() + other.size();
  ForEachPlayer(from, [&](uint32_t player, size_t) {
    cursor = SeekAtLeast(cursor, end, player);
    if ((cursor != end && *cursor == player) == inOther) kept.push_back(player);
    return kept.size() < room;
  });
}

void Append(std::vector<SearchHit>& out, const std::vector<uint32_t>& players, uint8_t score) {
  for (uint32_t p : players) out.push_back({static_cast<int32_t>(p), score});
}

}  // namespace

void WordMatchesIndexed(const SearchIndex& index, std::span<const Player>, const QueryWordList& words,
                        size_t limit, std::vector<SearchHit>& out) {
  out.clear();
  if (words.size() == 1) {
    ForEachPlayer(PlayersOf(index.words, words[0]), [&](uint32_t player, size_t) {
      out.push_back({static_cast<int32_t>(player), 1});
      return out.size() < limit;
    });
    return;
  }
  if (words.size() != 2) return;

  // The scan keeps the limit - 1 best by score, earlier players first on
  // equal scores.
  const size_t room = limit - 1;
  if (room == 0) return;
  std::vector<uint32_t> both, first, second;
  Players p1 = PlayersOf(index.words, words[0]);
  if (words[0] == words[1]) {
    // The same word twice: the second needs a second occurrence.
    ForEachPlayer(p1, [&](uint32_t player, size_t occurrences) {
      if (occurrences >= 2)
        both.push_back(player);
      else if (first.size() < room)
        first.push_back(player);
      return both.size() < room;
    });
  } else {
    Players p2 = PlayersOf(index.words, words[1]);
    if (p1.size() <= p2.size())
      Filter(p1, p2, true, room, both);
    else
      Filter(p2, p1, true, room, both);
    Filter(p1, p2, false, room - both.size(), first);
    Filter(p2, p1, false, room - both.size() - first.size(), second);
  }
  Append(out, both, 1);
  Append(out, first, 2);
  Append(out, second, 3);
  if (out.size() > room) out.resize(room);
}
