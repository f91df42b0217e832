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
#include <vector>

#include "database/playerlist.h"
#include "database/playersearch.h"

enum class Side : uint8_t { White, Black };

// One tag pair of a game's header.
struct HeaderTag {
  std::string_view name;
  std::string_view value;
};

// What a game's header says about one player; the codes are those of Player,
// and 0 or None means the game says nothing.
struct GamePlayer {
  std::string name;
  int32_t fideId = 0;
  uint16_t rating = 0;
  Sex sex = Sex::None;
  Title title = Title::None;
  uint8_t federation = 0;
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
// The same for a whole header, the name taken from its "White" or "Black"
// tag (the first one).
GamePlayer ReadGamePlayer(std::span<const HeaderTag> header, Side side);

// ---- Tags from a database player ----

// Title, Elo, sex, country (each when the options allow it, the database
// has a value, and the game has none or may be overwritten with a differing
// one), then the name (when changeName is on and the spelling differs), in
// this order. `added.fideId` is false.
PlayerTags PlayerTagWrites(const Player& record, const GamePlayer& game, Side side,
                           const TagOptions& options);
// The FIDE ID tag first (an existing one is not consulted), then the
// PlayerTagWrites: for a game player found by name.
PlayerTags FideTagWrites(const Player& record, const GamePlayer& game, Side side, const TagOptions& options);

// ---- Choosing a player by name ----

// A name search is clear-cut when it found one player, or a best whole-name
// fit followed only by weaker ones: that player is taken without asking.
bool IsClearCut(std::span<const SearchHit> hits);
// A clear-cut search whose first player the game's name also fits
// (NameFits): what a run that nobody watches takes, since a clear-cut hit
// may be another player who only shares a word with the name.
bool IsClearFit(std::string_view name, std::span<const SearchHit> hits);
// Gives each player of `known` (in this order) score 2 in `hits`: a weaker
// hit is raised and moved up after the hits of score 1 and 2, a missing
// player is inserted there; a hit of score 1 or 2 stays.
void PromoteKnownPlayers(std::vector<SearchHit>& hits, std::span<const int32_t> known);
// The tolerant search a step offers: the known players take their room from
// kExtendedSearchLimit (which is held at 1), then are promoted.
std::vector<SearchHit> ExtendedStepSearch(std::string_view name, std::span<const int32_t> known);

// ---- One step of the run over all games: a distinct name and its places ----

// A place where the name occurs: the caller's game, the side, and what the
// game said when the places were collected.
struct NamePlace {
  int32_t game = 0;
  Side side = Side::White;
  GamePlayer player;
};

// The tags of one place, for the database player at PlayerList index `player`.
struct PlaceTags {
  size_t place;  // into the step's places
  int32_t player;
  PlayerTags tags;
};

// What the places without a FIDE ID need.
enum class NameChoice : uint8_t {
  None,         // there are none: the step ends with the FIDE ID places
  ClearHit,     // hits[0] is taken without asking
  NoCandidate,  // the name search found nobody: the name is passed over
  AskUser,      // several plausible players: a person chooses among hits
};

struct NameStep {
  bool anonymous = false;              // the name begins with "anonymous" in any case: passed over
  std::vector<PlaceTags> byId;         // places completed through their FIDE ID, in place order
  std::vector<size_t> unknownIds;      // places whose FIDE ID the database lacks: left as they are
  std::vector<int32_t> known;          // players found by FIDE ID, in the order first found
  std::ptrdiff_t firstWithoutId = -1;  // the place whose description prompts a person
  NameChoice choice = NameChoice::None;
  std::vector<SearchHit> hits;  // word search, known players promoted

  // A title, Elo, sex or country tag is among the FIDE ID places' writes.
  bool AddsTagById() const;
};

// Everything a step decides without a person, for one distinct name and its
// places (a single game's player is a name with one place). Looks players
// up in PlayerList; writes nothing.
// Without searchByName the places without a FIDE ID are left to the
// caller's own choice: `choice` stays None and firstWithoutId tells whether
// there are any.
NameStep PlanNameStep(std::string_view name, std::span<const NamePlace> places, const TagOptions& options,
                      bool searchByName = true);
// The writes that give database player `player` to every place without a
// FIDE ID; empty when there is none or the index is outside PlayerList.
std::vector<PlaceTags> ChosenPlayerTags(std::span<const NamePlace> places, int32_t player,
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
// name (CODE),  TITLE,  RATING ELO from what the game says.
std::string DescribeGamePlayer(const GamePlayer& player);
