// plugindatabase: the plug-in's one player database, loaded from players.dat
// by the first command that needs it and replaced by an import.
#pragma once

#include "players/playerdatabase.h"

// The database every command looks players up in: players.dat is read while
// it is empty. The reference stays valid for the process; an import, which
// runs between commands, replaces what it holds.
const PlayerDatabase& PluginDatabase();
// Makes db the database of every command from now on.
void ReplacePluginDatabase(PlayerDatabase db);
