// Searches over arbitrary names and queries keep their limits and order, and
// the indexed lookups give exactly the plain scans' results.
// Input: a limit byte, the query up to the first line feed, then one player
// name per line.
#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "database/fidelist.h"
#include "database/fidelist_internal.h"
#include "database/searchindex.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckResults(size_t players, size_t limit) {
  Check(SearchResults.size() <= limit);
  for (size_t i = 0; i < SearchResults.size(); ++i) {
    Check(SearchResults[i].index >= 0 && static_cast<size_t>(SearchResults[i].index) < players);
    if (i > 0) {
      const tsearchress& a = SearchResults[i - 1];
      const tsearchress& b = SearchResults[i];
      Check(a.score < b.score || (a.score == b.score && a.index < b.index));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  MaxResults = static_cast<int8_t>(data[0]);  // also zero and negative limits
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  size_t end = text.find('\n');
  std::string_view query = text.substr(0, end);
  std::vector<PlayerRow> rows;
  while (end != text.npos) {
    text.remove_prefix(end + 1);
    end = text.find('\n');
    // A few IDs shared by several players, and some players without one.
    std::string name(text.substr(0, end));
    rows.push_back(PlayerRow{name, static_cast<int32_t>(name.size() % 5)});
  }
  SetPlayerList(rows);
  const size_t limit = static_cast<size_t>(std::max<int32_t>(MaxResults, 1));

  WordSearch(query);
  Check(QueryWords.size() <= 2);
  CheckResults(rows.size(), QueryWords.size() == 2 ? limit - 1 : limit);
  for (const tsearchress& r : SearchResults) Check(r.score >= 1 && r.score <= 3);

  RankedSearch(query);
  CheckResults(rows.size(), limit);
  for (const tsearchress& r : SearchResults) {
    Check(r.score >= 1 && r.score < 255);
    if (QueryWords.size() == 1) Check(r.score == ScoreWord(QueryWords[0], r.index));
  }
  for (int32_t i = 0; i < static_cast<int32_t>(rows.size()); ++i)
    for (const std::string& w : QueryWords) {
      uint8_t s = ScoreWord(w, i);
      Check(s == 255 || (s >= 1 && s <= 4));
    }

  const SearchIndex* index = CurrentSearchIndex();
  Check(index != nullptr);
  const QueryWordList words = WordsOfName(query);
  std::vector<tsearchress> linear, indexed;
  auto same = [&] {
    return linear.size() == indexed.size() &&
           std::equal(linear.begin(), linear.end(), indexed.begin(), [](const tsearchress& a, const tsearchress& b) {
             return a.index == b.index && a.score == b.score;
           });
  };
  WordMatchesLinear(words, limit, linear);
  WordMatchesIndexed(*index, words, limit, indexed);
  Check(same());
  RankedMatchesLinear(words, limit, linear);
  RankedMatchesIndexed(*index, words, limit, indexed);
  Check(same());
  for (int32_t id = -1; id <= 5; ++id) Check(FindIdLinear(id) == FindIdIndexed(*index, id));
  MaxResults = kDefaultMaxResults;
  return 0;
}
