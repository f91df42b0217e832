// Searches over arbitrary names and queries keep their limits and order.
// Input: a limit byte, the query up to the first line feed, then one player
// name per line.
#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "database/fidelist.h"
#include "database/fidelist_internal.h"

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
    rows.push_back(PlayerRow{std::string(text.substr(0, end))});
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
  MaxResults = kDefaultMaxResults;
  return 0;
}
