// The rules of the name searches that the plain scans and the indexed
// lookups share: the query words of a name, how a word fits a player's
// name, and how the ranked search keeps its best totals.
#include "players/searchrules.h"

#include <algorithm>

namespace {

bool IsSeparator(char c) { return IsNameSeparator(static_cast<unsigned char>(c)); }

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

QueryWordList WordsOfName(std::string_view name) {
  QueryWordList words;
  size_t i = 0;
  while (i < name.size()) {
    if (!IsAsciiLetter(name[i])) {
      ++i;
      continue;
    }
    const size_t start = i;
    while (i < name.size() && IsAsciiLetter(name[i])) ++i;
    const size_t length = i - start;
    if (length < 2) continue;  // an initial
    // Longest first; a word goes after those of its own length. Later words
    // only push entries down, so a third one never returns.
    size_t at = 0;
    while (at < words.size() && words[at].size() >= length) ++at;
    if (at >= 2) continue;
    if (words.size() == 2) words.pop_back();
    std::string& word =
        *words.emplace(words.begin() + static_cast<ptrdiff_t>(at), name.substr(start, length));
    for (char& c : word) c = LowerAscii(c);
  }
  return words;
}

// A limit below 1 (as when a step's known players fill the tolerant search's
// room) must not break the searches.
size_t ResultLimit(int32_t limit) { return static_cast<size_t>(std::max<int32_t>(limit, 1)); }

bool TakeWord(std::string_view word, std::string& text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    while (i < n && IsSeparator(text[i])) ++i;
    const size_t start = i;
    while (i < n && !IsSeparator(text[i])) ++i;
    if (!word.empty() && std::string_view(text).substr(start, i - start) == word) {
      text.erase(start, word.size());
      return true;
    }
  }
  return false;
}

uint8_t ScoreWord(std::span<const Player> players, std::string_view w, int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= players.size() || w.empty()) return 255;
  const std::string_view name = players[static_cast<size_t>(index)].name.substr(0, 255);
  const size_t n = name.size();

  // s: the lower-cased name between two blanks, which count as separators.
  char s[257];
  s[0] = ' ';
  for (size_t i = 0; i < n; ++i) s[i + 1] = LowerAscii(name[i]);
  s[n + 1] = ' ';
  const char* lowered = s + 1;

  const int allowed = w.size() > 3 ? 2 : 1;
  int best = allowed;
  uint8_t score = 255;
  for (size_t p = 0; p + w.size() <= n; ++p) {
    int count = 0;
    size_t k = 0;
    for (; k < w.size(); ++k)
      if (w[k] != lowered[p + k] && ++count >= best) break;
    if (k < w.size()) continue;  // as bad as the best window so far
    if (count > 0) {
      best = count;
      continue;
    }
    const bool before = IsSeparator(s[p]);
    const bool after = IsSeparator(s[p + w.size() + 1]);
    if (before && after) return 1;
    if (before || after)
      score = 2;
    else
      score = std::min<uint8_t>(score, 3);
    best = 0;  // from now on only exact occurrences count
  }
  if (best >= 1 && best < allowed) score = static_cast<uint8_t>(best + 3);
  return score;
}

int RankedTotal(std::span<const Player> players, const QueryWordList& words, int32_t index) {
  const int s1 = ScoreWord(players, words[0], index);
  if (words.size() == 1) return s1;
  const int s2 = ScoreWord(players, words[1], index);
  if (s1 + s2 > 258) return 255;
  if (s1 == 255) return s2 + 251;
  if (s2 == 255) return s1 + 250;
  // A substitution weighs more than any exact fit, in the second word most.
  return (s1 == 4 ? 6 : s1) + (s2 == 4 ? 7 : s2);
}

void InsertByScore(std::vector<SearchHit>& entries, int32_t index, uint8_t score) {
  auto at = std::upper_bound(entries.begin(), entries.end(), score,
                             [](uint8_t s, const SearchHit& e) { return s < e.score; });
  entries.insert(at, SearchHit{index, score});
}

bool OfferRanked(RankedList& list, int32_t index, int total) {
  std::vector<SearchHit>& entries = list.entries;
  if (total == 255) return false;
  if (entries.size() == list.limit && total >= entries.back().score) return false;
  InsertByScore(entries, index, static_cast<uint8_t>(total));
  if (entries.size() <= list.limit) return false;
  entries.pop_back();
  list.lowestWorst = std::min<int>(list.lowestWorst, entries.back().score);
  // Every kept candidate fits this well; the rest of the list is rated lower.
  return list.lowestWorst <= 3;
}
