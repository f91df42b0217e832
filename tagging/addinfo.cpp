#include "tagging/addinfo.h"

#include <string>
#include <vector>

#include "base/guard.h"
#include "host/hostdata.h"
#include "host/hostmessage.h"
#include "host/hostservices.h"
#include "host/paths.h"
#include "host/plugindatabase.h"
#include "tagging/askplayer.h"
#include "tagging/gametags.h"
#include "tagging/messages.h"

namespace {

std::wstring Wide(std::string_view text) { return AnsiToWide(text); }

// The report of what a write added about one side (and tells the host the
// header changed), or that the game already had it all.
std::wstring ReportSideText(const GamePlayer& info, const Player& record, const AddedTags& added) {
  if (!added.Any()) return msg::InformationAbout + Wide(info.name) + msg::AlreadyWritten;
  std::wstring text = msg::FollowingAdded + Wide(info.name) + msg::ReportHeadEnd;
  if (added.fideId) text += msg::FideIdLine + Wide(DecimalText(static_cast<uint32_t>(record.fideId)));
  if (added.title) text += msg::TitleLine + Wide(TitleText(record.title));
  if (added.elo) text += msg::EloLine + Wide(DecimalText(record.rating));
  if (added.sex) text += std::wstring(msg::SexLine) + (record.sex == Sex::kMale ? L"M" : L"F");
  if (added.country) text += msg::CountryLine + Wide(FederationCode(record.federation));
  GameHeaderChanged();
  return text;
}

void ReportOneSide(const GamePlayer& info, const Player& record, const AddedTags& added) {
  ShowMessage(msg::InformationAdded, ReportSideText(info, record, added), 0);
}

// Adds what the database knows about one side of the current game. With
// `text` nil the outcome is shown at once; otherwise it goes into *text
// (the both-players report), an empty text when the user chose nobody.
void AddSide(Side side, std::wstring* text) {
  int32_t position = CurrentGame();
  GamePlayer info = ReadGameTags(position, side);
  if (IsAnonymousName(info.name)) {
    if (text)
      *text = side == Side::kWhite ? msg::WhiteNameNotSet : msg::BlackNameNotSet;
    else
      ShowMessage(msg::CantAddAnything, msg::NoPlayerName, 1);
    return;
  }
  const PlayerDatabase& db = PluginDatabase();
  int32_t game = GameAtPosition(position);
  if (info.fideId != 0) {
    Player record;
    if (FindById(db, info.fideId, record)) {
      AddedTags added = WritePlayerTags(game, side, record, info);
      if (text)
        *text = ReportSideText(info, record, added);
      else
        ReportOneSide(info, record, added);
    } else if (text) {
      *text = (side == Side::kWhite ? msg::WhiteNoPlayerWithIdOf : msg::BlackNoPlayerWithIdOf) +
              Wide(info.name) + msg::IsFoundInFideDatabase;
    } else {
      ShowMessage(msg::CantAddAnything, msg::NoPlayerWithIdOf + Wide(info.name) + msg::IsFoundInFideDatabase,
                  1);
    }
    return;
  }
  std::optional<SearchHit> chosen = SelectPlayer(db, info);
  if (!chosen) return;
  AddedTags added = WriteFideTag(db, info, chosen->index, game, side);
  const Player& record = db.Players()[static_cast<size_t>(chosen->index)];
  if (text)
    *text = ReportSideText(info, record, added);
  else
    ReportOneSide(info, record, added);
}

}  // namespace

void __stdcall AddWhiteCommand() {
  Guarded([] { AddSide(Side::kWhite, nullptr); });
}

void __stdcall AddBlackCommand() {
  Guarded([] { AddSide(Side::kBlack, nullptr); });
}

void __stdcall AddBothCommand() {
  Guarded([] {
    std::wstring white, black;
    AddSide(Side::kWhite, &white);
    AddSide(Side::kBlack, &black);
    // Both parts empty: nobody was found (already said) or chosen, so
    // nothing was added and there is nothing to report.
    if (white.empty() && black.empty()) return;
    ShowMessage(msg::InformationAdded, white + L"\r\n" + black, 0);
  });
}
