#include "tools/tag_history.h"

#include <map>
#include <string>

namespace {

bool Digits(std::string_view text) {
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return !text.empty();
}

std::string Games(int n) { return std::to_string(n) + (n == 1 ? " game" : " games"); }

}  // namespace

std::optional<MonthNumber> MonthOfPgnDate(std::string_view date) {
  if (date.size() < 7 || date[4] != '.' || !Digits(date.substr(0, 4)) || !Digits(date.substr(5, 2)))
    return std::nullopt;
  if (date.size() > 7 && date[7] != '.') return std::nullopt;
  int year = (date[0] - '0') * 1000 + (date[1] - '0') * 100 + (date[2] - '0') * 10 + (date[3] - '0');
  int month = (date[5] - '0') * 10 + (date[6] - '0');
  if (month < 1 || month > 12) return std::nullopt;
  return MakeMonth(year, month);
}

uint16_t HistoryRating(const KindHistory& kind, int32_t fideId, MonthNumber month) {
  std::optional<RatingInForce> r = RatingAt(kind, fideId, month);
  return r ? r->rating : 0;
}

std::string HistoryNote(std::span<const NamePlace> places, int32_t chosen, uint32_t leftOut,
                        const HistoryLists& lists) {
  std::map<MonthNumber, int> used;  // list month -> places
  int none = 0, undated = 0;
  for (const NamePlace& place : places) {
    // The place's player: its own FIDE ID's, else the one the name got.
    Player player;
    int32_t index = chosen;
    if (place.player.fideId != 0 && !FindByIdAt(lists.database, place.player.fideId, player, index)) continue;
    if (index < 0) continue;
    if (place.player.month < 0) {
      ++undated;
      continue;
    }
    int32_t id = lists.database.Players()[static_cast<size_t>(index)].fideId;
    std::optional<RatingInForce> r = RatingAt(lists.kind, id, place.player.month);
    if (r && r->rating > 0)
      ++used[r->month];
    else
      ++none;
  }
  // The places left out said nothing, the month neither, and get the name's player.
  if (chosen >= 0) undated += static_cast<int>(leftOut);
  if (used.empty() && none == 0 && undated == 0) return {};
  std::string note = std::string("Elo of ") + std::string(KindName(lists.kindName)) + " lists";
  if (used.empty()) note += ": none";
  const char* separator = ": ";
  for (auto [month, n] : used) {
    note += separator + MonthText(month) + " (" + Games(n) + ")";
    separator = ", ";
  }
  if (none > 0) note += "; no rating in force: " + Games(none);
  if (undated > 0) note += "; without a month, the database's: " + Games(undated);
  return note;
}
