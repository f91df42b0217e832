// The one-line description of a candidate player shown for choosing.
#include <string>

#include "players/playercodes.h"
#include "players/playersearch.h"

std::string DescribePlayer(const PlayerDatabase& db, int32_t index) {
  std::span<const Player> list = db.Players();
  if (index < 0 || static_cast<size_t>(index) >= list.size()) return {};
  const Player& p = list[static_cast<size_t>(index)];
  // A row outside the table, as in a damaged file, shows as unknown too.
  std::string_view code = FederationCode(p.federation);
  std::string text(p.name);
  text += " (";
  text += code.empty() ? "???" : code;
  text += ")";
  if (std::string_view title = TitleText(p.title); !title.empty()) {
    text += ",  ";
    text += title;
  }
  if (p.rating != 0) {
    text += ",  ";
    text += std::to_string(p.rating);
    text += " ELO";
  }
  return text;
}
