// fidelistimport: FIDE's rating list read into players, and imported as a
// database in the rating order players.dat keeps.
#pragma once

#include <optional>
#include <string>

#include "players/playerdatabase.h"
#include "players/playerstore.h"

// Parses FIDE's combined list (players_list_foa.txt, and the older combined
// list without FOA), or its single standard list (standard_mar26frl.txt,
// today's or the layout of 2012, whose file name must say its kind), into
// its players in file order; the standard rating is the Elo. Nothing when
// the file cannot be read, is any other list or text (a rapid or blitz
// list, the XML list, an older format), lists no players, or ends in the
// middle of a line; `error` then says why in one line.
std::optional<PlayerStore> ReadFideList(const std::string& path, std::string& error);
// The same players ordered by rating, highest first, stable among equal
// ratings.
std::optional<PlayerDatabase> ImportFideList(const std::string& path, std::string& error, Indexing indexing);
