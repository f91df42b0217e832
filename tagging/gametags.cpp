// Reading a player's tags from a game header and writing tags from the
// database into a game, under the settings.
#include <string>

#include "host/hostdata.h"
#include "host/hostservices.h"
#include "host/settings.h"
#include "tagging/player_struct.h"

TAddedFlags AddedFlags;

namespace {

struct SideTags {
  const char* name;  // the roster tag holding the player's name
  const char* fide;
  const char* title;
  const char* elo;
  const char* sex;
  const char* country;
};

constexpr SideTags kTags[2] = {
    {"White", "WhiteFIDE", "WhiteTitle", "WhiteElo", "WhiteSex", "WhiteCountry"},
    {"Black", "BlackFIDE", "BlackTitle", "BlackElo", "BlackSex", "BlackCountry"},
};

int TitleCode(std::string_view text) {
  for (int t = 0; t < 6; ++t)
    if (TitleText(t) == text) return t;
  return -1;
}

void WriteTag(int32_t game, const char* tag, const std::string& value) {
  SetGameTag(game, tag, value.c_str());
}

}  // namespace

void ReadHeaderTags(std::span<const hostabi::TagPair> header, Side side, tplay_info& info) {
  info = tplay_info{};
  info.name = std::string(HeaderValue(header, side == White ? hostabi::kWhitePosition
                                                            : hostabi::kBlackPosition));
  const SideTags& tags = kTags[side];
  // Every pair is read, so a later pair overrides an earlier one and no tag
  // of the side goes unseen (the writer relies on that).
  for (size_t i = hostabi::kRosterSize; i < header.size(); ++i) {
    std::string_view tag = hostabi::HostString(header[i].name);
    std::string_view value = hostabi::HostString(header[i].value);
    int32_t number = 0;
    if (tag == tags.elo) {
      if (ParseDecimal(value, number) && number != 0) info.rating = static_cast<uint16_t>(number);
    } else if (tag == tags.fide) {
      if (ParseDecimal(value, number) && number != 0) info.fideId = number;
    } else if (tag == tags.sex) {
      if (value == "M") info.sex = 0;
      if (value == "F") info.sex = 1;
    } else if (tag == tags.title) {
      if (int t = TitleCode(value); t >= 0) info.title = static_cast<uint8_t>(t);
    } else if (tag == tags.country) {
      if (value.size() == 3)
        if (int row = FederationByCode(value); row != 0) info.federation = static_cast<uint8_t>(row);
    }
  }
}

void ReadRecordTags(int32_t game, Side side, tplay_info& info) {
  ReadHeaderTags(GameHeader(game), side, info);
}

void ReadGameTags(int32_t position, Side side, tplay_info& info) {
  ReadRecordTags(GameAtPosition(position), side, info);
}

void WriteFideTag(const tplay_info& info, int32_t player, int32_t game, Side side) {
  AddedFlags = {};
  auto players = PlayerList();
  if (player < 0 || player >= static_cast<int32_t>(players.size())) return;
  const fideitem& record = players[static_cast<size_t>(player)];
  if (settings.saveFideId) {
    WriteTag(game, kTags[side].fide, DecimalText(static_cast<uint32_t>(record.fideId)));
    AddedFlags.fideId = true;
  }
  WritePlayerTags(game, side, record, info);
}

void WritePlayerTags(int32_t game, Side side, const fideitem& R, const tplay_info& G) {
  const Settings& s = settings;
  const SideTags& tags = kTags[side];
  AddedFlags.title = AddedFlags.elo = AddedFlags.sex = AddedFlags.country = false;

  if (s.saveTitle && R.title < 6 && (G.title == 6 || (s.overwriteTitle && G.title != R.title))) {
    WriteTag(game, tags.title, std::string(TitleText(R.title)));
    AddedFlags.title = true;
  }
  if (s.saveElo && R.rating != 0 &&
      (G.rating == 0 || (s.overwriteElo && G.rating != R.rating))) {
    WriteTag(game, tags.elo, DecimalText(R.rating));
    AddedFlags.elo = true;
  }
  if (s.saveSex && R.sex < 2 && (G.sex == 2 || (s.overwriteSex && G.sex != R.sex))) {
    WriteTag(game, tags.sex, R.sex == 0 ? "M" : "F");
    AddedFlags.sex = true;
  }
  // A federation outside the table has no code to write.
  if (s.saveCountry && !FederationCode(R.federation).empty() &&
      (G.federation == 0 || (s.overwriteCountry && G.federation != R.federation))) {
    WriteTag(game, tags.country, std::string(FederationCode(R.federation)));
    AddedFlags.country = true;
  }
  if (s.changeName && G.name != R.name) WriteTag(game, tags.name, std::string(R.name));
}
