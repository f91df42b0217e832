// The player database on a generated FIDE list of 1.9 million players:
// import (parse, sort, save), load, building the indexes, and the lookups
// by ID, the word searches with one and two words and the ranked search,
// each through the indexes and by the plain scans in the same run.
//
// The list is generated once (seed 7) into VELMARSH_BENCH_DIR, default the
// working directory. Run through scripts/bench.sh.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "players/fidelistimport.h"
#include "players/playersearch.h"
#include "players/playersfile.h"
#include "players/searchindex.h"
#include "players/searchrules.h"
#include "tools/fidegen.h"

namespace {

constexpr int64_t kPlayers = 1900000;
constexpr uint64_t kSeed = 7;
constexpr size_t kQueries = 256;

// The list the benchmarks load once and share.
PlayerDatabase database;

std::string BenchFile(const std::string& name) {
  const char* dir = std::getenv("VELMARSH_BENCH_DIR");
  return (std::filesystem::path(dir ? dir : ".") / name).string();
}

const std::string& ListPath() {
  static const std::string path = [] {
    std::string p = BenchFile("fide_1900000_seed7.txt");
    if (!std::filesystem::exists(p) && !WriteFideListFile(p, kSeed, kPlayers)) {
      std::fprintf(stderr, "cannot write %s\n", p.c_str());
      std::exit(1);
    }
    return p;
  }();
  return path;
}

const std::string& DatabasePath() {
  static const std::string path = [] {
    std::string p = BenchFile("players_1900000_seed7.dat");
    std::string error;
    std::optional<PlayerDatabase> imported = ImportFideList(ListPath(), error, Indexing::kNone);
    if (!imported || !SavePlayers(*imported, p)) std::exit(1);
    return p;
  }();
  return path;
}

void EnsureLoaded() {
  if (database.Empty()) database = LoadPlayers(DatabasePath());
}

// Players spread evenly over the list, the same ones on every run.
std::vector<size_t> SamplePlayers() {
  std::vector<size_t> picks;
  size_t n = database.Players().size();
  for (size_t i = 0; i < kQueries; ++i) picks.push_back((i * 7919 + 13) * 104729 % n);
  return picks;
}

std::vector<std::string> NameQueries(bool oneWord, bool changeLetter) {
  EnsureLoaded();
  std::vector<std::string> queries;
  for (size_t i : SamplePlayers()) {
    std::string name(database.Players()[i].name);
    if (oneWord) {
      QueryWordList words = WordsOfName(name);
      if (words.empty()) continue;
      name = words[0];
    }
    if (changeLetter && name.size() > 4) name[name.size() / 2] = name[name.size() / 2] == 'x' ? 'y' : 'x';
    queries.push_back(name);
  }
  return queries;
}

void BM_Import(benchmark::State& state) {
  const std::string& list = ListPath();
  std::string out = BenchFile("players_import.dat");
  size_t players = 0;
  for (auto _ : state) {
    std::string error;
    std::optional<PlayerDatabase> imported = ImportFideList(list, error, Indexing::kNone);
    if (!imported) {
      state.SkipWithError("import failed");
      break;
    }
    if (!SavePlayers(*imported, out)) state.SkipWithError("save failed");
    players = imported->Players().size();
  }
  state.counters["players"] = static_cast<double>(players);
  std::remove(out.c_str());
}
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Load(benchmark::State& state) {
  const std::string& path = DatabasePath();
  for (auto _ : state) {
    database = PlayerDatabase{};  // two lists need not fit at once
    database = LoadPlayers(path, nullptr, Indexing::kNone);
  }
  state.counters["players"] = static_cast<double>(database.Players().size());
  database = PlayerDatabase{};
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->Iterations(5);

// The list's own storage; scripts/bench.sh measures the peak resident set
// of a whole process that loads it.
void BM_LoadedListMemory(benchmark::State& state) {
  const std::string& path = DatabasePath();
  for (auto _ : state) {
    database = PlayerDatabase{};
    database = LoadPlayers(path);
  }
  double n = static_cast<double>(database.Players().size());
  size_t names = 0;
  for (const Player& p : database.Players()) names += p.name.size();
  state.counters["record_bytes_per_player"] = static_cast<double>(sizeof(Player));
  state.counters["name_bytes_per_player"] = static_cast<double>(names) / n;
  const SearchIndex* index = database.Index();
  state.counters["index_bytes_per_player"] = index ? static_cast<double>(SearchIndexBytes(*index)) / n : 0;
  state.counters["distinct_words"] = index ? static_cast<double>(index->words.textStart.size() - 1) : 0;
  state.counters["word_occurrences_per_player"] =
      index ? static_cast<double>(index->words.postings.size()) / n : 0;
}
BENCHMARK(BM_LoadedListMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

// Building the indexes of the loaded list: done once per list, when it is
// loaded or imported.
void BM_BuildIndex(benchmark::State& state) {
  EnsureLoaded();
  for (auto _ : state) benchmark::DoNotOptimize(BuildSearchIndex(database.Players()));
}
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond)->Iterations(3);

// ---- Lookups, the plain scans against the indexes ----

enum Lookup { kFindById, kWordOne, kWordTwo, kRanked };

std::vector<std::string> QueriesOf(Lookup lookup) {
  switch (lookup) {
    case kFindById: {
      EnsureLoaded();
      std::vector<std::string> ids;
      for (size_t i : SamplePlayers()) ids.push_back(std::to_string(database.Players()[i].fideId));
      return ids;
    }
    case kWordOne: return NameQueries(true, false);
    case kWordTwo: return NameQueries(false, false);
    case kRanked: return NameQueries(false, true);
  }
  return {};
}

// One lookup as a command makes it; ranked searches with the limit of 20
// that the choice of a player uses.
void RunLookup(Lookup lookup, bool indexed, const std::string& query) {
  Player p;
  int32_t index;
  switch (lookup) {
    case kFindById:
      benchmark::DoNotOptimize(indexed ? FindByIdAt(database, std::stoi(query), p, index)
                                       : FindByIdAtLinear(database.Players(), std::stoi(query), p, index));
      break;
    case kWordOne:
    case kWordTwo:
      benchmark::DoNotOptimize(indexed ? WordSearch(database, query)
                                       : WordSearchLinear(database.Players(), query));
      break;
    case kRanked:
      benchmark::DoNotOptimize(indexed ? RankedSearch(database, query, kExtendedSearchLimit)
                                       : RankedSearchLinear(database.Players(), query, kExtendedSearchLimit));
      break;
  }
}

// Mean time per lookup over the queries, one way.
void BM_Lookup(benchmark::State& state, Lookup lookup, bool indexed) {
  std::vector<std::string> queries = QueriesOf(lookup);
  size_t q = 0;
  for (auto _ : state) RunLookup(lookup, indexed, queries[q++ % queries.size()]);
}
BENCHMARK_CAPTURE(BM_Lookup, FindById_linear, kFindById, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Lookup, FindById_indexed, kFindById, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Lookup, WordSearchOneWord_linear, kWordOne, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Lookup, WordSearchOneWord_indexed, kWordOne, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Lookup, WordSearchTwoWords_linear, kWordTwo, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Lookup, WordSearchTwoWords_indexed, kWordTwo, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Lookup, RankedSearch_linear, kRanked, false)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(64);
BENCHMARK_CAPTURE(BM_Lookup, RankedSearch_indexed, kRanked, true)->Unit(benchmark::kMicrosecond);

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Both ways query by query, in one run: the medians of their times over the
// queries and the median of the speed-ups. The scan runs once per query; the
// indexed lookup as often as makes 50 microseconds (at least 16 times),
// timed as a whole.
void BM_Speedup(benchmark::State& state, Lookup lookup) {
  using Clock = std::chrono::steady_clock;
  std::vector<std::string> queries = QueriesOf(lookup);
  std::vector<double> linear, indexed, speedups;
  for (auto _ : state) {
    for (const std::string& query : queries) {
      auto start = Clock::now();
      RunLookup(lookup, false, query);
      double scan = std::chrono::duration<double>(Clock::now() - start).count();
      // In rounds of 16, so that reading the clock does not weigh in.
      int repeats = 0;
      start = Clock::now();
      double fast;
      do {
        for (int r = 0; r < 16; ++r) RunLookup(lookup, true, query);
        repeats += 16;
        fast = std::chrono::duration<double>(Clock::now() - start).count();
      } while (fast < 50e-6);
      fast /= repeats;
      linear.push_back(scan);
      indexed.push_back(fast);
      speedups.push_back(scan / fast);
    }
  }
  state.counters["queries"] = static_cast<double>(queries.size());
  state.counters["linear_median_ms"] = Median(linear) * 1e3;
  state.counters["indexed_median_us"] = Median(indexed) * 1e6;
  state.counters["speedup_median"] = Median(speedups);
  state.counters["speedup_min"] = *std::min_element(speedups.begin(), speedups.end());
  state.counters["median_over_median"] = Median(linear) / Median(indexed);
}
BENCHMARK_CAPTURE(BM_Speedup, FindById, kFindById)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Speedup, WordSearchOneWord, kWordOne)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Speedup, WordSearchTwoWords, kWordTwo)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Speedup, RankedSearch, kRanked)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
