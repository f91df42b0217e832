// pgnstream: PGN files read and written game by game, every byte kept. A
// game's text runs from its first line up to the next game's first line, so
// the games put back together are the file; tags are changed by replacing a
// value where it stands or by adding a line after the header's last tag line.
// Games are told apart as the stand-in host's reader tells them apart, and a
// game that reader would refuse (a malformed tag pair, a zero byte, a comment
// that never closes) is marked as damaged, to be copied unchanged.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One tag pair, by offsets into its game's text.
struct PgnTag {
  uint32_t nameStart = 0, nameLength = 0;
  uint32_t valueStart = 0, valueEnd = 0;  // the bytes between the quotes, escapes included
  bool escaped = false;                   // the value holds a backslash escape
};

struct PgnGame {
  std::string text;         // every byte of the game as it was read
  bool isGame = false;      // false: only blank or escape lines, no game
  bool damaged = false;     // the reader refuses it: copy it unchanged
  int64_t firstLine = 0;    // 1-based line of the file where the game starts
  int64_t problemLine = 0;  // for a damaged game: where, and what
  std::string problem;
  std::vector<PgnTag> tags;         // in file order
  size_t headerEnd = 0;             // offset just after the last tag line
  bool headerEndsLine = true;       // the last tag line has a line end
  std::string_view lineEnd = "\n";  // the last tag line's line end ("\r\n" or "\n")

  std::string_view Name(const PgnTag& tag) const {
    return std::string_view(text).substr(tag.nameStart, tag.nameLength);
  }
  // The value with \" and \\ undone.
  std::string Value(const PgnTag& tag) const;
  // The bytes between the quotes: the value itself unless tag.escaped.
  std::string_view RawValue(const PgnTag& tag) const;
  // The first tag of that name, or null.
  const PgnTag* Find(std::string_view name) const;
};

// Reads games from a file one at a time; memory is that of one game.
class PgnReader {
 public:
  explicit PgnReader(std::FILE* in);
  // Reads text in memory, which must outlive the reader.
  explicit PgnReader(std::string_view text);
  ~PgnReader();
  PgnReader(const PgnReader&) = delete;
  PgnReader& operator=(const PgnReader&) = delete;

  // The next game into game (its buffers are reused); false at the end.
  bool Next(PgnGame& game);
  // A read error happened: the games read so far are all there is.
  bool Failed() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// A tag to set: replaces the value of the first tag of that name, or adds
// the tag.
struct TagSetting {
  std::string_view name;
  std::string_view value;
};

// "\"" and "\\" escaped as a PGN tag value needs them.
std::string EscapeTagValue(std::string_view value);
// The game's text with the tags set in order: a value replaced in its own
// line, a new tag as "[Name "value"]" on a line of its own after the last
// tag line (a later setting of the same name replaces the earlier one).
// A value equal to the one read keeps its bytes. A damaged game or a text
// without a game is returned unchanged.
std::string WithTags(const PgnGame& game, std::span<const TagSetting> tags);
