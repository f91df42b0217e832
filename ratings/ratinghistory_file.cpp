// The history file. Little-endian throughout:
//
//   "RATEHIST" and the version 1 (u32)
//   for standard, rapid and blitz in turn:
//     L (u32), then L lists: month (u32, year * 12 + month - 1), players, rated (u32)
//     N, C (u32): players with changes, changes in all
//     N IDs (u32, ascending), N counts of changes (u16)
//     C changes: list index (u16), rating (u16), ascending by list for each player
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>

#include "files/hugepages.h"
#include "files/replacefile.h"
#include "files/stdfile.h"
#include "ratings/ratinghistory.h"

namespace {

constexpr char kMagic[8] = {'R', 'A', 'T', 'E', 'H', 'I', 'S', 'T'};
constexpr uint32_t kVersion = 1;

// Writes a block at a time: each full block goes to `sink`, so that a
// large history is written without a buffer of its whole size.
class BlockWriter {
 public:
  using Sink = std::function<bool(const uint8_t* bytes, size_t n)>;
  explicit BlockWriter(const Sink& sink) : sink_(sink), block_(size_t{1} << 20) {}
  void Bytes(const void* bytes, size_t n) {
    if (used_ + n > block_.size()) Flush();
    std::memcpy(block_.data() + used_, bytes, n);
    used_ += n;
  }
  void U16(uint32_t v) {
    if (used_ + 2 > block_.size()) Flush();
    block_[used_] = static_cast<uint8_t>(v);
    block_[used_ + 1] = static_cast<uint8_t>(v >> 8);
    used_ += 2;
  }
  void U32(uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  // Hands on the last block; false when the sink failed on any.
  bool Finish() {
    Flush();
    return ok_;
  }

 private:
  void Flush() {
    if (used_ > 0) ok_ = sink_(block_.data(), used_) && ok_;
    used_ = 0;
  }
  const Sink& sink_;
  std::vector<uint8_t> block_;
  size_t used_ = 0;
  bool ok_ = true;
};

struct Reader {
  std::span<const uint8_t> bytes;
  size_t at = 0;
  bool failed = false;
  bool Has(uint64_t n) {
    if (bytes.size() - at < n) failed = true;
    return !failed;
  }
  uint32_t U16() {
    if (!Has(2)) return 0;
    uint32_t v = bytes[at] | bytes[at + 1] << 8;
    at += 2;
    return v;
  }
  uint32_t U32() {
    uint32_t low = U16();
    return low | U16() << 16;
  }
};

bool ReadKind(Reader& in, KindHistory& kind) {
  uint32_t lists = in.U32();
  if (lists > 65535 || !in.Has(uint64_t{lists} * 12)) return false;
  kind.lists.resize(lists);
  for (uint32_t l = 0; l < lists; ++l) {
    ListSummary& s = kind.lists[l];
    uint32_t month = in.U32();
    s.players = in.U32();
    s.rated = in.U32();
    if (month < static_cast<uint32_t>(MakeMonth(1900, 1)) ||
        month > static_cast<uint32_t>(MakeMonth(2999, 12)) || s.rated > s.players)
      return false;
    s.month = static_cast<MonthNumber>(month);
    if (l > 0 && s.month <= kind.lists[l - 1].month) return false;
  }
  uint32_t ids = in.U32(), changes = in.U32();
  if (in.failed || !in.Has(uint64_t{ids} * 6 + uint64_t{changes} * 4)) return false;
  kind.players.resize(ids);
  for (uint32_t i = 0; i < ids; ++i) {
    uint32_t id = in.U32();
    if (id == 0 || id > INT32_MAX || (i > 0 && static_cast<int32_t>(id) <= kind.players[i - 1].id))
      return false;
    kind.players[i].id = static_cast<int32_t>(id);
  }
  uint64_t total = 0;
  for (uint32_t i = 0; i < ids; ++i) {
    kind.players[i].first = static_cast<uint32_t>(total);
    uint32_t count = in.U16();
    if (count == 0 || count > lists) return false;
    total += count;
  }
  if (total != changes) return false;
  kind.changes.resize(changes);
  for (RatingChange& c : kind.changes) {
    c.list = static_cast<uint16_t>(in.U16());
    c.rating = static_cast<uint16_t>(in.U16());
    if (c.list >= lists || c.rating > 9999) return false;
  }
  for (uint32_t i = 0; i < ids; ++i) {
    std::span<const RatingChange> own = kind.ChangesOf(i);
    for (size_t c = 1; c < own.size(); ++c)
      if (own[c].list <= own[c - 1].list) return false;
  }
  BuildLookup(kind);
  return !in.failed;
}

}  // namespace

namespace {

bool WriteHistory(const RatingHistory& history, const BlockWriter::Sink& sink) {
  BlockWriter out(sink);
  out.Bytes(kMagic, sizeof kMagic);
  out.U32(kVersion);
  for (const KindHistory& kind : history.kinds) {
    out.U32(static_cast<uint32_t>(kind.lists.size()));
    for (const ListSummary& s : kind.lists) {
      out.U32(static_cast<uint32_t>(s.month));
      out.U32(s.players);
      out.U32(s.rated);
    }
    out.U32(static_cast<uint32_t>(kind.players.size()));
    out.U32(static_cast<uint32_t>(kind.changes.size()));
    for (const PlayerChanges& p : kind.players) out.U32(static_cast<uint32_t>(p.id));
    for (size_t i = 0; i < kind.players.size(); ++i) out.U16(static_cast<uint32_t>(kind.ChangesOf(i).size()));
    for (const RatingChange& c : kind.changes) {
      out.U16(c.list);
      out.U16(c.rating);
    }
  }
  return out.Finish();
}

}  // namespace

std::vector<uint8_t> HistoryBytes(const RatingHistory& history) {
  size_t size = 12;
  for (const KindHistory& kind : history.kinds)
    size += 12 + kind.lists.size() * 12 + kind.players.size() * 6 + kind.changes.size() * 4;
  std::vector<uint8_t> bytes;
  ReserveLarge(bytes, size);
  WriteHistory(history, [&](const uint8_t* block, size_t n) {
    bytes.insert(bytes.end(), block, block + n);
    return true;
  });
  return bytes;
}

HistoryLoad HistoryFromBytes(std::span<const uint8_t> bytes, RatingHistory& history) {
  history = RatingHistory{};
  Reader in{bytes};
  if (!in.Has(12) || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return HistoryLoad::kDamaged;
  in.at = sizeof kMagic;
  if (in.U32() != kVersion) return HistoryLoad::kDamaged;
  RatingHistory read;
  for (KindHistory& kind : read.kinds)
    if (!ReadKind(in, kind)) return HistoryLoad::kDamaged;
  if (in.at != bytes.size()) return HistoryLoad::kDamaged;
  history = std::move(read);
  return HistoryLoad::kLoaded;
}

HistoryLoad LoadHistory(const std::string& path, RatingHistory& history) {
  history = RatingHistory{};
  errno = 0;
  OwnedFile file = OpenFile(path, "rb");
  if (!file) return errno == ENOENT ? HistoryLoad::kMissing : HistoryLoad::kUnreadable;
  std::vector<uint8_t> bytes;
  uint8_t chunk[1 << 16];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;)
    bytes.insert(bytes.end(), chunk, chunk + n);
  if (std::ferror(file.get())) return HistoryLoad::kUnreadable;
  return HistoryFromBytes(bytes, history);
}

bool SaveHistory(const std::string& path, const RatingHistory& history) {
  std::string temporary = path + ".tmp";
  OwnedFile file = OpenFile(temporary, "wb");
  if (!file) return false;
  bool written = WriteHistory(
      history, [&](const uint8_t* block, size_t n) { return std::fwrite(block, 1, n, file.get()) == n; });
  if (!CloseFile(file) || !written || !ReplaceFileWith(temporary, path)) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}
