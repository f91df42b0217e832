#include "tools/playerstool.h"

#include <charconv>
#include <cstdio>

#include "files/stdfile.h"
#include "players/playersfile.h"
#include "tools/numbers.h"

namespace {

// More players than any rating list will hold (FIDE's has about 2 million).
constexpr int64_t kMostPlayers = int64_t{1} << 24;

constexpr const char* kUsage =
    "usage: players import LIST.txt OUT.dat\n"
    "       players dump FILE.dat\n"
    "       players word FILE.dat (NAME | --queries FILE) [--max N]\n"
    "       players ranked FILE.dat (NAME | --queries FILE) [--max N]\n"
    "       players id FILE.dat ID\n"
    "       players --version\n"
    "       players tag FILE.dat IN.pgn [-o OUT.pgn | --in-place] [--report FILE.tsv]\n"
    "                   [--choices FILE.tsv] [--settings player_info.dat]\n"
    "                   [--write LIST] [--overwrite LIST] [--change-name]\n"
    "                   [--fideid-tags] [--extended] [--fit-only | --loose]\n"
    "                   [--history HISTORY.dat [--kind K]]\n"
    "         (LIST: title,sex,elo,country or none; - for standard input/output)\n"
    "       players history add HISTORY.dat LIST.txt [--month YYYY-MM] [--kind standard|rapid|blitz]\n"
    "       players history list HISTORY.dat\n"
    "       players rating HISTORY.dat ID [--at YYYY-MM-DD] [--kind standard|rapid|blitz]\n";

// Opens and reads a byte: a folder opens on some systems but cannot be read.
bool Readable(const std::string& path) {
  OwnedFile f = OpenFile(path, "rb");
  if (!f) return false;
  std::fgetc(f.get());
  return std::ferror(f.get()) == 0;
}

}  // namespace

void UsageError(const std::string& why) {
  std::fprintf(stderr, "players: %s\n%s", why.c_str(), kUsage);
  throw Failure{2};
}

void FileError(const std::string& what) {
  std::fprintf(stderr, "players: %s\n", what.c_str());
  throw Failure{1};
}

std::optional<int32_t> ParseInt(std::string_view text) {
  int32_t value = 0;
  if (!ParseNumber(text, value)) return std::nullopt;
  return value;
}

PlayerDatabase LoadDatabase(const std::string& path, Indexing indexing) {
  if (!Readable(path)) FileError("cannot read " + path);
  PlayersFileState state;
  PlayerDatabase db = LoadPlayers(path, &state, indexing);
  if (!state.intact) {
    // A count that no list comes near is no players.dat's: the first bytes
    // of a text file (a PGN file, a FIDE list) read as one are above 150
    // million.
    if (state.announced < 0 || state.announced > kMostPlayers) FileError(path + " is not a players.dat");
    FileError(path + " is damaged: " + std::to_string(state.complete) + " of the " +
              std::to_string(state.announced) + " players it announces could be read");
  }
  return db;
}

std::string ReadWholeFile(const std::string& path) {
  OwnedFile f = OpenFile(path, "rb");
  if (!f) FileError("cannot read " + path);
  std::string text;
  char chunk[65536];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f.get())) > 0;) text.append(chunk, n);
  if (std::ferror(f.get()) != 0) FileError("cannot read " + path);
  return text;
}

void Write(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void WriteNumber(int64_t n) {
  char digits[24];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, n);
  Write(std::string_view(digits, static_cast<size_t>(end - digits)));
}
