// The Elo of a game's date for `players tag --history`: the rating in force
// in the game's month, from the rating history, in place of the database's
// current rating; and the report's account of the lists used.
#pragma once

#include <optional>
#include <string_view>

#include "database/ratinghistory.h"

struct NameRow;
struct TagRun;

// The month of a PGN Date value ("2012.06.15", "2012.06.??"); nullopt when
// its year or month is unknown ("2012.??.??", "????.??.??") or it is no
// date.
std::optional<MonthNumber> MonthOfPgnDate(std::string_view date);

// For each place of the row that gets tags, the rating in force at its
// game's month (run.historyRating), and a note on the lists used appended to
// the row's note. Places of games without a known month keep the database's
// rating.
void ApplyHistory(NameRow& row, TagRun& run);
