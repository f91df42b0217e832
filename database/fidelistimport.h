// fidelistimport: FIDE's rating list (the combined text layout) read into
// PlayerList, and the rating order players.dat keeps.
#pragma once

#include <string>

// Parses a FIDE list text file (combined layout) into PlayerList in file
// order. Returns false, leaving PlayerList as it was, when the file cannot
// be opened or read.
bool ImportFideList(const std::string& path);
// Orders PlayerList by rating, highest first, stable among equal ratings.
void SortByRating();
