// fidegen: realistic FIDE rating lists, deterministic from a seed, for tests
// and benchmarks: the combined layout (162-character CRLF lines under FIDE's
// header) and the other layouts FIDE has published, and series of monthly
// lists in which a share of the ratings changes from month to month.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

enum class ListStyle {
  kCombined,            // players_list_foa.txt: 162 characters, CRLF
  kCombinedWithoutFoa,  // the older combined list: 158 characters, CRLF
  kSingle2012,          // standard_sep12frl.txt: month-headed rating at 110, 132 characters, LF
  kSingle,              // standard_mar26frl.txt: FOA, rating at 114, 136 characters, LF
  kBefore2013,          // "ID number Name ... TitlFed  Mar11 GamesBorn  Flag", CRLF; standard
  // The three column sets of 2001 to 2004, named after the first list of
  // each; standard lists of rated players only (whatever the kind asked), LF:
  kJan01,  // "  ID_NUMBER NAME ...": ID to column 10, rating to 63, birth dd.mm.yy at 72
  kApr01,  // "  ID_NUMBER NAME ...": ID to column 11, rating to 64, birth dd.mm.yyyy at 72
  kOct02,  // "ID_NUMBER NAME ...": ID to column 8, rating to 57, birth dd.mm.yy at 65
};
// "combined", "combined-nofoa", "single-2012", "single", "before-2013",
// "jan01", "apr01", "oct02".
std::optional<ListStyle> ListStyleByName(std::string_view name);
size_t LineLength(ListStyle style);

struct ListOptions {
  ListStyle style = ListStyle::kCombined;
  int kind = 0;                // of a single list: 0 standard, 1 rapid, 2 blitz
  int year = 2012, month = 1;  // the month its header names (single lists, before 2013)
};

// Writes a list of `players` lines after the header (a single list leaves
// out the players unrated in its kind). Returns false when the output could
// not be written.
bool WriteFideList(std::FILE* out, uint64_t seed, int64_t players, const ListOptions& options = {});
bool WriteFideListFile(const std::string& path, uint64_t seed, int64_t players,
                       const ListOptions& options = {});

struct SeriesOptions {
  ListOptions list;  // the first month's list
  int months = 12;
  double changeShare = 0.1;  // of the rated players whose rating changes each month
  int only = -1;             // write only this month (0-based) of the series
};
// A player of a list of a series as written: ID and ratings (0: unrated).
struct SeriesPlayer {
  uint32_t id;
  std::array<uint16_t, 3> rating;
};
using SeriesListFn = std::function<void(const std::string& path, const ListOptions& list,
                                        std::span<const SeriesPlayer> players)>;
// Writes a list a month into folder (made when missing), named as FIDE names them
// (players_list_2012-01.txt for combined lists, which do not say their
// month; rapid_jan12frl.txt; list_jan12.txt; jan02frl.txt), and tells onList what each
// holds. The first month's ratings are those WriteFideList writes.
bool WriteSeries(const std::string& folder, uint64_t seed, int64_t players, const SeriesOptions& series,
                 const SeriesListFn& onList = {});
std::string SeriesFileName(const ListOptions& options);
