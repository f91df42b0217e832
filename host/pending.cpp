// Commands registered with the host whose work is not built yet: they keep
// their menu ids and places and do nothing when chosen.
#include "host/commands.h"

void __stdcall AddWhiteCommand() {}
void __stdcall AddBlackCommand() {}
void __stdcall AddBothCommand() {}
void __stdcall OpenWhitePage() {}
void __stdcall OpenBlackPage() {}
void __stdcall DownloadWhiteGames() {}
void __stdcall DownloadBlackGames() {}
void __stdcall SaveDownloadedGames(const char*) {}
void __stdcall TagAllGames() {}
void __stdcall ShowOptions() {}
