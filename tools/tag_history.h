// The Elo of a game's date for `players tag --history`: the rating in force
// in the game's month, from the rating history, in place of the database's
// current rating; and the report's account of the lists used.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "ratings/ratinghistory.h"

struct NameRow;
struct TagRun;

// The month of a PGN Date value ("2012.06.15", "2012.06.??"); nullopt when
// its year or month is unknown ("2012.??.??", "????.??.??") or it is no
// date.
std::optional<MonthNumber> MonthOfPgnDate(std::string_view date);

// The rating in force for the player of that FIDE ID in that month, in the
// run's history and kind; 0 none.
uint16_t HistoryRating(const TagRun& run, int32_t fideId, MonthNumber month);
// A note on the lists whose ratings the row's places get, appended to the
// row's note: for each place that gets tags, the list in force at its
// game's month (NamePlace::month). Places of games without a known month
// keep the database's rating.
void ApplyHistory(NameRow& row, const TagRun& run);
