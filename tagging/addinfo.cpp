// The commands that add information about the current game's players, and
// the player choice, descriptions and reports they share with the games-site
// commands and the batch run.
#include <string>

#include "host/commands.h"
#include "host/commonfunc.h"
#include "host/guard.h"
#include "host/hostdata.h"
#include "host/hostservices.h"
#include "tagging/messages.h"
#include "tagging/player_struct.h"
#include "windows/plsearchwnd.h"

namespace {

std::wstring Wide(std::string_view text) { return AnsiToWide(text); }

// Stores the mouse position as the point on which message and search
// windows are centred.
void CentreOnMouse() {
  POINT p{};
  GetCursorPos(&p);
  if (auto* x = HostVariableAs<int32_t>(hostabi::kMessageX)) *x = p.x;
  if (auto* y = HostVariableAs<int32_t>(hostabi::kMessageY)) *y = p.y;
}

int32_t AskUser(const tplay_info& info, bool offerExtended) {
  FillCandidateNames();
  std::wstring title = SearchWindowTitle(info);
  CentreOnMouse();
  return ChoosePlayer(MainWindowHandle(), title, offerExtended, false);
}

// Adds what the database knows about one side of the current game. With
// `text` nil the outcome is shown at once; otherwise it goes into *text
// (the both-players report), an empty text when the user chose nobody.
void AddSide(Side side, std::wstring* text) {
  int32_t position = CurrentGame();
  tplay_info info;
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
    fideitem record;
    if (FindById(info.fideId, record)) {
      AddedFlags.fideId = false;
      WritePlayerTags(game, side, record, info);
      if (text)
        *text = ReportSideText(info, record);
      else
        ReportOneSide(info, record);
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
  WriteFideTag(info, choice.index, game, side);
  const fideitem& record = PlayerList()[static_cast<size_t>(choice.index)];
  if (text)
    *text = ReportSideText(info, record);
  else
    ReportOneSide(info, record);
}

}  // namespace

bool IsClearCut(std::span<const tsearchress> results) {
  return results.size() == 1 ||
         (results.size() >= 2 && results[0].score == 1 && results[1].score > 1);
}

void TolerantSearch(const std::string& name, int32_t limit) {
  struct RestoreLimit {
    ~RestoreLimit() { MaxResults = kDefaultMaxResults; }
  } restore;
  MaxResults = limit < 1 ? 1 : limit;
  RankedSearch(name);
}

void FillCandidateNames() {
  candidateNames.clear();
  auto players = PlayerList();
  for (const tsearchress& entry : SearchResults) {
    auto i = static_cast<size_t>(entry.index);
    candidateNames.push_back(
        {Wide(DescribePlayer(entry.index)), i < players.size() ? players[i].fideId : 0});
  }
}

std::wstring SearchWindowTitle(const tplay_info& info) {
  return msg::SearchFideFor + Wide(DescribeGamePlayer(info));
}

bool SelectPlayer(const tplay_info& info, SearchChoice& candidate) {
  WordSearch(info.name);
  if (SearchResults.empty()) {
    ShowMessage(msg::CantAddAnything,
                msg::CantFindPlayerFor + Wide(info.name) + msg::InFideDatabase, 1);
    return false;
  }
  if (IsClearCut(SearchResults)) {
    candidate = {SearchResults[0].index, SearchResults[0].score};
    return true;
  }
  auto n = static_cast<int32_t>(SearchResults.size());
  int32_t r = AskUser(info, true);
  if (r == n) {  // the user asked for the tolerant search
    TolerantSearch(info.name, 20);
    n = static_cast<int32_t>(SearchResults.size());
    r = AskUser(info, false);
  }
  if (r < 0 || r >= n) return false;  // Escape, Skip
  candidate = {SearchResults[static_cast<size_t>(r)].index, SearchResults[static_cast<size_t>(r)].score};
  return true;
}

std::string DescribeGamePlayer(const tplay_info& info) {
  std::string text = info.name;
  if (info.federation != 0) text += " (" + std::string(FederationCode(info.federation)) + ")";
  if (info.title < 6) text += ",  " + std::string(TitleText(info.title));
  if (info.rating != 0) text += ",  " + DecimalText(info.rating) + " ELO";
  return text;
}

std::wstring ReportSideText(const tplay_info& info, const fideitem& R) {
  const TAddedFlags& added = AddedFlags;
  if (!added.Any()) return msg::InformationAbout + Wide(info.name) + msg::AlreadyWritten;
  std::wstring text = msg::FollowingAdded + Wide(info.name) + msg::ReportHeadEnd;
  if (added.fideId) text += msg::FideIdLine + Wide(DecimalText(static_cast<uint32_t>(R.fideId)));
  if (added.title) text += msg::TitleLine + Wide(TitleText(R.title));
  if (added.elo) text += msg::EloLine + Wide(DecimalText(R.rating));
  if (added.sex) text += std::wstring(msg::SexLine) + (R.sex == 0 ? L"M" : L"F");
  if (added.country) text += msg::CountryLine + Wide(FederationCode(R.federation));
  GameHeaderChanged();
  return text;
}

void ReportOneSide(const tplay_info& info, const fideitem& record) {
  ShowMessage(msg::InformationAdded, ReportSideText(info, record), 0);
}

void ShowMessage(const std::wstring& caption, const std::wstring& text, int32_t kind) {
  void* lines = HostVariable(hostabi::kMessageLineList);
  MessageLines(lines, nullptr);
  MessageLines(lines, text.c_str());
  MessageLines(lines, msg::Ok);
  CentreOnMouse();
  ShowHostMessage(MainWindowHandle(), caption.c_str(), kind);
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
