// Every holder of a set of words through the word index, without a limit:
// the players of the rarest requirement, passed over quickly by the letters
// beside their postings, each remaining one checked against the other
// requirements by a cursor in their ascending lists, or on the name where a
// start is shared by many words.
#include <algorithm>
#include <cstdint>

#include "players/searchindex.h"

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace {

using Players = std::span<const uint32_t>;

// A start of a word met by more words than this is checked on the player's
// name rather than through the lists of all of them.
constexpr size_t kListsPerStart = 16;

// The first element at or after from that is not less than value: steps
// of growing length, then a binary search (SeekAtLeast, here where it runs
// for every player checked).
inline const uint32_t* Gallop(const uint32_t* from, const uint32_t* end, uint32_t value) {
  size_t step = 1;
  const uint32_t* low = from;
  while (low != end && *low < value) {
    if (static_cast<size_t>(end - low) <= step || low[step] >= value)
      return std::lower_bound(low, low + std::min(step + 1, static_cast<size_t>(end - low)), value);
    low += step;
    step *= 2;
  }
  return low;
}

// One requirement: a player in any of its lists (one list for a whole word,
// the lists of its words for a start).
struct Requirement {
  std::vector<Players> lists;
  std::vector<const uint32_t*> cursors;
  size_t total = 0;

  void Add(Players players) {
    lists.push_back(players);
    cursors.push_back(players.data());
    total += players.size();
  }
  // Players come in ascending order, so each cursor only moves on.
  bool Holds(uint32_t player) {
    for (size_t i = 0; i < lists.size(); ++i) {
      const uint32_t* end = lists[i].data() + lists[i].size();
      cursors[i] = Gallop(cursors[i], end, player);
      if (cursors[i] != end && *cursors[i] == player) return true;
    }
    return false;
  }
};

#if defined(__i386__) || defined(__x86_64__)
// Four letter sets at once; leaves i where fewer than four remain.
__attribute__((target("sse2"))) bool FindLettersByBlocks(const uint32_t* letters, size_t& i, size_t n,
                                                         uint32_t need) {
  const __m128i wanted = _mm_set1_epi32(static_cast<int>(need));
  for (; i + 4 <= n; i += 4) {
    const __m128i have = _mm_loadu_si128(reinterpret_cast<const __m128i*>(letters + i));
    const int mask = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(_mm_and_si128(have, wanted), wanted)));
    if (mask != 0) {
      i += static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
      return true;
    }
  }
  return false;
}
#endif

// The first position at or after i whose letters hold all of need; n when
// there is none.
size_t FindLetters(const uint32_t* letters, size_t i, size_t n, uint32_t need) {
#if defined(__i386__) || defined(__x86_64__)
  if (__builtin_cpu_supports("sse2") && FindLettersByBlocks(letters, i, n, need)) return i;
#endif
  while (i < n && (letters[i] & need) != need) ++i;
  return i;
}

// A word's postings with the letters beside them, at the next player whose
// letters hold those wanted.
struct Cursor {
  const uint32_t* at;
  const uint32_t* end;
  const uint32_t* letters;  // beside at

  void Find(uint32_t need) {
    const size_t n = static_cast<size_t>(end - at);
    const size_t i = FindLetters(letters, 0, n, need);
    at += i, letters += i;
  }
  // Moves to the first player at or after want (a player is listed once
  // per occurrence of the word), then on to letters that hold need.
  void Seek(uint32_t want, uint32_t need) {
    if (at == end || *at >= want) return;
    const uint32_t* from = at;
    if (*at + 1 == want) {
      do ++at;
      while (at != end && *at < want);
    } else {
      at = Gallop(at, end, want);
    }
    letters += at - from;
    Find(need);
  }
};

// The letters beside a word's postings.
const uint32_t* LettersOf(const WordIndex& index, Players players) {
  return index.postingLetters.data() + (players.data() - index.postings.data());
}

}  // namespace

std::span<const uint32_t> WordsStartingWith(const WordIndex& index, std::string_view start) {
  const std::vector<uint32_t>& order = index.inOrder;
  auto first = std::lower_bound(order.begin(), order.end(), start,
                                [&](uint32_t w, std::string_view s) { return WordText(index, w) < s; });
  auto last = first;
  while (last != order.end() && WordText(index, *last).starts_with(start)) ++last;
  return {order.data() + (first - order.begin()), static_cast<size_t>(last - first)};
}

void HoldersIndexed(const SearchIndex& index, std::span<const Player> list, const HolderQuery& query,
                    const HolderVisit& visit) {
  const WordIndex& words = index.words;
  std::vector<Requirement> requirements;
  std::vector<uint32_t> signs;  // per requirement, the sign its players hold (0: none)
  for (const std::string& w : query.whole) {
    const int64_t word = FindWord(words, w);
    if (word < 0) return;
    requirements.emplace_back().Add(WordPlayers(words, static_cast<uint32_t>(word)));
    signs.push_back(WordSign(static_cast<uint32_t>(word)));
  }
  HolderQuery onName;  // starts checked on the player's name
  std::vector<std::span<const uint32_t>> startWords;
  for (const std::string& s : query.starts) {
    // A start of a whole word of the query is held by all its holders.
    if (std::any_of(query.whole.begin(), query.whole.end(),
                    [&](const std::string& w) { return w.starts_with(s); }))
      continue;
    std::span<const uint32_t> found = WordsStartingWith(words, s);
    if (found.empty()) return;
    startWords.push_back(found);
    if (found.size() > kListsPerStart) {
      onName.starts.push_back(s);
      continue;
    }
    Requirement& r = requirements.emplace_back();
    for (uint32_t w : found) r.Add(WordPlayers(words, w));
    signs.push_back(found.size() == 1 ? WordSign(found[0]) : 0);
  }
  if (requirements.empty() && startWords.empty()) return;

  // The walk: the rarest requirement's players, or with only starts shared
  // by many words, the players of the first of them; the lists of several
  // words side by side, the least player first.
  std::vector<Players> lists;
  size_t skip = SIZE_MAX;
  if (!requirements.empty()) {
    skip = static_cast<size_t>(
        std::min_element(requirements.begin(), requirements.end(),
                         [](const Requirement& a, const Requirement& b) { return a.total < b.total; }) -
        requirements.begin());
    lists = requirements[skip].lists;
  } else {
    for (uint32_t w : startWords[0]) lists.push_back(WordPlayers(words, w));
  }
  // What the letters beside the walked postings must hold: the query's
  // letters and the signs of the other requirements' words.
  uint32_t need = query.letters;
  for (size_t r = 0; r < requirements.size(); ++r)
    if (r != skip) need |= signs[r];
  std::vector<Cursor> cursors;
  std::vector<uint32_t> merged, mergedLetters;
  if (lists.size() > kListsPerStart) {
    // Only a start shared by many words: their players merged once.
    std::vector<std::pair<uint32_t, uint32_t>> pairs;
    for (Players p : lists)
      for (size_t i = 0; i < p.size(); ++i) pairs.push_back({p[i], LettersOf(words, p)[i]});
    std::sort(pairs.begin(), pairs.end());
    for (auto [player, letters] : pairs) merged.push_back(player), mergedLetters.push_back(letters);
    lists = {merged};
  }
  for (Players p : lists) {
    cursors.push_back(
        {p.data(), p.data() + p.size(), merged.empty() ? LettersOf(words, p) : mergedLetters.data()});
    cursors.back().Find(need);
  }

  for (;;) {
    uint32_t player = UINT32_MAX;
    for (const Cursor& c : cursors)
      if (c.at != c.end) player = std::min(player, *c.at);
    if (player == UINT32_MAX) return;
    bool holds = onName.starts.empty() || HoldsQuery(list[player].name, onName);
    for (size_t r = 0; r < requirements.size() && holds; ++r)
      holds = r == skip || requirements[r].Holds(player);
    uint32_t want = player + 1;
    if (holds) {
      const int32_t next = visit(static_cast<int32_t>(player));
      if (next <= static_cast<int32_t>(player) || next == kStopVisit) return;
      want = static_cast<uint32_t>(next);
    }
    for (Cursor& c : cursors) c.Seek(want, need);
  }
}
