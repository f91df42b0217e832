// The lists of 2001 to 2004: three column sets at fixed columns, told apart
// by the shape of a player line, since their header words do not stand over
// their data (and some of these lists have no header at all).
#include <algorithm>

#include "ratings/ratinglist.h"

namespace {

// Byte offsets, 0-based; a field runs from begin to end.
struct ColumnSet {
  size_t nameBegin;               // the right-aligned ID stands before the name
  size_t nameEnd;                 // the title follows
  size_t ratingBegin, ratingEnd;  // from after the federation to one past the rating's blank
  size_t birthBegin, birthEnd;    // the birth date, dd.mm.yy or dd.mm.yyyy
};

// Column numbers (1-based) of FIDE's lists, from the lists themselves:
constexpr ColumnSet kColumnSets[] = {
    // JAN01, JAN02: ID to column 10, name from 13, federation 52-54, rating
    // 60-63, birth date dd.mm.yy from 72 (JAN02).
    {12, 45, 54, 64, 71, 79},
    // APR01, JUL01: ID to column 11, federation 52-54, rating 61-64, birth
    // date dd.mm.yyyy from 72.
    {12, 45, 54, 65, 71, 81},
    // OCT02 to 2004: ID to column 8, name from 11, federation 49-51, rating
    // 54-57, birth date dd.mm.yy from 65.
    {10, 44, 51, 58, 64, 72},
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlankAt(std::string_view line, size_t i) { return i >= line.size() || line[i] == ' '; }

// A number alone in the line's first `end` bytes.
bool NumberAloneBefore(std::string_view line, size_t end) {
  std::string_view field = line.substr(0, std::min(end, line.size()));
  size_t first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  size_t last = field.find_last_not_of(' ');
  for (size_t i = first; i <= last; ++i)
    if (!IsDigit(field[i])) return false;
  return last - first < 10;
}

// A number that ends just before `end` with a blank after it and before it.
bool NumberEndsAt(std::string_view line, size_t end) {
  if (end == 0 || end > line.size() || !IsDigit(line[end - 1]) || !IsBlankAt(line, end)) return false;
  size_t i = end - 1;
  while (i > 0 && IsDigit(line[i - 1])) --i;
  return i == 0 || line[i - 1] == ' ';
}

}  // namespace

bool FitColumnsBefore2005(ListFormat& format, std::string_view line) {
  for (const ColumnSet& set : kColumnSets) {
    if (!NumberAloneBefore(line, set.nameBegin) || !NumberEndsAt(line, set.ratingEnd - 1)) continue;
    format.layout = ListLayout::kBefore2005;
    format.columnsPending = false;
    format.id = {0, set.nameBegin};
    format.name = {set.nameBegin, set.nameEnd};
    format.rating = {};
    format.rating[static_cast<int>(RatingKind::kStandard)] = {set.ratingBegin, set.ratingEnd};
    format.birth = format.birthNamed ? ColumnSpan{set.birthBegin, set.birthEnd} : ColumnSpan{};
    return true;
  }
  return false;
}
