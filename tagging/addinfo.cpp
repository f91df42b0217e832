// The commands that add information about the current game's players, and
// the player choice, descriptions and reports they share with the games-site
// commands and the batch run.
#include <string>
#include <vector>

#include "tagging/commands.h"
#include "host/paths.h"
#include "base/guard.h"
#include "host/hostdata.h"
#include "host/hostmessage.h"
#include "host/hostservices.h"
#include "tagging/messages.h"
#include "tagging/player_struct.h"
#include "windows/searchwindow.h"

namespace {

std::wstring Wide(std::string_view text) { return AnsiToWide(text); }

int32_t AskUser(const GamePlayer& info, std::span<const SearchHit> hits, bool offerExtended) {
  std::vector<CandidateLine> lines = CandidateLines(hits);
  std::wstring title = SearchWindowTitle(info);
  CentreOnMouse();
  return ChoosePlayer(MainWindowHandle(), lines, title, offerExtended, false);
}

// Adds what the database knows about one side of the current game. With
// `text` nil the outcome is shown at once; otherwise it goes into *text
// (the both-players report), an empty text when the user chose nobody.
void AddSide(Side side, std::wstring* text) {
  int32_t position = CurrentGame();
  GamePlayer info;
  ReadGameTags(position, side, info);
  if (IsAnonymousName(info.name)) {
    if (text)
      *text = side == White ? msg::WhiteNameNotSet : msg::BlackNameNotSet;
    else
      ShowMessage(msg::CantAddAnything, msg::NoPlayerName, 1);
    return;
  }
  EnsurePlayersLoaded();
  int32_t game = GameAtPosition(position);
  if (info.fideId != 0) {
    Player record;
    if (FindById(info.fideId, record)) {
      AddedTags added = WritePlayerTags(game, side, record, info);
      if (text)
        *text = ReportSideText(info, record, added);
      else
        ReportOneSide(info, record, added);
    } else if (text) {
      *text = (side == White ? msg::WhiteNoPlayerWithIdOf : msg::BlackNoPlayerWithIdOf) +
              Wide(info.name) + msg::IsFoundInFideDatabase;
    } else {
      ShowMessage(msg::CantAddAnything,
                  msg::NoPlayerWithIdOf + Wide(info.name) + msg::IsFoundInFideDatabase, 1);
    }
    return;
  }
  SearchChoice choice;
  if (!SelectPlayer(info, choice)) return;
  AddedTags added = WriteFideTag(info, choice.index, game, side);
  const Player& record = PlayerList()[static_cast<size_t>(choice.index)];
  if (text)
    *text = ReportSideText(info, record, added);
  else
    ReportOneSide(info, record, added);
}

}  // namespace

std::vector<CandidateLine> CandidateLines(std::span<const SearchHit> hits) {
  std::vector<CandidateLine> lines;
  auto players = PlayerList();
  for (const SearchHit& hit : hits) {
    auto i = static_cast<size_t>(hit.index);
    lines.push_back({Wide(DescribePlayer(hit.index)), i < players.size() ? players[i].fideId : 0});
  }
  return lines;
}

std::wstring SearchWindowTitle(const GamePlayer& info) {
  return msg::SearchFideFor + Wide(DescribeGamePlayer(info));
}

bool SelectPlayer(const GamePlayer& info, SearchChoice& candidate) {
  std::vector<SearchHit> hits = WordSearch(info.name);
  if (hits.empty()) {
    ShowMessage(msg::CantAddAnything,
                msg::CantFindPlayerFor + Wide(info.name) + msg::InFideDatabase, 1);
    return false;
  }
  if (IsClearCut(hits)) {
    candidate = {hits[0].index, hits[0].score};
    return true;
  }
  auto n = static_cast<int32_t>(hits.size());
  int32_t r = AskUser(info, hits, true);
  if (r == n) {  // the user asked for the tolerant search
    hits = RankedSearch(info.name, kExtendedSearchLimit);
    n = static_cast<int32_t>(hits.size());
    r = AskUser(info, hits, false);
  }
  if (r < 0 || r >= n) return false;  // Escape, Skip
  candidate = {hits[static_cast<size_t>(r)].index, hits[static_cast<size_t>(r)].score};
  return true;
}

std::wstring ReportSideText(const GamePlayer& info, const Player& R, const AddedTags& added) {
  if (!added.Any()) return msg::InformationAbout + Wide(info.name) + msg::AlreadyWritten;
  std::wstring text = msg::FollowingAdded + Wide(info.name) + msg::ReportHeadEnd;
  if (added.fideId) text += msg::FideIdLine + Wide(DecimalText(static_cast<uint32_t>(R.fideId)));
  if (added.title) text += msg::TitleLine + Wide(TitleText(R.title));
  if (added.elo) text += msg::EloLine + Wide(DecimalText(R.rating));
  if (added.sex) text += std::wstring(msg::SexLine) + (R.sex == Sex::Male ? L"M" : L"F");
  if (added.country) text += msg::CountryLine + Wide(FederationCode(R.federation));
  GameHeaderChanged();
  return text;
}

void ReportOneSide(const GamePlayer& info, const Player& record, const AddedTags& added) {
  ShowMessage(msg::InformationAdded, ReportSideText(info, record, added), 0);
}

void __stdcall AddWhiteCommand() {
  Guarded([] { AddSide(White, nullptr); });
}

void __stdcall AddBlackCommand() {
  Guarded([] { AddSide(Black, nullptr); });
}

void __stdcall AddBothCommand() {
  Guarded([] {
    std::wstring white, black;
    AddSide(White, &white);
    AddSide(Black, &black);
    // Both parts empty: nobody was found (already said) or chosen, so
    // nothing was added and there is nothing to report.
    if (white.empty() && black.empty()) return;
    ShowMessage(msg::InformationAdded, white + L"\r\n" + black, 0);
  });
}
