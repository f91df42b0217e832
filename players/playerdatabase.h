// playerdatabase: the player database as one value: its players, in the
// order of their store, and the search index built for them. Every search
// takes the database it looks in; players are referred to by their 0-based
// index in Players().
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "players/player.h"
#include "players/playerstore.h"

struct SearchIndex;

// Whether a database builds its search index: every database that is
// searched does; one that is only written or listed saves the time and room.
enum class Indexing : uint8_t { kBuild, kNone };

class PlayerDatabase {
 public:
  // No players.
  PlayerDatabase();
  // Takes over the players of store. With kBuild the index is built here;
  // when there is no memory for it the searches scan the players instead,
  // with the same results.
  PlayerDatabase(PlayerStore store, Indexing indexing);
  ~PlayerDatabase();
  PlayerDatabase(PlayerDatabase&&) noexcept;
  PlayerDatabase& operator=(PlayerDatabase&&) noexcept;
  PlayerDatabase(const PlayerDatabase&) = delete;
  PlayerDatabase& operator=(const PlayerDatabase&) = delete;

  std::span<const Player> Players() const { return store_.items; }
  bool Empty() const { return store_.items.empty(); }
  // The search index; null without one.
  const SearchIndex* Index() const { return index_.get(); }
  // In rating order, highest first (as players.dat keeps it).
  bool RatingOrder() const { return ratingOrder_; }

 private:
  PlayerStore store_;
  std::unique_ptr<SearchIndex> index_;
  bool ratingOrder_ = true;
};

// A database of these players in this order, names cut as StoreOf cuts them.
PlayerDatabase DatabaseOf(std::span<const PlayerRow> rows, Indexing indexing = Indexing::kBuild);
