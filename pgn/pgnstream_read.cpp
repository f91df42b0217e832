// The PGN reader: the rules are in pgnstream.h. It scans bytes, not lines,
// in blocks of a file or in text held in memory; a piece of the file (a
// game, or the text before the first game) is handed out when the start of
// the next one is found, since a game's trailing text is its own.
#include "pgn/pgnstream.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

// What a movetext byte asks of the reader; most ask nothing.
enum MoveByte : uint8_t {
  kPlain,
  kBraceOpen,
  kSemicolon,
  kPercent,
  kBracket,
  kParenOpen,
  kParenClose,
  kStar,
  kResultPart,  // '-', as in 1-0, 0-1 and 1/2-1/2
  kZero,
};

constexpr std::array<uint8_t, 256> MoveBytes() {
  std::array<uint8_t, 256> bytes{};
  bytes['{'] = kBraceOpen;
  bytes[';'] = kSemicolon;
  bytes['%'] = kPercent;
  bytes['['] = kBracket;
  bytes['('] = kParenOpen;
  bytes[')'] = kParenClose;
  bytes['*'] = kStar;
  bytes['-'] = kResultPart;
  bytes[0] = kZero;
  return bytes;
}
constexpr std::array<uint8_t, 256> kMoveBytes = MoveBytes();

// The bytes that end a tag name, and those a tag value must look at.
constexpr std::array<uint8_t, 256> Bytes(std::string_view set) {
  std::array<uint8_t, 256> bytes{};
  for (char c : set) bytes[static_cast<unsigned char>(c)] = 1;
  return bytes;
}
constexpr std::array<uint8_t, 256> kNameEnds = Bytes(std::string_view(" \t\r\n\"[]", 7));
constexpr std::array<uint8_t, 256> kValueEnds = Bytes(std::string_view("\"\\\r\n\0", 5));

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }
// White space where no value or movetext is: the padding of DOS tools too.
bool IsWhite(char c) { return IsBlank(c) || IsLineEnd(c) || c == '\0' || c == '\x1A'; }
bool IsBom(const char* p) { return p[0] == '\xEF' && p[1] == '\xBB' && p[2] == '\xBF'; }

bool IsLetterOrDigit(unsigned char c) {
  return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}
// The bytes of a symbol token, and '/' for 1/2-1/2.
bool IsSymbolByte(unsigned char c) {
  return IsLetterOrDigit(c) || c == '_' || c == '+' || c == '#' || c == '=' || c == ':' || c == '-' ||
         c == '/';
}
// The first byte at or after `at` that movetext must look at (kMoveBytes),
// or `end`. Sixteen bytes at a time where the processor has SSE2.
size_t SkipPlainMoves(const unsigned char* bytes, size_t at, size_t end) {
#if defined(__SSE2__)
  const __m128i brace = _mm_set1_epi8('{'), semicolon = _mm_set1_epi8(';'), percent = _mm_set1_epi8('%'),
                bracket = _mm_set1_epi8('['), open = _mm_set1_epi8('('), close = _mm_set1_epi8(')'),
                star = _mm_set1_epi8('*'), dash = _mm_set1_epi8('-'), zero = _mm_setzero_si128();
  for (; at + 16 <= end; at += 16) {
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
    __m128i hit =
        _mm_or_si128(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(b, brace), _mm_cmpeq_epi8(b, semicolon)),
                                  _mm_or_si128(_mm_cmpeq_epi8(b, percent), _mm_cmpeq_epi8(b, bracket))),
                     _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(b, open), _mm_cmpeq_epi8(b, close)),
                                  _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(b, star), _mm_cmpeq_epi8(b, dash)),
                                               _mm_cmpeq_epi8(b, zero))));
    if (int mask = _mm_movemask_epi8(hit); mask != 0) return at + static_cast<size_t>(__builtin_ctz(mask));
  }
#endif
  while (at < end && kMoveBytes[bytes[at]] == kPlain) ++at;
  return at;
}

bool BeginsGame(unsigned char c) { return IsLetterOrDigit(c) || c == '*' || c == '$' || c == '('; }

// Line ends in [from, to): LF, CR LF, CR alone. A CR at `to` - 1 is one
// unless the byte at `to` (when it is below `limit`) is LF. Sixteen bytes at
// a time where the processor has SSE2.
int64_t CountLineEnds(const char* from, const char* to, const char* limit) {
  int64_t n = 0;
  const char* p = from;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), zero = _mm_setzero_si128();
  while (to - p >= 17) {
    __m128i counts = zero;  // per byte lane, at most 255
    for (int round = 0; round < 255 && to - p >= 17; ++round, p += 16) {
      __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
      __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(here, lf),
                                  _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(here, cr)));
      counts = _mm_sub_epi8(counts, ends);
    }
    __m128i sums = _mm_sad_epu8(counts, zero);
    n += _mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4);
  }
#endif
  for (; p < to; ++p)
    if (*p == '\n' || (*p == '\r' && (p + 1 == limit || p[1] != '\n'))) ++n;
  return n;
}

std::string_view LineEndAt(std::string_view text, size_t at) {
  if (text[at] == '\n') return "\n";
  return at + 1 < text.size() && text[at + 1] == '\n' ? "\r\n" : "\r";
}

void Reset(PgnGame& game) {
  game.text.clear();
  game.size = 0;
  game.isGame = game.damaged = false;
  game.problemLine = 0;
  game.problem.clear();
  game.tags.clear();
  game.movetextStart = game.headerEnd = 0;
  game.headerEndsLine = true;
  game.lineEnd = "\n";
}

}  // namespace

struct PgnReader::State {
  enum class Mode : uint8_t { kLeading, kTags, kMoves, kTrailing };

  // The input: data[0, end) holds the piece being read from gameStart on
  // (and the byte before it, for the first-column test); pos is where
  // reading goes on. A file is read a block at a time into `buffer`.
  std::FILE* in = nullptr;
  std::FILE* copy = nullptr;
  size_t blockBytes = 0;
  std::unique_ptr<char[]> buffer;
  size_t capacity = 0;
  const char* data = nullptr;
  size_t pos = 0, end = 0;
  int64_t dataOffset = 0;  // where data[0] is in the file
  bool eof = false, failed = false, finished = false;
  bool wholeGame = false;  // the text is one game: its movetext is not read
  int64_t limit = kPgnGameLimit;

  // The piece being read. Offsets into it count from gameStart.
  Mode mode = Mode::kLeading;
  size_t gameStart = 0;
  int64_t dropped = 0;  // bytes of a game beyond the limit, no longer held
  bool overLimit = false;
  size_t lineMark = 0;   // a place in data whose line is known:
  int64_t markLine = 1;  // its line
  int64_t depth = 0;     // variations open
  bool inComment = false, toLineEnd = false;
  size_t commentAt = kNone, commentZero = kNone, lastTagEnd = kNone, movetextAt = kNone;
  PgnGame current;

  PgnGame ready[2];  // pieces found, handed out in order
  int readyCount = 0, readyNext = 0;
  PgnGame spare;

  // Reads `text` from its start, as one file.
  void Restart(std::string_view text) {
    data = text.data();
    pos = gameStart = lineMark = 0;
    end = text.size();
    dataOffset = dropped = 0;
    eof = true;
    failed = finished = wholeGame = overLimit = inComment = toLineEnd = false;
    mode = Mode::kLeading;
    markLine = 1;
    depth = 0;
    commentAt = commentZero = lastTagEnd = movetextAt = kNone;
    Reset(current);
    readyCount = readyNext = 0;
  }

  bool Next(PgnGame& game) {
    while (readyNext == readyCount) {
      if (finished) return false;
      readyNext = readyCount = 0;
      if (Scan()) continue;
      if (eof) {
        Finish();
        finished = true;
      } else {
        Refill();
      }
    }
    std::swap(game, ready[readyNext++]);
    return true;
  }

  // A byte order mark at a line's start is not part of the line.
  bool AtColumnOne(size_t at) const {
    if (at >= 3 && IsBom(data + at - 3)) at -= 3;
    return at == 0 ? dataOffset == 0 : IsLineEnd(data[at - 1]);
  }
  std::string_view Held(size_t to) const { return std::string_view(data + gameStart, to - gameStart); }

  // The line of data[at], at or after the mark, which moves there.
  int64_t LineAt(size_t at) {
    markLine += CountLineEnds(data + lineMark, data + at, data + end);
    lineMark = at;
    return markLine;
  }

  // Reads on until a piece is ready (true) or more input is needed (false;
  // at the end of the input everything has been read).
  bool Scan() {
    while (readyCount == 0) {
      if (toLineEnd && !SkipToLineEnd()) return false;
      if (inComment && !SkipComment()) return false;
      if (pos == end) return false;
      bool going = false;
      switch (mode) {
        case Mode::kLeading:
        case Mode::kTrailing: going = Between(); break;
        case Mode::kTags: going = Tags(); break;
        case Mode::kMoves: going = Moves(); break;
      }
      if (!going) return false;
    }
    return true;
  }

  bool SkipToLineEnd() {
    for (size_t p = pos; p < end; ++p) {
      if (IsLineEnd(data[p])) {
        pos = p;
        toLineEnd = false;
        return true;
      }
      if (data[p] == '\0' && mode == Mode::kMoves) Fault(p, "zero byte in the text");
    }
    pos = end;
    return false;
  }

  // A zero byte in a comment of the movetext is reported once the comment
  // closes: one that never closes is the problem to report.
  bool SkipComment() {
    const void* close = std::memchr(data + pos, '}', end - pos);
    size_t stop = close ? static_cast<size_t>(static_cast<const char*>(close) - data) : end;
    if (mode == Mode::kMoves && commentZero == kNone)
      if (const void* zero = std::memchr(data + pos, '\0', stop - pos))
        commentZero = static_cast<size_t>(static_cast<const char*>(zero) - data) - gameStart;
    if (!close) {
      pos = end;
      return false;
    }
    if (commentZero != kNone) Fault(gameStart + commentZero, "zero byte in the text");
    pos = stop + 1;
    inComment = false;
    commentAt = commentZero = kNone;
    return true;
  }

  // A byte order mark at pos, none, or perhaps one cut by the end of what is
  // read.
  enum class Bom : uint8_t { kNo, kYes, kCut };
  Bom BomAt() const {
    if (end - pos < 3) return eof ? Bom::kNo : Bom::kCut;
    return IsBom(data + pos) ? Bom::kYes : Bom::kNo;
  }

  // Before the first game, and after a game's result.
  bool Between() {
    while (pos < end) {
      char c = data[pos];
      if (IsWhite(c)) {
        ++pos;
        continue;
      }
      switch (c) {
        case '%':
          if (AtColumnOne(pos)) {
            toLineEnd = true;
            return true;
          }
          break;
        case ';': toLineEnd = true; return true;
        case '{':
          commentAt = pos - gameStart;
          ++pos;
          inComment = true;
          return true;
        case '[': StartGame(pos, Mode::kTags); return true;
        case '\xEF':
          if (Bom found = BomAt(); found != Bom::kNo) {
            if (found == Bom::kCut) return false;
            pos += 3;
            continue;
          }
          break;
        default:
          if (BeginsGame(static_cast<unsigned char>(c))) {
            StartGame(pos, Mode::kMoves);
            return true;
          }
      }
      ++pos;  // text that begins no game
    }
    return false;
  }

  bool Tags() {
    while (pos < end) {
      char c = data[pos];
      if (IsWhite(c)) {
        ++pos;
        continue;
      }
      if (c == '[') {
        Step step = TagPair();
        if (step == Step::kGoOn) continue;
        return step == Step::kChanged;
      }
      if (c == ';' || (c == '%' && AtColumnOne(pos))) {
        toLineEnd = true;
        return true;
      }
      if (Bom found = c == '\xEF' ? BomAt() : Bom::kNo; found != Bom::kNo) {
        if (found == Bom::kCut) return false;
        pos += 3;
        continue;
      }
      movetextAt = pos - gameStart;  // any other text begins the movetext
      mode = Mode::kMoves;
      return true;
    }
    return false;
  }

  enum class Step : uint8_t { kGoOn, kChanged, kNeedMore };

  // The tag pair at pos: read (kGoOn), the start of the next game or a
  // malformed pair (kChanged), or cut by the end of what is read.
  Step TagPair() {
    const size_t open = pos;
    size_t p = open + 1;
    auto skipWhite = [&] {
      while (p < end && (IsBlank(data[p]) || IsLineEnd(data[p]))) ++p;
      return p < end || eof;
    };
    if (!skipWhite()) return Step::kNeedMore;
    size_t nameStart = p;
    while (p < end && kNameEnds[static_cast<unsigned char>(data[p])] == 0) ++p;
    if (p == end && !eof) return Step::kNeedMore;
    std::string_view name(data + nameStart, p - nameStart);
    if (name.empty()) return Malformed(open, p, "tag pair without a name");
    if (Holds(name)) {
      StartGame(open, Mode::kTags);  // a repeated name: the next game's header
      return Step::kChanged;
    }
    if (!skipWhite()) return Step::kNeedMore;
    if (p == end || data[p] != '"')
      return Malformed(open, p, "tag " + std::string(name) + " has no quoted value");
    PgnTag tag;
    tag.valueStart = static_cast<uint32_t>(++p - gameStart);
    size_t zero = kNone;
    for (;; ++p) {
      while (p < end && kValueEnds[static_cast<unsigned char>(data[p])] == 0) ++p;
      if (p == end) {
        if (!eof) return Step::kNeedMore;
        break;
      }
      char c = data[p];
      if (c == '"' || IsLineEnd(c)) break;
      if (c == '\\') {
        if (p + 1 == end && !eof) return Step::kNeedMore;
        if (p + 1 < end && (data[p + 1] == '"' || data[p + 1] == '\\')) {
          tag.escaped = true;
          ++p;
        }
      } else if (zero == kNone) {
        zero = p;  // c is a zero byte
      }
    }
    if (p == end || data[p] != '"')
      return Malformed(open, p, "value of tag " + std::string(name) + " is not closed");
    tag.valueEnd = static_cast<uint32_t>(p++ - gameStart);
    if (p < end && data[p] == ']') {
      ++p;
    } else {
      if (!skipWhite()) return Step::kNeedMore;
      if (p == end || data[p] != ']')
        return Malformed(open, p, "tag " + std::string(name) + " is not closed by ]");
      ++p;
    }
    tag.nameStart = static_cast<uint32_t>(nameStart - gameStart);
    tag.nameLength = static_cast<uint32_t>(name.size());
    current.tags.push_back(tag);
    pos = p;
    lastTagEnd = pos - gameStart;
    if (zero != kNone) Fault(zero, "zero byte in the text");
    return Step::kGoOn;
  }

  bool Holds(std::string_view name) const {
    for (const PgnTag& tag : current.tags)
      if (tag.nameLength == name.size() && data[gameStart + tag.nameStart] == name[0] &&
          std::memcmp(data + gameStart + tag.nameStart, name.data(), name.size()) == 0)
        return true;
    return false;
  }

  // A tag pair that cannot be read damages its game. Reading goes on at the
  // text that stopped it when that stands on a later line (the movetext or
  // the next pair), else after the rest of the pair's line, or at a '['.
  Step Malformed(size_t open, size_t at, std::string what) {
    Fault(open, std::move(what));
    pos = at;
    bool laterLine = std::find_if(data + open, data + at, IsLineEnd) != data + at;
    if (!laterLine && (at == end || data[at] != '[')) toLineEnd = true;
    return Step::kChanged;
  }

  bool Moves() {
    if (wholeGame) {
      pos = end;
      return false;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    for (;;) {
      size_t p = SkipPlainMoves(bytes, pos, end);
      pos = p;
      if (p == end) return false;
      switch (kMoveBytes[bytes[p]]) {
        case kBraceOpen:
          commentAt = p - gameStart;
          pos = p + 1;
          inComment = true;
          return true;
        case kSemicolon: toLineEnd = true; return true;
        case kPercent:
          if (AtColumnOne(p)) {
            toLineEnd = true;
            return true;
          }
          pos = p + 1;
          break;
        case kBracket: StartGame(p, Mode::kTags); return true;
        case kParenOpen:
          ++depth;
          pos = p + 1;
          break;
        case kParenClose:
          if (depth > 0) --depth;
          pos = p + 1;
          break;
        case kStar:
          pos = p + 1;
          if (depth == 0) {
            mode = Mode::kTrailing;
            return true;
          }
          break;
        case kResultPart: {
          size_t stop = p;
          while (stop < end && IsSymbolByte(bytes[stop])) ++stop;
          if (stop == end && !eof) return false;
          size_t start = p;
          while (start > gameStart && IsSymbolByte(bytes[start - 1])) --start;
          pos = stop;
          std::string_view symbol(data + start, stop - start);
          if (depth == 0 && (symbol == "1-0" || symbol == "0-1" || symbol == "1/2-1/2")) {
            mode = Mode::kTrailing;
            return true;
          }
          break;
        }
        case kZero:
          Fault(p, "zero byte in the text");
          pos = p + 1;
          break;
        default: break;
      }
    }
  }

  // The first problem of a piece is the one reported.
  void Fault(size_t at, std::string what) {
    if (current.damaged || !current.isGame) return;
    current.damaged = true;
    current.problemLine = LineAt(std::max(at, lineMark));
    current.problem = std::move(what);
  }

  // A game's first token is at `at`: the piece read so far ends where the
  // game begins, at the start of the token's line when only blanks and byte
  // order marks precede it there. (A zero byte there stays with the piece
  // before, which it may have damaged.)
  void StartGame(size_t at, Mode next) {
    size_t start = at;
    while (start > gameStart) {
      char c = data[start - 1];
      if (IsBlank(c)) {
        --start;
      } else if (start - gameStart >= 3 && IsBom(data + start - 3)) {
        start -= 3;
      } else {
        if (!IsLineEnd(c)) start = at;
        break;
      }
    }
    if (mode != Mode::kLeading || start > gameStart || dropped > 0) Split(start);
    current.isGame = true;
    mode = next;
    if (next == Mode::kMoves) movetextAt = at - gameStart;
  }

  // Hands out the piece up to `at` and begins the next one there.
  void Split(size_t at) {
    PgnGame& g = current;
    auto held = static_cast<int64_t>(at - gameStart);
    g.size = dropped + held;
    if (!overLimit && g.size > limit) {
      Fault(gameStart, "the game is longer than " + std::to_string(limit >> 20) + " MiB");
      overLimit = true;
    }
    if (overLimit) {
      g.text.clear();
      g.tags.clear();
      g.movetextStart = g.headerEnd = 0;
    } else {
      g.text.assign(data + gameStart, static_cast<size_t>(held));
      PlaceHeaderEnd(g);
    }
    std::swap(current, ready[readyCount++]);
    Reset(current);
    gameStart = at;
    dropped = 0;
    overLimit = false;
    depth = 0;
    inComment = toLineEnd = false;
    commentAt = commentZero = lastTagEnd = movetextAt = kNone;
  }

  void PlaceHeaderEnd(PgnGame& g) const {
    std::string_view text = g.text;
    size_t first = 0;
    while (first < text.size() && !IsLineEnd(text[first])) ++first;
    g.lineEnd = first == text.size() ? "\n" : LineEndAt(text, first);
    g.movetextStart = movetextAt == kNone ? text.size() : movetextAt;
    g.headerEndsLine = true;
    if (lastTagEnd == kNone) {
      g.headerEnd = g.movetextStart;
      return;
    }
    size_t after = lastTagEnd;
    while (after < text.size() && IsBlank(text[after])) ++after;
    if (after < text.size() && IsLineEnd(text[after])) {
      g.lineEnd = LineEndAt(text, after);
      g.headerEnd = after + g.lineEnd.size();
    } else {
      g.headerEnd = lastTagEnd;
      g.headerEndsLine = false;
    }
  }

  void Finish() {
    toLineEnd = false;
    if (inComment && commentAt != kNone) {
      size_t at = gameStart + commentAt;
      // After a result, a comment that never closes begins a game of its own.
      if (mode != Mode::kMoves) StartGame(at, Mode::kMoves);
      Fault(at, "comment is not closed");
    }
    if (mode != Mode::kLeading || end > gameStart || dropped > 0) Split(end);
  }

  // Reads the next block; keeps the piece being read unless it has grown
  // beyond the limit, whose bytes read so far are then let go.
  void Refill() {
    if (!in || eof) {
      eof = true;
      return;
    }
    if (!wholeGame && dropped + static_cast<int64_t>(pos - gameStart) > limit) {
      if (!overLimit) {
        Fault(gameStart, "the game is longer than " + std::to_string(limit >> 20) + " MiB");
        overLimit = true;
        current.tags.clear();
        commentAt = commentZero = lastTagEnd = movetextAt = kNone;
      }
      dropped += static_cast<int64_t>(pos - gameStart);
      gameStart = pos;
    }
    size_t keep = gameStart > 0 ? gameStart - 1 : 0;
    if (keep > 0) {
      LineAt(std::max(keep, lineMark));
      lineMark -= keep;
      std::memmove(buffer.get(), buffer.get() + keep, end - keep);
      end -= keep;
      pos -= keep;
      gameStart -= keep;
      dataOffset += static_cast<int64_t>(keep);
    }
    if (end + blockBytes > capacity) {
      size_t grown = std::max(capacity * 2, end + blockBytes);
      auto bigger = std::make_unique_for_overwrite<char[]>(grown);
      if (end > 0) std::memcpy(bigger.get(), buffer.get(), end);
      buffer = std::move(bigger);
      capacity = grown;
    }
    data = buffer.get();
    size_t n = std::fread(buffer.get() + end, 1, std::min(capacity - end, blockBytes), in);
    if (n == 0) {
      eof = true;
      failed = failed || std::ferror(in) != 0;
      return;
    }
    if (copy && std::fwrite(buffer.get() + end, 1, n, copy) != n) failed = true;
    end += n;
  }
};

PgnReader::PgnReader(std::FILE* in, std::FILE* copy, size_t blockBytes) : state_(std::make_unique<State>()) {
  state_->in = in;
  state_->copy = copy;
  state_->blockBytes = std::max<size_t>(blockBytes, 1);
}

PgnReader::PgnReader(std::string_view text) : state_(std::make_unique<State>()) { state_->Restart(text); }

PgnReader::~PgnReader() = default;

bool PgnReader::Next(PgnGame& game) { return state_->Next(game); }

bool PgnReader::Failed() const { return state_->failed; }

void PgnReader::SetGameLimit(int64_t bytes) { state_->limit = bytes; }

int64_t PgnLineEnds(std::string_view text) {
  return CountLineEnds(text.data(), text.data() + text.size(), text.data() + text.size());
}

PgnHeaderReader::PgnHeaderReader() : state_(std::make_unique<PgnReader::State>()) {}

PgnHeaderReader::~PgnHeaderReader() = default;

bool PgnHeaderReader::Read(std::string_view text, PgnGame& game) {
  PgnReader::State& s = *state_;
  s.Restart(text);
  s.wholeGame = true;
  return s.Next(game) && game.isGame && game.size == static_cast<int64_t>(text.size()) && !s.Next(s.spare);
}
