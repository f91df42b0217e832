// Paths of the plug-in's files and conversions between the wide text shown to
// the user and the narrow ANSI text of game data and file names.
#pragma once

#include <string>
#include <string_view>

// The folder of the host's executable with its trailing backslash; empty when
// the path has no backslash.
std::wstring ModulePath();

// ModulePath + "plugins\players.dat", in the ANSI code page.
std::string PlayersFilePath();

// ModulePath + "player_info.dat", in the ANSI code page.
std::string SettingsFilePath();

std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);
