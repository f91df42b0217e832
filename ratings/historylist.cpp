// A rating list read for the history: its month and kinds, and one rating a
// player.
#include "ratings/historylist.h"

#include <algorithm>
#include <cstring>

#include "ratings/linescan.h"
#include "ratings/listlines.h"
#include "ratings/listsort.h"

namespace {

bool DecideMonth(const ListFormat& format, const std::string& path, const HistoryListChoice& choice,
                 MonthNumber& month, std::string& error) {
  if (format.month) {
    if (choice.month && *choice.month != *format.month) {
      error = path + " is the list of " + MonthText(*format.month) + ", not of " + MonthText(*choice.month);
      return false;
    }
    month = *format.month;
    return true;
  }
  std::optional<MonthNumber> named = choice.month ? choice.month : MonthOfFileName(path);
  if (!named) {
    error = path + " does not say its month: give --month YYYY-MM";
    return false;
  }
  month = *named;
  return true;
}

bool DecideKinds(ListFormat& format, const std::string& path, const HistoryListChoice& choice,
                 std::vector<RatingKind>& kinds, std::string& error) {
  kinds.clear();
  if (format.layout == ListLayout::kCombined) {
    for (RatingKind k : kAllRatingKinds)
      if (!format.rating[static_cast<int>(k)].empty() && (!choice.kind || *choice.kind == k))
        kinds.push_back(k);
    if (kinds.empty()) {
      error = path + " has no " + std::string(KindName(*choice.kind)) + " ratings";
      return false;
    }
    return true;
  }
  std::optional<RatingKind> kind;
  if (format.layout == ListLayout::kBefore2013 || format.layout == ListLayout::kBefore2005) {
    // These lists hold standard ratings only, whatever the file is called.
    if (choice.kind && *choice.kind != RatingKind::kStandard) {
      error = path + " is a standard list: the lists before 2013 hold standard ratings only";
      return false;
    }
    kind = RatingKind::kStandard;
  } else {
    kind = choice.kind ? choice.kind : KindOfFileName(path);
  }
  if (!kind) {
    error = "cannot tell whether " + path + " is a standard, rapid or blitz list: give --kind";
    return false;
  }
  UseSingleKind(format, *kind);
  kinds.push_back(*kind);
  return true;
}

}  // namespace

uint32_t PersonKey(std::string_view name, std::string_view birth) {
  uint32_t hash = 2166136261u;  // FNV-1a
  auto add = [&](char c) { hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u; };
  for (char c : name) add(c);
  add('\0');
  for (char c : birth) add(c);
  return hash;
}

namespace {

// The person keys of the lines of repeated IDs, ordered by ID and, for each,
// in the list's order: a second reading of the list, which only lists that
// repeat an ID need.
std::vector<RepeatedLine> LinesOfRepeated(const OpenedList& opened, const std::vector<int32_t>& repeated) {
  std::vector<RepeatedLine> lines;
  ListPlayer p;
  auto take = [&](std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (ReadListLine(opened.format, line, p) && std::binary_search(repeated.begin(), repeated.end(), p.id))
      lines.push_back({p.id, PersonKey(p.name, p.birth)});
  };
  ScanEnd end = ForEachLine(opened.body, take);
  take(opened.body.substr(end.openLine, end.textEnd - end.openLine));
  std::stable_sort(lines.begin(), lines.end(),
                   [](const RepeatedLine& a, const RepeatedLine& b) { return a.id < b.id; });
  return lines;
}

}  // namespace

bool ReadHistoryList(const std::string& path, const HistoryListChoice& choice, HistoryList& list,
                     std::string& error) {
  list = {};
  auto onHeader = [&](ListFormat& format, std::string& why) {
    return DecideMonth(format, path, choice, list.month, why) &&
           DecideKinds(format, path, choice, list.kinds, why);
  };
  OpenedList opened;
  ListLineParts parts;
  if (!OpenRatingList(path, onHeader, opened, error) || !ReadListLines(opened, parts, error)) {
    list = {};
    return false;
  }
  SortedLines sorted = SortListLines(std::move(parts), list.kinds);
  list.ratings = std::move(sorted.ratings);
  const std::vector<int32_t>& repeated = sorted.repeated;
  if (repeated.empty()) return true;
  std::vector<RepeatedLine> lines = LinesOfRepeated(opened, repeated);
  for (RatingKind k : list.kinds) {
    if (!SettleRepeatedIds(list.ratings[static_cast<int>(k)], lines)) {
      error = path + " changed while it was read";
      list = {};
      return false;
    }
  }
  return true;
}

std::vector<int32_t> SortById(std::vector<ListRating>& players) {
  ListLineParts lines(1);
  for (const ListRating& p : players) lines[0].push_back({p.id, {p.rating, 0, 0}});
  SortedLines sorted = SortListLines(std::move(lines), std::array{RatingKind::kStandard});
  players = std::move(sorted.ratings[0]);
  return sorted.repeated;
}

bool SettleRepeatedIds(std::vector<ListRating>& players, std::span<const RepeatedLine> lines) {
  size_t kept = 0, line = 0;
  for (size_t i = 0; i < players.size();) {
    size_t j = i + 1;
    while (j < players.size() && players[j].id == players[i].id) ++j;
    ListRating p = players[j - 1];
    if (j - i > 1) {
      // The lines of this ID: as many as its players, all of one person or not.
      bool samePerson = true;
      for (size_t k = i; k < j; ++k, ++line) {
        if (line == lines.size() || lines[line].id != p.id) return false;
        samePerson = samePerson && lines[line].person == lines[line - (k - i)].person;
      }
      if (!samePerson) p.rating = 0;
    }
    players[kept++] = p;
    i = j;
  }
  players.resize(kept);
  return line == lines.size();
}
