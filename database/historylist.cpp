// A rating list read for the history: its month and kinds, and one rating a
// player.
#include "database/historylist.h"

#include <algorithm>
#include <cstring>

#include "database/stdfile.h"

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

bool ReadHistoryList(const std::string& path, const HistoryListChoice& choice, HistoryList& list,
                     std::string& error) {
  list = {};
  int64_t size = SizeOfFile(path);
  auto onHeader = [&](ListFormat& format, std::string& why) {
    if (!DecideMonth(format, path, choice, list.month, why) ||
        !DecideKinds(format, path, choice, list.kinds, why))
      return false;
    // Lines are 75 bytes and more in every layout.
    for (RatingKind k : list.kinds)
      list.ratings[static_cast<int>(k)].reserve(size > 0 ? static_cast<size_t>(size) / 70 + 16 : 0);
    return true;
  };
  auto onPlayer = [&](const ListPlayer& p) {
    for (RatingKind k : list.kinds)
      list.ratings[static_cast<int>(k)].push_back({p.id, p.rating[static_cast<int>(k)]});
  };
  bool read = ReadRatingList(path, onHeader, onPlayer, error);
  std::vector<int32_t> repeated;
  for (RatingKind k : list.kinds)
    if (read) repeated = SortById(list.ratings[static_cast<int>(k)]);
  // Whom the lines of a repeated ID name is read only for the few lists that
  // repeat one, in a second reading.
  std::vector<RepeatedLine> lines;
  if (read && !repeated.empty()) {
    auto onLine = [&](const ListPlayer& p) {
      if (std::binary_search(repeated.begin(), repeated.end(), p.id))
        lines.push_back({p.id, PersonKey(p.name, p.birth)});
    };
    read = ReadRatingList(
        path, [](ListFormat&, std::string&) { return true; }, onLine, error);
    std::stable_sort(lines.begin(), lines.end(),
                     [](const RepeatedLine& a, const RepeatedLine& b) { return a.id < b.id; });
  }
  for (RatingKind k : list.kinds) {
    if (read && !SettleRepeatedIds(list.ratings[static_cast<int>(k)], lines)) {
      error = path + " changed while it was read";
      read = false;
    }
  }
  if (!read) list = {};
  return read;
}

std::vector<int32_t> SortById(std::vector<ListRating>& players) {
  // A stable radix sort on the 31-bit ID, 16 bits a pass.
  std::vector<ListRating> other(players.size());
  std::vector<uint32_t> low(65537, 0), high(65537, 0);  // both passes counted at once
  for (const ListRating& p : players) {
    ++low[(static_cast<uint32_t>(p.id) & 0xFFFF) + 1];
    ++high[(static_cast<uint32_t>(p.id) >> 16) + 1];
  }
  for (auto* next : {&low, &high}) {
    for (size_t b = 1; b < next->size(); ++b) (*next)[b] += (*next)[b - 1];
    const int shift = next == &low ? 0 : 16;
    for (const ListRating& p : players) other[(*next)[(static_cast<uint32_t>(p.id) >> shift) & 0xFFFF]++] = p;
    players.swap(other);
  }
  std::vector<int32_t> repeated;
  for (size_t i = 1; i < players.size(); ++i)
    if (players[i].id == players[i - 1].id && (repeated.empty() || repeated.back() != players[i].id))
      repeated.push_back(players[i].id);
  return repeated;
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
