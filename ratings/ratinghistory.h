// ratinghistory: the ratings of FIDE's monthly lists over time, for each
// kind (standard, rapid, blitz), and the rating in force at a date. Each
// player's rating is kept only where it changes from one list of a kind to
// the next, so a history of many months costs little more than one list.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ratings/ratinglist.h"

// From list `list` of the kind on (until the next change), the player's
// rating is `rating`; 0 means none: missing from the list or unrated in it.
struct RatingChange {
  uint16_t list;
  uint16_t rating;
};

struct ListSummary {
  MonthNumber month;
  uint32_t players;  // lines with an ID
  uint32_t rated;    // of those, with a rating
};

// A player ever rated in a list of the kind, and where his changes begin;
// they end where the next player's begin. ID and position side by side: a
// lookup reads one place.
struct PlayerChanges {
  int32_t id;
  uint32_t first;
};

// The lists of one kind and their ratings.
struct KindHistory {
  std::vector<ListSummary> lists;      // ascending months, at most one per month
  std::vector<PlayerChanges> players;  // ascending IDs
  std::vector<RatingChange> changes;
  // Where to begin looking for an ID: the players of bucket b (id >>
  // bucketShift) lie from bucketStart[b] to bucketStart[b + 1].
  std::vector<uint32_t> bucketStart;
  int bucketShift = 0;

  // The changes of players[i].
  std::span<const RatingChange> ChangesOf(size_t i) const {
    size_t end = i + 1 < players.size() ? players[i + 1].first : changes.size();
    return std::span(changes).subspan(players[i].first, end - players[i].first);
  }
};

struct RatingHistory {
  std::array<KindHistory, kRatingKinds> kinds;
  KindHistory& operator[](RatingKind k) { return kinds[static_cast<int>(k)]; }
  const KindHistory& operator[](RatingKind k) const { return kinds[static_cast<int>(k)]; }
};

// One player of a list being added.
struct ListRating {
  int32_t id;
  uint16_t rating;  // 0: unrated
};

// Puts a list of `month` into the kind's history, replacing one of the same
// month. `players` are ascending by ID without repeats; unrated players and
// those missing have no rating in this list. At most 65535 lists a kind.
// Returns false (history unchanged) when the kind is full.
bool AddList(KindHistory& kind, MonthNumber month, std::span<const ListRating> players);

struct RatingInForce {
  uint16_t rating;    // 0: none in that list
  MonthNumber month;  // of the list in force
};
// The list in force in `month` is the kind's latest list of that month or
// before; nullopt when there is none.
std::optional<RatingInForce> RatingAt(const KindHistory& kind, int32_t id, MonthNumber month);
// The rating in the kind's latest list; nullopt when the kind has no list.
std::optional<RatingInForce> LatestRating(const KindHistory& kind, int32_t id);

// Builds the lookup buckets; AddList and LoadHistory do it.
void BuildLookup(KindHistory& kind);

// ---- The history file ----

enum class HistoryLoad { kLoaded, kMissing, kUnreadable, kDamaged };
// Reads a history file into history (left empty unless kLoaded).
HistoryLoad LoadHistory(const std::string& path, RatingHistory& history);
// Writes the history beside path and puts it in path's place in one step;
// false when it could not (then path is unchanged).
bool SaveHistory(const std::string& path, const RatingHistory& history);
// The file's bytes: for tests and SaveHistory.
std::vector<uint8_t> HistoryBytes(const RatingHistory& history);
HistoryLoad HistoryFromBytes(std::span<const uint8_t> bytes, RatingHistory& history);
