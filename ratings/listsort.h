// listsort: the player lines of a list ordered by ID into each kind's
// ratings, stably (lines of one ID keep the list's order), on two threads
// for a large list. The lines go first into a thousand buckets of their
// IDs' high bits, few enough that the writes stream through the cache; each
// bucket, small enough to stay in the cache, is then sorted by a scatter
// into buckets of a few lines and an insertion sort of each. Each thread
// scatters one part and sorts half of the buckets: the result is the same
// as on one thread.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "ratings/listlines.h"
#include "ratings/ratinghistory.h"

struct SortedLines {
  // Of each kind asked for, one ListRating a line, ascending by ID.
  std::array<std::vector<ListRating>, kRatingKinds> ratings;
  std::vector<int32_t> repeated;  // the IDs of more than one line, ascending
};

// Takes the parts, freed as soon as they are sorted into buckets.
SortedLines SortListLines(ListLineParts parts, std::span<const RatingKind> kinds);
