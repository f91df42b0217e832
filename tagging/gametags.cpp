#include "tagging/gametags.h"

#include <string>
#include <vector>

#include "host/hostdata.h"
#include "host/hostservices.h"
#include "host/settings.h"

GamePlayer ReadHeaderTags(std::span<const hostabi::TagPair> header, Side side) {
  std::string_view name =
      HeaderValue(header, side == Side::kWhite ? hostabi::kWhitePosition : hostabi::kBlackPosition);
  // The pairs after the Seven Tag Roster carry the players' other tags.
  std::vector<HeaderTag> tags;
  if (header.size() > hostabi::kRosterSize) {
    tags.reserve(header.size() - hostabi::kRosterSize);
    for (size_t i = hostabi::kRosterSize; i < header.size(); ++i)
      tags.push_back({hostabi::HostString(header[i].name), hostabi::HostString(header[i].value)});
  }
  return ReadGamePlayer(name, tags, side);
}

GamePlayer ReadRecordTags(int32_t game, Side side) { return ReadHeaderTags(GameHeader(game), side); }

GamePlayer ReadGameTags(int32_t position, Side side) {
  return ReadRecordTags(GameAtPosition(position), side);
}

AddedTags WriteTags(int32_t game, const PlayerTags& tags) {
  for (const TagWrite& write : tags.writes) SetGameTag(game, write.name.c_str(), write.value.c_str());
  return tags.added;
}

AddedTags WriteFideTag(const PlayerDatabase& db, const GamePlayer& info, int32_t player, int32_t game,
                       Side side) {
  std::span<const Player> players = db.Players();
  if (player < 0 || player >= static_cast<int32_t>(players.size())) return {};
  return WriteTags(game, FideTagWrites(players[static_cast<size_t>(player)], info, side, settings));
}

AddedTags WritePlayerTags(int32_t game, Side side, const Player& record, const GamePlayer& info) {
  return WriteTags(game, PlayerTagWrites(record, info, side, settings));
}
