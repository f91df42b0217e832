// The player database on a generated FIDE list of 1.9 million players:
// import (parse, sort, save), load, lookup by ID, the word searches with one
// and two words, the ranked search, and the memory of the loaded list.
//
// The list is generated once (seed 7) into VELMARSH_BENCH_DIR, default the
// working directory. Run through scripts/bench.sh.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "database/fidelist.h"
#include "database/fidelist_internal.h"
#include "tools/fidegen.h"

namespace {

constexpr int64_t kPlayers = 1900000;
constexpr uint64_t kSeed = 7;
constexpr size_t kQueries = 256;

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
    if (!ImportFideList(ListPath())) std::exit(1);
    SortByRating();
    if (!SavePlayers(p)) std::exit(1);
    return p;
  }();
  return path;
}

void EnsureLoaded() {
  if (PlayerList().size() == 0) LoadPlayers(DatabasePath());
}

// Players spread evenly over the list, the same ones on every run.
std::vector<size_t> SamplePlayers() {
  std::vector<size_t> picks;
  size_t n = PlayerList().size();
  for (size_t i = 0; i < kQueries; ++i) picks.push_back((i * 7919 + 13) * 104729 % n);
  return picks;
}

std::vector<std::string> NameQueries(bool oneWord, bool changeLetter) {
  EnsureLoaded();
  std::vector<std::string> queries;
  for (size_t i : SamplePlayers()) {
    std::string name(PlayerList()[i].name);
    if (oneWord) {
      SplitQueryWords(name);
      if (QueryWords.empty()) continue;
      name = QueryWords[0];
    }
    if (changeLetter && name.size() > 4) name[name.size() / 2] = name[name.size() / 2] == 'x' ? 'y' : 'x';
    queries.push_back(name);
  }
  return queries;
}

void BM_Import(benchmark::State& state) {
  const std::string& list = ListPath();
  std::string out = BenchFile("players_import.dat");
  for (auto _ : state) {
    if (!ImportFideList(list)) state.SkipWithError("import failed");
    SortByRating();
    if (!SavePlayers(out)) state.SkipWithError("save failed");
  }
  state.counters["players"] = static_cast<double>(PlayerList().size());
  std::remove(out.c_str());
}
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Load(benchmark::State& state) {
  const std::string& path = DatabasePath();
  for (auto _ : state) LoadPlayers(path);
  state.counters["players"] = static_cast<double>(PlayerList().size());
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->Iterations(5);

// The list's own storage; scripts/bench.sh measures the peak resident set
// of a whole process that loads it.
void BM_LoadedListMemory(benchmark::State& state) {
  const std::string& path = DatabasePath();
  for (auto _ : state) LoadPlayers(path);
  double n = static_cast<double>(PlayerList().size());
  size_t names = 0;
  for (const fideitem& p : PlayerList()) names += p.name.size();
  state.counters["record_bytes_per_player"] = static_cast<double>(sizeof(fideitem));
  state.counters["name_bytes_per_player"] = static_cast<double>(names) / n;
}
BENCHMARK(BM_LoadedListMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_FindById(benchmark::State& state) {
  EnsureLoaded();
  std::vector<int32_t> ids;
  for (size_t i : SamplePlayers()) ids.push_back(PlayerList()[i].fideId);
  size_t q = 0;
  for (auto _ : state) {
    fideitem p;
    benchmark::DoNotOptimize(FindById(ids[q++ % ids.size()], p));
  }
}
BENCHMARK(BM_FindById)->Unit(benchmark::kMicrosecond);

// An ID nobody has: the whole list is scanned.
void BM_FindByIdMissing(benchmark::State& state) {
  EnsureLoaded();
  for (auto _ : state) {
    fideitem p;
    benchmark::DoNotOptimize(FindById(-1, p));
  }
}
BENCHMARK(BM_FindByIdMissing)->Unit(benchmark::kMicrosecond);

void RunSearches(benchmark::State& state, const std::vector<std::string>& queries, bool ranked,
                 int32_t limit) {
  size_t q = 0, found = 0;
  for (auto _ : state) {
    MaxResults = limit;
    if (ranked)
      RankedSearch(queries[q++ % queries.size()]);
    else
      WordSearch(queries[q++ % queries.size()]);
    found += SearchResults.size();
  }
  MaxResults = kDefaultMaxResults;
  state.counters["results_per_query"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}

void BM_WordSearchOneWord(benchmark::State& state) {
  RunSearches(state, NameQueries(true, false), false, kDefaultMaxResults);
}
BENCHMARK(BM_WordSearchOneWord)->Unit(benchmark::kMillisecond);

// A word no name holds: no early stop, the whole list is scanned.
void BM_WordSearchOneWordNoHit(benchmark::State& state) {
  EnsureLoaded();
  RunSearches(state, {"Zyxwvut"}, false, kDefaultMaxResults);
}
BENCHMARK(BM_WordSearchOneWordNoHit)->Unit(benchmark::kMillisecond);

void BM_WordSearchTwoWords(benchmark::State& state) {
  RunSearches(state, NameQueries(false, false), false, kDefaultMaxResults);
}
BENCHMARK(BM_WordSearchTwoWords)->Unit(benchmark::kMillisecond);

void BM_RankedSearch(benchmark::State& state) {
  RunSearches(state, NameQueries(false, true), true, 20);
}
BENCHMARK(BM_RankedSearch)->Unit(benchmark::kMillisecond)->Iterations(24);

}  // namespace

BENCHMARK_MAIN();
