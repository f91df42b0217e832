// tagrules: which PGN header tags a game's player gets from the player
// database, and what a step of the run over all games decides without asking
// anybody. Plain functions over plain records: the plug-in applies the tag
// writes through its host, a command-line tagger to PGN files, so the two
// follow one set of rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "players/player.h"
#include "players/playerdatabase.h"
#include "players/playersearch.h"

enum class Side : uint8_t { kWhite, kBlack };

// One tag pair of a game's header.
struct HeaderTag {
  std::string_view name;
  std::string_view value;
};

// What a game's header says about one player besides the name; the codes
// are those of Player, and 0 or None means the game says nothing.
struct PlayerFacts {
  int32_t fideId = 0;
  uint16_t rating = 0;
  Sex sex = Sex::kNone;
  Title title = Title::kNone;
  uint8_t federation = 0;
  // The game's month (a MonthNumber of ratinghistory.h), the month of its
  // rating, where the caller reads the game's date; -1 otherwise.
  int16_t month = -1;
  // The federation of the player's national team, where the caller reads
  // the game's teams (NationalTeamFederation); 0 otherwise.
  uint8_t team = 0;
};

// The same with the name.
struct GamePlayer : PlayerFacts {
  GamePlayer() = default;
  GamePlayer(std::string playerName, int32_t id = 0, uint16_t elo = 0, Sex playerSex = Sex::kNone,
             Title playerTitle = Title::kNone, uint8_t playerFederation = 0)
      : PlayerFacts{id, elo, playerSex, playerTitle, playerFederation}, name(std::move(playerName)) {}
  GamePlayer(const PlayerFacts& facts, std::string playerName)
      : PlayerFacts(facts), name(std::move(playerName)) {}

  std::string name;
};

// Which tags are written, and whether a tag the game has is replaced by the
// database's differing value. The FIDE ID tag is always written.
struct TagOptions {
  bool saveTitle = false;
  bool saveSex = false;
  bool saveElo = true;
  bool saveCountry = true;
  bool overwriteTitle = false;
  bool overwriteSex = false;
  bool overwriteElo = false;
  bool overwriteCountry = false;
  bool changeName = false;  // rewrite the player's name to the database's spelling
  bool saveFideId = true;
};

// The kinds of information a write added. A name change is none of them.
struct AddedTags {
  bool fideId = false, title = false, sex = false, elo = false, country = false;
  bool AnyTag() const { return title || sex || elo || country; }
  bool Any() const { return fideId || AnyTag(); }
};

// One tag to set: a new tag, or a new value for an existing one.
struct TagWrite {
  std::string name;
  std::string value;
};

// The writes for one player, in the order they are made, and what they add.
struct PlayerTags {
  std::vector<TagWrite> writes;
  AddedTags added;
};

// ---- Reading a game's header ----

// The player of one side: `name` as the game has it, the rest from `tags`
// (pairs of both sides, in header order; a later pair overrides an earlier
// one). A value that is not a number, or an unknown title, sex or country,
// leaves its field at "nothing said"; an Elo above 65535 keeps its low bits.
GamePlayer ReadGamePlayer(std::string_view name, std::span<const HeaderTag> tags, Side side);
// The same without the name, into `player`.
void ReadPlayerFacts(std::span<const HeaderTag> tags, Side side, PlayerFacts& player);
// The same for a whole header, the name taken from its "White" or "Black"
// tag (the first one).
GamePlayer ReadGamePlayer(std::span<const HeaderTag> header, Side side);

// ---- Tags from a database player ----

// Title, Elo, sex, country (each when the options allow it, the database
// has a value, and the game has none or may be overwritten with a differing
// one), then the name (when changeName is on, the spelling differs and the
// game's name is not unknown: IsUnknownName), in this order. `added.fideId`
// is false.
PlayerTags PlayerTagWrites(const Player& record, std::string_view name, const PlayerFacts& game, Side side,
                           const TagOptions& options);
inline PlayerTags PlayerTagWrites(const Player& record, const GamePlayer& game, Side side,
                                  const TagOptions& options) {
  return PlayerTagWrites(record, game.name, game, side, options);
}
// The FIDE ID tag first (an existing one is not consulted), then the
// PlayerTagWrites: for a game player found by name.
PlayerTags FideTagWrites(const Player& record, std::string_view name, const PlayerFacts& game, Side side,
                         const TagOptions& options);
inline PlayerTags FideTagWrites(const Player& record, const GamePlayer& game, Side side,
                                const TagOptions& options) {
  return FideTagWrites(record, game.name, game, side, options);
}

// ---- Choosing a player by name ----

// A name search is clear-cut when it found one player, or a best whole-name
// fit followed only by weaker ones: that player is taken without asking.
bool IsClearCut(std::span<const SearchHit> hits);
// A clear-cut search whose first player the game's name also fits
// (NameFits): what a run that nobody watches takes, since a clear-cut hit
// may be another player who only shares a word with the name.
bool IsClearFit(const PlayerDatabase& db, std::string_view name, std::span<const SearchHit> hits);
// Gives each player of `known` (in this order) score 2 in `hits`: a weaker
// hit is raised and moved up after the hits of score 1 and 2, a missing
// player is inserted there; a hit of score 1 or 2 stays.
void PromoteKnownPlayers(std::vector<SearchHit>& hits, std::span<const int32_t> known);
// The tolerant search a step offers: the known players take their room from
// kExtendedSearchLimit (which is held at 1), then are promoted.
std::vector<SearchHit> ExtendedStepSearch(const PlayerDatabase& db, std::string_view name,
                                          std::span<const int32_t> known);

// ---- One step of the run over all games: a distinct name and its places ----

// A place where the name occurs: the caller's game, the side, and what the
// game said when the places were collected. Kept small (20 bytes), since a
// run over a big file holds one for every place of every name; the three
// bytes after `side` and one in PlayerFacts are free for a few more.
struct NamePlace {
  int32_t game = 0;
  Side side = Side::kWhite;
  PlayerFacts player;
};

// The tags of one place, for the database player at index `player`.
struct PlaceTags {
  size_t place;  // into the step's places
  int32_t player;
  PlayerTags tags;
};

// What the places without a FIDE ID need.
enum class NameChoice : uint8_t {
  kNone,         // there are none: the step ends with the FIDE ID places
  kClearHit,     // hits[0] is taken without asking
  kNoCandidate,  // the name search found nobody: the name is passed over
  kAskUser,      // several plausible players: a person chooses among hits
};

struct NameStep {
  bool anonymous = false;              // the name begins with "anonymous" in any case: passed over
  bool unknownName = false;            // IsUnknownName: the places without FIDE ID are left as they are
  std::vector<PlaceTags> byId;         // places completed through their FIDE ID, in place order
  std::vector<size_t> unknownIds;      // places whose FIDE ID the database lacks: left as they are
  std::vector<int32_t> known;          // players found by FIDE ID, in the order first found
  std::ptrdiff_t firstWithoutId = -1;  // the place whose description prompts a person
  NameChoice choice = NameChoice::kNone;
  std::vector<SearchHit> hits;  // word search, known players promoted

  // A title, Elo, sex or country tag is among the FIDE ID places' writes.
  bool AddsTagById() const;
};

// Everything a step decides without a person, for one distinct name and its
// places (a single game's player is a name with one place). Looks players
// up in db; writes nothing. A place with a FIDE ID gets the tags of
// that ID's player, never another's. An unknown name (IsUnknownName) names
// nobody: its places without FIDE ID are not searched for, get no player
// (choice NoCandidate), and its players known by ID are not offered to them.
// Without searchByName the places without a FIDE ID of a name that names
// somebody are left to the caller's own choice: `choice` stays None and
// firstWithoutId tells whether there are any.
NameStep PlanNameStep(const PlayerDatabase& db, std::string_view name, std::span<const NamePlace> places,
                      const TagOptions& options, bool searchByName = true);
// The writes that give database player `player` to every place of the name
// without a FIDE ID; empty when there is none, the index is outside
// db, or the name is unknown.
std::vector<PlaceTags> ChosenPlayerTags(const PlayerDatabase& db, std::string_view name,
                                        std::span<const NamePlace> places, int32_t player,
                                        const TagOptions& options);

// ---- Texts ----

std::string DecimalText(uint32_t value);
// ASCII digits to a number; "" gives 0. Anything else, or a value beyond
// 31 bits, fails and leaves `value` unchanged.
bool ParseDecimal(std::string_view text, int32_t& value);
// Lower-cases A-Z and the capital Cyrillic letters of code page 1251.
std::string ToLowerName(std::string_view name);
// The name is anonymous when its lower-cased form begins with "anonymous".
bool IsAnonymousName(std::string_view name);
// A name that names nobody: empty, without a single letter ("?", "-", "??";
// a byte above 127 counts as a letter), or a placeholder for an unknown
// player, "NN", "N.N.", "N. N." in any case.
bool IsUnknownName(std::string_view name);
// name (CODE),  TITLE,  RATING ELO from what the game says.
std::string DescribeGamePlayer(const GamePlayer& player);
