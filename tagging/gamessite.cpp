#include "tagging/gamessite.h"

#include <windows.h>
#include <commdlg.h>

#include <cstring>
#include <string>

#include "base/guard.h"
#include "base/ownedhandle.h"
#include "host/gamessiteaddress.h"
#include "host/hostdata.h"
#include "host/hostmessage.h"
#include "host/hostservices.h"
#include "host/paths.h"
#include "host/plugindatabase.h"
#include "host/starthandles.h"
#include "tagging/askplayer.h"
#include "tagging/batch.h"
#include "tagging/gametags.h"
#include "tagging/messages.h"
#include "windows/searchwindow.h"
#include "windows/windowhelpers.h"

std::wstring downloadFileName;

namespace {

// The FIDE ID of a player of the current game: from its tag, or else from
// the database, asking the user when the name is ambiguous. 0 when none.
int32_t EstablishFideId(const GamePlayer& info, const wchar_t* caption) {
  if (IsAnonymousName(info.name)) {
    ShowMessage(caption, msg::NoPlayerName, 1);
    return 0;
  }
  if (info.fideId != 0) return info.fideId;
  const PlayerDatabase& db = PluginDatabase();
  std::optional<SearchHit> chosen = SelectPlayer(db, info);
  if (!chosen) return 0;
  return db.Players()[static_cast<size_t>(chosen->index)].fideId;
}

void OpenPlayerPage(Side side) {
  int32_t id = EstablishFideId(ReadGameTags(CurrentGame(), side), msg::CantOpenWebPage);
  if (id == 0) return;
  OpenWebPage(ownerWindow, PlayerPageUrl(id).c_str());
}

void DownloadPlayerGames(Side side) {
  GamePlayer info = ReadGameTags(CurrentGame(), side);
  int32_t id = EstablishFideId(info, msg::CantDownloadGames);
  if (id == 0) return;
  downloadFileName = SuggestedFileName(info.name);
  StartDownload(PlayerGamesUrl(id).c_str(), downloadTargetId);
}

// Writes all of data to a new file at path; false when it could not.
bool WriteNewFile(const wchar_t* path, const char* data) {
  OwnedHandle file(
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD size = static_cast<DWORD>(std::strlen(data));
  DWORD written = 0;
  return WriteFile(file, data, size, &written, nullptr) && written == size;
}

}  // namespace

std::wstring SuggestedFileName(std::string_view playerName) {
  std::wstring name = AnsiToWide(playerName);
  // The dialog reads a name as a path after a folder separator, after a
  // drive letter's colon ("C:x" is in C's current folder) and after a
  // leading ".." ("..x" is x in the folder above).
  for (wchar_t& c : name)
    if (c == L'\\' || c == L'/' || c == L':') c = L'-';
  for (wchar_t& c : name) {
    if (c != L'.') break;
    c = L'-';
  }
  return name + L".pgn";
}

OPENFILENAMEW SaveGamesDialog(std::span<wchar_t> file, const wchar_t* folder) {
  OPENFILENAMEW dialog = FileDialog(ownerWindow, L"Chess bases pgn\0*.pgn\0", file, folder, L"pgn");
  dialog.Flags = OFN_OVERWRITEPROMPT;
  return dialog;
}

std::string PlayerGamesUrl(int32_t id) {
  return std::string("https://") + kGamesSiteHost +
         "/public/download.jsp?id=" + DecimalText(static_cast<uint32_t>(id));
}

void __stdcall OpenWhitePage() {
  Guarded([] { OpenPlayerPage(Side::kWhite); });
}
void __stdcall OpenBlackPage() {
  Guarded([] { OpenPlayerPage(Side::kBlack); });
}
void __stdcall DownloadWhiteGames() {
  Guarded([] { DownloadPlayerGames(Side::kWhite); });
}
void __stdcall DownloadBlackGames() {
  Guarded([] { DownloadPlayerGames(Side::kBlack); });
}

void __stdcall SaveDownloadedGames(const char* data) {
  Guarded([data] {
    HoldBatchSteps hold;
    wchar_t file[256] = {};
    downloadFileName.copy(file, 255);
    std::wstring folder = ModulePath();
    OPENFILENAMEW dialog = SaveGamesDialog(file, folder.c_str());
    if (!GetSaveFileNameW(&dialog)) return;  // cancelled: the games are dropped
    if (!WriteNewFile(file, data ? data : "")) ShowMessage(msg::GamesNotSaved, msg::SaveProblem, 1);
  });
}
