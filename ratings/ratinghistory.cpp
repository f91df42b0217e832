// Adding a list to a kind's history and looking up the rating in force.
#include <algorithm>

#include "files/hugepages.h"
#include "ratings/ratinghistory.h"

namespace {

constexpr size_t kMostLists = 65535;

// The range of ids of the bucket that would hold id.
std::pair<uint32_t, uint32_t> BucketOf(const KindHistory& kind, int32_t id) {
  uint64_t b = static_cast<uint32_t>(id) >> kind.bucketShift;
  if (b + 1 >= kind.bucketStart.size()) return {0, 0};
  return {kind.bucketStart[b], kind.bucketStart[b + 1]};
}

// The index of id in kind.players, or -1.
int64_t IndexOfId(const KindHistory& kind, int32_t id) {
  auto [from, to] = BucketOf(kind, id);
  auto first = kind.players.begin() + from, last = kind.players.begin() + to;
  auto at = std::lower_bound(first, last, id, [](const PlayerChanges& p, int32_t v) { return p.id < v; });
  return at != last && at->id == id ? at - kind.players.begin() : -1;
}

}  // namespace

bool AddList(KindHistory& kind, MonthNumber month, std::span<const ListRating> players) {
  auto byMonth = [](const ListSummary& s, MonthNumber m) { return s.month < m; };
  const size_t p = static_cast<size_t>(
      std::lower_bound(kind.lists.begin(), kind.lists.end(), month, byMonth) - kind.lists.begin());
  const bool replace = p < kind.lists.size() && kind.lists[p].month == month;
  if (!replace && kind.lists.size() >= kMostLists) return false;
  const size_t listCount = replace ? kind.lists.size() : kind.lists.size() + 1;
  auto mapped = [&](uint16_t old) -> size_t { return !replace && old >= p ? old + 1u : old; };

  ListSummary summary{month, static_cast<uint32_t>(players.size()), 0};
  for (const ListRating& r : players) summary.rated += r.rating > 0;
  // Room for the most there can be, so that nothing is copied to grow: the
  // old players and the rated new ones, each with at most two changes more.
  std::vector<PlayerChanges> merged;
  std::vector<RatingChange> changes;
  ReserveLarge(merged, kind.players.size() + summary.rated);
  ReserveLarge(changes, kind.changes.size() + 2 * (kind.players.size() + summary.rated));

  // One player's changes: the old ones at their new list indexes, with the
  // new list's rating at p and the old rating going on after it; a value
  // equal to the one before is no change.
  auto merge = [&](int32_t id, const RatingChange* c, const RatingChange* e, uint16_t rating) {
    size_t before = changes.size();
    uint16_t last = 0;
    auto put = [&](size_t list, uint16_t value) {
      if (value == last) return;
      changes.push_back({static_cast<uint16_t>(list), value});
      last = value;
    };
    uint16_t old = 0;  // the old rating in force so far
    for (; c != e && mapped(c->list) < p; ++c) put(mapped(c->list), old = c->rating);
    if (c != e && mapped(c->list) == p) old = (c++)->rating;  // the list replaced
    put(p, rating);
    if (p + 1 < listCount && !(c != e && mapped(c->list) == p + 1)) put(p + 1, old);
    for (; c != e; ++c) put(mapped(c->list), c->rating);
    if (changes.size() == before) return;  // never rated
    merged.push_back({id, static_cast<uint32_t>(before)});
  };

  size_t i = 0, j = 0;
  const size_t oldCount = kind.players.size();
  while (i < oldCount || j < players.size()) {
    bool takeOld = i < oldCount && (j == players.size() || kind.players[i].id <= players[j].id);
    bool takeNew = j < players.size() && (i == oldCount || players[j].id <= kind.players[i].id);
    int32_t id = takeOld ? kind.players[i].id : players[j].id;
    uint16_t rating = takeNew ? players[j++].rating : 0;
    if (takeOld) {
      std::span<const RatingChange> old = kind.ChangesOf(i++);
      merge(id, old.data(), old.data() + old.size(), rating);
    } else if (rating != 0) {  // new to the kind: unrated, he has no change
      merge(id, nullptr, nullptr, rating);
    }
  }

  if (replace)
    kind.lists[p] = summary;
  else
    kind.lists.insert(kind.lists.begin() + static_cast<ptrdiff_t>(p), summary);
  // The room left over was never touched: it costs no memory.
  kind.players = std::move(merged);
  kind.changes = std::move(changes);
  BuildLookup(kind);
  return true;
}

void BuildLookup(KindHistory& kind) {
  // About sixteen players a bucket when the IDs spread evenly: two cache
  // lines of players, and a table small enough to stay in the cache.
  uint32_t highest = kind.players.empty() ? 0 : static_cast<uint32_t>(kind.players.back().id);
  uint32_t target = std::max<uint32_t>(1, static_cast<uint32_t>(kind.players.size() / 16));
  int shift = 0;
  while ((highest >> shift) >= target) ++shift;
  kind.bucketShift = shift;
  size_t buckets = (size_t{highest} >> shift) + 1;
  kind.bucketStart.assign(buckets + 1, 0);
  for (const PlayerChanges& p : kind.players) ++kind.bucketStart[(static_cast<uint32_t>(p.id) >> shift) + 1];
  for (size_t b = 1; b <= buckets; ++b) kind.bucketStart[b] += kind.bucketStart[b - 1];
}

std::optional<RatingInForce> RatingAt(const KindHistory& kind, int32_t id, MonthNumber month) {
  auto byMonth = [](MonthNumber m, const ListSummary& s) { return m < s.month; };
  auto after = std::upper_bound(kind.lists.begin(), kind.lists.end(), month, byMonth);
  if (after == kind.lists.begin()) return std::nullopt;
  const size_t list = static_cast<size_t>(after - kind.lists.begin()) - 1;
  RatingInForce result{0, kind.lists[list].month};
  int64_t at = IndexOfId(kind, id);
  if (at < 0) return result;
  // The last change at or before the list; a player has few.
  for (const RatingChange& c : kind.ChangesOf(static_cast<size_t>(at))) {
    if (c.list > list) break;
    result.rating = c.rating;
  }
  return result;
}

std::optional<RatingInForce> LatestRating(const KindHistory& kind, int32_t id) {
  if (kind.lists.empty()) return std::nullopt;
  return RatingAt(kind, id, kind.lists.back().month);
}
