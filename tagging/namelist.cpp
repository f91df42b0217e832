#include "tagging/namelist.h"

#include <algorithm>

#include "host/hostdata.h"
#include "tagging/gametags.h"

namespace {

// string_view compares through char_traits<char>, which orders bytes as
// unsigned char, and a prefix sorts before the longer string: the ordinal
// order the list is kept in.
int Compare(std::string_view a, std::string_view b) { return a.compare(b); }

}  // namespace

NamePosition FindName(const NameList& names, std::string_view name) {
  auto NameAt = [&](int32_t i) -> std::string_view { return names[static_cast<size_t>(i)].name; };
  auto n = static_cast<int32_t>(names.size());
  if (n == 0) return {false, 0};
  if (int c = Compare(name, NameAt(0)); c <= 0) return {c == 0, 0};
  if (int c = Compare(name, NameAt(n - 1)); c >= 0)
    return c == 0 ? NamePosition{true, n - 1} : NamePosition{false, n};
  // Here entry lo < name < entry hi.
  int32_t lo = 0, hi = n - 1;
  while (lo < hi - 1) {
    int32_t mid = (lo + hi) / 2;
    int c = Compare(name, NameAt(mid));
    if (c == 0) return {true, mid};
    if (c < 0)
      hi = mid;
    else
      lo = mid;
  }
  return {false, hi};
}

void AddOccurrence(NameList& names, std::string_view name, Side side, int32_t game, const PlayerFacts& info) {
  NamePosition at = FindName(names, name);
  if (at.found) {
    NameEntry& entry = names[static_cast<size_t>(at.position)];
    if (static_cast<int32_t>(entry.places.size()) >= entry.capacity) {
      entry.capacity += kPlaceBlock;
      entry.places.reserve(static_cast<size_t>(entry.capacity));
    }
    entry.places.push_back(NamePlace{game, side, info});
    return;
  }
  NameEntry entry;
  entry.name = std::string(name);
  entry.capacity = kPlaceBlock;
  entry.places.reserve(kPlaceBlock);
  entry.places.push_back(NamePlace{game, side, info});
  names.insert(names.begin() + at.position, std::move(entry));
}

NameList CollectPlayerNames() {
  auto count = static_cast<int32_t>(GameList().size());
  struct Named {
    std::string name;
    NamePlace place;
  };
  std::vector<Named> places;
  places.reserve(static_cast<size_t>(count) * 2);
  for (int32_t g = 0; g < count; ++g) {
    for (Side side : {Side::kWhite, Side::kBlack}) {
      GamePlayer player = ReadRecordTags(g, side);
      if (player.name.starts_with("Anonymous")) continue;
      places.push_back({std::move(player.name), NamePlace{g, side, player}});
    }
  }
  // Added in name order, each new name lands at the end of the list instead
  // of shifting the entries after it; the stable order keeps every name's
  // places in game order, White before Black. The list is the same as if
  // the places were added game by game.
  std::vector<uint32_t> order(places.size());
  for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](uint32_t a, uint32_t b) { return Compare(places[a].name, places[b].name) < 0; });
  NameList names;
  for (uint32_t i : order) {
    const Named& p = places[i];
    AddOccurrence(names, p.name, p.place.side, p.place.game, p.place.player);
  }
  return names;
}
