// players.dat: a big-endian count N, then N records of fideId, name (length
// byte and bytes), rating, sex, title, federation and birth year.
#include <algorithm>
#include <cstdio>
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
  // Exact for an intact file; a damaged one may need the block to grow.
  ReserveNames(store, static_cast<size_t>(size - kCountBytes - count * kRecordBytes));
  char name[255];
  for (fideitem& p : store.items) {
    p.fideId = in.ReadInt();
    int32_t length = in.ReadStrTo(name);
    p.name = StoreName(store, std::string_view(name, static_cast<size_t>(length)));
    p.rating = in.ReadWord();
    p.sex = in.ReadByte();
    p.title = in.ReadByte();
    p.federation = in.ReadByte();
    p.birthYear = in.ReadWord();
  }
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
    for (const fideitem& p : list) {
      out.WriteInt(p.fideId);
      out.WriteStr(p.name);
      out.WriteWord(p.rating);
      out.WriteByte(p.sex);
      out.WriteByte(p.title);
      out.WriteByte(p.federation);
      out.WriteWord(p.birthYear);
      expected += kRecordBytes + std::min<int64_t>(static_cast<int64_t>(p.name.size()), 255);
    }
  }
  // The byte file does not report write errors; a short file shows them.
  if (SizeOfFile(temp) != expected || !ReplaceFileWith(temp, path)) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}
