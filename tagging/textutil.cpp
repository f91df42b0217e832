// Loading the player list where every command needs it.
#include "database/playerlist.h"
#include "host/paths.h"
#include "tagging/player_struct.h"

void EnsurePlayersLoaded() { LoadPlayersOnDemand(PlayersFilePath()); }
