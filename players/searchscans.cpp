// The plain scans of a database's players from index 0: the definition of what the
// lookups by ID and by name find, kept as the reference that the indexed
// lookups are compared with.
#include <algorithm>

#include "players/searchrules.h"

namespace {

bool IsSeparator(char c) { return IsNameSeparator(static_cast<unsigned char>(c)); }

// True when w (lower case) is a whole word of name once that is lower-cased,
// or with `start`, the beginning of one.
bool HasWord(std::string_view name, std::string_view w, bool start = false) {
  size_t i = 0;
  const size_t n = name.size();
  while (i < n) {
    while (i < n && IsSeparator(name[i])) ++i;
    const size_t begin = i;
    while (i < n && !IsSeparator(name[i])) ++i;
    if (start ? i - begin < w.size() : i - begin != w.size()) continue;
    size_t k = 0;
    while (k < w.size() && LowerAscii(name[begin + k]) == w[k]) ++k;
    if (k == w.size()) return true;
  }
  return false;
}

void LowerInto(std::string& text, std::string_view name) {
  text.assign(name);
  for (char& c : text) c = LowerAscii(c);
}

}  // namespace

int32_t FindIdLinear(std::span<const Player> list, int32_t id) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].fideId == id) return static_cast<int32_t>(i);
  return -1;
}

void WordMatchesLinear(std::span<const Player> list, const QueryWordList& words, size_t limit,
                       std::vector<SearchHit>& out) {
  out.clear();

  if (words.size() == 1) {
    const std::string& w = words[0];
    for (size_t i = 0; i < list.size() && out.size() < limit; ++i)
      if (HasWord(list[i].name, w)) out.push_back({static_cast<int32_t>(i), 1});
    return;
  }
  if (words.size() != 2) return;

  // Two words: one word of a name cannot serve both, so the first found is
  // taken out before the second is looked for.
  const std::string& w1 = words[0];
  const std::string& w2 = words[1];
  const size_t room = limit - 1;
  std::string t;
  for (size_t i = 0; i < list.size(); ++i) {
    LowerInto(t, list[i].name);
    const bool a = TakeWord(w1, t);
    const bool b = TakeWord(w2, t);
    if (!a && !b) continue;
    const uint8_t score = a && b ? 1 : a ? 2 : 3;
    if (out.size() >= room) {
      if (room == 0 || score >= out.back().score) continue;
      out.pop_back();
    }
    InsertByScore(out, static_cast<int32_t>(i), score);
  }
}

void RankedMatchesLinear(std::span<const Player> list, const QueryWordList& words, size_t limit,
                         std::vector<SearchHit>& out) {
  out.clear();
  if (words.empty()) return;
  RankedList ranked{out, limit};
  for (size_t i = 0; i < list.size(); ++i) {
    const int32_t index = static_cast<int32_t>(i);
    if (OfferRanked(ranked, index, RankedTotal(list, words, index))) break;
  }
}

bool FindByIdAtLinear(std::span<const Player> list, int32_t id, Player& player, int32_t& index) {
  index = FindIdLinear(list, id);
  if (index < 0) return false;
  player = list[static_cast<size_t>(index)];
  return true;
}

std::vector<SearchHit> WordSearchLinear(std::span<const Player> list, std::string_view name, int32_t limit) {
  std::vector<SearchHit> hits;
  WordMatchesLinear(list, WordsOfName(name), ResultLimit(limit), hits);
  return hits;
}

std::vector<SearchHit> RankedSearchLinear(std::span<const Player> list, std::string_view name,
                                          int32_t limit) {
  std::vector<SearchHit> hits;
  RankedMatchesLinear(list, WordsOfName(name), ResultLimit(limit), hits);
  return hits;
}

uint32_t NameLetters(std::string_view name) {
  uint32_t letters = 0;
  bool start = true;
  for (char c : name) {
    const char lower = LowerAscii(c);
    if (start && lower >= 'a' && lower <= 'z') {
      const uint32_t bit = uint32_t{1} << (lower - 'a');
      if (letters & bit) letters |= kRepeatedLetter;
      letters |= bit;
    }
    start = IsSeparator(c);
  }
  return letters;
}

bool HoldsQuery(std::string_view name, const HolderQuery& query) {
  if ((NameLetters(name) & query.letters) != query.letters) return false;
  for (const std::string& w : query.whole)
    if (!HasWord(name, w)) return false;
  for (const std::string& s : query.starts)
    if (!HasWord(name, s, true)) return false;
  return true;
}

void HoldersLinear(std::span<const Player> list, const HolderQuery& query, const HolderVisit& visit) {
  if (query.whole.empty() && query.starts.empty()) return;  // letters alone hold too many
  int32_t i = 0;
  while (static_cast<size_t>(i) < list.size())
    i = HoldsQuery(list[static_cast<size_t>(i)].name, query) ? std::max(visit(i), i + 1) : i + 1;
}
