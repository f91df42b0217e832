// player_info.dat, the plug-in's settings file, read and written as bytes
// without the host: which player tags are written and whether existing ones
// are replaced. Nine bytes, one per flag, 0 off and anything else on; a file
// of eight bytes predates the name option.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "tagrules/tagrules.h"

constexpr size_t kSettingsFileBytes = 9;

// The options a file of these bytes gives, as the plug-in reads it: the
// first eight flags from the first eight bytes (a missing byte is off), the
// name option from the ninth only when there is one (else `defaults`').
TagOptions OptionsFromSettingsBytes(std::span<const uint8_t> bytes, const TagOptions& defaults = {});
// The nine bytes the plug-in writes for these options.
std::array<uint8_t, kSettingsFileBytes> SettingsBytes(const TagOptions& options);
