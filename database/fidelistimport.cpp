// Import of FIDE's rating list (the combined fixed-column layout) and the
// rating order of PlayerList.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "database/fidelistimport.h"
#include "database/playercodes.h"
#include "database/playerlist.h"
#include "database/playerstore.h"
#include "database/stdfile.h"

namespace {

// Columns 1..158 are read (birth year at 153..156); one more byte shows
// whether a line end's carriage return lies inside them.
constexpr size_t kLineHead = 160;
constexpr size_t kFieldsEnd = 156;  // a line this long holds every field read
constexpr size_t kChunk = size_t{1} << 20;
constexpr char kEndOfText = 26;  // Ctrl-Z: the text ends here
constexpr size_t kMostLinesExpected = 2500000;

// The start of the current line, whatever its length.
struct LineHead {
  char bytes[kLineHead];
  size_t kept = 0;    // bytes held, at most kLineHead
  size_t length = 0;  // the line's whole length so far

  void Append(std::string_view piece) {
    size_t n = std::min(piece.size(), kLineHead - kept);
    std::memcpy(bytes + kept, piece.data(), n);
    kept += n;
    length += piece.size();
  }
  // The line without its end; a carriage return ends it only as its last byte.
  std::string_view Text() const {
    size_t n = kept;
    if (length == kept && n > 0 && bytes[n - 1] == '\r') --n;
    return std::string_view(bytes, n);
  }
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The value of the leading digits of a field, at most `width` of them.
uint16_t LeadingNumber(const char* field, int width) {
  uint16_t value = 0;
  for (int i = 0; i < width && IsDigit(field[i]); ++i)
    value = static_cast<uint16_t>(value * 10 + (field[i] - '0'));
  return value;
}

// The run of digits the line starts with; 0 when there is none or its value
// does not fit an ID.
int32_t LeadingId(const char* line, size_t size) {
  int64_t value = 0;
  for (size_t i = 0; i < size && IsDigit(line[i]); ++i) {
    value = value * 10 + (line[i] - '0');
    if (value > INT32_MAX) return 0;
  }
  return static_cast<int32_t>(value);
}

Title TitleOfField(const char* field) {
  if (std::memcmp(field, "GM ", 3) == 0) return Title::GM;
  if (std::memcmp(field, "IM ", 3) == 0) return Title::IM;
  if (std::memcmp(field, "FM ", 3) == 0) return Title::FM;
  if (std::memcmp(field, "WGM ", 4) == 0) return Title::WGM;
  if (std::memcmp(field, "WIM ", 4) == 0) return Title::WIM;
  if (std::memcmp(field, "WFM ", 4) == 0) return Title::WFM;
  return Title::None;
}

// Appends the player of one list line (without its line end), if it is a
// player line. Columns beyond the end of a short line count as blanks.
void TakePlayerLine(std::string_view text, PlayerStore& store) {
  const char* line = text.data();
  char padded[kLineHead];
  if (text.size() < kFieldsEnd) {
    std::memset(padded, ' ', sizeof padded);
    std::memcpy(padded, text.data(), text.size());
    line = padded;
  }

  // The name is columns 16 to 76 without the trailing blanks; mostly
  // blanks, so they are passed eight at a time.
  size_t nameEnd = 76;
  while (nameEnd >= 15 + 8 && std::memcmp(line + nameEnd - 8, "        ", 8) == 0) nameEnd -= 8;
  while (nameEnd > 15 && line[nameEnd - 1] == ' ') --nameEnd;
  if (nameEnd == 15 || line[15] < 'A' || line[15] > 'Z') return;

  Player p;
  p.fideId = LeadingId(line, std::min(text.size(), kLineHead));
  p.federation = static_cast<uint8_t>(FederationByCode(std::string_view(line + 76, 3)));
  p.sex = line[80] == 'F' ? Sex::Female : line[80] == 'M' ? Sex::Male : Sex::None;
  p.title = TitleOfField(line + 84);
  p.rating = LeadingNumber(line + 113, 4);
  p.birthYear = LeadingNumber(line + 152, 4);
  p.name = StoreName(store, std::string_view(line + 15, nameEnd - 15));
  store.items.push_back(p);
}

// Reads the list at path into store; false on any error of the file.
bool ReadFideList(const std::string& path, PlayerStore& store) {
  OwnedFile file = OpenFile(path, "rb");
  if (!file) return false;

  // The combined layout has 164-byte lines: size the storage from the file,
  // up to a little more than today's list (a folder may report any size).
  size_t chunkSize = kChunk;
  if (std::fseek(file.get(), 0, SEEK_END) == 0) {
    long size = std::ftell(file.get());
    if (size >= 0) {
      size_t lines = std::min<size_t>(static_cast<size_t>(size) / 160, kMostLinesExpected) + 16;
      store.items.reserve(lines);
      ReserveNames(store, lines * 24);
      chunkSize = std::min(kChunk, static_cast<size_t>(size) + 1);
    }
  }
  if (std::fseek(file.get(), 0, SEEK_SET) != 0) return false;

  auto chunk = std::make_unique_for_overwrite<char[]>(chunkSize);
  LineHead carried;  // a line begun in an earlier chunk
  bool header = true;
  auto takeLine = [&](std::string_view line) {
    if (!header) TakePlayerLine(line, store);
    header = false;
  };
  bool ended = false;
  while (!ended) {
    size_t got = std::fread(chunk.get(), 1, chunkSize, file.get());
    if (std::ferror(file.get())) return false;
    if (got == 0) break;
    std::string_view text(chunk.get(), got);
    if (size_t stop = text.find(kEndOfText); stop != text.npos) {
      text = text.substr(0, stop);
      ended = true;
    }
    // Lines that lie whole in the chunk are read where they are.
    const char* at = text.data();
    const char* end = at + text.size();
    auto nextLineEnd = [&] {
      return static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at)));
    };
    for (const char* lineEnd; (lineEnd = nextLineEnd()) != nullptr; at = lineEnd + 1) {
      std::string_view line(at, static_cast<size_t>(lineEnd - at));
      if (carried.length > 0) {
        carried.Append(line);
        takeLine(carried.Text());
        carried.kept = carried.length = 0;
        continue;
      }
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      takeLine(line);
    }
    carried.Append(std::string_view(at, static_cast<size_t>(end - at)));
  }
  if (carried.length > 0) takeLine(carried.Text());  // the last line may lack its line end
  return CloseFile(file);
}

}  // namespace

bool ImportFideList(const std::string& path) {
  try {
    // Built aside: a failed read leaves PlayerList as it was.
    PlayerStore store;
    if (!ReadFideList(path, store)) return false;
    ShrinkStore(store);
    InstallPlayerList(std::move(store));
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

void SortByRating() {
  // A stable counting sort, highest rating first, with a counter for every
  // rating up to the highest: 10000 at most for an imported list, though a
  // list set or loaded otherwise may hold any 16-bit value.
  std::span<const Player> list = PlayerList();
  uint16_t highest = 0;
  for (const Player& p : list) highest = std::max(highest, p.rating);
  std::vector<uint32_t> next(size_t{highest} + 1, 0);
  std::vector<Player> sorted(list.size());  // before the list is taken out
  PlayerStore store = TakePlayerList();
  for (const Player& p : store.items) ++next[p.rating];
  uint32_t position = 0;
  for (int r = highest; r >= 0; --r) position += std::exchange(next[r], position);
  for (const Player& p : store.items) sorted[next[p.rating]++] = p;
  store.items = std::move(sorted);
  InstallPlayerList(std::move(store));
}
