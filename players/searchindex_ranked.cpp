// The ranked search through the word index. It offers the scan's insertion
// only the players that can score below 255, in ascending index order; every
// other player the scan would pass over without any effect, so the entries
// and the early stop come out exactly as the scan's.
//
// Which players can score: a query word w scores 1 to 3 where it occurs in
// the lower-cased name, and (with four letters or more) 4 where a window of
// the name differs from it in exactly one byte. w has letters only, so an
// exact occurrence lies inside one word of the name. A window with one
// difference either lies inside one word too (near words: by pigeonhole it
// holds one half of w exactly), or holds one separator, the changed byte: w
// is then x + one letter + y with x ending a word and y starting the next
// (bridges). Names whose words are none of these never score.
#include <algorithm>
#include <array>
#include <bit>

#include "players/searchindex.h"

namespace {

using Bits = std::vector<uint64_t>;

// Dictionary words whose players are gathered chunk by chunk, in ascending
// player order.
struct WordSet {
  std::vector<uint32_t> words;
  std::vector<uint32_t> next;  // per word: the first of its postings not yet gathered
};

// The words through which players can score for one query word.
struct Sources {
  WordSet exact;                                    // words holding w: scores 1 to 3
  WordSet near;                                     // w with one byte changed, not exactly
  std::vector<WordSet> bridges;                     // a word that ends with x or starts with y
  std::vector<std::array<WordSet, 2>> bridgePairs;  // a word ending with x and one starting with y
  bool tolerant = false;                            // four letters or more: substitutions count
};

// The words that may hold piece (two letters or more): those holding its
// rarest pair of letters.
std::span<const uint32_t> WordsWithPairsOf(const WordIndex& index, std::string_view piece) {
  std::span<const uint32_t> best;
  bool found = false;
  for (size_t i = 0; i + 1 < piece.size(); ++i) {
    const int b = BigramOf(piece.data() + i);
    if (b < 0) return {};  // query words are letters only; nothing else is indexed
    std::span<const uint32_t> words(index.bigramWords.data() + index.bigramStart[b],
                                    index.bigramStart[b + 1] - index.bigramStart[b]);
    if (!found || words.size() < best.size()) best = words;
    found = true;
  }
  return best;
}

template <class Keep>
WordSet WordsWhere(const WordIndex& index, std::span<const uint32_t> candidates, Keep keep) {
  WordSet set;
  for (uint32_t w : candidates)
    if (keep(WordText(index, w))) {
      set.words.push_back(w);
      set.next.push_back(index.postingStart[w]);
    }
  return set;
}

// True when some window of text differs from w in at most one byte.
bool HasNearWindow(std::string_view text, std::string_view w) {
  for (size_t p = 0; p + w.size() <= text.size(); ++p) {
    int differences = 0;
    for (size_t k = 0; k < w.size() && differences < 2; ++k) differences += text[p + k] != w[k];
    if (differences < 2) return true;
  }
  return false;
}

Sources SourcesOf(const WordIndex& index, std::string_view w) {
  Sources s;
  s.exact =
      WordsWhere(index, WordsWithPairsOf(index, w), [&](std::string_view t) { return t.find(w) != t.npos; });
  if (w.size() <= 3) return s;
  s.tolerant = true;

  // A window with one difference holds one of the halves of w unchanged.
  std::span<const uint32_t> a = WordsWithPairsOf(index, w.substr(0, w.size() / 2));
  std::span<const uint32_t> b = WordsWithPairsOf(index, w.substr(w.size() / 2));
  std::vector<uint32_t> candidates;
  std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(candidates));
  s.near = WordsWhere(index, candidates,
                      [&](std::string_view t) { return t.find(w) == t.npos && HasNearWindow(t, w); });

  auto ending = [&](std::string_view x) {
    return WordsWhere(index, WordsWithPairsOf(index, x), [&](std::string_view t) { return t.ends_with(x); });
  };
  auto starting = [&](std::string_view y) {
    return WordsWhere(index, WordsWithPairsOf(index, y),
                      [&](std::string_view t) { return t.starts_with(y); });
  };
  // The separator stands for letter k of w. Parts of one letter would match
  // too many words: x + y has three letters or more, so one part has two.
  for (size_t k = 0; k < w.size(); ++k) {
    std::string_view x = w.substr(0, k), y = w.substr(k + 1);
    if (x.size() >= 2 && y.size() >= 2)
      s.bridgePairs.push_back({ending(x), starting(y)});
    else if (y.size() >= 2)
      s.bridges.push_back(starting(y));
    else
      s.bridges.push_back(ending(x));
  }
  return s;
}

// Sets bit p - lo of bits for every player p of the set in [lo, hi).
void Gather(const WordIndex& index, WordSet& set, uint32_t lo, uint32_t hi, uint64_t* bits) {
  const uint32_t* postings = index.postings.data();
  for (size_t k = 0; k < set.words.size();) {
    const uint32_t end = index.postingStart[set.words[k] + 1];
    uint32_t pos = set.next[k];
    if (pos < end && postings[pos] < lo)
      pos = static_cast<uint32_t>(SeekAtLeast(postings + pos, postings + end, lo) - postings);
    for (; pos < end && postings[pos] < hi; ++pos) {
      const uint32_t bit = postings[pos] - lo;
      bits[bit >> 6] |= uint64_t{1} << (bit & 63);
    }
    if (pos == end) {  // done with this word
      set.words[k] = set.words.back();
      set.words.pop_back();
      set.next[k] = set.next.back();
      set.next.pop_back();
      continue;
    }
    set.next[k] = pos;
    ++k;
  }
}

constexpr uint32_t kFirstChunk = 4096;  // small, for searches that stop early
constexpr uint32_t kLargestChunk = uint32_t{1} << 17;

// The players of one chunk that can score for a query word: exactly (scores
// 1 to 3), or at all (1 to 4).
struct ChunkBits {
  Bits exact, any;
};

void GatherChunk(const WordIndex& index, Sources& s, uint32_t lo, uint32_t hi, bool exactOnly,
                 ChunkBits& bits, Bits& left, Bits& right) {
  const size_t words = (hi - lo + 63) / 64;
  std::fill_n(bits.exact.begin(), words, 0);
  Gather(index, s.exact, lo, hi, bits.exact.data());
  if (exactOnly) return;
  std::copy_n(bits.exact.begin(), words, bits.any.begin());
  if (!s.tolerant) return;
  Gather(index, s.near, lo, hi, bits.any.data());
  for (WordSet& set : s.bridges) Gather(index, set, lo, hi, bits.any.data());
  for (auto& [ends, starts] : s.bridgePairs) {
    std::fill_n(left.begin(), words, 0);
    std::fill_n(right.begin(), words, 0);
    Gather(index, ends, lo, hi, left.data());
    Gather(index, starts, lo, hi, right.data());
    for (size_t k = 0; k < words; ++k) bits.any[k] |= left[k] & right[k];
  }
}

// What each query word can score at 64 players: exactly (e) or at all (a).
struct Fits {
  uint64_t e1, a1, e2, a2;
};

// The players among them whose total can be below `last`. One word scores
// 1 to 3 exactly, 4 substituted. Two words total 2 to 6 when both fit
// exactly; a substitution counts 6 in the first word and 7 in the second, so
// 7 = 6 + 1, 8 = 6 + 2 or 1 + 7, then up to 13. With the second word
// missing the total is 250 + the first's exact score (251 to 253), with the
// first missing 251 + the second's (252 to 254).
uint64_t CanTotalBelow(int last, bool two, const Fits& f) {
  if (!two) return last <= 4 ? f.e1 : f.a1;
  if (last <= 7) return f.e1 & f.e2;
  if (last <= 8) return f.a1 & f.e2;
  if (last <= 9) return (f.a1 & f.e2) | (f.e1 & f.a2);
  if (last <= 251) return f.a1 & f.a2;
  if (last <= 252) return (f.a1 & f.a2) | f.e1;
  return f.e1 | f.e2 | (f.a1 & f.a2);
}

}  // namespace

void RankedMatchesIndexed(const SearchIndex& index, std::span<const Player> list, const QueryWordList& words,
                          size_t limit, std::vector<SearchHit>& out) {
  out.clear();
  if (words.empty()) return;
  const WordIndex& wordIndex = index.words;
  const auto players = static_cast<uint32_t>(list.size());
  const bool two = words.size() == 2;
  std::vector<Sources> sources;
  for (const std::string& w : words) sources.push_back(SourcesOf(wordIndex, w));
  const size_t chunkWords = (std::min(players, kLargestChunk) + 63) / 64;
  std::vector<ChunkBits> bits(words.size(), ChunkBits{Bits(chunkWords), Bits(chunkWords)});
  Bits left(chunkWords), right(chunkWords);
  RankedList ranked{out, limit};

  // Once the list is full, a player whose total cannot beat its last entry
  // changes nothing: only those that can are scored.
  constexpr int kAnyTotal = 256;
  auto bar = [&] { return out.size() == limit ? out.back().score : kAnyTotal; };
  uint32_t size = kFirstChunk;
  for (uint32_t lo = 0; lo < players; lo += size, size = std::min(size * 2, kLargestChunk)) {
    const uint32_t hi = lo + std::min(size, players - lo);
    // Below these totals every candidate fits each word exactly.
    const bool exactOnly = bar() <= (two ? 7 : 4);
    for (size_t j = 0; j < words.size(); ++j)
      GatherChunk(wordIndex, sources[j], lo, hi, exactOnly, bits[j], left, right);

    for (size_t k = 0; k < (hi - lo + 63) / 64; ++k) {
      Fits f{};
      f.e1 = bits[0].exact[k];
      f.a1 = exactOnly ? f.e1 : bits[0].any[k];
      if (two) {
        f.e2 = bits[1].exact[k];
        f.a2 = exactOnly ? f.e2 : bits[1].any[k];
      }
      for (uint64_t candidates = CanTotalBelow(bar(), two, f); candidates != 0;
           candidates &= candidates - 1) {
        const auto bit = static_cast<unsigned>(std::countr_zero(candidates));
        if ((CanTotalBelow(bar(), two, f) >> bit & 1) == 0) continue;  // the bar was lowered meanwhile
        const auto player = static_cast<int32_t>(lo + k * 64 + bit);
        if (OfferRanked(ranked, player, RankedTotal(list, words, player))) return;
      }
    }
  }
}
