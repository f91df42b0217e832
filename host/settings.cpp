#include "host/settings.h"

#include <vector>

#include "files/bytefile.h"
#include "host/paths.h"
#include "tagrules/playerinfofile.h"

Settings settings;

void ReadSettingsFile() {
  ByteFile file(SettingsFilePath(), true);
  if (file.failed) return;
  std::vector<uint8_t> bytes;
  while (bytes.size() < kSettingsFileBytes && !file.AtEnd()) bytes.push_back(file.ReadByte());
  settings = OptionsFromSettingsBytes(bytes, settings);
}

void WriteSettingsFile() {
  ByteFile file(SettingsFilePath(), false);
  if (file.failed) return;
  auto bytes = SettingsBytes(settings);
  file.WriteBytes(bytes.data(), bytes.size());
}
