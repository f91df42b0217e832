// playerstore: the memory behind PlayerList. The records live in one array and
// all their names in one block, so a list costs two allocations however long
// it is. Load and import build a store aside and install it when complete.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "database/playerlist.h"

struct NamePool {
  std::unique_ptr<char[]> bytes;
  size_t used = 0;
  size_t capacity = 0;
};

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

// Makes store the PlayerList, releasing the previous list.
void InstallPlayerList(PlayerStore&& store);
// Takes the PlayerList's storage out, leaving the list empty.
PlayerStore TakePlayerList();
