// The games site: a player's page in the browser and all of a player's games
// downloaded by the host and saved as a PGN file.
#pragma once

#include <cstdint>
#include <string>

// The address of all of a player's games for download.
std::string PlayerGamesUrl(int32_t id);

// The suggested file name for the next completed download: the player's
// name as the game writes it, with ".pgn".
extern std::wstring DownloadFileName;
