#include "tagrules/playerinfofile.h"

namespace {

// The flags in file order.
constexpr bool TagOptions::*kFileOrder[kSettingsFileBytes] = {
    &TagOptions::saveTitle,    &TagOptions::saveSex,          &TagOptions::saveElo,
    &TagOptions::saveCountry,  &TagOptions::overwriteTitle,   &TagOptions::overwriteSex,
    &TagOptions::overwriteElo, &TagOptions::overwriteCountry, &TagOptions::changeName,
};

}  // namespace

TagOptions OptionsFromSettingsBytes(std::span<const uint8_t> bytes, const TagOptions& defaults) {
  TagOptions options = defaults;
  // A read past the end yields 0; the name option is read only when a byte
  // is left for it.
  for (size_t i = 0; i < 8; ++i) options.*kFileOrder[i] = i < bytes.size() && bytes[i] != 0;
  if (bytes.size() > 8) options.changeName = bytes[8] != 0;
  return options;
}

std::array<uint8_t, kSettingsFileBytes> SettingsBytes(const TagOptions& options) {
  std::array<uint8_t, kSettingsFileBytes> bytes{};
  for (size_t i = 0; i < kSettingsFileBytes; ++i) bytes[i] = options.*kFileOrder[i] ? 1 : 0;
  return bytes;
}
