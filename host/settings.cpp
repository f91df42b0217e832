#include "host/settings.h"

#include "database/bytefile.h"
#include "host/paths.h"

Settings settings;

void ReadSettingsFile() {
  ByteFile file(SettingsFilePath(), true);
  if (file.failed) return;
  Settings& s = settings;
  s.saveTitle = file.ReadBool();
  s.saveSex = file.ReadBool();
  s.saveElo = file.ReadBool();
  s.saveCountry = file.ReadBool();
  s.overwriteTitle = file.ReadBool();
  s.overwriteSex = file.ReadBool();
  s.overwriteElo = file.ReadBool();
  s.overwriteCountry = file.ReadBool();
  // Files written before the name option have only eight bytes.
  if (!file.AtEnd()) s.changeName = file.ReadBool();
}

void WriteSettingsFile() {
  ByteFile file(SettingsFilePath(), false);
  if (file.failed) return;
  const Settings& s = settings;
  for (bool flag : {s.saveTitle, s.saveSex, s.saveElo, s.saveCountry, s.overwriteTitle, s.overwriteSex,
                    s.overwriteElo, s.overwriteCountry, s.changeName})
    file.WriteBool(flag);
}
