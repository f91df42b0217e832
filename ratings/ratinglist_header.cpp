// The header line of a rating list: which layout it is, where each field
// stands, and the list's month; and the names of kinds and months.
#include <cctype>
#include <cstdio>
#include <vector>

#include "ratings/ratinglist.h"

namespace {

constexpr std::string_view kKindNames[kRatingKinds] = {"standard", "rapid", "blitz"};
constexpr std::string_view kMonthNames[12] = {"jan", "feb", "mar", "apr", "may", "jun",
                                              "jul", "aug", "sep", "oct", "nov", "dec"};

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct Word {
  size_t start;
  std::string_view text;
};

// The header's words: runs of bytes other than blanks and tabs.
std::vector<Word> WordsOf(std::string_view header) {
  std::vector<Word> words;
  size_t i = 0;
  while (i < header.size()) {
    while (i < header.size() && (header[i] == ' ' || header[i] == '\t')) ++i;
    size_t start = i;
    while (i < header.size() && header[i] != ' ' && header[i] != '\t') ++i;
    if (i > start) words.push_back({start, header.substr(start, i - start)});
  }
  return words;
}

}  // namespace

std::string_view KindName(RatingKind kind) { return kKindNames[static_cast<int>(kind)]; }

std::optional<RatingKind> KindByName(std::string_view name) {
  for (RatingKind kind : kAllRatingKinds)
    if (name == KindName(kind)) return kind;
  return std::nullopt;
}

MonthNumber MakeMonth(int year, int month) { return year * 12 + (month - 1); }
int YearOf(MonthNumber m) { return m / 12; }
int MonthOf(MonthNumber m) { return m % 12 + 1; }

std::optional<MonthNumber> ParseMonth(std::string_view text) {
  if (text.size() != 7 || text[4] != '-') return std::nullopt;
  for (size_t i : {0, 1, 2, 3, 5, 6})
    if (!IsDigit(text[i])) return std::nullopt;
  int year = (text[0] - '0') * 1000 + (text[1] - '0') * 100 + (text[2] - '0') * 10 + (text[3] - '0');
  int month = (text[5] - '0') * 10 + (text[6] - '0');
  if (year < 1900 || year > 2999 || month < 1 || month > 12) return std::nullopt;
  return MakeMonth(year, month);
}

std::string MonthText(MonthNumber m) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d", YearOf(m), MonthOf(m));
  return text;
}

std::optional<MonthNumber> MonthOfToken(std::string_view token) {
  if (token.size() != 5 || !IsDigit(token[3]) || !IsDigit(token[4])) return std::nullopt;
  for (int m = 0; m < 12; ++m) {
    if (!SameLetters(token.substr(0, 3), kMonthNames[m])) continue;
    int yy = (token[3] - '0') * 10 + (token[4] - '0');
    return MakeMonth(yy >= 70 ? 1900 + yy : 2000 + yy, m + 1);
  }
  return std::nullopt;
}

namespace {

// A header of 2001 to 2004: "  ID_NUMBER NAME ... TITLE COUNTRY JAN01 GAMES
// BIRTHDAY FLAG" or "   CODE   NAME ...". Its words do not stand over their
// data, so only the month and whether a birth date is listed are taken from
// it; the columns come from the first player line.
std::optional<ListFormat> HeaderBefore2005(const std::vector<Word>& words, std::string& why) {
  ListFormat format;
  format.layout = ListLayout::kBefore2005;
  format.columnsPending = true;
  format.birthNamed = false;
  bool haveName = false;
  for (size_t w = 1; w < words.size(); ++w) {
    std::string_view text = words[w].text;
    if (SameLetters(text, "NAME")) {
      haveName = true;
    } else if (SameLetters(text, "BIRTHDAY")) {
      format.birthNamed = true;
    } else if (std::optional<MonthNumber> month = MonthOfToken(text)) {
      if (format.month) {
        why = "its header names two months";
        return std::nullopt;
      }
      format.month = month;
    }
  }
  if (!haveName) {
    why = "its header has no \"NAME\" column";
    return std::nullopt;
  }
  return format;
}

}  // namespace

std::optional<ListFormat> RecognizeHeader(std::string_view header, std::string& why) {
  std::vector<Word> words = WordsOf(header);
  if (!words.empty() && (SameLetters(words[0].text, "ID_NUMBER") || SameLetters(words[0].text, "CODE")))
    return HeaderBefore2005(words, why);
  // "ID Number" (or "ID number") is one field's name: its second word is no
  // field of its own.
  if (words.empty() || words[0].start != 0 || !SameLetters(words[0].text, "ID")) {
    why =
        "its first line is neither FIDE's header (\"ID Number\", \"ID_NUMBER\" or \"CODE\" ...) nor a player "
        "line of FIDE's lists of 2001 to 2004";
    return std::nullopt;
  }
  if (words.size() > 1 && SameLetters(words[1].text, "Number")) words.erase(words.begin() + 1);

  // A field runs from its name's first column to the next name's; the last
  // to the end of the line.
  auto spanOf = [&](size_t w) {
    size_t end = w + 1 < words.size() ? words[w + 1].start : std::string_view::npos;
    return ColumnSpan{words[w].start, end};
  };

  ListFormat format;
  format.id = spanOf(0);
  bool combined = false, old = false, haveName = false;
  std::optional<size_t> monthWord;
  constexpr std::string_view kCombinedNames[kRatingKinds] = {"SRtng", "RRtng", "BRtng"};
  for (size_t w = 1; w < words.size(); ++w) {
    std::string_view text = words[w].text;
    if (SameLetters(text, "Name")) {
      format.name = spanOf(w);
      haveName = true;
    } else if (SameLetters(text, "TitlFed") || SameLetters(text, "Titl")) {
      old = true;
    } else if (SameLetters(text, "Fed")) {
      format.federation = spanOf(w);
    } else if (SameLetters(text, "Sex")) {
      format.sex = spanOf(w);
    } else if (SameLetters(text, "Tit")) {
      format.title = spanOf(w);
    } else if (SameLetters(text, "B-day") || SameLetters(text, "Born")) {
      format.birth = spanOf(w);
    } else if (SameLetters(text, "GamesBorn")) {
      // The format before 2013 runs two names together: the year stands
      // under "Born".
      format.birth = spanOf(w);
      format.birth.begin += 5;
    } else if (MonthOfToken(text)) {
      if (monthWord) {
        why = "its header names two months";
        return std::nullopt;
      }
      monthWord = w;
    } else {
      for (int k = 0; k < kRatingKinds; ++k) {
        if (!SameLetters(text, kCombinedNames[k])) continue;
        format.rating[k] = spanOf(w);
        combined = true;
      }
    }
  }
  if (!haveName) {
    why = "its header has no \"Name\" column";
    return std::nullopt;
  }
  if (combined == monthWord.has_value()) {
    why = combined ? "its header has both a month and SRtng/RRtng/BRtng columns"
                   : "its header names no rating column (SRtng, RRtng, BRtng or a month such as Mar11)";
    return std::nullopt;
  }
  if (combined) {
    format.layout = ListLayout::kCombined;
  } else {
    format.layout = old ? ListLayout::kBefore2013 : ListLayout::kSingle;
    format.rating[static_cast<int>(RatingKind::kStandard)] = spanOf(*monthWord);
    format.month = MonthOfToken(words[*monthWord].text);
  }
  return format;
}

void UseSingleKind(ListFormat& format, RatingKind kind) {
  if (format.layout == ListLayout::kCombined) return;
  ColumnSpan column = format.rating[static_cast<int>(RatingKind::kStandard)];
  format.rating = {};
  format.rating[static_cast<int>(kind)] = column;
}

namespace {

std::string_view FileNameOf(std::string_view path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::optional<MonthNumber> MonthOfFileName(std::string_view path) {
  std::string_view name = FileNameOf(path);
  if (name.size() < 5 || (name.size() > 5 && IsDigit(name[5]))) return std::nullopt;
  return MonthOfToken(name.substr(0, 5));
}

std::optional<RatingKind> KindOfFileName(std::string_view path) {
  std::string_view name = FileNameOf(path);
  for (RatingKind kind : kAllRatingKinds) {
    std::string_view k = KindName(kind);
    if (name.size() > k.size() && SameLetters(name.substr(0, k.size()), k) && name[k.size()] == '_')
      return kind;
  }
  return std::nullopt;
}
