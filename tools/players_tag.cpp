// players tag FILE.dat IN.pgn [-o OUT.pgn | --in-place] [options]
//
// Tags the games of a PGN file as the plug-in's "Add tags for all players"
// does, each distinct name once: by the FIDE ID its games carry, or where
// the plug-in would ask a person, by the evidence of the name's games
// (tagrules/nameevidence.h: the extended fit of the name, the games'
// federation, title and Elo). --fit-only takes the name search's one clear
// hit when the game's name fits it; --loose takes it anyway, the plug-in's
// rule alone, where a person sees every result. A report lists every name,
// with the evidence that decided and the candidates of the names left open;
// a FIDE ID written into its choice column settles the name in the next run
// (--choices). Every byte of the file is kept but the tag lines written.
#include "tools/players_tag.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>
#include <thread>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "files/mappedfile.h"
#include "files/replacefile.h"
#include "files/stdfile.h"
#include "pgn/pgnstream.h"
#include "players/playerdatabase.h"
#include "ratings/ratinghistory.h"
#include "tagrules/playerinfofile.h"
#include "tools/playerstool.h"
#include "tools/tagcollect.h"
#include "tools/tagprogress.h"
#include "tools/tagreport.h"
#include "tools/tagrun.h"
#include "tools/tagwrite.h"

namespace {

struct TagArguments {
  std::string database, input;
  std::optional<std::string> output, report, choices, settings, write, overwrite, history, kind;
  bool inPlace = false, changeName = false, fideIdTags = false, extended = false, loose = false,
       fitOnly = false;
};

TagArguments ParseArguments(const std::vector<std::string>& args) {
  TagArguments a;
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::optional<std::string>& into) {
      if (i + 1 == args.size()) UsageError(arg + " needs a value");
      if (into) UsageError(arg + " is given twice");
      into = args[++i];
    };
    if (arg == "-o" || arg == "--output")
      value(a.output);
    else if (arg == "--report")
      value(a.report);
    else if (arg == "--choices")
      value(a.choices);
    else if (arg == "--settings")
      value(a.settings);
    else if (arg == "--write")
      value(a.write);
    else if (arg == "--overwrite")
      value(a.overwrite);
    else if (arg == "--history")
      value(a.history);
    else if (arg == "--kind")
      value(a.kind);
    else if (arg == "--in-place")
      a.inPlace = true;
    else if (arg == "--change-name")
      a.changeName = true;
    else if (arg == "--fideid-tags")
      a.fideIdTags = true;
    else if (arg == "--extended")
      a.extended = true;
    else if (arg == "--loose")
      a.loose = true;
    else if (arg == "--fit-only")
      a.fitOnly = true;
    else if (arg.size() > 1 && arg[0] == '-')
      UsageError("unknown option " + arg);
    else
      positional.push_back(arg);
  }
  if (positional.size() != 2) UsageError("tag needs FILE.dat and IN.pgn");
  a.database = positional[0];
  a.input = positional[1];
  if (a.inPlace && a.output) UsageError("give -o or --in-place, not both");
  if (a.kind && !a.history) UsageError("--kind goes with --history");
  if (a.loose && a.fitOnly) UsageError("give --loose or --fit-only, not both");
  if (a.kind && !KindByName(*a.kind)) UsageError("--kind is standard, rapid or blitz");
  if (a.inPlace && a.input == "-") UsageError("--in-place needs a file, not standard input");
  bool pgnToStdout = !a.inPlace && (!a.output || *a.output == "-");
  if (a.report && *a.report == "-" && pgnToStdout)
    UsageError("the report and the games cannot both go to standard output");
  if (a.output && *a.output != "-" && a.input != "-") {
    std::error_code error;
    if (*a.output == a.input || std::filesystem::equivalent(*a.output, a.input, error))
      UsageError("-o names the input file: use --in-place");
  }
  return a;
}

// "title,sex,elo,country" (any of them) or "none" into the four flags.
void SetFlags(const std::string& option, const std::string& list, bool& title, bool& sex, bool& elo,
              bool& country) {
  title = sex = elo = country = false;
  if (list == "none") return;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    std::string word = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (word == "title")
      title = true;
    else if (word == "sex")
      sex = true;
    else if (word == "elo")
      elo = true;
    else if (word == "country")
      country = true;
    else
      UsageError(option + " takes title, sex, elo, country or none, not \"" + word + "\"");
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
}

TagOptions OptionsOf(const TagArguments& a) {
  TagOptions options;
  if (a.settings) {
    std::string bytes = ReadWholeFile(*a.settings);
    options = OptionsFromSettingsBytes(
        std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), options);
  }
  if (a.write)
    SetFlags("--write", *a.write, options.saveTitle, options.saveSex, options.saveElo, options.saveCountry);
  if (a.overwrite)
    SetFlags("--overwrite", *a.overwrite, options.overwriteTitle, options.overwriteSex, options.overwriteElo,
             options.overwriteCountry);
  if (a.changeName) options.changeName = true;
  return options;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void Summary(const TagRun& run, double seconds, double loadSeconds) {
  size_t tagged = 0, present = 0, ambiguous = 0, notFound = 0, other = 0, notFitting = 0, byEvidence = 0;
  for (const NameRow& row : run.names) {
    if (row.looseFideId != 0 && row.result == NameResult::kAmbiguous) ++notFitting;
    if (row.byEvidence && row.result == NameResult::kFound) ++byEvidence;
    switch (row.result) {
      case NameResult::kById:
      case NameResult::kFound:
      case NameResult::kChosen: ++tagged; break;
      case NameResult::kPresent: ++present; break;
      case NameResult::kAmbiguous: ++ambiguous; break;
      case NameResult::kNotFound: ++notFound; break;
      default: ++other; break;
    }
  }
  // Names the fit left open are counted among the ambiguous ones.
  std::string unfit = notFitting ? " (" + std::to_string(notFitting) + " of them taken by --loose)" : "";
  std::string settled = run.options.rule == TagRule::kEvidence
                            ? " (" + std::to_string(byEvidence) + " settled by the evidence)"
                            : "";
  std::fprintf(
      stderr,
      "players tag: %lld games (%zu damaged, copied unchanged), %zu names: %zu tagged%s, %zu already "
      "present, %zu ambiguous%s, %zu not found, %zu other; %.2f s (database %.2f s)\n",
      static_cast<long long>(run.games), run.damaged.size(), run.names.size(), tagged, settled.c_str(),
      present, ambiguous, unfit.c_str(), notFound, other, seconds, loadSeconds);
}

// The database loaded, with its indexes, on a thread of its own while the
// file is read.
class DatabaseLoad {
 public:
  DatabaseLoad(const std::string& path, std::chrono::steady_clock::time_point start)
      : thread_([this, path, start] {
          try {
            database_ = LoadDatabase(path);
          } catch (...) {
            failure_ = std::current_exception();
          }
          seconds_ = Seconds(start);
        }) {}
  // Waits for the load; ends the tool as the load ended it, if it did.
  const PlayerDatabase& Wait() {
    if (thread_.joinable()) thread_.join();
    if (failure_) std::rethrow_exception(failure_);
    return database_;
  }
  // When the load was done, in seconds since the start (after Wait).
  double seconds() const { return seconds_; }

 private:
  PlayerDatabase database_;
  std::exception_ptr failure_;
  double seconds_ = 0;
  std::jthread thread_;  // last: it starts once the rest is there
};

}  // namespace

int Tag(const std::vector<std::string>& args) {
  auto start = std::chrono::steady_clock::now();
#if defined(__GLIBC__)
  // One heap for all threads: what one thread lets go serves the others
  // (the reading's second part, the database's load), so that the run stays
  // as small as when it ran on one thread.
  mallopt(M_ARENA_MAX, 1);
#endif
  TagArguments a = ParseArguments(args);
  TagRun run;
  run.options.tags = OptionsOf(a);
  run.options.fideIdTags = a.fideIdTags;
  run.options.extended = a.extended;
  run.options.rule = a.loose ? TagRule::kLoose : a.fitOnly ? TagRule::kFitOnly : TagRule::kEvidence;
  RatingHistory history;
  if (a.history) {
    switch (LoadHistory(*a.history, history)) {
      case HistoryLoad::kLoaded: break;
      case HistoryLoad::kMissing:
      case HistoryLoad::kUnreadable: FileError("cannot read " + *a.history);
      case HistoryLoad::kDamaged: FileError(*a.history + " is damaged or not a rating history");
    }
    run.options.history = &history;
    if (a.kind) run.options.historyKind = *KindByName(*a.kind);
  }
  if (a.choices) {
    std::string problem = ReadChoices(ReadWholeFile(*a.choices), run.choices);
    if (!problem.empty()) FileError(*a.choices + ", " + problem);
  }

  // A file is mapped and read where it lies; standard input, or a file that
  // cannot be mapped, is read as a stream. Standard input is read again from
  // a copy in a temporary file, mapped where it can be.
  bool fromStdin = a.input == "-";
  OwnedFile input, spool;
  MappedFile mapped;
  if (fromStdin) {
    spool.reset(std::tmpfile());
    if (!spool) FileError("cannot make a temporary file for standard input");
  } else {
    input = OpenFile(a.input, "rb");
    if (!input) FileError("cannot read " + a.input);
    MapFileOnly(a.input, mapped);
  }
  const unsigned threads = std::max(1u, std::min(std::thread::hardware_concurrency(), 4u));
  DatabaseLoad database(a.database, start);

  std::error_code sizeError;
  TagProgress progress(fromStdin ? 0 : static_cast<int64_t>(std::filesystem::file_size(a.input, sizeError)));
  auto reading = [&](int64_t bytes, int64_t games, size_t names) { progress.Reading(bytes, games, names); };
  if (mapped.mapped) {
    CollectNames(mapped, run, reading, threads >= 2 ? 2 : 1);
  } else {
    PgnReader reader(fromStdin ? stdin : input.get(), spool.get());
    if (!CollectNames(reader, run, reading)) {
      progress.Erase();
      database.Wait();
      FileError("cannot read " + a.input);
    }
  }
  run.database = &database.Wait();
  DecideNames(run, threads);

  // The games go to standard output, to -o, or beside the input and then
  // in its place.
  std::string target = a.inPlace ? a.input + ".tagging" : a.output.value_or("-");
  OwnedFile out;
  if (target != "-") {
    out = OpenFile(target, "wb");
    if (!out) FileError("cannot write " + target);
  }
  if (fromStdin) {
    if (std::fflush(spool.get()) != 0 || std::fseek(spool.get(), 0, SEEK_SET) != 0)
      FileError("cannot read standard input again");
    MapFileOnly(spool.get(), mapped);
  } else if (!mapped.mapped) {
    input = OpenFile(a.input, "rb");
    if (!input) FileError("cannot read " + a.input + " again");
  }
  std::FILE* sink = out ? out.get() : stdout;
  auto writing = [&](int64_t bytes) { progress.Writing(bytes); };
  bool written = mapped.mapped ? WriteTaggedGames(mapped, sink, run, writing)
                               : WriteTaggedGames(fromStdin ? spool.get() : input.get(), sink, run, writing);
  progress.Erase();
  written = (out ? CloseFile(out) : std::fflush(stdout) == 0) && written;
  input.reset();  // Windows replaces no file that is open
  mapped = {};
  if (!written) {
    if (a.inPlace) std::remove(target.c_str());
    FileError("cannot write " + target + " (or " + a.input + " changed while it was read)");
  }
  if (a.inPlace && !ReplaceFileWith(target, a.input)) {
    std::remove(target.c_str());
    FileError("cannot replace " + a.input + "; it is unchanged");
  }

  if (a.report) {
    OwnedFile report;
    if (*a.report != "-") {
      report = OpenFile(*a.report, "wb");
      if (!report) FileError("cannot write " + *a.report);
    }
    bool ok = WriteReport(report ? report.get() : stdout, run);
    ok = (report ? CloseFile(report) : std::fflush(stdout) == 0) && ok;
    if (!ok) FileError("cannot write " + *a.report);
  }
  Summary(run, Seconds(start), database.seconds());
  return 0;
}
