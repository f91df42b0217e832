#include "tools/tagwrite.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "pgn/pgnstream.h"
#include "tools/gameheader.h"
#include "tools/gatherwriter.h"
#include "tools/tag_history.h"

namespace {

constexpr Side kSides[2] = {Side::kWhite, Side::kBlack};
constexpr size_t kIoBlock = size_t{1} << 20;

// What a game's tags are read into, kept from one game to the next.
struct GameScratch {
  std::vector<HeaderTag> tags;
  std::vector<std::string> values;
};

// Whether a side of a game may get tags: a side that carries a FIDE ID by
// its own ID, when the name's places found theirs in the database; the
// others when the name got a player. Two bits a row, at hand for each game.
struct SidesWithTags {
  explicit SidesWithTags(const TagRun& run) : bits(run.names.size()) {
    for (size_t i = 0; i < bits.size(); ++i) {
      const NameRow& r = run.names[i];
      if (r.result == NameResult::kAnonymous) continue;
      bits[i] = static_cast<uint8_t>((r.chosen >= 0 ? kWithout | kWithId : 0) | (r.tagsById ? kWithId : 0));
    }
  }
  bool operator()(uint32_t entry) const {
    if (entry == kNoRow) return false;
    return (bits[entry & ~kSideHasId] & (entry & kSideHasId ? kWithId : kWithout)) != 0;
  }
  static constexpr uint8_t kWithout = 1, kWithId = 2;
  std::vector<uint8_t> bits;
};

// The tags the game of these entries gets, appended to `writes` in the
// order the plug-in writes them. False when its names are not those of the
// rows (the file changed since it was read).
bool AddGameTagWrites(const PgnGame& game, const std::array<uint32_t, 2>& rows, const TagRun& run,
                      GameScratch& scratch, std::vector<TagWrite>& writes) {
  ReadHeaderTags(game, scratch.tags, scratch.values);
  const std::vector<HeaderTag>& tags = scratch.tags;
  struct SideWrites {
    const NameRow* row;
    Side side;
    PlayerFacts player;
  };
  SideWrites sides[2];
  int count = 0;
  for (Side side : kSides) {
    const NameRow* row = &run.names[rows[side == Side::kBlack] & ~kSideHasId];
    if (row->name != SideNameIn(tags, side)) return false;
    if (row->result == NameResult::kAnonymous) continue;
    PlayerFacts player = ReadSide(tags, side, run.options.fideIdTags);
    if (player.fideId == 0 && row->chosen < 0) continue;
    sides[count++] = {row, side, player};
  }
  // The plug-in writes name by name in name order; within a name, first the
  // places known by FIDE ID, then the others, each in game order.
  if (count == 2 &&
      (sides[1].row->name < sides[0].row->name ||
       (sides[1].row == sides[0].row && sides[0].player.fideId == 0 && sides[1].player.fideId != 0)))
    std::swap(sides[0], sides[1]);
  std::optional<MonthNumber> month;
  if (run.options.history && count > 0)
    for (const HeaderTag& tag : tags)
      if (tag.name == "Date") month = MonthOfPgnDate(tag.value);
  for (int i = 0; i < count; ++i) {
    const SideWrites& s = sides[i];
    Player record;
    int32_t index = s.row->chosen;
    if (s.player.fideId != 0) {
      if (!FindByIdAt(*run.database, s.player.fideId, record, index)) continue;  // an ID the database lacks
    } else {
      record = run.database->Players()[static_cast<size_t>(index)];
    }
    // With a history, the rating in force at the game's date instead of today's.
    if (run.options.history && month)
      record.rating = HistoryRating((*run.options.history)[run.options.historyKind], record.fideId, *month);
    PlayerTags t = s.player.fideId == 0
                       ? FideTagWrites(record, s.row->name, s.player, s.side, run.options.tags)
                       : PlayerTagWrites(record, s.row->name, s.player, s.side, run.options.tags);
    for (TagWrite& w : t.writes) writes.push_back(std::move(w));
  }
  return true;
}

// The file read again as a stream, a game at a time: each piece's bytes in
// the buffer, as long as it is, until the next piece is taken.
struct StreamSource {
  explicit StreamSource(std::FILE* file) : in(file) {}
  static constexpr bool kLends = false;
  std::FILE* in;
  std::string buffer;
  size_t at = 0, held = 0;
  bool failed = false;

  // The next n bytes, or a shorter view at the end of the file.
  std::string_view Take(size_t n) {
    if (held - at < n) {
      std::memmove(buffer.data(), buffer.data() + at, held - at);
      held -= at;
      at = 0;
      if (buffer.size() < std::max(n, kIoBlock)) buffer.resize(std::max(n, kIoBlock));
      while (held < n) {
        size_t got = std::fread(buffer.data() + held, 1, buffer.size() - held, in);
        if (got == 0) {
          failed = std::ferror(in) != 0;
          break;
        }
        held += got;
      }
    }
    std::string_view piece(buffer.data() + at, std::min(n, held - at));
    at += piece.size();
    return piece;
  }
  bool AtEnd() { return at == held && std::fgetc(in) == EOF && !std::ferror(in); }
  void Written(int64_t) {}
};

// The mapped file: its pieces stay where they are, and the pages written
// are let go.
struct MappedSource {
  explicit MappedSource(const MappedFile& mapped) : file(mapped), text(mapped.bytes) {}
  static constexpr bool kLends = true;
  const MappedFile& file;
  std::string_view text;
  size_t at = 0;
  size_t forgotten = 0;
  bool failed = false;

  std::string_view Take(size_t n) {
    std::string_view piece = text.substr(at, n);
    at += piece.size();
    return piece;
  }
  bool AtEnd() const { return at == text.size(); }
  // Everything before `upTo` is written: its pages are not needed again.
  void Written(int64_t upTo) { forgotten = file.Forget(forgotten, static_cast<size_t>(upTo)); }
};

template <class Source>
void Put(Source&, GatherWriter& out, std::string_view bytes) {
  if constexpr (Source::kLends)
    out.Lend(bytes);
  else
    out.Copy(bytes);
}

// Copies n bytes through, a block at a time.
template <class Source>
bool CopyPiece(Source& in, GatherWriter& out, int64_t n) {
  while (n > 0) {
    auto chunk = static_cast<size_t>(std::min<int64_t>(n, static_cast<int64_t>(kIoBlock)));
    std::string_view bytes = in.Take(chunk);
    if (bytes.size() != chunk) return false;
    Put(in, out, bytes);
    n -= static_cast<int64_t>(chunk);
  }
  return true;
}

template <class Source>
bool WriteGames(Source& reader, std::FILE* out, const TagRun& run, const TagRunProgress& progress) {
  GatherWriter writer(out);
  PgnHeaderReader headers;
  PgnGame game;
  GameScratch scratch;
  std::vector<TagWrite> writes;
  std::vector<TagSetting> settings;
  auto damaged = run.damaged.begin();
  const SidesWithTags mayGetTags(run);
  if (!CopyPiece(reader, writer, run.leadingBytes)) return false;
  int64_t done = run.leadingBytes;
  for (int64_t g = 0; g < static_cast<int64_t>(run.gameRecords.count()); ++g) {
    if (g % 1024 == 0) {
      if (progress) progress(done);
      // Flushed now and then, so that what is written can be let go.
      if (writer.held() > 0 && !writer.Flush()) return false;
      reader.Written(done);
    }
    int64_t length = run.gameRecords.Length(g);
    const std::array<uint32_t, 2>& rows = run.gameRecords.rows[static_cast<size_t>(g)];
    done += length;
    // A damaged game is copied as it is, however long.
    if (damaged != run.damaged.end() && damaged->game == g + 1) {
      ++damaged;
      if (!CopyPiece(reader, writer, length)) return false;
      continue;
    }
    std::string_view text = reader.Take(static_cast<size_t>(length));
    if (text.size() != static_cast<size_t>(length)) return false;
    // A game neither of whose sides may get tags is copied without reading it.
    if (!mayGetTags(rows[0]) && !mayGetTags(rows[1])) {
      Put(reader, writer, text);
      continue;
    }
    // The game alone reads as it read within the file.
    if (!headers.Read(text, game) || game.damaged) return false;
    writes.clear();
    if (!AddGameTagWrites(game, rows, run, scratch, writes)) return false;
    if (writes.empty()) {
      Put(reader, writer, text);
      continue;
    }
    settings.clear();
    for (const TagWrite& w : writes) settings.push_back({w.name, w.value});
    writer.Copy(WithTags(game, settings));
  }
  // The file must end where it ended before.
  return writer.Flush() && !reader.failed && reader.AtEnd();
}

}  // namespace

bool WriteTaggedGames(std::FILE* in, std::FILE* out, const TagRun& run, const TagRunProgress& progress) {
  StreamSource source(in);
  return WriteGames(source, out, run, progress);
}

bool WriteTaggedGames(const MappedFile& in, std::FILE* out, const TagRun& run,
                      const TagRunProgress& progress) {
  MappedSource source(in);
  return WriteGames(source, out, run, progress);
}
