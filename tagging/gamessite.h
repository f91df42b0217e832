// The games site: a player's page in the browser and all of a player's games
// downloaded by the host and saved as a PGN file.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The games-site commands for the current game's players (menu commands),
// and the host's call when a download is complete: the save dialog, then the
// games written to the chosen file.
void __stdcall OpenWhitePage();
void __stdcall OpenBlackPage();
void __stdcall DownloadWhiteGames();
void __stdcall DownloadBlackGames();
void __stdcall SaveDownloadedGames(const char* data);

// The address of all of a player's games for download.
std::string PlayerGamesUrl(int32_t id);

// The suggested file name for the next completed download. It lives for the
// process because the host calls SaveDownloadedGames once the download is
// complete, long after the command that started it has returned.
extern std::wstring downloadFileName;

// The file name suggested for a player's games: the name as the game writes
// it with ".pgn", except that backslashes, slashes, colons and leading dots
// become "-", so that the suggestion is a file name in the folder the dialog
// shows, never a path.
std::wstring SuggestedFileName(std::string_view playerName);

// The save dialog for downloaded games: *.pgn files, opening in folder with
// the suggestion in file, and asking before it replaces an existing file.
OPENFILENAMEW SaveGamesDialog(std::span<wchar_t> file, const wchar_t* folder);
