// playerstore: the players of a database and the memory behind them. The
// records live in one array and all their names in one block, so a list
// costs two allocations however long it is. Load and import fill a store,
// and a PlayerDatabase takes it over.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "players/player.h"

struct NamePool {
  std::unique_ptr<char[]> bytes;
  size_t used = 0;
  size_t capacity = 0;
};

// Movable: the names stay where they are, so the records' views stay valid.
struct PlayerStore {
  std::vector<Player> items;
  NamePool names;
};

// Moves the name block to one of `capacity` bytes (at least the bytes in
// use), re-pointing the names of store.items into it.
void ReserveNames(PlayerStore& store, size_t capacity);
// Copies name into the store's block, growing it when full, and returns the
// copy. Empty names take no room.
std::string_view StoreName(PlayerStore& store, std::string_view name);
// Gives back the spare room of the record array and of the name block.
void ShrinkStore(PlayerStore& store);

// A store of these players, in this order; names longer than players.dat
// can hold (255 bytes) are cut.
PlayerStore StoreOf(std::span<const PlayerRow> rows);
// Orders the players by rating, highest first, stable among equal ratings.
void SortByRating(PlayerStore& store);
// Whether players are in that order, so that those of a band of ratings lie
// together.
bool InRatingOrder(std::span<const Player> players);
