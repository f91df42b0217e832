#include "players/playerdatabase.h"

#include <new>
#include <utility>

#include "players/searchindex.h"

PlayerDatabase::PlayerDatabase() = default;

PlayerDatabase::PlayerDatabase(PlayerStore store, Indexing indexing)
    : store_(std::move(store)), ratingOrder_(InRatingOrder(store_.items)) {
  if (indexing != Indexing::kBuild) return;
  try {
    index_ = BuildSearchIndex(store_.items);
  } catch (const std::bad_alloc&) {
    index_.reset();  // the plain scans give the same results, only slower
  }
}

PlayerDatabase::~PlayerDatabase() = default;
PlayerDatabase::PlayerDatabase(PlayerDatabase&&) noexcept = default;
PlayerDatabase& PlayerDatabase::operator=(PlayerDatabase&&) noexcept = default;

PlayerDatabase DatabaseOf(std::span<const PlayerRow> rows, Indexing indexing) {
  return PlayerDatabase(StoreOf(rows), indexing);
}
