// pgnstream: PGN files read and written game by game, every byte kept. A
// game's text runs from its first byte up to the next game's first byte
// (text before the first game is a piece of its own, no game), so the pieces
// put back together are the file. Tags are changed by replacing a value
// where it stands or by adding a tag pair after the header's last one.
//
// The reading rules: the PGN standard's import format, and where real files
// need it, what the widely used readers accept besides.
// - Line ends are LF, CR LF or CR alone, mixed at will. A line whose first
//   byte is '%' is an escape line and is ignored; ';' comments out the rest
//   of its line; '{' opens a comment that runs to the first '}', across
//   lines, and holds no tag pair, escape line or result. Comments do not nest.
// - A game is a tag pair section and then movetext; either may be empty.
// - The tag pair section: tag pairs [NAME "VALUE"], any number on a line,
//   white space (line ends too) allowed between their parts and between
//   them; empty lines, escape lines and ';' comments among them are part of
//   it. A value ends at its closing quote (\" and \\ are its escapes) and
//   never spans lines. A tag name the section already holds begins the next
//   game: headers that follow one another without movetext are games of
//   their own, never merged. The section ends at the first other text.
// - Movetext: moves, move numbers, annotations, comments, variations, up to
//   a result token (1-0, 0-1, 1/2-1/2, *) outside every variation, or up to
//   the next '[' outside a comment, which begins the next tag pair section.
//   A game without a tag pair section begins with its first movetext token:
//   a letter, a digit, '*', '$' or '('.
// - After a game's result, white space, escape lines, comments and any text
//   that begins no game belong to that game. A game begins at the start of
//   the line of its first token when only blanks precede the token on that
//   line, else at the token itself.
// - White space: blank, tab, line ends, a UTF-8 byte order mark (at the
//   start of the file or where files were joined); outside tag values and
//   movetext also a zero byte and Ctrl-Z (the padding of DOS tools).
// Where the standard leaves a choice, the rules above take the side of the
// widely used readers and of real files: lines among tag pairs, a repeated
// name as the next game's header (a name stands once in a header), results
// in variations passed over, '[' in movetext as the next header, stray text
// and padding between games kept with the game before.
// A game the reader cannot take is damaged, to be copied unchanged: a
// malformed tag pair, a zero byte in a tag value or in movetext, a comment
// that never closes (it holds the rest of the file), or a game longer than
// kPgnGameLimit.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The longest game held in memory; a longer one is damaged.
constexpr int64_t kPgnGameLimit = int64_t{64} << 20;

// One tag pair, by offsets into its game's text.
struct PgnTag {
  uint32_t nameStart = 0, nameLength = 0;
  uint32_t valueStart = 0, valueEnd = 0;  // the bytes between the quotes, escapes included
  bool escaped = false;                   // the value holds a backslash escape
};

struct PgnGame {
  std::string text;         // every byte of the game as it was read; empty for one beyond the limit
  int64_t size = 0;         // its bytes in the file
  bool isGame = false;      // false: text before the first game
  bool damaged = false;     // the reader refuses it: copy it unchanged
  int64_t problemLine = 0;  // for a damaged game: the line of the file where, and what
  std::string problem;
  std::vector<PgnTag> tags;  // in file order
  size_t movetextStart = 0;  // where the movetext begins; text.size() when there is none
  // Where new tag pairs go: after the last tag pair and the line end that
  // follows it (headerEndsLine), or right after the pair when more text
  // follows on its line or the file ends there; before the movetext of a
  // game without tags.
  size_t headerEnd = 0;
  bool headerEndsLine = true;
  std::string_view lineEnd = "\n";  // the header's line end, else the game's first one

  std::string_view Name(const PgnTag& tag) const {
    return std::string_view(text).substr(tag.nameStart, tag.nameLength);
  }
  // The value with \" and \\ undone.
  std::string Value(const PgnTag& tag) const;
  // The bytes between the quotes: the value itself unless tag.escaped.
  std::string_view RawValue(const PgnTag& tag) const;
  // The tag of that name, or null.
  const PgnTag* Find(std::string_view name) const;
};

// Reads games from a file one at a time; memory is that of one game.
class PgnReader {
 public:
  // Every byte read is also written to `copy` when it is given. The file is
  // read `blockBytes` at a time (tests use small blocks).
  explicit PgnReader(std::FILE* in, std::FILE* copy = nullptr, size_t blockBytes = size_t{1} << 20);
  // Reads text in memory, which must outlive the reader.
  explicit PgnReader(std::string_view text);
  ~PgnReader();
  PgnReader(const PgnReader&) = delete;
  PgnReader& operator=(const PgnReader&) = delete;

  // The next piece into game (its buffers are reused); false at the end.
  bool Next(PgnGame& game);
  // A read or copy error happened: the games read so far are all there is.
  bool Failed() const;
  // A game longer than this is damaged (tests use small limits).
  void SetGameLimit(int64_t bytes);

 private:
  friend class PgnHeaderReader;
  struct State;
  std::unique_ptr<State> state_;
};

// Reads the text of one game, as PgnReader gave it, again without its
// movetext: the tags and where they end. Its buffers serve game after game.
class PgnHeaderReader {
 public:
  PgnHeaderReader();
  ~PgnHeaderReader();
  PgnHeaderReader(const PgnHeaderReader&) = delete;
  PgnHeaderReader& operator=(const PgnHeaderReader&) = delete;

  // False when the text is not one game's text.
  bool Read(std::string_view text, PgnGame& game);

 private:
  std::unique_ptr<PgnReader::State> state_;
};

// The line ends of text as the reader counts them: LF, CR LF, CR alone (a
// CR last in text counts). A reading that begins where text ends, after a
// line end, counts its lines from this plus one.
int64_t PgnLineEnds(std::string_view text);

// A tag to set: replaces the value of the tag of that name, or adds the tag.
struct TagSetting {
  std::string_view name;
  std::string_view value;
};

// "\"" and "\\" escaped as a PGN tag value needs them.
std::string EscapeTagValue(std::string_view value);
// The game's text with the tags set in order: a value replaced where it
// stands, a new tag as [Name "value"] on a line of its own at headerEnd (a
// later setting of the same name replaces the earlier one). A value equal
// to the one read keeps its bytes. A damaged game or a piece without a game
// is returned unchanged.
std::string WithTags(const PgnGame& game, std::span<const TagSetting> tags);
