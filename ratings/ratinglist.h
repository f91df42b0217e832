// ratinglist: FIDE's rating lists in every layout FIDE has published (the
// combined list with and without FOA, the single standard, rapid and blitz
// lists, the format before 2013, the lists of 2001 to 2004), told apart by
// their header line. Each field is read at the columns its header name
// stands over, so a column that a later layout shifted is still found; the
// lists of 2001 to 2004, whose header words do not stand over their data (or
// which have no header), are read at the fixed columns of the one of their
// three column sets that the shape of their first player line shows. Used by
// the rating history and by the import into players.dat.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "files/mappedfile.h"

enum class RatingKind : uint8_t { kStandard, kRapid, kBlitz };
constexpr int kRatingKinds = 3;
constexpr std::array<RatingKind, kRatingKinds> kAllRatingKinds{RatingKind::kStandard, RatingKind::kRapid,
                                                               RatingKind::kBlitz};

// "standard", "rapid", "blitz".
std::string_view KindName(RatingKind kind);
std::optional<RatingKind> KindByName(std::string_view name);

// A calendar month as year * 12 + (month - 1).
using MonthNumber = int32_t;
MonthNumber MakeMonth(int year, int month);
int YearOf(MonthNumber m);
int MonthOf(MonthNumber m);  // 1..12
// "2012-09"; nullopt for anything else (years 1900..2999).
std::optional<MonthNumber> ParseMonth(std::string_view text);
std::string MonthText(MonthNumber m);
// A header's month token: three letters of the month's English name in any
// case and a two-digit year ("Mar11", "sep12", "MAR26"); years 70..99 are
// 1970..1999.
std::optional<MonthNumber> MonthOfToken(std::string_view token);

enum class ListLayout : uint8_t {
  kCombined,    // SRtng, RRtng, BRtng: all three kinds, no month
  kSingle,      // one rating column headed by the list's month
  kBefore2013,  // "ID number Name ... TitlFed  Mar11 GamesBorn": standard
  kBefore2005,  // 2001-2004: "ID_NUMBER NAME ... JAN01", "CODE ...", or no header: standard
};

// Bytes [begin, end) of a line, 0-based; empty when the header lacks it.
struct ColumnSpan {
  size_t begin = 0;
  size_t end = 0;
  bool empty() const { return end <= begin; }
};

struct ListFormat {
  ListLayout layout = ListLayout::kCombined;
  ColumnSpan id;
  ColumnSpan name;
  // The rating column of each kind. A single list's column stands under
  // kStandard until UseSingleKind moves it.
  std::array<ColumnSpan, kRatingKinds> rating;
  // Where the header names them ("Fed", "Sex", "Tit", "B-day"); the lists of
  // 2001 to 2004 give only the birth date.
  ColumnSpan federation, sex, title, birth;
  std::optional<MonthNumber> month;  // from the header's month token
  // A list of 2001 to 2004: its columns are known once FitColumnsBefore2005
  // has seen a player line; whether its header names a birth date.
  bool columnsPending = false;
  bool birthNamed = true;
};

// Recognises a header line (without its line end). On failure returns
// nullopt and says why in `why`.
std::optional<ListFormat> RecognizeHeader(std::string_view header, std::string& why);

// Sets the columns of a list of 2001 to 2004 from the shape of a player line:
// an ID alone in the ID field and the rating's last digit at the column of
// one of the three column sets of those years. False when the line has the
// shape of none.
bool FitColumnsBefore2005(ListFormat& format, std::string_view line);

// Makes a single list's rating column that of `kind`.
void UseSingleKind(ListFormat& format, RatingKind kind);

// The kind a file name's prefix names ("standard_", "rapid_", "blitz_", in
// any case), looked for in the name after the last folder separator.
std::optional<RatingKind> KindOfFileName(std::string_view path);
// The month a file name begins with ("JAN01FRL.TXT", "jul03frl.txt").
std::optional<MonthNumber> MonthOfFileName(std::string_view path);

struct ListPlayer {
  int32_t id = 0;                               // above 0
  std::string_view name;                        // as it stands, blanks around it removed
  std::string_view birth;                       // the birth date or year as it stands, trimmed
  std::array<uint16_t, kRatingKinds> rating{};  // 0: unrated or no such column
};

// Reads a player line (without its line end). False when the line holds no
// ID: a number of up to 10 digits alone in the ID columns, 1..2^31-1. A
// rating is the number alone in its columns, 1..9999; anything else there
// counts as unrated.
bool ReadListLine(const ListFormat& format, std::string_view line, ListPlayer& player);
// The same without the name and birth date.
bool ReadListNumbers(const ListFormat& format, std::string_view line, int32_t& id,
                     std::array<uint16_t, kRatingKinds>& rating);

// Reads the list file at path: its header (the first line that is not blank)
// goes to onHeader, which may adjust the format or refuse it (false, with a
// message in error); then each player line goes to onPlayer (its name views
// a buffer valid during the call). A list of 2001 to 2004 may have no header:
// its first line is then a player line. Lines end with LF or CRLF; a Ctrl-Z
// ends the text. False with a one-line message in error when the file cannot
// be read, is not a rating list, lists no player, or ends in the middle of a
// line: a last line without its line end that stops before the end of a
// rating column (a download that broke off). On false the players passed
// on must be dropped.
bool ReadRatingList(const std::string& path,
                    const std::function<bool(ListFormat& format, std::string& error)>& onHeader,
                    const std::function<void(const ListPlayer& player)>& onPlayer, std::string& error);

// ReadRatingList in steps, for readers of their own: a list file whose
// header onHeader took.
struct OpenedList {
  std::string path;
  MappedFile file;
  ListFormat format;      // as onHeader left it
  size_t ratingsEnd = 0;  // where a whole line reaches with its ratings
  // From the first player line to the end of the file. Its lines that a
  // '\n' ends are player lines (ForEachLine finds them and the Ctrl-Z that
  // may end the text); the bytes after the last go to TakeOpenLine.
  std::string_view body;
};
// Reads the file up to its first player line; false (with the message) as
// ReadRatingList refuses a file that is no list or lists nobody.
bool OpenRatingList(const std::string& path,
                    const std::function<bool(ListFormat& format, std::string& error)>& onHeader,
                    OpenedList& list, std::string& error);
// The text's last line, which no line end follows: false (with the message)
// when it was cut before its ratings; else it is a player line too.
bool TakeOpenLine(const OpenedList& list, std::string_view line, std::string& error);
