#include "tools/gameheader.h"

#include "tagrules/nameevidence.h"

void ReadHeaderTags(const PgnGame& game, std::vector<HeaderTag>& tags, std::vector<std::string>& values) {
  tags.clear();
  values.clear();
  values.reserve(game.tags.size());
  for (const PgnTag& tag : game.tags) {
    std::string_view value = game.RawValue(tag);
    if (tag.escaped) value = values.emplace_back(game.Value(tag));
    tags.push_back({game.Name(tag), value});
  }
}

std::string_view SideNameIn(std::span<const HeaderTag> tags, Side side) {
  std::string_view roster = side == Side::kWhite ? "White" : "Black";
  for (const HeaderTag& tag : tags)
    if (tag.name == roster) return tag.value;
  return "?";
}

std::array<uint8_t, 2> NationalTeams(std::span<const HeaderTag> tags) {
  std::string_view white, black;
  for (const HeaderTag& tag : tags) {
    if (tag.name == "WhiteTeam") white = tag.value;
    if (tag.name == "BlackTeam") black = tag.value;
  }
  if (white.empty() || black.empty()) return {0, 0};
  return {NationalTeamFederation(white, black), NationalTeamFederation(black, white)};
}

PlayerFacts ReadSide(std::span<const HeaderTag> tags, Side side, bool fideIdTags) {
  PlayerFacts player;
  ReadPlayerFacts(tags, side, player);
  if (fideIdTags && player.fideId == 0) {
    std::string_view idTag = side == Side::kWhite ? "WhiteFideId" : "BlackFideId";
    for (const HeaderTag& tag : tags) {
      int32_t id = 0;
      if (tag.name == idTag && ParseDecimal(tag.value, id) && id != 0) player.fideId = id;
    }
  }
  return player;
}

bool SaysNothing(const PlayerFacts& p) {
  return p.fideId == 0 && p.rating == 0 && p.sex == Sex::kNone && p.title == Title::kNone &&
         p.federation == 0 && p.team == 0 && p.month < 0;
}
