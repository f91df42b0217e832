#include "hostsim/pgn.h"

#include <algorithm>

namespace pgn {

namespace {

bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

bool StartsWithBracket(std::string_view line) {
  size_t at = line.find_first_not_of(" \t");
  return at != std::string_view::npos && line[at] == '[';
}

// Parses every tag pair on a line. Returns an empty string on success,
// otherwise what is wrong.
std::string ParseTagLine(std::string_view line, std::vector<std::pair<std::string, std::string>>& tags) {
  size_t i = 0;
  auto skipSpace = [&] {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  };
  skipSpace();
  while (i < line.size()) {
    if (line[i] != '[') return "text after a tag pair";
    ++i;
    skipSpace();
    size_t nameStart = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '"' && line[i] != ']' &&
           line[i] != '[')
      ++i;
    std::string name(line.substr(nameStart, i - nameStart));
    if (name.empty()) return "tag pair without a name";
    skipSpace();
    if (i >= line.size() || line[i] != '"') return "tag " + name + " has no quoted value";
    ++i;
    std::string value;
    bool closed = false;
    while (i < line.size()) {
      char c = line[i++];
      if (c == '"') {
        closed = true;
        break;
      }
      if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) c = line[i++];
      value += c;
    }
    if (!closed) return "value of tag " + name + " is not closed";
    skipSpace();
    if (i >= line.size() || line[i] != ']') return "tag " + name + " is not closed by ]";
    ++i;
    tags.emplace_back(std::move(name), std::move(value));
    skipSpace();
  }
  return {};
}

// Follows comments across movetext lines: "{" opens one until "}", ";"
// comments out the rest of its line.
bool InsideCommentAfter(std::string_view line, bool inside) {
  for (char c : line) {
    if (inside) {
      if (c == '}') inside = false;
    } else if (c == '{') {
      inside = true;
    } else if (c == ';') {
      break;
    }
  }
  return inside;
}

class Reader {
 public:
  ReadResult Run(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    int number = 0;
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      std::string_view line =
          text.substr(start, end == std::string_view::npos ? text.size() - start : end - start);
      start = end == std::string_view::npos ? text.size() : end + 1;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      Take(line, ++number);
    }
    Finish();
    return std::move(result_);
  }

 private:
  enum class State { kBetween, kTags, kAfterTags, kMoves };

  void Take(std::string_view line, int number) {
    currentLine_ = number;
    if (line.find('\0') != std::string_view::npos) {
      if (state_ == State::kBetween) Begin();
      Fault(number, "zero byte in the text");
      Move(line);
      return;
    }
    bool blank = IsBlank(line);
    switch (state_) {
      case State::kBetween:
        if (blank || line[0] == '%') return;
        Begin();
        if (StartsWithBracket(line)) {
          state_ = State::kTags;
          Tag(line, number);
        } else {
          Move(line);
        }
        return;
      case State::kTags:
        if (blank) {
          state_ = State::kAfterTags;
        } else if (StartsWithBracket(line)) {
          Tag(line, number);
        } else {
          Move(line);
        }
        return;
      case State::kAfterTags:
        if (blank) return;
        if (StartsWithBracket(line)) {
          End();
          Take(line, number);
        } else {
          Move(line);
        }
        return;
      case State::kMoves:
        if (inComment_) {
          // A tag pair after a blank line means the comment was never closed.
          std::vector<std::pair<std::string, std::string>> probe;
          if (pendingBlanks_ > 0 && StartsWithBracket(line) && ParseTagLine(line, probe).empty()) {
            Fault(commentLine_, "comment is not closed");
            End();
            Take(line, number);
            return;
          }
          if (blank) {
            ++pendingBlanks_;
            return;
          }
          Move(line);
          return;
        }
        if (blank) {
          ++pendingBlanks_;
        } else if (StartsWithBracket(line)) {
          End();
          Take(line, number);
        } else {
          Move(line);
        }
        return;
    }
  }

  void Begin() {
    game_ = Game{};
    faulty_ = false;
    inComment_ = false;
    pendingBlanks_ = 0;
    state_ = State::kMoves;
  }

  void Tag(std::string_view line, int number) {
    std::string problem = ParseTagLine(line, game_.tags);
    if (!problem.empty()) Fault(number, problem);
  }

  void Move(std::string_view line) {
    for (; pendingBlanks_ > 0; --pendingBlanks_) game_.movetext.emplace_back();
    bool wasInside = inComment_;
    inComment_ = InsideCommentAfter(line, inComment_);
    if (!wasInside && inComment_) commentLine_ = currentLine_;
    game_.movetext.emplace_back(line);
    state_ = State::kMoves;
  }

  void Fault(int number, std::string what) {
    faulty_ = true;
    result_.problems.push_back({number, std::move(what)});
  }

  void End() {
    if (faulty_) {
      ++result_.skippedGames;
    } else {
      ArrangeRoster(game_);
      result_.games.push_back(std::move(game_));
    }
    game_ = Game{};
    state_ = State::kBetween;
    inComment_ = false;
    pendingBlanks_ = 0;
  }

  void Finish() {
    if (state_ == State::kBetween) return;
    if (inComment_) Fault(commentLine_, "comment is not closed");
    End();
  }

  ReadResult result_;
  Game game_;
  State state_ = State::kBetween;
  bool faulty_ = false;
  bool inComment_ = false;
  int pendingBlanks_ = 0;
  int commentLine_ = 0;
  int currentLine_ = 0;
};

}  // namespace

ReadResult Read(std::string_view text) { return Reader().Run(text); }

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

std::string EscapeTagValue(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out;
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
