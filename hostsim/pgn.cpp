#include "hostsim/pgn.h"

#include <algorithm>

#include "database/pgnstream.h"

using namespace std::string_view_literals;

namespace pgn {

namespace {

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t\0\x1A"sv) == std::string_view::npos;
}

// The movetext's lines without their line ends, up to the last one that
// holds more than white space.
std::vector<std::string> MovetextLines(std::string_view moves) {
  std::vector<std::string> lines;
  size_t kept = 0;  // lines up to the last one that is not blank
  while (!moves.empty()) {
    size_t end = moves.find_first_of("\r\n");
    std::string_view line = moves.substr(0, end);
    lines.emplace_back(line);
    if (!IsBlank(line)) kept = lines.size();
    if (end == std::string_view::npos) break;
    moves.remove_prefix(end + (moves.substr(end, 2) == "\r\n" ? 2 : 1));
  }
  lines.resize(kept);
  return lines;
}

}  // namespace

ReadResult Read(std::string_view text) {
  ReadResult result;
  PgnReader reader(text);
  PgnGame piece;
  while (reader.Next(piece)) {
    if (!piece.isGame) continue;
    if (piece.damaged) {
      result.problems.push_back({static_cast<int>(piece.problemLine), piece.problem});
      ++result.skippedGames;
      continue;
    }
    Game& game = result.games.emplace_back();
    for (const PgnTag& tag : piece.tags) game.tags.emplace_back(piece.Name(tag), piece.Value(tag));
    game.movetext = MovetextLines(std::string_view(piece.text).substr(piece.movetextStart));
    ArrangeRoster(game);
  }
  return result;
}

void ArrangeRoster(Game& game) {
  std::vector<std::pair<std::string, std::string>> arranged;
  std::vector<bool> taken(game.tags.size(), false);
  for (const auto& [name, placeholder] : kSevenTagRoster) {
    std::string_view wanted = name;  // clang 14 cannot capture a structured binding
    auto it =
        std::find_if(game.tags.begin(), game.tags.end(), [&](const auto& t) { return t.first == wanted; });
    if (it == game.tags.end()) {
      arranged.emplace_back(std::string(name), std::string(placeholder));
    } else {
      taken[static_cast<size_t>(it - game.tags.begin())] = true;
      arranged.push_back(*it);
    }
  }
  for (size_t i = 0; i < game.tags.size(); ++i)
    if (!taken[i]) arranged.push_back(std::move(game.tags[i]));
  game.tags = std::move(arranged);
}

std::string TagLine(std::string_view name, std::string_view value) {
  return "[" + std::string(name) + " \"" + EscapeTagValue(value) + "\"]";
}

std::string Write(const std::vector<Game>& games) {
  std::string out;
  for (const Game& game : games) {
    for (const auto& [name, value] : game.tags) out += TagLine(name, value) + "\r\n";
    out += "\r\n";
    if (game.movetext.empty()) continue;
    for (const std::string& line : game.movetext) out += line + "\r\n";
    out += "\r\n";
  }
  return out;
}

}  // namespace pgn
