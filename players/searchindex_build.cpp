// Building the search index of a database's players.
#include <algorithm>
#include <bit>
#include <new>

#include "players/searchindex.h"

namespace {

uint32_t HashId(int32_t id, int bits) {
  // Fibonacci hashing spreads the mostly consecutive FIDE IDs evenly.
  return static_cast<uint32_t>(static_cast<uint32_t>(id) * 0x9E3779B1u) >> (32 - bits);
}

uint32_t HashWord(std::string_view word) {
  uint32_t h = 2166136261u;  // FNV-1a
  for (char c : word) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return h;
}

// A table for n keys, at most half full: its size in bits.
int TableBits(size_t n) {
  return std::max(4, static_cast<int>(std::bit_width(std::max<size_t>(n, 1) * 2 - 1)));
}

IdTable BuildIdTable(std::span<const Player> list) {
  IdTable table;
  const int bits = TableBits(list.size());
  const uint32_t mask = (uint32_t{1} << bits) - 1;
  table.slots.assign(size_t{1} << bits, 0);
  for (size_t i = 0; i < list.size(); ++i) {
    const int32_t id = list[i].fideId;
    for (uint32_t s = HashId(id, bits);; s = (s + 1) & mask) {
      uint32_t held = table.slots[s];
      if (held == 0) {
        table.slots[s] = static_cast<uint32_t>(i + 1);
        break;
      }
      if (list[held - 1].fideId == id) break;  // an earlier player keeps the ID
    }
  }
  return table;
}

// Calls take(start, length) for every word of two or more bytes of the
// lower-cased name in lower (which it fills); returns the letters that begin
// its words (NameLetters of names of up to 255 bytes).
template <class Take>
uint32_t ForEachWord(std::string_view name, char* lower, Take take) {
  const size_t n = std::min<size_t>(name.size(), 255);
  for (size_t i = 0; i < n; ++i) lower[i] = LowerAscii(name[i]);
  uint32_t letters = 0;
  size_t i = 0;
  while (i < n) {
    while (i < n && IsNameSeparator(static_cast<unsigned char>(lower[i]))) ++i;
    const size_t start = i;
    while (i < n && !IsNameSeparator(static_cast<unsigned char>(lower[i]))) ++i;
    if (i == start) break;
    if (const unsigned first = static_cast<unsigned char>(lower[start]) - 'a'; first < 26) {
      if (letters >> first & 1) letters |= kRepeatedLetter;
      letters |= uint32_t{1} << first;
    }
    if (i - start >= 2) take(std::string_view(lower + start, i - start));
  }
  return letters;
}

size_t WordCount(const WordIndex& index) { return index.textStart.size() - 1; }

void Rehash(WordIndex& index, int bits) {
  index.slots.assign(size_t{1} << bits, 0);
  const uint32_t mask = (uint32_t{1} << bits) - 1;
  for (uint32_t w = 0; w < WordCount(index); ++w) {
    uint32_t s = HashWord(WordText(index, w)) & mask;
    while (index.slots[s] != 0) s = (s + 1) & mask;
    index.slots[s] = w + 1;
  }
}

// The number of word, added when new.
uint32_t AddWord(WordIndex& index, std::string_view word, std::vector<uint32_t>& occurrences) {
  const uint32_t mask = static_cast<uint32_t>(index.slots.size() - 1);
  uint32_t s = HashWord(word) & mask;
  for (; index.slots[s] != 0; s = (s + 1) & mask) {
    const uint32_t w = index.slots[s] - 1;
    if (WordText(index, w) == word) {
      ++occurrences[w];
      return w;
    }
  }
  const auto w = static_cast<uint32_t>(WordCount(index));
  index.slots[s] = w + 1;
  index.text.insert(index.text.end(), word.begin(), word.end());
  index.textStart.push_back(static_cast<uint32_t>(index.text.size()));
  occurrences.push_back(1);
  if (WordCount(index) * 2 > index.slots.size()) Rehash(index, std::countr_zero(index.slots.size()) + 1);
  return w;
}

// For every pair of letters, the words that hold it: a search for a piece
// of a word then checks only the words that hold its rarest pair.
void BuildBigrams(WordIndex& index) {
  const size_t words = WordCount(index);
  std::vector<uint32_t> seenIn(kBigrams, UINT32_MAX);
  auto forEachBigram = [&](uint32_t w, auto take) {
    std::string_view text = WordText(index, w);
    for (size_t i = 0; i + 1 < text.size(); ++i) {
      int b = BigramOf(text.data() + i);
      if (b < 0 || seenIn[b] == w) continue;
      seenIn[b] = w;
      take(b);
    }
  };
  index.bigramStart.assign(kBigrams + 1, 0);
  for (uint32_t w = 0; w < words; ++w) forEachBigram(w, [&](int b) { ++index.bigramStart[b + 1]; });
  for (size_t b = 0; b < kBigrams; ++b) index.bigramStart[b + 1] += index.bigramStart[b];
  index.bigramWords.resize(index.bigramStart[kBigrams]);
  std::vector<uint32_t> next(index.bigramStart.begin(), index.bigramStart.end() - 1);
  std::fill(seenIn.begin(), seenIn.end(), UINT32_MAX);
  for (uint32_t w = 0; w < words; ++w) forEachBigram(w, [&](int b) { index.bigramWords[next[b]++] = w; });
}

// The words in byte order, for the lookups of the words that begin with
// some bytes.
void BuildOrder(WordIndex& index) {
  const size_t words = WordCount(index);
  index.inOrder.resize(words);
  for (uint32_t w = 0; w < words; ++w) index.inOrder[w] = w;
  std::sort(index.inOrder.begin(), index.inOrder.end(),
            [&](uint32_t a, uint32_t b) { return WordText(index, a) < WordText(index, b); });
}

WordIndex BuildWordIndex(std::span<const Player> list) {
  WordIndex index;
  index.textStart.push_back(0);
  index.slots.assign(size_t{1} << 12, 0);
  char lower[255];
  // First pass: the words and how often each occurs. The second one finds
  // them again, which costs less memory than keeping every occurrence.
  std::vector<uint32_t> occurrences;
  for (const Player& p : list)
    ForEachWord(p.name, lower, [&](std::string_view word) { AddWord(index, word, occurrences); });

  const size_t words = WordCount(index);
  index.postingStart.assign(words + 1, 0);
  for (size_t w = 0; w < words; ++w) index.postingStart[w + 1] = index.postingStart[w] + occurrences[w];
  std::vector<uint32_t>().swap(occurrences);
  index.postings.resize(index.postingStart[words]);
  index.postingLetters.resize(index.postings.size());
  std::vector<uint32_t> next(index.postingStart.begin(), index.postingStart.end() - 1);
  std::vector<uint32_t> held;  // the words of one name
  for (size_t i = 0; i < list.size(); ++i) {
    held.clear();
    uint32_t letters = ForEachWord(list[i].name, lower, [&](std::string_view word) {
      held.push_back(static_cast<uint32_t>(FindWord(index, word)));
    });
    for (uint32_t w : held) letters |= WordSign(w);
    for (uint32_t w : held) {
      const uint32_t at = next[w]++;
      index.postings[at] = static_cast<uint32_t>(i);
      index.postingLetters[at] = letters;
    }
  }
  index.text.shrink_to_fit();
  index.textStart.shrink_to_fit();
  BuildBigrams(index);
  BuildOrder(index);
  return index;
}

}  // namespace

int64_t FindWord(const WordIndex& index, std::string_view word) {
  const uint32_t mask = static_cast<uint32_t>(index.slots.size() - 1);
  for (uint32_t s = HashWord(word) & mask; index.slots[s] != 0; s = (s + 1) & mask) {
    const uint32_t w = index.slots[s] - 1;
    std::string_view held = WordText(index, w);
    if (held.size() != word.size()) continue;
    // Words are short: compared here rather than through a library call.
    size_t k = 0;
    while (k < word.size() && held[k] == word[k]) ++k;
    if (k == word.size()) return w;
  }
  return -1;
}

const uint32_t* SeekAtLeast(const uint32_t* from, const uint32_t* end, uint32_t value) {
  if (from == end) return end;
  size_t step = 1;
  const uint32_t* low = from;
  while (static_cast<size_t>(end - low) > step && low[step] < value) {
    low += step;
    step *= 2;
  }
  return std::lower_bound(low, low + std::min(step + 1, static_cast<size_t>(end - low)), value);
}

std::unique_ptr<SearchIndex> BuildSearchIndex(std::span<const Player> players) {
  auto index = std::make_unique<SearchIndex>();
  index->ids = BuildIdTable(players);
  index->words = BuildWordIndex(players);
  return index;
}

size_t SearchIndexBytes(const SearchIndex& index) {
  auto bytes = [](const auto& v) { return v.capacity() * sizeof(v[0]); };
  const WordIndex& w = index.words;
  return sizeof index + bytes(index.ids.slots) + bytes(w.text) + bytes(w.textStart) + bytes(w.postingStart) +
         bytes(w.postings) + bytes(w.slots) + bytes(w.bigramStart) + bytes(w.bigramWords) + bytes(w.inOrder) +
         bytes(w.postingLetters);
}

int32_t FindIdIndexed(const SearchIndex& index, std::span<const Player> list, int32_t id) {
  const std::vector<uint32_t>& slots = index.ids.slots;
  const int bits = std::countr_zero(slots.size());
  const uint32_t mask = static_cast<uint32_t>(slots.size() - 1);
  for (uint32_t s = HashId(id, bits); slots[s] != 0; s = (s + 1) & mask)
    if (list[slots[s] - 1].fideId == id) return static_cast<int32_t>(slots[s] - 1);
  return -1;
}
