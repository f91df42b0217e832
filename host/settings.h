// The plug-in's settings: which player tags are written and whether existing
// ones are replaced, kept in player_info.dat beside the host's executable.
#pragma once

struct Settings {
  bool saveTitle = false;
  bool saveSex = false;
  bool saveElo = true;
  bool saveCountry = true;
  bool overwriteTitle = false;
  bool overwriteSex = false;
  bool overwriteElo = false;
  bool overwriteCountry = false;
  bool changeName = false;
  bool saveFideId = true;  // no check box and no byte in the file
};

extern Settings settings;

// Fills the flags from the settings file; a missing file keeps them, a short
// one turns off the flags it lacks (changeName excepted).
void ReadSettingsFile();
// Stores the nine flags as the bytes 0/1; nothing is reported on failure.
void WriteSettingsFile();
