// Lookup of players by FIDE ID and by name: the whole-word search tried
// first and the tolerant ranked search. Both scan PlayerList from the top,
// so among equally good candidates the higher rated come first.
#include <algorithm>

#include "database/fidelist_internal.h"

std::vector<std::string> QueryWords;
std::vector<tsearchress> SearchResults;
int32_t MaxResults = kDefaultMaxResults;

namespace {

constexpr std::array<bool, 256> kSeparator = [] {
  std::array<bool, 256> table{};
  for (char c : NameSeparators) table[static_cast<unsigned char>(c)] = true;
  return table;
}();

bool IsSeparator(char c) { return kSeparator[static_cast<unsigned char>(c)]; }

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The result limit; callers keep it at least 1, but a slip must not break
// the searches.
size_t ResultLimit() { return static_cast<size_t>(std::max<int32_t>(MaxResults, 1)); }

// Adds an entry after those with the same or a better score.
void InsertByScore(int32_t index, uint8_t score) {
  auto at = std::upper_bound(SearchResults.begin(), SearchResults.end(), score,
                             [](uint8_t s, const tsearchress& e) { return s < e.score; });
  SearchResults.insert(at, tsearchress{index, score});
}

// True when w (lower case) is a whole word of name once that is lower-cased.
bool HasWholeWord(std::string_view name, std::string_view w) {
  size_t i = 0;
  const size_t n = name.size();
  while (i < n) {
    while (i < n && IsSeparator(name[i])) ++i;
    const size_t start = i;
    while (i < n && !IsSeparator(name[i])) ++i;
    if (i - start != w.size()) continue;
    size_t k = 0;
    while (k < w.size() && LowerAscii(name[start + k]) == w[k]) ++k;
    if (k == w.size()) return true;
  }
  return false;
}

void LowerInto(std::string& text, std::string_view name) {
  text.assign(name);
  for (char& c : text) c = LowerAscii(c);
}

}  // namespace

bool IsNameSeparator(unsigned char c) { return kSeparator[c]; }

void SplitQueryWords(std::string_view name) {
  QueryWords.clear();
  size_t i = 0;
  while (i < name.size()) {
    if (!IsAsciiLetter(name[i])) {
      ++i;
      continue;
    }
    const size_t start = i;
    while (i < name.size() && IsAsciiLetter(name[i])) ++i;
    if (i - start < 2) continue;  // an initial
    std::string word(name.substr(start, i - start));
    for (char& c : word) c = LowerAscii(c);
    // Longest first; a word goes after those of its own length.
    auto at = std::find_if(QueryWords.begin(), QueryWords.end(),
                           [&](const std::string& held) { return held.size() < word.size(); });
    QueryWords.insert(at, std::move(word));
    // Later words only push entries down, so a third one never returns.
    if (QueryWords.size() > 2) QueryWords.pop_back();
  }
}

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

uint8_t ScoreWord(std::string_view w, int32_t index) {
  std::span<const fideitem> list = PlayerList();
  if (index < 0 || static_cast<size_t>(index) >= list.size() || w.empty()) return 255;
  const std::string_view name = list[static_cast<size_t>(index)].name.substr(0, 255);
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

bool FindByIdAtLinear(int32_t id, fideitem& player, int32_t& index) {
  std::span<const fideitem> list = PlayerList();
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i].fideId != id) continue;
    player = list[i];
    index = static_cast<int32_t>(i);
    return true;
  }
  index = -1;
  return false;
}

bool FindByIdAt(int32_t id, fideitem& player, int32_t& index) {
  return FindByIdAtLinear(id, player, index);
}

bool FindById(int32_t id, fideitem& player) {
  int32_t index;
  return FindByIdAt(id, player, index);
}

void WordSearchLinear(std::string_view name) {
  SplitQueryWords(name);
  SearchResults.clear();
  std::span<const fideitem> list = PlayerList();
  const size_t limit = ResultLimit();

  if (QueryWords.size() == 1) {
    const std::string& w = QueryWords[0];
    for (size_t i = 0; i < list.size() && SearchResults.size() < limit; ++i)
      if (HasWholeWord(list[i].name, w)) SearchResults.push_back({static_cast<int32_t>(i), 1});
    return;
  }
  if (QueryWords.size() != 2) return;

  // Two words: one word of a name cannot serve both, so the first found is
  // taken out before the second is looked for.
  const std::string& w1 = QueryWords[0];
  const std::string& w2 = QueryWords[1];
  const size_t room = limit - 1;
  std::string t;
  for (size_t i = 0; i < list.size(); ++i) {
    LowerInto(t, list[i].name);
    const bool a = TakeWord(w1, t);
    const bool b = TakeWord(w2, t);
    if (!a && !b) continue;
    const uint8_t score = a && b ? 1 : a ? 2 : 3;
    if (SearchResults.size() >= room) {
      if (room == 0 || score >= SearchResults.back().score) continue;
      SearchResults.pop_back();
    }
    InsertByScore(static_cast<int32_t>(i), score);
  }
}

void WordSearch(std::string_view name) { WordSearchLinear(name); }

namespace {

// The ranked total of player index for the current QueryWords; 255 when the
// player is no candidate.
int RankedTotal(int32_t index) {
  const int s1 = ScoreWord(QueryWords[0], index);
  if (QueryWords.size() == 1) return s1;
  const int s2 = ScoreWord(QueryWords[1], index);
  if (s1 + s2 > 258) return 255;
  if (s1 == 255) return s2 + 251;
  if (s2 == 255) return s1 + 250;
  // A substitution weighs more than any exact fit, in the second word most.
  return (s1 == 4 ? 6 : s1) + (s2 == 4 ? 7 : s2);
}

}  // namespace

void RankedSearchLinear(std::string_view name) {
  SplitQueryWords(name);
  SearchResults.clear();
  if (QueryWords.empty()) return;
  std::span<const fideitem> list = PlayerList();
  const size_t limit = ResultLimit();
  int lowestWorst = 255;
  for (size_t i = 0; i < list.size(); ++i) {
    const int total = RankedTotal(static_cast<int32_t>(i));
    if (total == 255) continue;
    if (SearchResults.size() == limit && total >= SearchResults.back().score) continue;
    InsertByScore(static_cast<int32_t>(i), static_cast<uint8_t>(total));
    if (SearchResults.size() <= limit) continue;
    SearchResults.pop_back();
    lowestWorst = std::min<int>(lowestWorst, SearchResults.back().score);
    // Every kept candidate fits this well; the rest of the list is rated lower.
    if (lowestWorst <= 3) break;
  }
}

void RankedSearch(std::string_view name) { RankedSearchLinear(name); }
