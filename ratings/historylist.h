// historylist: a rating list file read for the rating history: the month it
// is of, the kinds it gives and one line per player, by the rules that
// decide them from the list, its file name and the user's choices.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ratings/ratinghistory.h"
#include "ratings/ratinglist.h"

// What the user says of a list (`--month`, `--kind`).
struct HistoryListChoice {
  std::optional<MonthNumber> month;
  std::optional<RatingKind> kind;
};

struct HistoryList {
  MonthNumber month = 0;
  std::vector<RatingKind> kinds;  // the kinds it gives, in kind order
  // Of each kind it gives, its players as AddList takes them: ascending IDs,
  // one each, 0 for unrated.
  std::array<std::vector<ListRating>, kRatingKinds> ratings;
};

// Reads the list at path. The month is the header's (a --month that
// differs is an error), else --month, else the month the file name begins
// with (JAN01FRL.TXT). The kinds: a combined list gives all three (or the
// one --kind names); a single list the one --kind or its file name's prefix
// names; a list of the format before 2013 or of 2001 to 2004 holds standard
// ratings only, whatever its file name (another --kind is an error). False
// with a one-line message when the list cannot be read or taken.
bool ReadHistoryList(const std::string& path, const HistoryListChoice& choice, HistoryList& list,
                     std::string& error);

// A line of an ID that the list names more than once, and the key of the
// person it names (name and birth date), which tells two people under one
// ID apart.
struct RepeatedLine {
  int32_t id;
  uint32_t person;
};
uint32_t PersonKey(std::string_view name, std::string_view birth);

// Orders players by ID, keeping the list's order among equal IDs, and
// returns the IDs listed more than once, ascending.
std::vector<int32_t> SortById(std::vector<ListRating>& players);

// Leaves one player per ID of players that SortById ordered; `lines` are the
// lines of the repeated IDs, ordered by ID and, for each, in the list's
// order. An ID listed twice (as in FIDE's lists of October 2002 and July
// 2003) keeps the rating of its later line when every line names the same
// person (the same name and birth date: the list re-rated him, and the later
// line is the one that counts the games of the period); when the lines name
// different people (the same name, different birth dates), the ID is unrated
// in that list, since nothing says which of them the ID belongs to. False
// when `lines` does not hold the repeated IDs' lines (a file that changed
// between two readings).
bool SettleRepeatedIds(std::vector<ListRating>& players, std::span<const RepeatedLine> lines);
