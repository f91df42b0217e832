// nameevidence: which player of the list a game's name is, settled by the
// evidence of the name's games without asking anybody: the extended fit of
// the name to every player holding its surname, then the game's federation,
// title and Elo against each fitting player's. What is not settled is asked.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "players/playercodes.h"
#include "players/playersearch.h"
#include "tagrules/namefit.h"

// What one game says about its player besides the name.
struct PlaceEvidence {
  uint16_t elo = 0;  // 0: none
  Title title = Title::kNone;
  uint8_t federation = 0;  // a country tag or a national team's federation; 0 none
};

// The evidence of all games of one name.
struct NameEvidence {
  NameForm form;
  uint16_t elo = 0;  // the median of the games' Elo values; 0 none
  uint16_t eloLow = 0, eloHigh = 0;
  Title title = Title::kNone;  // the title the games give, when they agree
  uint8_t federation = 0;      // the federation the name and the games give; 0 none
  bool federationsDiffer = false;
};

NameEvidence GatherEvidence(std::string_view name, std::span<const PlaceEvidence> places);

// The distances between the game's Elo and a player's rating within which
// a player is taken.
struct EloGates {
  int single;    // the one fitting player
  int agreeing;  // the one fitting player when the game's title or federation is his
  int namesake;  // the one fitting player when the name carries a namesake counter
  int near;      // of several: the only one this near...
  int apart;     // ...while every other is this much further away
  int titled;    // of several: the only holder of the game's title, this near
  int spread;    // the games of a name whose Elo values spread further are asked
  // The one fitting player is taken when he has no rating to compare with
  // the game's Elo: a list's player may have been rated since, or in
  // another kind. Not so with the rating in force at the game's date.
  bool takeUnrated;
};
// Against the list's ratings: a list of another month, or of another kind
// than the game's standard Elo. Of the games of June 2012 against the rapid
// and blitz lists of September 2012 to June 2013, the right player was
// within 200 of the game's Elo for 97.9% of the names (within 300: 98.5%),
// a fitting namesake of a player the list lacks for 24% (within 300: 33%).
inline constexpr EloGates kListGates{200, 300, 100, 100, 200, 300, 150, true};
// Against the standard rating in force in the game's month, which the game's
// Elo is, or the one of the list before: between lists three to six months
// apart 99% of the ratings moved by 93 points or less.
inline constexpr EloGates kHistoryGates{100, 150, 75, 100, 150, 150, 150, false};

enum class EvidenceOutcome : uint8_t {
  kTaken,  // one player settled by the evidence
  kAsked,  // players fit, but the evidence does not single one out
  kNoFit,  // no player fits the name
};

struct EvidenceChoice {
  EvidenceOutcome outcome = EvidenceOutcome::kNoFit;
  int32_t player = -1;              // taken: the database index
  std::vector<int32_t> candidates;  // fitting players, nearest the game's Elo first (at most kShown)
  int fitting = 0;                  // players that fit the name and the games' federation
  bool complete = false;            // every player holding the name's words was looked at
  std::string note;                 // which evidence decided

  static constexpr size_t kShown = 10;
};

// The rating a player is compared with: by default the list's; 0 none.
using RatingOf = std::function<uint16_t(int32_t index)>;

// Decides a name by its evidence among the players of db. `known` are players that other games of
// the name give by FIDE ID: they count as fitting. A player the game's Elo
// cannot be compared with (unrated, or no Elo) is taken only as the one
// fitting player or the only holder of the game's title; among several he
// neither is taken by the Elo nor stands in the way of a player who is.
// Once several fit, players rated far from the game's Elo cannot change
// the outcome: in a list in rating order the search passes over them.
EvidenceChoice ChooseByEvidence(const PlayerDatabase& db, const NameEvidence& evidence,
                                std::span<const int32_t> known, const EloGates& gates = kListGates,
                                const RatingOf& ratingOf = {});

// What every player the form fits holds (a necessary condition, so that
// the search passes over the others): its whole words, its starts, and a
// word beginning with the first letter of each part.
HolderQuery HolderQueryOf(const NameForm& form);

// The federation of a national team a team tag names ("Russia", "RUS"),
// when both teams of the game are national ones; 0 otherwise.
uint8_t NationalTeamFederation(std::string_view team, std::string_view otherTeam);
