// The Elo of a game's date for `players tag --history`: the rating in force
// in the game's month, from the rating history, in place of the database's
// current rating; and the report's account of the lists used.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "players/playerdatabase.h"
#include "ratings/ratinghistory.h"
#include "tagrules/tagrules.h"

// The month of a PGN Date value ("2012.06.15", "2012.06.??"); nullopt when
// its year or month is unknown ("2012.??.??", "????.??.??") or it is no
// date.
std::optional<MonthNumber> MonthOfPgnDate(std::string_view date);

// The rating in force for the player of that FIDE ID in that month, in the
// history of one kind; 0 none.
uint16_t HistoryRating(const KindHistory& kind, int32_t fideId, MonthNumber month);

// What a name's places are weighed against: the history of one kind and the
// database their players are in.
struct HistoryLists {
  const KindHistory& kind;
  RatingKind kindName;
  const PlayerDatabase& database;
};
// A note on the lists whose ratings a name's places get: for each place that
// gets tags (its own FIDE ID's player, else `chosen`), the list in force at
// its game's month (NamePlace::month). Places of games without a known month
// keep the database's rating; `leftOut` more places said nothing and get
// `chosen`. Empty when there is nothing to say.
std::string HistoryNote(std::span<const NamePlace> places, int32_t chosen, uint32_t leftOut,
                        const HistoryLists& lists);
