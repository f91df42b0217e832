// listlines: the IDs and ratings of every player line of a list file, read
// on two threads when the list is large. Each thread reads one half of the
// lines (split at a line end) into a part of its own, and the parts follow
// in the list's order: the same as one reading from start to end.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ratings/ratinglist.h"

struct ListLine {
  int32_t id;
  std::array<uint16_t, kRatingKinds> rating;
};
using ListLineParts = std::vector<std::vector<ListLine>>;

// The player lines of the opened list by ReadListNumbers. False (with the
// message) when its last line was cut or it has no player line, as
// ReadRatingList refuses them.
bool ReadListLines(const OpenedList& list, ListLineParts& parts, std::string& error);
