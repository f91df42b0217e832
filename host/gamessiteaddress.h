// The address of the online games site whose player pages the plug-in opens
// and from which the host downloads a player's games. One name, used everywhere.
#pragma once

constexpr const char* kGamesSiteHost = "chessarchive.example.org";
constexpr const wchar_t* kGamesSiteHostW = L"chessarchive.example.org";
