#include "players/playerstore.h"

#include <algorithm>
#include <cstring>
#include <utility>

void ReserveNames(PlayerStore& store, size_t capacity) {
  NamePool& pool = store.names;
  capacity = std::max(capacity, pool.used);
  if (capacity == pool.capacity) return;
  auto bytes = std::make_unique_for_overwrite<char[]>(capacity);
  if (pool.used > 0) std::memcpy(bytes.get(), pool.bytes.get(), pool.used);
  // Both blocks are alive here, so the offsets into the old one are sound.
  for (Player& p : store.items) {
    if (p.name.empty()) continue;
    size_t offset = static_cast<size_t>(p.name.data() - pool.bytes.get());
    p.name = std::string_view(bytes.get() + offset, p.name.size());
  }
  pool.bytes = std::move(bytes);
  pool.capacity = capacity;
}

std::string_view StoreName(PlayerStore& store, std::string_view name) {
  if (name.empty()) return {};
  NamePool& pool = store.names;
  if (pool.capacity - pool.used < name.size())
    ReserveNames(store, std::max(pool.capacity * 2, pool.used + name.size() + 4096));
  char* copy = pool.bytes.get() + pool.used;
  std::memcpy(copy, name.data(), name.size());
  pool.used += name.size();
  return std::string_view(copy, name.size());
}

void ShrinkStore(PlayerStore& store) {
  // Small slack is not worth a copy of the whole list.
  if (store.items.capacity() - store.items.size() > store.items.size() / 16) store.items.shrink_to_fit();
  if (store.names.capacity - store.names.used > store.names.used / 16) ReserveNames(store, store.names.used);
}

PlayerStore StoreOf(std::span<const PlayerRow> rows) {
  PlayerStore store;
  size_t nameBytes = 0;
  for (const PlayerRow& row : rows) nameBytes += std::min<size_t>(row.name.size(), 255);
  ReserveNames(store, nameBytes);
  store.items.reserve(rows.size());
  for (const PlayerRow& row : rows) {
    Player p;
    // players.dat holds a name behind one length byte: longer names are cut
    // here already, so the store and its file agree.
    p.name = StoreName(store, std::string_view(row.name).substr(0, 255));
    p.fideId = row.fideId;
    p.rating = row.rating;
    p.sex = row.sex;
    p.title = row.title;
    p.federation = row.federation;
    p.birthYear = row.birthYear;
    store.items.push_back(p);
  }
  return store;
}

void SortByRating(PlayerStore& store) {
  // A stable counting sort, highest rating first, with a counter for every
  // rating up to the highest: 10000 at most for an imported list, though a
  // list made otherwise may hold any 16-bit value.
  uint16_t highest = 0;
  for (const Player& p : store.items) highest = std::max(highest, p.rating);
  std::vector<uint32_t> next(size_t{highest} + 1, 0);
  std::vector<Player> sorted(store.items.size());
  for (const Player& p : store.items) ++next[p.rating];
  uint32_t position = 0;
  for (int r = highest; r >= 0; --r) position += std::exchange(next[r], position);
  for (const Player& p : store.items) sorted[next[p.rating]++] = p;
  store.items = std::move(sorted);
}

bool InRatingOrder(std::span<const Player> players) {
  return std::is_sorted(players.begin(), players.end(),
                        [](const Player& a, const Player& b) { return a.rating > b.rating; });
}
