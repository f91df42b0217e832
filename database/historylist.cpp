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
  // Eight bytes at a time, each mixed in by a multiplication: a key read
  // for every line of a list of two million.
  uint64_t hash = 0x9E3779B97F4A7C15ull ^ (name.size() << 8 | birth.size());
  auto mix = [&](std::string_view text) {
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
      uint64_t word;
      std::memcpy(&word, text.data() + i, 8);
      hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
      hash ^= hash >> 32;
    }
    uint64_t tail = 0;
    for (; i < text.size(); ++i) tail = tail << 8 | static_cast<unsigned char>(text[i]);
    hash = (hash ^ tail) * 0xFF51AFD7ED558CCDull;
    hash ^= hash >> 32;
  };
  mix(name);
  mix(birth);
  return static_cast<uint32_t>(hash ^ hash >> 29);
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
    list.entries.reserve(size > 0 ? static_cast<size_t>(size) / 70 + 16 : 0);
    return true;
  };
  auto onPlayer = [&](const ListPlayer& p) {
    list.entries.push_back({p.id, PersonKey(p.name, p.birth), p.rating});
  };
  if (!ReadRatingList(path, onHeader, onPlayer, error)) {
    list = {};
    return false;
  }
  SettleRepeatedIds(list.entries);
  return true;
}

void SettleRepeatedIds(std::vector<HistoryListEntry>& entries) {
  // A stable radix sort on the 31-bit ID, 16 bits a pass: repeated IDs stay
  // in the list's order.
  std::vector<HistoryListEntry> other(entries.size());
  std::vector<uint32_t> low(65537, 0), high(65537, 0);  // both passes counted at once
  for (const HistoryListEntry& e : entries) {
    ++low[(static_cast<uint32_t>(e.id) & 0xFFFF) + 1];
    ++high[(static_cast<uint32_t>(e.id) >> 16) + 1];
  }
  for (auto* next : {&low, &high}) {
    for (size_t b = 1; b < next->size(); ++b) (*next)[b] += (*next)[b - 1];
    const int shift = next == &low ? 0 : 16;
    for (const HistoryListEntry& e : entries)
      other[(*next)[(static_cast<uint32_t>(e.id) >> shift) & 0xFFFF]++] = e;
    entries.swap(other);
  }
  size_t kept = 0;
  for (size_t i = 0; i < entries.size();) {
    size_t j = i + 1;
    bool samePerson = true;
    for (; j < entries.size() && entries[j].id == entries[i].id; ++j)
      samePerson = samePerson && entries[j].person == entries[i].person;
    HistoryListEntry e = entries[j - 1];
    if (!samePerson) e.rating = {};
    entries[kept++] = e;
    i = j;
  }
  entries.resize(kept);
}

std::vector<ListRating> RatingsOf(const HistoryList& list, RatingKind kind) {
  std::vector<ListRating> ratings;
  ratings.reserve(list.entries.size());
  for (const HistoryListEntry& e : list.entries) ratings.push_back({e.id, e.rating[static_cast<int>(kind)]});
  return ratings;
}
