// Any text is read without harm as a rating list in whatever layout its
// header names, and what it holds goes into a history, through the history
// file and back, with the rating of each ID's first line in force at its
// month.
#include <cstdlib>
#include <map>

#include "database/ratinghistory.h"
#include "fuzz/fuzzfile.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = WriteScratch("list.txt", data, size);
  RatingKind kind = kAllRatingKinds[size % kRatingKinds];
  ListFormat format;
  std::vector<ListRating> list;
  std::map<int32_t, uint16_t> first;
  std::string error;
  bool read = ReadRatingList(
      path,
      [&](ListFormat& f, std::string&) {
        Check(!f.id.empty() && !f.name.empty());
        UseSingleKind(f, kind);
        format = f;
        return true;
      },
      [&](const ListPlayer& p) {
        Check(p.id > 0);
        Check(p.name.empty() || (p.name.front() != ' ' && p.name.back() != ' '));
        for (int k = 0; k < kRatingKinds; ++k) {
          Check(p.rating[k] <= 9999);
          Check(p.rating[k] == 0 || !format.rating[k].empty());
        }
        uint16_t rating = p.rating[static_cast<int>(kind)];
        list.push_back({p.id, rating});
        first.emplace(p.id, rating);
      },
      error);
  Check(read || (!error.empty() && error.find('\n') == std::string::npos));
  if (!read) return 0;

  MonthNumber month = format.month.value_or(MakeMonth(2020, 1));
  SortListRatings(list);
  Check(list.size() == first.size());
  RatingHistory history;
  Check(AddList(history[kind], month, list));
  std::vector<uint8_t> bytes = HistoryBytes(history);
  RatingHistory back;
  Check(HistoryFromBytes(bytes, back) == HistoryLoad::kLoaded);
  Check(HistoryBytes(back) == bytes);
  for (auto [id, rating] : first) {
    std::optional<RatingInForce> r = RatingAt(back[kind], id, month);
    Check(r && r->rating == rating && r->month == month);
    Check(!RatingAt(back[kind], id, month - 1));
  }
  return 0;
}
