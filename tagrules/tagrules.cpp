// The tag rules: reading a player from a header, the writes from a database
// player, and the decisions of a name's step.
#include "tagrules/tagrules.h"

#include <algorithm>
#include <charconv>

#include "players/playercodes.h"
#include "tagrules/namefit.h"

namespace {

struct SideTags {
  std::string_view name;  // the roster tag holding the player's name
  std::string_view fide;
  std::string_view title;
  std::string_view elo;
  std::string_view sex;
  std::string_view country;
};

constexpr SideTags kWhiteTags = {"White", "WhiteFIDE", "WhiteTitle", "WhiteElo", "WhiteSex", "WhiteCountry"};
constexpr SideTags kBlackTags = {"Black", "BlackFIDE", "BlackTitle", "BlackElo", "BlackSex", "BlackCountry"};

constexpr const SideTags& TagsOf(Side side) { return side == Side::kWhite ? kWhiteTags : kBlackTags; }

}  // namespace

GamePlayer ReadGamePlayer(std::string_view name, std::span<const HeaderTag> tags, Side side) {
  GamePlayer player;
  player.name = std::string(name);
  ReadPlayerFacts(tags, side, player);
  return player;
}

void ReadPlayerFacts(std::span<const HeaderTag> tags, Side side, PlayerFacts& player) {
  std::string_view prefix = TagsOf(side).name;
  // Every pair is read, so a later pair overrides an earlier one and no tag
  // of the side goes unseen (the writer relies on that).
  for (const HeaderTag& tag : tags) {
    if (tag.name.size() <= prefix.size() || !tag.name.starts_with(prefix)) continue;
    std::string_view what = tag.name.substr(prefix.size());
    int32_t number = 0;
    if (what == "Elo") {
      if (ParseDecimal(tag.value, number) && number != 0) player.rating = static_cast<uint16_t>(number);
    } else if (what == "FIDE") {
      if (ParseDecimal(tag.value, number) && number != 0) player.fideId = number;
    } else if (what == "Sex") {
      if (tag.value == "M") player.sex = Sex::kMale;
      if (tag.value == "F") player.sex = Sex::kFemale;
    } else if (what == "Title") {
      if (Title t = TitleByText(tag.value); t != Title::kNone) player.title = t;
    } else if (what == "Country") {
      if (tag.value.size() == 3)
        if (int row = FederationByCode(tag.value); row != 0) player.federation = static_cast<uint8_t>(row);
    }
  }
}

GamePlayer ReadGamePlayer(std::span<const HeaderTag> header, Side side) {
  std::string_view name;
  for (const HeaderTag& tag : header)
    if (tag.name == TagsOf(side).name) {
      name = tag.value;
      break;
    }
  return ReadGamePlayer(name, header, side);
}

PlayerTags PlayerTagWrites(const Player& R, std::string_view name, const PlayerFacts& G, Side side,
                           const TagOptions& options) {
  const TagOptions& o = options;
  const SideTags& tags = TagsOf(side);
  PlayerTags out;
  auto write = [&](std::string_view tag, std::string_view value) {
    out.writes.push_back({std::string(tag), std::string(value)});
  };
  // A code with no text (a damaged file's byte) has nothing to write.
  if (o.saveTitle && !TitleText(R.title).empty() &&
      (G.title == Title::kNone || (o.overwriteTitle && G.title != R.title))) {
    write(tags.title, TitleText(R.title));
    out.added.title = true;
  }
  if (o.saveElo && R.rating != 0 && (G.rating == 0 || (o.overwriteElo && G.rating != R.rating))) {
    write(tags.elo, DecimalText(R.rating));
    out.added.elo = true;
  }
  if (o.saveSex && !SexText(R.sex).empty() && (G.sex == Sex::kNone || (o.overwriteSex && G.sex != R.sex))) {
    write(tags.sex, SexText(R.sex));
    out.added.sex = true;
  }
  if (o.saveCountry && !FederationCode(R.federation).empty() &&
      (G.federation == 0 || (o.overwriteCountry && G.federation != R.federation))) {
    write(tags.country, FederationCode(R.federation));
    out.added.country = true;
  }
  // A name that names nobody stays as it is, and a missing one missing.
  if (o.changeName && name != R.name && !IsUnknownName(name)) write(tags.name, R.name);
  return out;
}

PlayerTags FideTagWrites(const Player& record, std::string_view name, const PlayerFacts& game, Side side,
                         const TagOptions& options) {
  PlayerTags rest = PlayerTagWrites(record, name, game, side, options);
  if (!options.saveFideId) return rest;
  PlayerTags out;
  out.writes.push_back({std::string(TagsOf(side).fide), DecimalText(static_cast<uint32_t>(record.fideId))});
  out.writes.insert(out.writes.end(), std::make_move_iterator(rest.writes.begin()),
                    std::make_move_iterator(rest.writes.end()));
  out.added = rest.added;
  out.added.fideId = true;
  return out;
}

bool IsClearCut(std::span<const SearchHit> hits) {
  return hits.size() == 1 || (hits.size() >= 2 && hits[0].score == 1 && hits[1].score > 1);
}

bool IsClearFit(const PlayerDatabase& db, std::string_view name, std::span<const SearchHit> hits) {
  if (!IsClearCut(hits)) return false;
  std::span<const Player> list = db.Players();
  auto first = static_cast<size_t>(hits[0].index);
  return first < list.size() && NameFits(name, list[first].name);
}

void PromoteKnownPlayers(std::vector<SearchHit>& hits, std::span<const int32_t> known) {
  for (int32_t v : known) {
    size_t at = 0;
    while (at < hits.size() && hits[at].index != v) ++at;
    if (at < hits.size()) {
      if (hits[at].score <= 2) continue;
      hits[at].score = 2;
      for (; at > 0 && hits[at - 1].score > hits[at].score; --at) std::swap(hits[at - 1], hits[at]);
      continue;
    }
    // Insert after the last hit of score 2 or better.
    size_t place = hits.size();
    while (place > 0 && hits[place - 1].score > 2) --place;
    hits.insert(hits.begin() + static_cast<std::ptrdiff_t>(place), SearchHit{v, 2});
  }
}

std::vector<SearchHit> ExtendedStepSearch(const PlayerDatabase& db, std::string_view name,
                                          std::span<const int32_t> known) {
  std::vector<SearchHit> hits =
      RankedSearch(db, name, std::max<int32_t>(kExtendedSearchLimit - static_cast<int32_t>(known.size()), 1));
  PromoteKnownPlayers(hits, known);
  return hits;
}

bool NameStep::AddsTagById() const {
  return std::any_of(byId.begin(), byId.end(), [](const PlaceTags& p) { return p.tags.added.AnyTag(); });
}

NameStep PlanNameStep(const PlayerDatabase& db, std::string_view name, std::span<const NamePlace> places,
                      const TagOptions& options, bool searchByName) {
  NameStep step;
  if (IsAnonymousName(name)) {
    step.anonymous = true;
    return step;
  }
  // Places whose game names the player by FIDE ID are completed from the
  // database; an ID the database lacks leaves its place as it is. Each ID is
  // looked up once per step.
  struct Found {
    int32_t id;
    int32_t index;  // -1: not in the database
    Player player;
  };
  std::vector<Found> found;
  for (size_t i = 0; i < places.size(); ++i) {
    const PlayerFacts& game = places[i].player;
    if (game.fideId == 0) {
      if (step.firstWithoutId < 0) step.firstWithoutId = static_cast<std::ptrdiff_t>(i);
      continue;
    }
    auto known =
        std::find_if(found.begin(), found.end(), [&](const Found& f) { return f.id == game.fideId; });
    if (known == found.end()) {
      Found f{game.fideId, -1, {}};
      if (FindByIdAt(db, f.id, f.player, f.index)) step.known.push_back(f.index);
      known = found.insert(found.end(), f);
    }
    if (known->index < 0) {
      step.unknownIds.push_back(i);
      continue;
    }
    step.byId.push_back(
        {i, known->index, PlayerTagWrites(known->player, name, game, places[i].side, options)});
  }
  if (step.firstWithoutId < 0) return step;
  // A name that names nobody is no player's: the places that say nothing
  // more stay as they are, whoever another game's FIDE ID names.
  if (IsUnknownName(name)) {
    step.unknownName = true;
    step.choice = NameChoice::kNoCandidate;
    return step;
  }
  if (!searchByName) return step;

  // The places without FIDE ID all get one player, found by name. Players
  // that this name already carries by ID elsewhere rank among the best.
  step.hits = WordSearch(db, name);
  PromoteKnownPlayers(step.hits, step.known);
  if (step.hits.empty())
    step.choice = NameChoice::kNoCandidate;
  else if (IsClearCut(step.hits))
    step.choice = NameChoice::kClearHit;
  else
    step.choice = NameChoice::kAskUser;
  return step;
}

std::vector<PlaceTags> ChosenPlayerTags(const PlayerDatabase& db, std::string_view name,
                                        std::span<const NamePlace> places, int32_t player,
                                        const TagOptions& options) {
  std::vector<PlaceTags> out;
  std::span<const Player> list = db.Players();
  if (player < 0 || player >= static_cast<int32_t>(list.size()) || IsUnknownName(name)) return out;
  const Player& record = list[static_cast<size_t>(player)];
  for (size_t i = 0; i < places.size(); ++i)
    if (places[i].player.fideId == 0)
      out.push_back({i, player, FideTagWrites(record, name, places[i].player, places[i].side, options)});
  return out;
}

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
    if (c >= 'A' && c <= 'Z')
      c = static_cast<unsigned char>(c + 32);
    else if (c >= 0xC0 && c <= 0xDF)
      c = static_cast<unsigned char>(c + 32);  // Cyrillic capitals
    else if (c == 0xA8)
      c = 0xB8;  // Yo
    ch = static_cast<char>(c);
  }
  return lower;
}

bool IsAnonymousName(std::string_view name) { return ToLowerName(name.substr(0, 9)) == "anonymous"; }

bool IsUnknownName(std::string_view name) {
  bool anyLetter = false;
  std::string squeezed;  // without blanks and dots, letters in lower case
  for (char c : name) {
    auto b = static_cast<unsigned char>(c);
    bool letter = b >= 0x80 || ((b | 0x20) >= 'a' && (b | 0x20) <= 'z');
    anyLetter = anyLetter || letter;
    if (c != ' ' && c != '.') squeezed += letter && b < 0x80 ? static_cast<char>(b | 0x20) : c;
    if (anyLetter && squeezed.size() > 2) return false;
  }
  return !anyLetter || squeezed == "nn";
}

std::string DescribeGamePlayer(const GamePlayer& player) {
  std::string text = player.name;
  if (player.federation != 0) text += " (" + std::string(FederationCode(player.federation)) + ")";
  if (std::string_view title = TitleText(player.title); !title.empty()) text += ",  " + std::string(title);
  if (player.rating != 0) text += ",  " + DecimalText(player.rating) + " ELO";
  return text;
}
