#include "tools/tag_history.h"

#include <map>
#include <string>

#include "tools/tagrun.h"

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

uint16_t HistoryRating(const TagRun& run, int32_t fideId, MonthNumber month) {
  std::optional<RatingInForce> r = RatingAt((*run.options.history)[run.options.historyKind], fideId, month);
  return r ? r->rating : 0;
}

void ApplyHistory(NameRow& row, const TagRun& run) {
  const KindHistory& kind = (*run.options.history)[run.options.historyKind];
  std::map<MonthNumber, int> used;  // list month -> places
  int none = 0, undated = 0;
  for (const NamePlace& place : row.places) {
    // The place's player: its own FIDE ID's, else the one the name got.
    Player player;
    int32_t index = row.chosen;
    if (place.player.fideId != 0 && !FindByIdAt(*run.database, place.player.fideId, player, index)) continue;
    if (index < 0 || row.result == NameResult::kAnonymous) continue;
    if (place.player.month < 0) {
      ++undated;
      continue;
    }
    int32_t id = run.database->Players()[static_cast<size_t>(index)].fideId;
    std::optional<RatingInForce> r = RatingAt(kind, id, place.player.month);
    if (r && r->rating > 0)
      ++used[r->month];
    else
      ++none;
  }
  // The places left out said nothing, the month neither, and get the name's player.
  if (row.chosen >= 0) undated += static_cast<int>(row.placesLeftOut);
  if (used.empty() && none == 0 && undated == 0) return;
  std::string note = std::string("Elo of ") + std::string(KindName(run.options.historyKind)) + " lists";
  if (used.empty()) note += ": none";
  const char* separator = ": ";
  for (auto [month, n] : used) {
    note += separator + MonthText(month) + " (" + Games(n) + ")";
    separator = ", ";
  }
  if (none > 0) note += "; no rating in force: " + Games(none);
  if (undated > 0) note += "; without a month, the database's: " + Games(undated);
  if (!row.note.empty()) row.note += "; ";
  row.note += note;
}
