// The "More about players" popup in the host's menu: the commands registered
// at start and the entries that follow the current game's players, rebuilt on
// every right-button release over the host's main window.
#pragma once

#include <cstdint>

#include "lumora/hostabi.h"

// Command ids, in order of registration.
struct CommandIds {
  uint32_t separator, addWhite, addBlack, openWhitePage, openBlackPage, downloadWhite, downloadBlack, addBoth,
      tagAll, options;
};
// The ids and the popup live for the process: the host hands out the ids
// once, at start, and every rebuild of the popup needs them.
extern CommandIds commandIds;
extern HMENU menuPopup;

// Subclasses the host's main window.
void SubclassMainWindow();
// Creates menuPopup, registers every command and puts the fixed entries in place.
void RegisterCommandsAndMenus();
// Replaces the player entries with those of the current game.
void RebuildMenu();
