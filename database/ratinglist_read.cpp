// Player lines of a rating list and the reading of a whole list file.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "database/ratinglist.h"
#include "database/stdfile.h"

namespace {

constexpr size_t kChunk = size_t{1} << 20;
constexpr char kEndOfText = 26;  // Ctrl-Z: the text ends here
// Bytes of a line kept when it does not lie whole in one chunk; every field
// of every layout lies far before this.
constexpr size_t kLongestLine = 4096;

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

}  // namespace

bool ReadListLine(const ListFormat& format, std::string_view line, ListPlayer& player) {
  int64_t id = NumberAlone(Field(line, format.id), 10);
  if (id <= 0 || id > INT32_MAX) return false;
  player.id = static_cast<int32_t>(id);
  player.name = Trimmed(Field(line, format.name));
  player.birth = Trimmed(Field(line, format.birth));
  for (int k = 0; k < kRatingKinds; ++k) {
    int64_t rating = format.rating[k].empty() ? 0 : NumberAlone(Field(line, format.rating[k]), 4);
    player.rating[k] = rating > 0 ? static_cast<uint16_t>(rating) : 0;
  }
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

}  // namespace

bool ReadRatingList(const std::string& path,
                    const std::function<bool(ListFormat& format, std::string& error)>& onHeader,
                    const std::function<void(const ListPlayer& player)>& onPlayer, std::string& error) {
  OwnedFile file = OpenFile(path, "rb");
  if (!file) {
    error = "cannot read " + path;
    return false;
  }
  auto chunk = std::make_unique_for_overwrite<char[]>(kChunk);
  std::string carried;  // the start of a line begun in an earlier chunk
  std::optional<ListFormat> format;
  bool ready = false;  // the format is complete and taken by onHeader
  size_t ratingsEnd = 0;
  uint64_t players = 0;
  bool lastLineOpen = false;  // the line taken is the last and lacks its end
  ListPlayer player;

  auto accept = [&]() {
    if (!onHeader(*format, error)) return false;
    ready = true;
    ratingsEnd = RatingsEnd(*format);
    return true;
  };
  auto notAList = [&](const std::string& why) {
    error = path + " is not a FIDE rating list: " + why;
    return false;
  };
  // Returns false once the list is refused.
  auto takePlayer = [&](std::string_view line) {
    // A last line that stops before its ratings do was cut off: its digits
    // would be taken for a lower rating.
    if (lastLineOpen && line.size() < ratingsEnd && !IsBlankLine(line)) {
      error = path + " ends in the middle of a line: download it again";
      return false;
    }
    if (ReadListLine(*format, line, player)) {
      ++players;
      onPlayer(player);
    }
    return true;
  };
  auto takeLine = [&](std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (ready) return takePlayer(line);
    if (IsBlankLine(line)) return true;  // blank lines before the list
    if (!format) {
      std::string why;
      format = RecognizeHeader(line, why);
      if (format) return format->columnsPending || accept();
      // No header: a list of 2001 to 2004 may begin with its players.
      format = ListFormat{};
      if (!FitColumnsBefore2005(*format, line)) return notAList(why);
    } else if (!FitColumnsBefore2005(*format, line)) {
      // A line without an ID holds no player in any column set.
      std::string_view idField = line.substr(0, std::min<size_t>(line.size(), 12));
      if (idField.find_first_of("0123456789") == std::string_view::npos) return true;
      return notAList("its lines stand in none of the column sets of the lists of 2001 to 2004");
    }
    return accept() && takePlayer(line);
  };

  bool ended = false;
  while (!ended) {
    size_t got = std::fread(chunk.get(), 1, kChunk, file.get());
    if (std::ferror(file.get())) {
      error = "cannot read " + path;
      return false;
    }
    if (got == 0) break;
    std::string_view text(chunk.get(), got);
    if (size_t stop = text.find(kEndOfText); stop != text.npos) {
      text = text.substr(0, stop);
      ended = true;
    }
    while (!text.empty()) {
      size_t lineEnd = text.find('\n');
      if (lineEnd == text.npos) break;
      std::string_view line = text.substr(0, lineEnd);
      text.remove_prefix(lineEnd + 1);
      bool going;
      if (!carried.empty()) {
        carried.append(line.substr(0, kLongestLine - std::min(kLongestLine, carried.size())));
        going = takeLine(carried);
        carried.clear();
      } else {
        going = takeLine(line);
      }
      if (!going) return false;
    }
    // A line whose end lies in a later chunk.
    if (!text.empty() && carried.size() < kLongestLine)
      carried.append(text.substr(0, kLongestLine - carried.size()));
  }
  lastLineOpen = true;
  if (!carried.empty() && !takeLine(carried)) return false;
  if (!format) return notAList("it is empty");
  if (!ready || players == 0) {
    error = path + " lists no players";
    return false;
  }
  if (!CloseFile(file)) {
    error = "cannot read " + path;
    return false;
  }
  return true;
}
