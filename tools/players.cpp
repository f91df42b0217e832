// players: the player database from the command line, for checking and
// scripting a database and for tests and benchmarks.
//
//   players import LIST.txt OUT.dat
//   players dump FILE.dat
//   players word FILE.dat NAME [--max N]       (also --queries FILE for NAME)
//   players ranked FILE.dat NAME [--max N]
//   players id FILE.dat ID
//   players tag FILE.dat IN.pgn [-o OUT.pgn | --in-place] [options]  (players_tag.cpp)
//   players history add|list ..., players rating ...   (players_history.cpp)
//
// Names and descriptions are written as their bytes. Exit code 0 on success,
// 1 when a file cannot be read or written or a database is damaged, 2 for a
// usage error.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "players/fidelistimport.h"
#include "players/playersearch.h"
#include "players/playersfile.h"
#include "tools/players_history.h"
#include "tools/players_tag.h"
#include "tools/playerstool.h"

namespace {

// The lines of a queries file: line ends are LF or CRLF; a last line
// without its end counts.
std::vector<std::string> ReadQueries(const std::string& path) {
  std::string text = ReadWholeFile(path);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

int Import(const std::vector<std::string>& args) {
  if (args.size() != 2) UsageError("import needs LIST.txt and OUT.dat");
  std::string error;
  std::optional<PlayerDatabase> db = ImportFideList(args[0], error, Indexing::kNone);
  if (!db) FileError(error);
  if (!SavePlayers(*db, args[1])) FileError("cannot write " + args[1]);
  WriteNumber(static_cast<int64_t>(db->Players().size()));
  Write("\n");
  return 0;
}

int Dump(const std::vector<std::string>& args) {
  if (args.size() != 1) UsageError("dump needs FILE.dat");
  const PlayerDatabase db = LoadDatabase(args[0], Indexing::kNone);
  std::span<const Player> list = db.Players();
  for (size_t i = 0; i < list.size(); ++i) {
    const Player& p = list[i];
    WriteNumber(static_cast<int64_t>(i));
    Write("\t");
    WriteNumber(p.fideId);
    Write("\t");
    Write(p.name);
    for (int64_t value :
         {int64_t{p.rating}, int64_t{static_cast<uint8_t>(p.sex)}, int64_t{static_cast<uint8_t>(p.title)},
          int64_t{p.federation}, int64_t{p.birthYear}}) {
      Write("\t");
      WriteNumber(value);
    }
    Write("\n");
  }
  return 0;
}

int Find(const std::vector<std::string>& args, bool ranked) {
  const char* command = ranked ? "ranked" : "word";
  std::optional<std::string> name, queries;
  int32_t limit = ranked ? kExtendedSearchLimit : kNormalSearchLimit;
  if (args.empty()) UsageError(std::string(command) + " needs FILE.dat");
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--max" || args[i] == "--queries") {
      if (i + 1 == args.size()) UsageError(args[i] + " needs a value");
      const std::string& value = args[++i];
      if (args[i - 1] == "--queries") {
        if (queries || name) UsageError("give one NAME or one --queries FILE");
        queries = value;
      } else {
        std::optional<int32_t> n = ParseInt(value);
        if (!n || *n < 1) UsageError("--max needs a whole number of at least 1");
        limit = *n;
      }
    } else {
      if (queries || name) UsageError("give one NAME or one --queries FILE");
      name = args[i];
    }
  }
  if (!name && !queries) UsageError(std::string(command) + " needs NAME or --queries FILE");

  std::vector<std::string> names = queries ? ReadQueries(*queries) : std::vector<std::string>{*name};
  const PlayerDatabase db = LoadDatabase(args[0]);
  for (size_t q = 0; q < names.size(); ++q) {
    std::vector<SearchHit> hits =
        ranked ? RankedSearch(db, names[q], limit) : WordSearch(db, names[q], limit);
    for (const SearchHit& r : hits) {
      if (queries) {
        WriteNumber(static_cast<int64_t>(q));
        Write("\t");
      }
      WriteNumber(r.index);
      Write("\t");
      WriteNumber(r.score);
      Write("\t");
      Write(DescribePlayer(db, r.index));
      Write("\n");
    }
  }
  return 0;
}

int Id(const std::vector<std::string>& args) {
  if (args.size() != 2) UsageError("id needs FILE.dat and ID");
  std::optional<int32_t> id = ParseInt(args[1]);
  if (!id) UsageError("ID must be a whole number");
  const PlayerDatabase db = LoadDatabase(args[0]);
  Player player;
  int32_t index;
  if (FindByIdAt(db, *id, player, index)) {
    WriteNumber(index);
    Write("\t");
    Write(DescribePlayer(db, index));
    Write("\n");
  }
  return 0;
}

int Run(int argc, char** argv) {
  if (argc < 2) UsageError("no command given");
  std::string_view command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  if (command == "--version" && args.empty()) {
    std::printf("players (Velmarsh) %s\n", VELMARSH_VERSION);
    return 0;
  }
  if (command == "import") return Import(args);
  if (command == "dump") return Dump(args);
  if (command == "word") return Find(args, false);
  if (command == "ranked") return Find(args, true);
  if (command == "id") return Id(args);
  if (command == "tag") return Tag(args);
  if (command == "history") return HistoryCommand(args);
  if (command == "rating") return RatingCommand(args);
  UsageError("unknown command " + std::string(command));
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The bytes of names go out unchanged, line ends included.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
#endif
  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  int code;
  try {
    code = Run(argc, argv);
  } catch (const Failure& f) {
    code = f.code;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "players: %s\n", e.what());
    code = 1;
  }
  if (std::fflush(stdout) != 0 && code == 0) code = 1;
  return code;
}
