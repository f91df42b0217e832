// The import of a new FIDE rating list: the user picks the text file, which
// becomes the player list and players.dat.
#pragma once

#include <windows.h>

#include <string>

// Shows the open-file dialog, owned by `owner`, and imports the chosen list.
// Cancelling changes nothing.
void ImportCommand(HWND owner);

// Parses the list at `path` (ANSI), orders it by rating and saves it as
// players.dat. When the list cannot be read, the previous list and
// players.dat stay and the user is told; returns false then.
bool ImportChosenList(const std::string& path);
