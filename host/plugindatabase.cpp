#include "host/plugindatabase.h"

#include <utility>

#include "host/paths.h"
#include "players/playersfile.h"

namespace {

// It lives for the process: every command finds players in it, and reading
// two million players again for each command would cost seconds.
PlayerDatabase pluginDatabase;

}  // namespace

const PlayerDatabase& PluginDatabase() {
  if (pluginDatabase.Empty()) pluginDatabase = LoadPlayers(PlayersFilePath());
  return pluginDatabase;
}

void ReplacePluginDatabase(PlayerDatabase db) { pluginDatabase = std::move(db); }
