// players.dat: a big-endian count N, then N records of fideId, name (length
// byte and bytes), rating, sex, title, federation and birth year.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "database/btfile.h"
#include "database/fidelist.h"
#include "database/playerstore.h"
#include "database/replacefile.h"

namespace {

constexpr int64_t kCountBytes = 4;
constexpr int64_t kRecordBytes = 12;  // a record without its name bytes

// Size of the file at path, or -1 when it cannot be opened.
int64_t SizeOfFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return -1;
  int64_t size = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
  std::fclose(f);
  return size;
}

void ReadPlayers(const std::string& path, PlayerStore& store) {
  int64_t size = SizeOfFile(path);
  bytefile in(path, true);
  if (in.failed || size < kCountBytes) return;
  // A damaged count must not make us allocate for players the file cannot
  // hold: every record takes at least 12 bytes.
  int64_t count = std::clamp<int64_t>(in.ReadInt(), 0, (size - kCountBytes) / kRecordBytes);
  store.items.resize(static_cast<size_t>(count));
  // Exact for an intact file; a damaged one may need the block to grow. No
  // name is longer than 255 bytes, whatever size a folder or device reports.
  ReserveNames(store, static_cast<size_t>(std::min(size - kCountBytes - count * kRecordBytes, count * 255)));
  char name[255];
  uint8_t tail[7];
  for (fideitem& p : store.items) {
    p.fideId = in.ReadInt();
    int32_t length = in.ReadStrTo(name);
    p.name = StoreName(store, std::string_view(name, static_cast<size_t>(length)));
    // rating (2), sex, title, federation, birth year (2): read as one block
    in.ReadBytes(tail, sizeof tail);
    p.rating = static_cast<uint16_t>(tail[0] << 8 | tail[1]);
    p.sex = tail[2];
    p.title = tail[3];
    p.federation = tail[4];
    p.birthYear = static_cast<uint16_t>(tail[5] << 8 | tail[6]);
  }
}

// The bytes of one record, as WriteInt, WriteStr, WriteWord, three
// WriteByte and WriteWord would write them; returns their number.
size_t EncodeRecord(const fideitem& p, uint8_t* out) {
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
  tail[2] = p.sex;
  tail[3] = p.title;
  tail[4] = p.federation;
  tail[5] = static_cast<uint8_t>(p.birthYear >> 8);
  tail[6] = static_cast<uint8_t>(p.birthYear);
  return kRecordBytes + n;
}

}  // namespace

void LoadPlayers(const std::string& path) {
  // Release the old list first: two full lists need not fit at once.
  ClearPlayerList();
  PlayerStore store;
  try {
    ReadPlayers(path, store);
    ShrinkStore(store);
  } catch (const std::bad_alloc&) {
    store = PlayerStore{};
  }
  InstallPlayerList(std::move(store));
}

void LoadPlayersOnDemand(const std::string& path) {
  if (PlayerList().empty()) LoadPlayers(path);
}

bool SavePlayers(const std::string& path) {
  // Written beside the target and moved over it only when complete, so a
  // failed write never costs the previous database.
  const std::string temp = path + ".tmp";
  int64_t expected = kCountBytes;
  {
    bytefile out(temp, false);
    if (out.failed) return false;
    std::span<const fideitem> list = PlayerList();
    out.WriteInt(static_cast<int32_t>(list.size()));
    uint8_t record[kRecordBytes + 255];
    for (const fideitem& p : list) {
      size_t n = EncodeRecord(p, record);
      out.WriteBytes(record, n);
      expected += static_cast<int64_t>(n);
    }
  }
  // The byte file does not report write errors; a short file shows them.
  if (SizeOfFile(temp) != expected || !ReplaceFileWith(temp, path)) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}
