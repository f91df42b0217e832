// PGN text to games and back, in the host's own style. Portable: no Win32.
// The games are read by the core's reader (pgn/pgnstream.h), by its
// rules.
//
// The host's style: every game starts with the Seven Tag Roster in standard
// order, then its other tags in file order, one "[Name "value"]" per line, a
// blank line, the movetext lines as read, a blank line; every line ends in
// CR LF. A file in that style is written back byte for byte.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pgn/pgnstream.h"

namespace pgn {

struct Game {
  std::vector<std::pair<std::string, std::string>> tags;  // Seven Tag Roster first
  std::string movetext;  // its lines joined by CR LF, without a final line end
};

// A game the reader could not take, and why; the game is skipped.
struct Problem {
  int line;  // 1-based line of the file
  std::string what;
};

struct ReadResult {
  std::vector<Game> games;
  std::vector<Problem> problems;
  int skippedGames = 0;
};

// The roster tags with the placeholders that stand in for missing ones.
inline constexpr std::pair<std::string_view, std::string_view> kSevenTagRoster[] = {
    {"Event", "?"}, {"Site", "?"},  {"Date", "????.??.??"}, {"Round", "?"},
    {"White", "?"}, {"Black", "?"}, {"Result", "*"}};

// Reads every game it can; a damaged one (PgnGame::damaged) is skipped and
// reported, the rest are kept. A game's movetext is its lines from where its
// movetext begins to its last line that is not blank.
ReadResult Read(std::string_view text);
// The same, handing each game to `take` as it is read instead of keeping
// it: a large base is read without holding its games twice. Returns what
// Read returns without its games.
ReadResult ReadEach(std::string_view text, const std::function<void(Game&& game)>& take);

// Puts the Seven Tag Roster at positions 0 to 6 in standard order, with
// placeholders for missing ones; other tags follow in their order.
void ArrangeRoster(Game& game);

using ::EscapeTagValue;
// One "[Name "value"]" line without its line end.
std::string TagLine(std::string_view name, std::string_view value);
// Appends a game in the host's style.
void WriteGame(std::string& out, std::span<const std::pair<std::string_view, std::string_view>> tags,
               std::string_view movetext);
std::string Write(const std::vector<Game>& games);

}  // namespace pgn
