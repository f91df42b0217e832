#include "tagging/askplayer.h"

#include "host/hostdata.h"
#include "host/hostmessage.h"
#include "host/hostservices.h"
#include "host/paths.h"
#include "tagging/messages.h"

namespace {

SearchAnswer Ask(const PlayerDatabase& db, const Asking& how, const GamePlayer& prompted,
                 std::span<const SearchHit> hits, bool offerExtended) {
  std::vector<CandidateLine> lines = CandidateLines(db, hits);
  std::wstring title = SearchWindowTitle(prompted);
  if (how.centreOnMouse) CentreOnMouse();
  return ChoosePlayer(MainWindowHandle(), lines, title, offerExtended, how.offerCancel);
}

}  // namespace

PlayerChoice AskForPlayer(const PlayerDatabase& db, const Asking& how, const GamePlayer& prompted,
                          std::vector<SearchHit> hits, std::span<const int32_t> known) {
  using enum SearchAnswer::Kind;
  SearchAnswer answer = Ask(db, how, prompted, hits, true);
  if (answer.kind == kExtendedSearch) {
    hits = ExtendedStepSearch(db, prompted.name, known);
    answer = Ask(db, how, prompted, hits, false);
  }
  switch (answer.kind) {
    case kPlayer: return {PlayerChoice::Kind::kChosen, hits[answer.row]};
    case kCancel: return {PlayerChoice::Kind::kCancelled};
    case kExtendedSearch:  // not offered the second time
    case kSkip: break;
  }
  return {PlayerChoice::Kind::kSkipped};
}

std::optional<SearchHit> SelectPlayer(const PlayerDatabase& db, const GamePlayer& info) {
  std::vector<SearchHit> hits = WordSearch(db, info.name);
  if (hits.empty()) {
    ShowMessage(msg::CantAddAnything, msg::CantFindPlayerFor + AnsiToWide(info.name) + msg::InFideDatabase,
                1);
    return std::nullopt;
  }
  if (IsClearCut(hits)) return hits[0];
  PlayerChoice choice = AskForPlayer(db, {.centreOnMouse = true}, info, std::move(hits), {});
  if (choice.kind != PlayerChoice::Kind::kChosen) return std::nullopt;
  return choice.hit;
}

std::vector<CandidateLine> CandidateLines(const PlayerDatabase& db, std::span<const SearchHit> hits) {
  std::vector<CandidateLine> lines;
  std::span<const Player> players = db.Players();
  for (const SearchHit& hit : hits) {
    auto i = static_cast<size_t>(hit.index);
    lines.push_back({AnsiToWide(DescribePlayer(db, hit.index)), i < players.size() ? players[i].fideId : 0});
  }
  return lines;
}

std::wstring SearchWindowTitle(const GamePlayer& info) {
  return msg::SearchFideFor + AnsiToWide(DescribeGamePlayer(info));
}
