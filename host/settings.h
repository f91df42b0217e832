// The plug-in's settings: which player tags are written and whether existing
// ones are replaced, kept in player_info.dat beside the host's executable.
#pragma once

#include "tagrules/tagrules.h"

// The flags and their defaults are the tag rules' options.
using Settings = TagOptions;

// They live for the process: read from the file at start, changed by the
// Options dialog, read by every command.
extern Settings settings;

// Fills the flags from the settings file; a missing file keeps them, a short
// one turns off the flags it lacks (changeName excepted).
void ReadSettingsFile();
// Stores the nine flags as the bytes 0/1; nothing is reported on failure.
void WriteSettingsFile();
