// Any text is read without harm as a rating list in whatever layout its
// header (or, for the lists of 2001 to 2004, its first line) shows, or
// refused with a one-line message; what it holds goes into a history,
// through the history file and back, with each ID's rating by the rule for
// IDs listed twice (the later line of one person, none for two people).
#include <algorithm>
#include <cstdlib>
#include <map>

#include "fuzz/fuzzfile.h"
#include "ratings/historylist.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// An ID's lines so far: the person of the first, whether all name him, the
// rating of the last.
struct Seen {
  uint32_t person;
  bool onePerson;
  uint16_t rating;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = WriteScratch("list.txt", data, size);
  RatingKind kind = kAllRatingKinds[size % kRatingKinds];
  ListFormat format;
  std::vector<ListRating> players;
  std::vector<RepeatedLine> lines;
  std::map<int32_t, Seen> seen;
  std::string error;
  bool read = ReadRatingList(
      path,
      [&](ListFormat& f, std::string&) {
        Check(!f.id.empty() && !f.columnsPending);
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
        uint32_t person = PersonKey(p.name, p.birth);
        uint16_t rating = p.rating[static_cast<int>(kind)];
        players.push_back({p.id, rating});
        lines.push_back({p.id, person});
        auto [at, first] = seen.try_emplace(p.id, Seen{person, true, rating});
        if (!first)
          at->second = {at->second.person, at->second.onePerson && person == at->second.person, rating};
      },
      error);
  Check(read || (!error.empty() && error.find('\n') == std::string::npos));
  if (!read) return 0;
  Check(!players.empty());

  MonthNumber month = format.month.value_or(MakeMonth(2020, 1));
  std::vector<int32_t> repeated = SortById(players);
  std::erase_if(lines, [&](const RepeatedLine& l) {
    return !std::binary_search(repeated.begin(), repeated.end(), l.id);
  });
  std::stable_sort(lines.begin(), lines.end(),
                   [](const RepeatedLine& a, const RepeatedLine& b) { return a.id < b.id; });
  Check(SettleRepeatedIds(players, lines));
  Check(players.size() == seen.size());
  RatingHistory history;
  Check(AddList(history[kind], month, players));
  std::vector<uint8_t> bytes = HistoryBytes(history);
  RatingHistory back;
  Check(HistoryFromBytes(bytes, back) == HistoryLoad::kLoaded);
  Check(HistoryBytes(back) == bytes);
  for (auto [id, s] : seen) {
    std::optional<RatingInForce> r = RatingAt(back[kind], id, month);
    Check(r && r->rating == (s.onePerson ? s.rating : 0) && r->month == month);
    Check(!RatingAt(back[kind], id, month - 1));
  }
  return 0;
}
