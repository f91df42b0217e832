#include "database/pgnstream.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr size_t kBlockBytes = size_t{1} << 20;

bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

bool StartsWithBracket(std::string_view line) {
  size_t at = line.find_first_not_of(" \t");
  return at != std::string_view::npos && line[at] == '[';
}

// Every tag pair on a line, by offsets from the line's start. Returns an
// empty text on success, otherwise what is wrong.
std::string ParseTagLine(std::string_view line, std::vector<PgnTag>& tags, size_t base) {
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
    std::string_view name = line.substr(nameStart, i - nameStart);
    if (name.empty()) return "tag pair without a name";
    skipSpace();
    if (i >= line.size() || line[i] != '"') return "tag " + std::string(name) + " has no quoted value";
    ++i;
    PgnTag tag;
    tag.valueStart = static_cast<uint32_t>(base + i);
    bool closed = false;
    while (i < line.size()) {
      char c = line[i++];
      if (c == '"') {
        closed = true;
        break;
      }
      if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
        tag.escaped = true;
        ++i;
      }
    }
    if (!closed) return "value of tag " + std::string(name) + " is not closed";
    tag.valueEnd = static_cast<uint32_t>(base + i - 1);
    skipSpace();
    if (i >= line.size() || line[i] != ']') return "tag " + std::string(name) + " is not closed by ]";
    ++i;
    tag.nameStart = static_cast<uint32_t>(base + nameStart);
    tag.nameLength = static_cast<uint32_t>(name.size());
    tags.push_back(tag);
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

void Reset(PgnGame& game) {
  game.text.clear();
  game.isGame = game.damaged = false;
  game.firstLine = game.problemLine = 0;
  game.problem.clear();
  game.tags.clear();
  game.headerEnd = 0;
  game.headerEndsLine = true;
  game.lineEnd = "\n";
}

}  // namespace

std::string_view PgnGame::RawValue(const PgnTag& tag) const {
  return std::string_view(text).substr(tag.valueStart, tag.valueEnd - tag.valueStart);
}

std::string PgnGame::Value(const PgnTag& tag) const {
  std::string_view raw = RawValue(tag);
  if (!tag.escaped) return std::string(raw);
  std::string value;
  value.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\\' && i + 1 < raw.size() && (raw[i + 1] == '"' || raw[i + 1] == '\\')) ++i;
    value += raw[i];
  }
  return value;
}

const PgnTag* PgnGame::Find(std::string_view name) const {
  for (const PgnTag& tag : tags)
    if (Name(tag) == name) return &tag;
  return nullptr;
}

// The reader follows the stand-in host's: a line starting with "[" (after
// blanks) begins a game unless a header or an open comment holds it; blank
// and "%" lines before the first game are leading text.
struct PgnReader::State {
  enum class Mode { kBetween, kTags, kAfterTags, kMoves };

  std::FILE* in = nullptr;  // null: the whole text is in `data`
  std::unique_ptr<char[]> block;
  const char* data = nullptr;
  size_t at = 0, held = 0;
  bool endOfFile = false, failed = false, finished = false;
  std::string carry;  // a line that crosses the end of the block

  PgnGame current, done;
  bool hasDone = false;
  Mode mode = Mode::kBetween;
  bool inComment = false;
  int pendingBlanks = 0;
  int64_t commentLine = 0, lineNumber = 0;

  // The next line with its line end, valid until the next call.
  bool ReadLine(std::string_view& line) {
    carry.clear();
    for (;;) {
      if (at < held) {
        const char* start = data + at;
        if (const void* nl = std::memchr(start, '\n', held - at)) {
          size_t length = static_cast<size_t>(static_cast<const char*>(nl) - start) + 1;
          at += length;
          if (carry.empty()) {
            line = std::string_view(start, length);
          } else {
            carry.append(start, length);
            line = carry;
          }
          return true;
        }
        carry.append(start, held - at);
        at = held;
      }
      if (endOfFile || !in) {
        endOfFile = true;
        line = carry;
        return !carry.empty();
      }
      at = 0;
      held = std::fread(block.get(), 1, kBlockBytes, in);
      if (held == 0) {
        endOfFile = true;
        failed = std::ferror(in) != 0;
      }
    }
  }

  void Take(std::string_view raw) {
    ++lineNumber;
    std::string_view line = raw;
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    size_t skip = 0;  // a byte-order mark is not part of the first line's text
    if (lineNumber == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") skip = 3;
    line.remove_prefix(skip);
    Dispatch(raw, line, skip);
  }

  void Dispatch(std::string_view raw, std::string_view line, size_t skip) {
    if (line.find('\0') != std::string_view::npos) {
      if (mode == Mode::kBetween) Begin();
      Fault(lineNumber, "zero byte in the text");
      Move(raw, line);
      return;
    }
    bool blank = IsBlank(line);
    switch (mode) {
      case Mode::kBetween:
        if (blank || line[0] == '%') {
          current.text += raw;
          return;
        }
        Begin();
        if (StartsWithBracket(line)) {
          mode = Mode::kTags;
          Tag(raw, line, skip);
        } else {
          Move(raw, line);
        }
        return;
      case Mode::kTags:
        if (blank) {
          mode = Mode::kAfterTags;
          current.text += raw;
        } else if (StartsWithBracket(line)) {
          Tag(raw, line, skip);
        } else {
          Move(raw, line);
        }
        return;
      case Mode::kAfterTags:
        if (blank) {
          current.text += raw;
        } else if (StartsWithBracket(line)) {
          End();
          Dispatch(raw, line, skip);
        } else {
          Move(raw, line);
        }
        return;
      case Mode::kMoves:
        if (inComment) {
          // A tag pair after a blank line means the comment was never closed.
          std::vector<PgnTag> probe;
          if (pendingBlanks > 0 && StartsWithBracket(line) && ParseTagLine(line, probe, 0).empty()) {
            Fault(commentLine, "comment is not closed");
            End();
            Dispatch(raw, line, skip);
            return;
          }
          if (blank) {
            ++pendingBlanks;
            current.text += raw;
            return;
          }
          Move(raw, line);
          return;
        }
        if (blank) {
          ++pendingBlanks;
          current.text += raw;
        } else if (StartsWithBracket(line)) {
          End();
          Dispatch(raw, line, skip);
        } else {
          Move(raw, line);
        }
        return;
    }
  }

  void Begin() {
    current.isGame = true;
    current.firstLine = lineNumber;
    // Until a tag line is read, new tags go before the game's first line.
    current.headerEnd = current.text.size();
    inComment = false;
    pendingBlanks = 0;
    mode = Mode::kMoves;
  }

  void Tag(std::string_view raw, std::string_view line, size_t skip) {
    size_t base = current.text.size() + skip;
    std::string problem = ParseTagLine(line, current.tags, base);
    if (!problem.empty()) Fault(lineNumber, std::move(problem));
    current.text += raw;
    current.headerEnd = current.text.size();
    current.headerEndsLine = !raw.empty() && raw.back() == '\n';
    current.lineEnd = raw.ends_with("\r\n") ? "\r\n" : "\n";
  }

  void Move(std::string_view raw, std::string_view line) {
    pendingBlanks = 0;
    bool wasInside = inComment;
    inComment = InsideCommentAfter(line, inComment);
    if (!wasInside && inComment) commentLine = lineNumber;
    current.text += raw;
    mode = Mode::kMoves;
  }

  void Fault(int64_t line, std::string what) {
    if (current.damaged) return;  // the first problem is the one reported
    current.damaged = true;
    current.problemLine = line;
    current.problem = std::move(what);
  }

  void End() {
    std::swap(current, done);
    hasDone = true;
    Reset(current);
    mode = Mode::kBetween;
    inComment = false;
    pendingBlanks = 0;
  }

  void Finish() {
    if (mode == Mode::kBetween) {
      if (!current.text.empty()) End();
      return;
    }
    if (inComment) Fault(commentLine, "comment is not closed");
    End();
  }
};

PgnReader::PgnReader(std::FILE* in) : state_(std::make_unique<State>()) {
  state_->in = in;
  state_->block = std::make_unique_for_overwrite<char[]>(kBlockBytes);
  state_->data = state_->block.get();
}

PgnReader::PgnReader(std::string_view text) : state_(std::make_unique<State>()) {
  state_->data = text.data();
  state_->held = text.size();
}

PgnReader::~PgnReader() = default;

bool PgnReader::Next(PgnGame& game) {
  State& s = *state_;
  std::string_view line;
  while (!s.hasDone && !s.finished) {
    if (s.ReadLine(line)) {
      s.Take(line);
    } else {
      s.Finish();
      s.finished = true;
    }
  }
  if (!s.hasDone) return false;
  std::swap(game, s.done);
  s.hasDone = false;
  Reset(s.done);
  return true;
}

bool PgnReader::Failed() const { return state_->failed; }

std::string EscapeTagValue(std::string_view value) {
  std::string out;
  out.reserve(value.size() + 2);
  for (char c : value) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

std::string WithTags(const PgnGame& game, std::span<const TagSetting> tags) {
  if (!game.isGame || game.damaged) return game.text;
  struct Replacement {
    const PgnTag* tag;
    std::string raw;  // the new bytes between the quotes
  };
  std::vector<Replacement> replaced;
  std::vector<std::pair<std::string_view, std::string_view>> added;
  for (const TagSetting& setting : tags) {
    auto add =
        std::find_if(added.begin(), added.end(), [&](const auto& a) { return a.first == setting.name; });
    if (add != added.end()) {
      add->second = setting.value;
      continue;
    }
    const PgnTag* tag = game.Find(setting.name);
    if (!tag) {
      added.emplace_back(setting.name, setting.value);
      continue;
    }
    std::string raw = game.Value(*tag) == setting.value
                          ? game.text.substr(tag->valueStart, tag->valueEnd - tag->valueStart)
                          : EscapeTagValue(setting.value);
    auto old = std::find_if(replaced.begin(), replaced.end(), [&](const auto& r) { return r.tag == tag; });
    if (old != replaced.end())
      old->raw = std::move(raw);
    else
      replaced.push_back({tag, std::move(raw)});
  }
  std::sort(replaced.begin(), replaced.end(),
            [](const Replacement& a, const Replacement& b) { return a.tag->valueStart < b.tag->valueStart; });

  std::string out;
  out.reserve(game.text.size() + 32 * added.size());
  size_t from = 0;
  for (const Replacement& r : replaced) {
    out.append(game.text, from, r.tag->valueStart - from);
    out += r.raw;
    from = r.tag->valueEnd;
  }
  out.append(game.text, from, game.headerEnd - from);
  for (size_t i = 0; i < added.size(); ++i) {
    // A header that ends the file without a line end gets one before the
    // new line, and the file still ends without one.
    if (!game.headerEndsLine) out += game.lineEnd;
    out += '[';
    out += added[i].first;
    out += " \"";
    out += EscapeTagValue(added[i].second);
    out += "\"]";
    if (game.headerEndsLine) out += game.lineEnd;
  }
  out.append(game.text, game.headerEnd, std::string::npos);
  return out;
}
