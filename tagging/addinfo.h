// The commands that add information about the current game's players.
#pragma once

// Add information about the current game's players (menu commands).
void __stdcall AddWhiteCommand();
void __stdcall AddBlackCommand();
void __stdcall AddBothCommand();
