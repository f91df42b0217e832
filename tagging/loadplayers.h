// The player list, loaded from the plug-in's players.dat by the first
// command that needs it.
#pragma once

#include "database/playerlist.h"
#include "host/paths.h"

// Loads players.dat when the list is still empty.
inline void EnsurePlayersLoaded() { LoadPlayersOnDemand(PlayersFilePath()); }
