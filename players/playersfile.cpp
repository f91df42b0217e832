// players.dat: a big-endian count N, then N records of fideId, name (length
// byte and bytes), rating, sex, title, federation and birth year.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "files/replacefile.h"
#include "files/stdfile.h"
#include "players/playersfile.h"
#include "players/playerstore.h"

namespace {

constexpr int64_t kCountBytes = 4;
constexpr int64_t kRecordBytes = 12;  // a record without its name bytes

constexpr size_t kLongestRecord = kRecordBytes + 255;
constexpr size_t kBlockBytes = size_t{1} << 20;

// Reads players.dat a block at a time, as the byte file would read it byte
// by byte: bytes past the end of the file read as zeros, and once a name
// runs past the end every later read gives zeros too.
struct RecordReader {
  std::FILE* file;
  int64_t fileSize;
  std::unique_ptr<uint8_t[]> buffer = std::make_unique_for_overwrite<uint8_t[]>(kBlockBytes + kLongestRecord);
  size_t at = 0, held = 0;  // the unread bytes are buffer[at, held)
  int64_t taken = 0;        // bytes taken, counting the zeros past the end
  bool failed = false;

  // The next n bytes, n at most kLongestRecord.
  const uint8_t* Take(size_t n) {
    if (held - at < n) Refill(n);
    const uint8_t* bytes = buffer.get() + at;
    at += n;
    taken += static_cast<int64_t>(n);
    return bytes;
  }
  void Refill(size_t n) {
    std::memmove(buffer.get(), buffer.get() + at, held - at);
    held -= at;
    at = 0;
    if (!failed) held += std::fread(buffer.get() + held, 1, kBlockBytes + kLongestRecord - held, file);
    if (held < n) {  // past the end
      std::memset(buffer.get() + held, 0, n - held);
      held = n;
    }
  }
  // A name of length bytes follows: false, and zeros from here on, when the
  // file does not hold all of it.
  bool HoldsName(size_t length) {
    if (failed) return false;
    if (std::min(taken, fileSize) + static_cast<int64_t>(length) <= fileSize) return true;
    failed = true;
    at = held = 0;
    return false;
  }
};

uint32_t BigEndian32(const uint8_t* b) {
  return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
}

PlayersFileState ReadPlayers(const std::string& path, PlayerStore& store) {
  PlayersFileState state;
  int64_t size = SizeOfFile(path);
  OwnedFile file = OpenFile(path, "rb");
  if (!file || size < kCountBytes) return state;
  RecordReader in{file.get(), size};
  state.announced = static_cast<int32_t>(BigEndian32(in.Take(4)));
  // A damaged count must not make us allocate for players the file cannot
  // hold: every record takes at least 12 bytes.
  int64_t count = std::clamp<int64_t>(state.announced, 0, (size - kCountBytes) / kRecordBytes);
  store.items.resize(static_cast<size_t>(count));
  // Exact for an intact file; a damaged one may need the block to grow. No
  // name is longer than 255 bytes, whatever size a folder or device reports.
  ReserveNames(store, static_cast<size_t>(std::min(size - kCountBytes - count * kRecordBytes, count * 255)));
  for (Player& p : store.items) {
    const uint8_t* head = in.Take(5);
    p.fideId = static_cast<int32_t>(BigEndian32(head));
    size_t length = head[4];
    if (!in.HoldsName(length)) length = 0;
    const uint8_t* name = in.Take(length);
    p.name = StoreName(store, std::string_view(reinterpret_cast<const char*>(name), length));
    const uint8_t* tail = in.Take(7);  // rating (2), sex, title, federation, birth year (2)
    p.rating = static_cast<uint16_t>(tail[0] << 8 | tail[1]);
    p.sex = static_cast<Sex>(tail[2]);
    p.title = static_cast<Title>(tail[3]);
    p.federation = tail[4];
    p.birthYear = static_cast<uint16_t>(tail[5] << 8 | tail[6]);
    if (!in.failed && in.taken <= size) ++state.complete;
  }
  state.intact = count == state.announced && !in.failed && in.taken == size;
  return state;
}

// The bytes of one record, as WriteInt, WriteStr, WriteWord, three
// WriteByte and WriteWord would write them; returns their number.
size_t EncodeRecord(const Player& p, uint8_t* out) {
  auto id = static_cast<uint32_t>(p.fideId);
  size_t n = std::min<size_t>(p.name.size(), 255);
  out[0] = static_cast<uint8_t>(id >> 24);
  out[1] = static_cast<uint8_t>(id >> 16);
  out[2] = static_cast<uint8_t>(id >> 8);
  out[3] = static_cast<uint8_t>(id);
  out[4] = static_cast<uint8_t>(n);
  if (n > 0) std::memcpy(out + 5, p.name.data(), n);  // an empty name may have no bytes at all
  uint8_t* tail = out + 5 + n;
  tail[0] = static_cast<uint8_t>(p.rating >> 8);
  tail[1] = static_cast<uint8_t>(p.rating);
  tail[2] = static_cast<uint8_t>(p.sex);
  tail[3] = static_cast<uint8_t>(p.title);
  tail[4] = p.federation;
  tail[5] = static_cast<uint8_t>(p.birthYear >> 8);
  tail[6] = static_cast<uint8_t>(p.birthYear);
  return kRecordBytes + n;
}

}  // namespace

PlayerDatabase LoadPlayers(const std::string& path, PlayersFileState* state, Indexing indexing) {
  PlayerStore store;
  PlayersFileState read;
  try {
    read = ReadPlayers(path, store);
    ShrinkStore(store);
  } catch (const std::bad_alloc&) {
    store = PlayerStore{};
    read.intact = false;
  }
  if (state) *state = read;
  return PlayerDatabase(std::move(store), indexing);
}

bool SavePlayers(const PlayerDatabase& db, const std::string& path) {
  // Written beside the target and moved over it only when complete, so a
  // failed write never costs the previous database.
  const std::string temp = path + ".tmp";
  int64_t expected = 0;
  bool written;
  {
    OwnedFile out = OpenFile(temp, "wb");
    if (!out) return false;
    std::span<const Player> list = db.Players();
    auto block = std::make_unique_for_overwrite<uint8_t[]>(kBlockBytes + kLongestRecord);
    const auto count = static_cast<uint32_t>(list.size());
    uint8_t head[4] = {static_cast<uint8_t>(count >> 24), static_cast<uint8_t>(count >> 16),
                       static_cast<uint8_t>(count >> 8), static_cast<uint8_t>(count)};
    std::memcpy(block.get(), head, 4);
    size_t used = 4;
    written = true;
    for (const Player& p : list) {
      if (used > kBlockBytes) {
        written = written && std::fwrite(block.get(), 1, used, out.get()) == used;
        expected += static_cast<int64_t>(used);
        used = 0;
      }
      used += EncodeRecord(p, block.get() + used);
    }
    written = written && std::fwrite(block.get(), 1, used, out.get()) == used;
    expected += static_cast<int64_t>(used);
    written = CloseFile(out) && written;
  }
  if (!written || SizeOfFile(temp) != expected || !ReplaceFileWith(temp, path)) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}
