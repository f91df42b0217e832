// Commands registered with the host whose work is not built yet: they keep
// their menu ids and places and do nothing when chosen.
#include "host/commands.h"

void __stdcall TagAllGames() {}
