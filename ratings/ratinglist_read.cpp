// Player lines of a rating list, the header at the top of a list file, and
// the reading of a whole list file.
#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "ratings/linescan.h"
#include "ratings/ratinglist.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The bytes of a line in a span; columns beyond the line's end are blanks.
std::string_view Field(std::string_view line, ColumnSpan span) {
  if (span.begin >= line.size()) return {};
  return line.substr(span.begin, std::min(span.end, line.size()) - span.begin);
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  // Fields are mostly blanks after their value: eight at a time.
  while (text.size() >= 8 && std::memcmp(text.data() + text.size() - 8, "        ", 8) == 0)
    text.remove_suffix(8);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The number that stands alone in a field, with at most `digits` digits; -1
// when the field holds anything else (0 for a blank field).
int64_t NumberAlone(std::string_view field, size_t digits) {
  // One pass: blanks, the digits, blanks.
  const char* at = field.data();
  const char* end = at + field.size();
  while (at != end && IsBlank(*at)) ++at;
  const char* first = at;
  int64_t value = 0;
  for (; at != end && IsDigit(*at); ++at)
    if (static_cast<size_t>(at - first) < digits) value = value * 10 + (*at - '0');
  if (static_cast<size_t>(at - first) > digits) return -1;
  while (at != end && IsBlank(*at)) ++at;
  return at == end ? value : -1;
}

#ifdef __SSE2__
// The value of the `count` digits at at[first..], all within at[0..16):
// eight at a time, each byte's low four bits its digit, the first digit in
// the lowest byte (x86 is little-endian).
uint64_t DigitsValue(const char* at, int first, int count) {
  auto eight = [](const char* from, int keep) {  // the last `keep` of the 8 bytes at from
    uint64_t x;
    std::memcpy(&x, from, 8);
    x &= 0x0F0F0F0F0F0F0F0FULL;
    if (keep < 8) x &= ~uint64_t{0} << (8 * (8 - keep));
    x = (x * 10 + (x >> 8)) & 0x00FF00FF00FF00FFULL;
    x = (x * 100 + (x >> 16)) & 0x0000FFFF0000FFFFULL;
    return (x * 10000 + (x >> 32)) & 0xFFFFFFFFULL;
  };
  const int end = first + count;
  if (count > 8) {
    uint64_t high = 0;
    for (const char* d = at + first; d != at + end - 8; ++d)
      high = high * 10 + static_cast<uint64_t>(*d - '0');
    return high * 100000000 + eight(at + end - 8, 8);
  }
  if (end >= 8) return eight(at + end - 8, count);
  // Too near the block's start to read 8 bytes ending at the last digit.
  uint64_t value = 0;
  for (const char* d = at + first; d != at + end; ++d) value = value * 10 + static_cast<uint64_t>(*d - '0');
  return value;
}
#endif

// NumberAlone of the `width` (at most 16) bytes at `at`, when 16 bytes can
// be read there: which bytes are digits and which blanks, 16 at once.
int64_t NumberAloneInBlock(const char* at, size_t width, size_t digits) {
#ifdef __SSE2__
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  const __m128i isDigit = _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('0' - 1)),
                                        _mm_cmplt_epi8(bytes, _mm_set1_epi8('9' + 1)));
  const __m128i isBlank =
      _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t')));
  const uint32_t field = (1u << width) - 1;
  const uint32_t digitBits = static_cast<uint32_t>(_mm_movemask_epi8(isDigit)) & field;
  const uint32_t blankBits = static_cast<uint32_t>(_mm_movemask_epi8(isBlank)) & field;
  if ((digitBits | blankBits) != field) return -1;
  if (digitBits == 0) return 0;
  // The digits must be one run: 2^count - 1 once shifted down.
  const int first = std::countr_zero(digitBits);
  const uint32_t run = digitBits >> first;
  const int count = std::bit_width(run);
  if ((run & (run + 1)) != 0 || static_cast<size_t>(count) > digits) return -1;
  return static_cast<int64_t>(DigitsValue(at, first, count));
#else
  return NumberAlone(std::string_view(at, width), digits);
#endif
}

// NumberAlone of a line's field.
int64_t NumberInField(std::string_view line, ColumnSpan span, size_t digits) {
  if (span.begin + 16 <= line.size() && span.end - span.begin <= 16)
    return NumberAloneInBlock(line.data() + span.begin, span.end - span.begin, digits);
  return NumberAlone(Field(line, span), digits);
}

}  // namespace

bool ReadListNumbers(const ListFormat& format, std::string_view line, int32_t& id,
                     std::array<uint16_t, kRatingKinds>& rating) {
  int64_t number = NumberInField(line, format.id, 10);
  if (number <= 0 || number > INT32_MAX) return false;
  id = static_cast<int32_t>(number);
  for (int k = 0; k < kRatingKinds; ++k) {
    int64_t r = format.rating[k].empty() ? 0 : NumberInField(line, format.rating[k], 4);
    rating[k] = r > 0 ? static_cast<uint16_t>(r) : 0;
  }
  return true;
}

bool ReadListLine(const ListFormat& format, std::string_view line, ListPlayer& player) {
  if (!ReadListNumbers(format, line, player.id, player.rating)) return false;
  player.name = Trimmed(Field(line, format.name));
  player.birth = Trimmed(Field(line, format.birth));
  return true;
}

namespace {

// Where a line must reach to hold all of its ratings: the end of the last
// rating column (of one that runs to the end of the line, its four digits).
size_t RatingsEnd(const ListFormat& format) {
  size_t end = 0;
  for (const ColumnSpan& span : format.rating)
    if (!span.empty()) end = std::max(end, span.end == std::string_view::npos ? span.begin + 4 : span.end);
  return end;
}

bool IsBlankLine(std::string_view line) {
  for (char c : line)
    if (!IsBlank(c) && c != '\r') return false;
  return true;
}

std::string_view WithoutCr(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

}  // namespace

bool OpenRatingList(const std::string& path,
                    const std::function<bool(ListFormat& format, std::string& error)>& onHeader,
                    OpenedList& list, std::string& error) {
  list = {};
  list.path = path;
  if (!MapFile(path, list.file)) {
    error = "cannot read " + path;
    return false;
  }
  const std::string_view text = list.file.bytes;
  std::optional<ListFormat> format;
  auto notAList = [&](const std::string& why) {
    error = path + " is not a FIDE rating list: " + why;
    return false;
  };
  // The players begin at `first`, a line after the header or the first
  // player line of a list of 2001 to 2004.
  auto accept = [&](size_t first) {
    if (!onHeader(*format, error)) return false;
    list.format = *format;
    list.ratingsEnd = RatingsEnd(list.format);
    list.body = text.substr(first);
    return true;
  };
  for (size_t at = 0; at < text.size();) {
    size_t end = std::min(text.find_first_of("\n\x1a", at), text.size());
    const bool last = end == text.size() || text[end] == kEndOfText;
    const size_t next = last ? end : end + 1;
    std::string_view line = WithoutCr(text.substr(at, end - at));
    if (last && line.empty()) break;
    if (IsBlankLine(line)) {
      // blank lines before the list
    } else if (!format) {
      std::string why;
      format = RecognizeHeader(line, why);
      if (format && !format->columnsPending) return accept(next);
      if (!format) {
        // No header: a list of 2001 to 2004 may begin with its players.
        format = ListFormat{};
        if (!FitColumnsBefore2005(*format, line)) return notAList(why);
        return accept(at);
      }
    } else if (FitColumnsBefore2005(*format, line)) {
      return accept(at);
    } else {
      // A line without an ID holds no player in any column set.
      std::string_view idField = line.substr(0, std::min<size_t>(line.size(), 12));
      if (idField.find_first_of("0123456789") != std::string_view::npos)
        return notAList("its lines stand in none of the column sets of the lists of 2001 to 2004");
    }
    if (last) break;
    at = next;
  }
  if (!format) return notAList("it is empty");
  error = path + " lists no players";
  return false;
}

bool TakeOpenLine(const OpenedList& list, std::string_view line, std::string& error) {
  line = WithoutCr(line);
  // A last line that stops before its ratings do was cut off: its digits
  // would be taken for a lower rating.
  if (line.size() < list.ratingsEnd && !IsBlankLine(line)) {
    error = list.path + " ends in the middle of a line: download it again";
    return false;
  }
  return true;
}

bool ReadRatingList(const std::string& path,
                    const std::function<bool(ListFormat& format, std::string& error)>& onHeader,
                    const std::function<void(const ListPlayer& player)>& onPlayer, std::string& error) {
  OpenedList list;
  if (!OpenRatingList(path, onHeader, list, error)) return false;
  uint64_t players = 0;
  ListPlayer player;
  auto take = [&](std::string_view line) {
    if (!ReadListLine(list.format, WithoutCr(line), player)) return;
    ++players;
    onPlayer(player);
  };
  ScanEnd end = ForEachLine(list.body, take);
  std::string_view open = list.body.substr(end.openLine, end.textEnd - end.openLine);
  if (!open.empty()) {
    if (!TakeOpenLine(list, open, error)) return false;
    take(open);
  }
  if (players == 0) {
    error = path + " lists no players";
    return false;
  }
  return true;
}
