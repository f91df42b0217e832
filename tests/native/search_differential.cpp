// search_differential: the indexed lookups against the plain scans. Every
// query runs through both, for the whole-word search, the ranked search and
// the lookup by ID; any difference in entries, scores or order fails.
//
//   search_differential [--players N] [--seed S] [--queries Q] [--list FILE]
//                       [--testdata DIR] [--every K] [--threads T] [--work DIR]
//
// --players N generates a FIDE list of N lines (seed S) into DIR, --list
// reads one instead; Q queries made to be hard run on it. --testdata runs
// queries from every name of the real list excerpts and games on each real
// list; --every K keeps every K-th of those (K prime to the ten ways a name
// is changed, so that each way is still tried). Exit code 0 when all agree, 1 on a difference, 2 for a usage
// error, 77 when the real lists are absent and nothing else was compared.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "players/fidelistimport.h"
#include "players/playerdatabase.h"
#include "players/playersearch.h"
#include "players/searchindex.h"
#include "players/searchrules.h"
#include "tools/fidegen.h"
#include "tools/numbers.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSkipped = 77;
namespace fs = std::filesystem;

// The list the queries run on, one at a time.
PlayerDatabase database;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// ---- Queries ----

enum Kind {
  kExactName,
  kLetterChanged,
  kSwappedOrder,
  kInitials,
  kShortWords,
  kFrequentName,
  kInsideWord,
  kNoHit,
  kAcrossSeparator,
  kRepeatedWord,
  kJoinedWords,
  kLetterDropped,
  kStrayBytes,
  kGameName,
  kKinds
};
constexpr const char* kKindNames[kKinds] = {"exact name",
                                            "one letter changed",
                                            "words swapped",
                                            "initials",
                                            "two- and three-letter words",
                                            "frequent name",
                                            "inside a word",
                                            "no hit",
                                            "across a separator",
                                            "repeated word",
                                            "words joined",
                                            "one letter dropped",
                                            "stray bytes",
                                            "name from a game"};

struct Query {
  Kind kind = kExactName;
  std::string name;
  int32_t wordLimit = kNormalSearchLimit;
  int32_t rankedLimit = 20;
  int32_t id = 0;
};

struct Random {
  std::mt19937_64 engine;
  size_t Below(size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(engine); }
  bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(engine) < p; }
  char Letter() { return static_cast<char>((Chance(0.7) ? 'a' : 'A') + Below(26)); }
};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The runs of ASCII letters of a name.
std::vector<std::string> LetterRuns(std::string_view name) {
  std::vector<std::string> runs;
  for (size_t i = 0; i < name.size();) {
    if (!IsLetter(name[i])) {
      ++i;
      continue;
    }
    size_t start = i;
    while (i < name.size() && IsLetter(name[i])) ++i;
    runs.emplace_back(name.substr(start, i - start));
  }
  return runs;
}

std::string Join(const std::vector<std::string>& words, std::string_view between) {
  std::string text;
  for (const std::string& w : words) {
    if (!text.empty()) text += between;
    text += w;
  }
  return text;
}

std::string RandomWord(Random& rng, size_t length) {
  std::string w;
  for (size_t i = 0; i < length; ++i) w += static_cast<char>("zqxjkvwy"[rng.Below(8)]);
  return w;
}

std::string PickPiece(Random& rng, const std::string& word, size_t shortest, size_t longest) {
  if (word.size() < shortest) return word;
  size_t length = shortest + rng.Below(std::min(longest, word.size()) - shortest + 1);
  return word.substr(rng.Below(word.size() - length + 1), length);
}

// A query of the given kind made from a player's name (or from nothing).
std::string MakeQuery(Kind kind, std::string name, Random& rng) {
  std::vector<std::string> runs = LetterRuns(name);
  switch (kind) {
    case kExactName:
    case kFrequentName:
    case kGameName: return name;
    case kLetterChanged: {
      if (name.empty()) return name;
      size_t at = rng.Below(name.size());
      // Mostly a letter; sometimes a separator, a digit or a byte above 127.
      const char others[] = {' ', '-', ',', '\'', '7', '\xE9'};
      name[at] = rng.Chance(0.85) ? rng.Letter() : others[rng.Below(sizeof others)];
      return name;
    }
    case kSwappedOrder:
      std::reverse(runs.begin(), runs.end());
      return Join(runs, rng.Chance(0.5) ? " " : ", ");
    case kInitials: {
      if (runs.empty()) return name;
      size_t keep = rng.Below(runs.size());
      for (size_t i = 0; i < runs.size(); ++i)
        if (i != keep || rng.Chance(0.1)) runs[i] = runs[i].substr(0, 1) + ".";
      return Join(runs, " ");
    }
    case kShortWords: {
      static const char* kShort[] = {"Li", "Yu", "Ju", "Wei", "Tan", "Lee", "Kim", "Ali", "Ng",   "Ann",
                                     "Jo", "Al", "Bo", "De",  "Van", "Da",  "Hou", "Lei", "Ding", "Le"};
      std::vector<std::string> words;
      size_t count = 1 + rng.Below(2);
      for (size_t i = 0; i < count; ++i)
        words.push_back(!runs.empty() && rng.Chance(0.5) ? PickPiece(rng, runs[rng.Below(runs.size())], 2, 3)
                                                         : kShort[rng.Below(std::size(kShort))]);
      return Join(words, " ");
    }
    case kInsideWord: {
      std::vector<std::string> words;
      for (size_t i = 0; i < 1 + rng.Below(2) && !runs.empty(); ++i)
        words.push_back(PickPiece(rng, runs[rng.Below(runs.size())], 2, 6));
      return Join(words, " ");
    }
    case kNoHit:
      return rng.Chance(0.5) ? RandomWord(rng, 3 + rng.Below(6))
                             : RandomWord(rng, 3 + rng.Below(6)) + ", " + RandomWord(rng, 2 + rng.Below(6));
    case kAcrossSeparator: {
      // A window of the name that holds one separator between letters, the
      // separator turned into a letter: it fits with one substitution.
      std::vector<size_t> separators;
      for (size_t i = 1; i + 1 < name.size(); ++i)
        if (!IsLetter(name[i]) && IsLetter(name[i - 1]) && IsLetter(name[i + 1])) separators.push_back(i);
      if (separators.empty()) return name;
      size_t at = separators[rng.Below(separators.size())];
      size_t before = 1 + rng.Below(4), after = 1 + rng.Below(4);
      size_t start = at >= before ? at - before : 0;
      std::string window = name.substr(start, at + 1 + after - start);
      window[at - start] = rng.Letter();
      if (rng.Chance(0.5) && !runs.empty()) window += " " + runs[rng.Below(runs.size())];
      return window;
    }
    case kRepeatedWord: {
      if (runs.empty()) return name;
      std::string w = runs[rng.Below(runs.size())];
      return w + (rng.Chance(0.5) ? " " : ", ") + w;
    }
    case kJoinedWords:
      if (runs.size() < 2) return name;
      return runs[0] + runs[1] + (runs.size() > 2 ? " " + runs[2] : "");
    case kLetterDropped: {
      if (name.empty()) return name;
      size_t at = rng.Below(name.size());
      if (rng.Chance(0.5))
        name.erase(at, 1);
      else
        name.insert(at, 1, rng.Letter());
      return name;
    }
    case kStrayBytes: {
      std::string bytes;
      for (size_t i = 0, n = rng.Below(24); i < n; ++i)
        bytes += rng.Chance(0.6) ? rng.Letter() : static_cast<char>(rng.Below(256));
      return bytes;
    }
    case kKinds: break;
  }
  return name;
}

// Most queries use the callers' limits (10 for words, 20 ranked); some
// others, down to 1.
void ChooseLimits(Random& rng, Query& q) {
  q.wordLimit = rng.Chance(0.8) ? kNormalSearchLimit : static_cast<int32_t>(1 + rng.Below(21));
  q.rankedLimit = rng.Chance(0.8) ? 20 : static_cast<int32_t>(1 + rng.Below(21));
}

int32_t ChooseId(Random& rng) {
  std::span<const Player> list = database.Players();
  if (list.empty() || rng.Chance(0.2)) return rng.Chance(0.5) ? 0 : static_cast<int32_t>(rng.Below(1u << 30));
  return list[rng.Below(list.size())].fideId;
}

// Names of players drawn over the list; the frequent ones are those that
// come up more than once among many drawn.
std::vector<std::string> FrequentNames(Random& rng) {
  std::span<const Player> list = database.Players();
  std::unordered_map<std::string_view, int> seen;
  for (size_t i = 0; i < std::min<size_t>(list.size(), 50000); ++i) ++seen[list[rng.Below(list.size())].name];
  std::vector<std::string> names;
  for (auto& [name, count] : seen)
    if (count > 1 && !name.empty()) names.emplace_back(name);
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<Query> GeneratedQueries(size_t count, uint64_t seed) {
  Random rng{std::mt19937_64(seed)};
  std::span<const Player> list = database.Players();
  std::vector<std::string> frequent = FrequentNames(rng);
  std::vector<Query> queries;
  for (size_t i = 0; i < count; ++i) {
    Query q;
    q.kind = static_cast<Kind>(i % kGameName);
    std::string name = list.empty() ? "" : std::string(list[rng.Below(list.size())].name);
    if (q.kind == kFrequentName && !frequent.empty()) name = frequent[rng.Below(frequent.size())];
    q.name = MakeQuery(q.kind, name, rng);
    ChooseLimits(rng, q);
    q.id = ChooseId(rng);
    queries.push_back(std::move(q));
  }
  return queries;
}

// Every player's name, as it is and changed in each way; and every name
// from the games.
std::vector<Query> RealQueries(const std::vector<std::string>& gameNames, uint64_t seed) {
  Random rng{std::mt19937_64(seed)};
  std::vector<Query> queries;
  for (const Player& p : database.Players())
    for (int kind = kExactName; kind < kGameName; ++kind) {
      if (kind == kFrequentName || kind == kNoHit || kind == kStrayBytes) continue;
      Query q;
      q.kind = static_cast<Kind>(kind);
      q.name = MakeQuery(q.kind, std::string(p.name), rng);
      ChooseLimits(rng, q);
      q.id = p.fideId;
      queries.push_back(std::move(q));
    }
  for (const std::string& name : gameNames) {
    Query q;
    q.kind = kGameName;
    q.name = name;
    ChooseLimits(rng, q);
    q.id = ChooseId(rng);
    queries.push_back(std::move(q));
  }
  return queries;
}

// The White and Black names of every game file in folder.
std::vector<std::string> GameNames(const fs::path& folder) {
  std::vector<std::string> names;
  if (!fs::is_directory(folder)) return names;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == ".pgn") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
      if (!line.starts_with("[White \"") && !line.starts_with("[Black \"")) continue;
      size_t end = line.rfind('"');
      if (end > 8) names.push_back(line.substr(8, end - 8));
    }
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

// ---- Running both ----

struct Tally {
  size_t queries[kKinds] = {};
  double linear[kKinds] = {};
  double indexed[kKinds] = {};
};

std::string Describe(const std::vector<SearchHit>& entries) {
  std::string text;
  for (const SearchHit& e : entries) text += " " + std::to_string(e.index) + ":" + std::to_string(e.score);
  return text.empty() ? " (none)" : text;
}

struct Run {
  const SearchIndex& index;
  const std::vector<Query>& queries;
  std::atomic<size_t> next{0};
  std::atomic<size_t> differences{0};
  std::atomic<size_t> done{0};
  Clock::time_point began = Clock::now();
  std::mutex reportLock{};
  std::vector<Tally> tallies{};

  void Report(const Query& q, const char* what, const std::string& linear, const std::string& indexed) {
    std::lock_guard<std::mutex> lock(reportLock);
    if (differences++ < 20)
      std::printf("DIFFERENCE in %s (%s) for \"%s\", limits %d/%d:\n  linear: %s\n  indexed:%s\n", what,
                  kKindNames[q.kind], q.name.c_str(), q.wordLimit, q.rankedLimit, linear.c_str(),
                  indexed.c_str());
  }

  void Work(Tally& tally) {
    const std::span<const Player> players = database.Players();
    std::vector<SearchHit> linear, indexed;
    for (size_t i; (i = next.fetch_add(1)) < queries.size();) {
      const Query& q = queries[i];
      const QueryWordList words = WordsOfName(q.name);
      auto start = Clock::now();
      const int32_t linearId = FindIdLinear(players, q.id);
      tally.linear[q.kind] += SecondsSince(start);
      start = Clock::now();
      const int32_t indexedId = FindIdIndexed(index, players, q.id);
      tally.indexed[q.kind] += SecondsSince(start);
      if (linearId != indexedId)
        Report(q, ("the lookup of ID " + std::to_string(q.id)).c_str(), std::to_string(linearId),
               " " + std::to_string(indexedId));

      for (bool ranked : {false, true}) {
        const size_t limit = static_cast<size_t>(ranked ? q.rankedLimit : q.wordLimit);
        start = Clock::now();
        (ranked ? RankedMatchesLinear : WordMatchesLinear)(players, words, limit, linear);
        tally.linear[q.kind] += SecondsSince(start);
        start = Clock::now();
        if (ranked)
          RankedMatchesIndexed(index, players, words, limit, indexed);
        else
          WordMatchesIndexed(index, players, words, limit, indexed);
        tally.indexed[q.kind] += SecondsSince(start);
        bool same =
            linear.size() == indexed.size() && std::equal(linear.begin(), linear.end(), indexed.begin(),
                                                          [](const SearchHit& a, const SearchHit& b) {
                                                            return a.index == b.index && a.score == b.score;
                                                          });
        if (!same)
          Report(q, ranked ? "the ranked search" : "the word search", Describe(linear), Describe(indexed));
      }
      ++tally.queries[q.kind];
      // Long runs show that they move on: twenty lines in all.
      const size_t finished = ++done;
      if (queries.size() >= 20000 && finished % (queries.size() / 20) == 0)
        std::printf("  %zu of %zu queries, %zu differences, %.0f s\n", finished, queries.size(),
                    differences.load(), SecondsSince(began)),
            std::fflush(stdout);
    }
  }
};

// Runs every query through both on `threads` threads; false on a difference.
bool Compare(const std::vector<Query>& queries, unsigned threads, const char* title) {
  const SearchIndex* index = database.Index();
  if (!index) {
    std::printf("%s: the index could not be built\n", title);
    return false;
  }
  auto start = Clock::now();
  Run run{*index, queries, {0}, {0}, {0}};
  run.tallies.resize(threads);
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < threads; ++t) workers.emplace_back([&run, t] { run.Work(run.tallies[t]); });
  for (std::thread& w : workers) w.join();

  Tally total;
  for (const Tally& t : run.tallies)
    for (int k = 0; k < kKinds; ++k) {
      total.queries[k] += t.queries[k];
      total.linear[k] += t.linear[k];
      total.indexed[k] += t.indexed[k];
    }
  std::printf("%s: %zu queries on %zu players in %.1f s, %zu differences\n", title, queries.size(),
              database.Players().size(), SecondsSince(start), run.differences.load());
  std::printf("  %-28s %9s %14s %14s\n", "kind", "queries", "linear ms/q", "indexed ms/q");
  for (int k = 0; k < kKinds; ++k) {
    if (total.queries[k] == 0) continue;
    double n = static_cast<double>(total.queries[k]);
    std::printf("  %-28s %9zu %14.3f %14.4f\n", kKindNames[k], total.queries[k], 1000 * total.linear[k] / n,
                1000 * total.indexed[k] / n);
  }
  std::fflush(stdout);
  return run.differences == 0;
}

bool ImportList(const std::string& path) {
  auto start = Clock::now();
  std::string error;
  database = PlayerDatabase{};  // two lists of 1.9 million players need not fit at once
  std::optional<PlayerStore> store = ReadFideList(path, error);
  if (!store) {
    std::printf("%s\n", error.c_str());
    return false;
  }
  SortByRating(*store);
  double imported = SecondsSince(start);
  start = Clock::now();
  database = PlayerDatabase(std::move(*store), Indexing::kBuild);
  std::printf("%s: %zu players, imported in %.2f s, indexed in %.2f s\n", path.c_str(),
              database.Players().size(), imported, SecondsSince(start));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int64_t players = 0;
  uint64_t seed = 1;
  size_t queries = 1000, from = 0, every = 1;
  unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  std::string list, testdata, work = fs::temp_directory_path().string();
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    bool ok = i + 1 < argc;
    if (ok && arg == "--players")
      ok = ParseNumber(argv[++i], players);
    else if (ok && arg == "--seed")
      ok = ParseNumber(argv[++i], seed);
    else if (ok && arg == "--queries")
      ok = ParseNumber(argv[++i], queries);
    else if (ok && arg == "--from")
      ok = ParseNumber(argv[++i], from);
    else if (ok && arg == "--every")
      ok = ParseNumber(argv[++i], every) && every > 0;
    else if (ok && arg == "--threads")
      ok = ParseNumber(argv[++i], threads) && threads > 0;
    else if (ok && arg == "--list")
      list = argv[++i];
    else if (ok && arg == "--testdata")
      testdata = argv[++i];
    else if (ok && arg == "--work")
      work = argv[++i];
    else
      ok = false;
    if (!ok) {
      std::fprintf(stderr,
                   "usage: search_differential [--players N] [--seed S] [--queries Q] [--from K]\n"
                   "                           [--list FILE] [--testdata DIR] [--every K]\n"
                   "                           [--threads T] [--work DIR]\n");
      return 2;
    }
  }

  bool agreed = true;
  if (players > 0 || !list.empty()) {
    std::string generated;
    if (list.empty()) {
      std::string file = "differential_" + std::to_string(players) + "_" + std::to_string(seed) + ".txt";
      generated = (fs::path(work) / file).string();
      if (!WriteFideListFile(generated, seed, players)) {
        std::printf("cannot write %s\n", generated.c_str());
        return 1;
      }
      list = generated;
    }
    bool imported = ImportList(list);
    if (!generated.empty()) fs::remove(generated);
    if (!imported) return 1;
    // --from K skips the first K queries, so that a long run can go on
    // where an earlier one stopped: the queries depend only on the seed.
    std::vector<Query> chosen = GeneratedQueries(queries, seed);
    chosen.erase(chosen.begin(), chosen.begin() + static_cast<ptrdiff_t>(std::min(from, queries)));
    agreed = Compare(chosen, threads, "generated list") && agreed;
  }

  if (!testdata.empty()) {
    std::vector<std::string> gameNames = GameNames(fs::path(testdata) / "pgn");
    std::vector<fs::path> lists;
    for (const char* folder : {"fide", "fide/other-layouts"})
      if (fs::is_directory(fs::path(testdata) / folder))
        for (const auto& entry : fs::directory_iterator(fs::path(testdata) / folder))
          if (entry.path().extension() == ".txt") lists.push_back(entry.path());
    std::sort(lists.begin(), lists.end());
    if (lists.empty()) {
      std::printf("real lists not found in %s: skipped\n", testdata.c_str());
      // Nothing compared at all: the skip code, so that the run is not
      // taken for a pass.
      if (players == 0 && list.empty()) return kSkipped;
    }
    for (const fs::path& path : lists) {
      // Of the lists in other layouts the database takes only today's
      // standard list; the others are refused, and skipped here.
      if (path.parent_path().filename() == "other-layouts" &&
          !path.filename().string().starts_with("standard_")) {
        std::printf("%s: not a list the database takes, skipped\n", path.string().c_str());
        continue;
      }
      if (!ImportList(path.string())) return 1;
      // --every K keeps every K-th query of a real list (the quick test
      // run); all of them run by default.
      std::vector<Query> real = RealQueries(gameNames, seed);
      std::vector<Query> kept;
      for (size_t i = 0; i < real.size(); i += every) kept.push_back(std::move(real[i]));
      agreed = Compare(kept, threads, path.filename().c_str()) && agreed;
    }
  }
  database = PlayerDatabase{};
  std::printf(agreed ? "indexed and linear lookups agree\n" : "FAILED: indexed and linear lookups differ\n");
  return agreed ? 0 : 1;
}
