// Sorting a list's lines by ID in buckets, on two threads.
#include "ratings/listsort.h"

#include <algorithm>
#include <memory>

#include "files/hugepages.h"
#include "ratings/boththreads.h"

namespace {

// IDs run up to 2^31 - 1: 1024 buckets of their high bits.
constexpr int kCoarseShift = 21;
constexpr size_t kCoarseBuckets = size_t{1} << (31 - kCoarseShift);
// Fewer lines than this are sorted on one thread.
constexpr size_t kApartFrom = 200000;

uint32_t CoarseOf(const ListLine& l) { return static_cast<uint32_t>(l.id) >> kCoarseShift; }

void InsertionSort(ListLine* first, ListLine* last) {
  if (last - first < 2) return;
  for (ListLine* at = first + 1; at < last; ++at) {
    ListLine moving = *at;
    ListLine* to = at;
    for (; to != first && moving.id < (to - 1)->id; --to) *to = *(to - 1);
    *to = moving;
  }
}

// Sorts [first, last) stably into scratch: buckets of about four lines
// where the IDs spread evenly.
void SortBucket(const ListLine* first, const ListLine* last, std::vector<ListLine>& scratch,
                std::vector<uint32_t>& start) {
  const size_t count = static_cast<size_t>(last - first);
  scratch.assign(first, last);
  if (count <= 16) return InsertionSort(scratch.data(), scratch.data() + count);
  uint32_t low = UINT32_MAX, high = 0;
  for (const ListLine* l = first; l != last; ++l) {
    low = std::min(low, static_cast<uint32_t>(l->id));
    high = std::max(high, static_cast<uint32_t>(l->id));
  }
  int shift = 0;
  while (((high - low) >> shift) > count / 4) ++shift;
  // Bucket b begins at start[b]; filling it moves start[b] to its end,
  // where bucket b + 1 begins.
  start.assign(((high - low) >> shift) + 2, 0);
  for (const ListLine* l = first; l != last; ++l)
    ++start[((static_cast<uint32_t>(l->id) - low) >> shift) + 1];
  for (size_t b = 1; b < start.size(); ++b) start[b] += start[b - 1];
  for (const ListLine* l = first; l != last; ++l)
    scratch[start[(static_cast<uint32_t>(l->id) - low) >> shift]++] = *l;
  for (size_t b = 0; b + 1 < start.size(); ++b) {
    ListLine* from = scratch.data() + (b == 0 ? 0 : start[b - 1]);
    ListLine* to = scratch.data() + start[b];
    if (to - from > 16)
      std::stable_sort(from, to, [](const ListLine& x, const ListLine& y) { return x.id < y.id; });
    else
      InsertionSort(from, to);
  }
}

using Counts = std::array<uint32_t, kCoarseBuckets>;

}  // namespace

SortedLines SortListLines(ListLineParts parts, std::span<const RatingKind> kinds) {
  SortedLines sorted;
  size_t total = 0;
  for (const std::vector<ListLine>& part : parts) total += part.size();
  const bool apart = parts.size() == 2 && total >= kApartFrom;

  // Where each part's lines of each bucket go: the first part's before the
  // second's, as in the list.
  // The first part on this thread, the others on the second.
  auto eachPart = [&](auto job) {
    RunBoth(
        apart,
        [&] {
          if (!parts.empty()) job(0);
        },
        [&] {
          for (size_t p = 1; p < parts.size(); ++p) job(p);
        });
  };
  std::vector<Counts> next(parts.size(), Counts{});
  eachPart([&](size_t p) {
    for (const ListLine& l : parts[p]) ++next[p][CoarseOf(l)];
  });
  std::vector<uint32_t> bucketStart(kCoarseBuckets + 1, 0);
  for (size_t b = 0, at = 0; b < kCoarseBuckets; ++b) {
    bucketStart[b] = static_cast<uint32_t>(at);
    for (Counts& c : next) {
      uint32_t n = c[b];
      c[b] = static_cast<uint32_t>(at);
      at += n;
    }
    bucketStart[b + 1] = static_cast<uint32_t>(at);
  }
  auto coarse = std::make_unique_for_overwrite<ListLine[]>(total);
  AdviseHugePages(coarse.get(), total * sizeof(ListLine));
  eachPart([&](size_t p) {
    for (const ListLine& l : parts[p]) coarse[next[p][CoarseOf(l)]++] = l;
  });
  ListLineParts().swap(parts);

  for (RatingKind k : kinds) {
    ReserveLarge(sorted.ratings[static_cast<int>(k)], total);
    sorted.ratings[static_cast<int>(k)].resize(total);
  }
  // Buckets [from, to) sorted into the ratings, with their repeated IDs.
  auto sortBuckets = [&](size_t from, size_t to, std::vector<int32_t>& repeated) {
    std::vector<ListLine> scratch;
    std::vector<uint32_t> start;
    for (size_t b = from; b < to; ++b) {
      const size_t at = bucketStart[b];
      SortBucket(coarse.get() + at, coarse.get() + bucketStart[b + 1], scratch, start);
      for (size_t i = 1; i < scratch.size(); ++i)
        if (scratch[i].id == scratch[i - 1].id && (repeated.empty() || repeated.back() != scratch[i].id))
          repeated.push_back(scratch[i].id);
      for (RatingKind k : kinds) {
        ListRating* out = sorted.ratings[static_cast<int>(k)].data() + at;
        for (const ListLine& l : scratch) *out++ = {l.id, l.rating[static_cast<int>(k)]};
      }
    }
  };
  // Half of the lines each: the second thread's buckets begin where the
  // first half of the lines ends.
  const size_t middle = static_cast<size_t>(
      std::upper_bound(bucketStart.begin(), bucketStart.end(), static_cast<uint32_t>(total / 2)) -
      bucketStart.begin() - 1);
  std::vector<int32_t> later;
  RunBoth(
      apart, [&] { sortBuckets(0, middle, sorted.repeated); },
      [&] { sortBuckets(middle, kCoarseBuckets, later); });
  sorted.repeated.insert(sorted.repeated.end(), later.begin(), later.end());
  return sorted;
}
