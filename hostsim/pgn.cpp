#include "hostsim/pgn.h"

#include <algorithm>

#include "pgn/pgnstream.h"

using namespace std::string_view_literals;

namespace pgn {

namespace {

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t\0\x1A"sv) == std::string_view::npos;
}

// The movetext's lines up to the last one that holds more than white
// space, joined by CR LF.
std::string MovetextLines(std::string_view moves) {
  std::string lines;
  size_t kept = 0;  // the bytes up to the end of the last line that is not blank
  for (bool first = true; !moves.empty(); first = false) {
    size_t end = moves.find_first_of("\r\n");
    std::string_view line = moves.substr(0, end);
    if (!first) lines += "\r\n";
    lines += line;
    if (!IsBlank(line)) kept = lines.size();
    if (end == std::string_view::npos) break;
    moves.remove_prefix(end + (moves.substr(end, 2) == "\r\n" ? 2 : 1));
  }
  lines.resize(kept);
  return lines;
}

}  // namespace

ReadResult ReadEach(std::string_view text, const std::function<void(Game&& game)>& take) {
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
    Game game;
    for (const PgnTag& tag : piece.tags) game.tags.emplace_back(piece.Name(tag), piece.Value(tag));
    game.movetext = MovetextLines(std::string_view(piece.text).substr(piece.movetextStart));
    ArrangeRoster(game);
    take(std::move(game));
  }
  return result;
}

ReadResult Read(std::string_view text) {
  std::vector<Game> games;
  ReadResult result = ReadEach(text, [&](Game&& game) { games.push_back(std::move(game)); });
  result.games = std::move(games);
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

void WriteGame(std::string& out, std::span<const std::pair<std::string_view, std::string_view>> tags,
               std::string_view movetext) {
  for (const auto& [name, value] : tags) {
    out += '[';
    out += name;
    out += " \"";
    out += EscapeTagValue(value);
    out += "\"]\r\n";
  }
  out += "\r\n";
  if (movetext.empty()) return;
  out += movetext;
  out += "\r\n\r\n";
}

std::string Write(const std::vector<Game>& games) {
  std::string out;
  std::vector<std::pair<std::string_view, std::string_view>> tags;
  for (const Game& game : games) {
    tags.assign(game.tags.begin(), game.tags.end());
    WriteGame(out, tags, game.movetext);
  }
  return out;
}

}  // namespace pgn
