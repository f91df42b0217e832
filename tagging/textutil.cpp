// Small text helpers shared by the commands, the batch run and the menus.
#include <charconv>
#include <limits>

#include "database/fidelist.h"
#include "host/commonfunc.h"
#include "tagging/player_struct.h"

std::string DecimalText(uint32_t value) { return std::to_string(value); }

bool ParseDecimal(std::string_view text, int32_t& value) {
  if (text.empty()) {
    value = 0;
    return true;
  }
  for (char c : text)
    if (c < '0' || c > '9') return false;
  int32_t parsed = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size()) return false;  // too large
  value = parsed;
  return true;
}

std::string ToLowerName(std::string_view name) {
  std::string lower(name);
  for (char& ch : lower) {
    auto c = static_cast<unsigned char>(ch);
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
    else if (c >= 0xC0 && c <= 0xDF) c = static_cast<unsigned char>(c + 32);  // Cyrillic capitals
    else if (c == 0xA8) c = 0xB8;                                            // Yo
    ch = static_cast<char>(c);
  }
  return lower;
}

bool IsAnonymousName(std::string_view name) {
  return ToLowerName(name.substr(0, 9)) == "anonymous";
}

void EnsurePlayersLoaded() { LoadPlayersOnDemand(PlayersFilePath()); }
