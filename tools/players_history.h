// The rating history verbs of `players`:
//
//   players history add HISTORY.dat LIST.txt [--month YYYY-MM] [--kind standard|rapid|blitz]
//   players history list HISTORY.dat
//   players rating HISTORY.dat ID [--at YYYY-MM-DD] [--kind K]
//
// Each returns the exit code: 0 done, 1 a file could not be read or written
// (or, for `rating`, no rating in force), 2 a usage error.
#pragma once

#include <string>
#include <vector>

extern const char* const kHistoryUsage;

int HistoryCommand(const std::vector<std::string>& args);
int RatingCommand(const std::vector<std::string>& args);
