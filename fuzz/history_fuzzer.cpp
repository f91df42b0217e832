// Any bytes are refused or read as a history file without harm; what is read
// writes back to the same bytes and answers lookups for any ID and month.
#include <algorithm>
#include <cstdlib>

#include "ratings/ratinghistory.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  RatingHistory history;
  if (HistoryFromBytes(bytes, history) != HistoryLoad::kLoaded) return 0;
  std::vector<uint8_t> again = HistoryBytes(history);
  Check(again.size() == size && std::equal(again.begin(), again.end(), data));
  for (const KindHistory& kind : history.kinds) {
    for (const PlayerChanges& p : kind.players) {
      for (const ListSummary& s : kind.lists) {
        std::optional<RatingInForce> r = RatingAt(kind, p.id, s.month);
        Check(r && r->month == s.month && r->rating <= 9999);
      }
    }
    Check(!RatingAt(kind, -5, MakeMonth(2020, 1)) || !kind.lists.empty());
  }
  return 0;
}
