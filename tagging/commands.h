// The tagging layer's command handlers and the download-completion handler
// that the plug-in hands to the host, each defined by the unit that does the
// work. The Options command is the Options dialog's (windows/optionsdialog.h).
#pragma once

// Add information about the current game's players.
void __stdcall AddWhiteCommand();
void __stdcall AddBlackCommand();
void __stdcall AddBothCommand();
// The games site: a player's page and a player's games.
void __stdcall OpenWhitePage();
void __stdcall OpenBlackPage();
void __stdcall DownloadWhiteGames();
void __stdcall DownloadBlackGames();
void __stdcall SaveDownloadedGames(const char* data);
// Tag every game of the open base.
void __stdcall TagAllGames();
