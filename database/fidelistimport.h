// fidelistimport: FIDE's rating list read into PlayerList, and the rating
// order players.dat keeps.
#pragma once

#include <string>

// Parses FIDE's combined list (players_list_foa.txt, and the older combined
// list without FOA), or its single standard list (standard_mar26frl.txt,
// today's or the layout of 2012, whose file name must say its kind), into
// PlayerList in file order; the standard rating is the Elo. Returns false,
// leaving PlayerList as it was, when the file cannot be read, is any other
// list or text (a rapid or blitz list, the XML list, an older format), lists
// no players, or ends in the middle of a line; `error` then says why in one
// line.
bool ImportFideList(const std::string& path, std::string& error);
bool ImportFideList(const std::string& path);
// Orders PlayerList by rating, highest first, stable among equal ratings.
void SortByRating();
