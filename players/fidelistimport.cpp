// Import of FIDE's rating list (the combined layout, or a single standard
// list) into a database in rating order.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "files/stdfile.h"
#include "players/fidelistimport.h"
#include "players/playercodes.h"
#include "players/playerstore.h"
#include "ratings/ratinglist.h"

namespace {

// The bytes of a line's start kept; every field read lies before
// kMostColumns, and one more byte shows whether a line end's carriage
// return lies inside them.
constexpr size_t kLineHead = 256;
constexpr size_t kMostColumns = 200;
constexpr size_t kChunk = size_t{1} << 20;
constexpr char kEndOfText = 26;  // Ctrl-Z: the text ends here
constexpr size_t kMostLinesExpected = 2500000;

// Where each field starts, 0-based, as the header places it. Today's
// combined list (players_list_foa.txt): the name in columns 16-76, the
// federation at 77, sex 81, title 85, standard rating 114, birth year 153.
struct ImportColumns {
  size_t name, nameEnd, federation, sex, title, rating, birth;
  size_t end;  // a line this long holds every field read
};

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

bool IsBlankLine(std::string_view line) { return line.find_first_not_of(" \t\r") == std::string_view::npos; }

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
  if (std::memcmp(field, "GM ", 3) == 0) return Title::kGM;
  if (std::memcmp(field, "IM ", 3) == 0) return Title::kIM;
  if (std::memcmp(field, "FM ", 3) == 0) return Title::kFM;
  if (std::memcmp(field, "WGM ", 4) == 0) return Title::kWGM;
  if (std::memcmp(field, "WIM ", 4) == 0) return Title::kWIM;
  if (std::memcmp(field, "WFM ", 4) == 0) return Title::kWFM;
  return Title::kNone;
}

// The columns of a list the database takes, from its header: the combined
// list (its SRtng is the Elo) or a single standard list, whose header does
// not say its kind, so its file name must (standard_mar26frl.txt). A rapid
// or blitz list would put the wrong rating where the Elo is read from; the
// older formats lack the sex and today's players.
std::optional<ImportColumns> ColumnsOfHeader(std::string_view header, const std::string& path,
                                             std::string& error) {
  std::string why;
  std::optional<ListFormat> format = RecognizeHeader(header, why);
  const std::string takes = ": the database takes FIDE's combined list or its standard list";
  if (!format) {
    ListFormat headerless;
    error = FitColumnsBefore2005(headerless, header) ? path + " is a list of the format before 2013" + takes
                                                     : path + " is not a FIDE rating list: " + why;
    return std::nullopt;
  }
  if (format->layout == ListLayout::kBefore2013 || format->layout == ListLayout::kBefore2005) {
    error = path + " is a list of the format before 2013" + takes;
    return std::nullopt;
  }
  if (format->layout == ListLayout::kSingle) {
    std::optional<RatingKind> kind = KindOfFileName(path);
    if (!kind) {
      error = path + " is a single list whose name does not say its kind (standard_...)" + takes;
      return std::nullopt;
    }
    if (*kind != RatingKind::kStandard) {
      error = path + " is a " + std::string(KindName(*kind)) + " list" + takes;
      return std::nullopt;
    }
  }
  const ColumnSpan rating = format->rating[static_cast<int>(RatingKind::kStandard)];
  for (ColumnSpan span :
       {format->name, format->federation, format->sex, format->title, rating, format->birth}) {
    if (span.empty()) {
      error = path +
              " is not a FIDE rating list: its header lacks one of Name, Fed, Sex, Tit, B-day and "
              "the standard rating";
      return std::nullopt;
    }
  }
  ImportColumns c{format->name.begin,       std::min(format->name.end, format->name.begin + 61),
                  format->federation.begin, format->sex.begin,
                  format->title.begin,      rating.begin,
                  format->birth.begin,      0};
  c.end = std::max({c.nameEnd, c.federation + 3, c.sex + 1, c.title + 4, c.rating + 4, c.birth + 4});
  if (c.end > kMostColumns) {
    error =
        path + " is not a FIDE rating list: its columns lie beyond column " + std::to_string(kMostColumns);
    return std::nullopt;
  }
  return c;
}

// Appends the player of one list line (without its line end), if it is a
// player line. Columns beyond the end of a short line count as blanks.
void TakePlayerLine(std::string_view text, const ImportColumns& at, PlayerStore& store) {
  const char* line = text.data();
  char padded[kLineHead];
  if (text.size() < at.end) {
    std::memset(padded, ' ', sizeof padded);
    std::memcpy(padded, text.data(), text.size());
    line = padded;
  }

  // The name without the trailing blanks; mostly blanks, so they are passed
  // eight at a time.
  size_t nameEnd = at.nameEnd;
  while (nameEnd >= at.name + 8 && std::memcmp(line + nameEnd - 8, "        ", 8) == 0) nameEnd -= 8;
  while (nameEnd > at.name && line[nameEnd - 1] == ' ') --nameEnd;
  if (nameEnd == at.name || line[at.name] < 'A' || line[at.name] > 'Z') return;

  Player p;
  p.fideId = LeadingId(line, std::min(text.size(), kLineHead));
  p.federation = static_cast<uint8_t>(FederationByCode(std::string_view(line + at.federation, 3)));
  p.sex = line[at.sex] == 'F' ? Sex::kFemale : line[at.sex] == 'M' ? Sex::kMale : Sex::kNone;
  p.title = TitleOfField(line + at.title);
  p.rating = LeadingNumber(line + at.rating, 4);
  p.birthYear = LeadingNumber(line + at.birth, 4);
  p.name = StoreName(store, std::string_view(line + at.name, nameEnd - at.name));
  store.items.push_back(p);
}

// Reads the list at path into store; false, with a message, on any error of
// the file or when it is no list the database takes.
bool ReadInto(const std::string& path, PlayerStore& store, std::string& error) {
  OwnedFile file = OpenFile(path, "rb");
  if (!file) {
    error = "cannot read " + path;
    return false;
  }
  auto failed = [&] {
    error = "cannot read " + path;
    return false;
  };

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
  if (std::fseek(file.get(), 0, SEEK_SET) != 0) return failed();

  auto chunk = std::make_unique_for_overwrite<char[]>(chunkSize);
  LineHead carried;  // a line begun in an earlier chunk
  std::optional<ImportColumns> columns;
  bool header = true;
  // False once the header is refused.
  auto takeLine = [&](std::string_view line) {
    if (!header) {
      TakePlayerLine(line, *columns, store);
      return true;
    }
    if (IsBlankLine(line)) return true;  // blank lines before the header
    header = false;
    columns = ColumnsOfHeader(line, path, error);
    return columns.has_value();
  };
  bool ended = false;
  while (!ended) {
    size_t got = std::fread(chunk.get(), 1, chunkSize, file.get());
    if (std::ferror(file.get())) return failed();
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
      bool going;
      if (carried.length > 0) {
        carried.Append(line);
        going = takeLine(carried.Text());
        carried.kept = carried.length = 0;
      } else {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        going = takeLine(line);
      }
      if (!going) return false;
    }
    carried.Append(std::string_view(at, static_cast<size_t>(end - at)));
  }
  // The last line may lack its line end; one that stops before the fields
  // read end was cut off (a download that broke off), and its digits would
  // be taken for a lower rating or birth year.
  if (carried.length > 0) {
    std::string_view last = carried.Text();
    if (columns && last.size() < columns->end && !IsBlankLine(last)) {
      error = path + " ends in the middle of a line: download it again";
      return false;
    }
    if (!takeLine(last)) return false;
  }
  if (header) {
    error = path + " is not a FIDE rating list: it is empty";
    return false;
  }
  if (store.items.empty()) {
    error = path + " lists no players";
    return false;
  }
  return CloseFile(file) || failed();
}

}  // namespace

std::optional<PlayerStore> ReadFideList(const std::string& path, std::string& error) {
  try {
    PlayerStore store;
    if (!ReadInto(path, store, error)) return std::nullopt;
    ShrinkStore(store);
    return store;
  } catch (const std::bad_alloc&) {
    error = "not enough memory to import " + path;
    return std::nullopt;
  }
}

std::optional<PlayerDatabase> ImportFideList(const std::string& path, std::string& error, Indexing indexing) {
  std::optional<PlayerStore> store = ReadFideList(path, error);
  if (!store) return std::nullopt;
  try {
    SortByRating(*store);
  } catch (const std::bad_alloc&) {
    error = "not enough memory to import " + path;
    return std::nullopt;
  }
  return PlayerDatabase(std::move(*store), indexing);
}
