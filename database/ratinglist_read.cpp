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
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The number that stands alone in a field, with at most `digits` digits; -1
// when the field holds anything else (0 for a blank field).
int64_t NumberAlone(std::string_view field, size_t digits) {
  field = Trimmed(field);
  if (field.size() > digits) return -1;
  int64_t value = 0;
  for (char c : field) {
    if (!IsDigit(c)) return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

bool ReadListLine(const ListFormat& format, std::string_view line, ListPlayer& player) {
  int64_t id = NumberAlone(Field(line, format.id), 10);
  if (id <= 0 || id > INT32_MAX) return false;
  player.id = static_cast<int32_t>(id);
  player.name = Trimmed(Field(line, format.name));
  for (int k = 0; k < kRatingKinds; ++k) {
    int64_t rating = format.rating[k].empty() ? 0 : NumberAlone(Field(line, format.rating[k]), 4);
    player.rating[k] = rating > 0 ? static_cast<uint16_t>(rating) : 0;
  }
  return true;
}

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
  bool refused = false;
  ListPlayer player;

  // Returns false once the header is refused.
  auto takeLine = [&](std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (format) {
      if (ReadListLine(*format, line, player)) onPlayer(player);
      return true;
    }
    std::string why;
    format = RecognizeHeader(line, why);
    if (!format) {
      error = path + " is not a FIDE rating list: " + why;
    } else if (!onHeader(*format, error)) {
      format.reset();
    }
    refused = !format;
    return !refused;
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
  if (!carried.empty() && !takeLine(carried)) return false;  // the last line may lack its end
  if (!format && !refused) {
    error = path + " is not a FIDE rating list: it is empty";
    return false;
  }
  if (!CloseFile(file)) {
    error = "cannot read " + path;
    return false;
  }
  return true;
}
