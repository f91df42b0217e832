// The rating history once loaded: loading the file and the lookup of the
// rating in force, on the history that scripts/bench-history.sh builds from
// 12 generated monthly lists of 1.9 million players (history.dat in
// VELMARSH_BENCH_DIR, default the working directory).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "ratings/ratinghistory.h"

namespace {

std::string HistoryPath() {
  const char* dir = std::getenv("VELMARSH_BENCH_DIR");
  return (std::filesystem::path(dir ? dir : ".") / "history.dat").string();
}

const RatingHistory& Loaded() {
  static const RatingHistory history = [] {
    RatingHistory h;
    if (LoadHistory(HistoryPath(), h) != HistoryLoad::kLoaded) {
      std::fprintf(stderr, "cannot load %s: run scripts/bench-history.sh\n", HistoryPath().c_str());
      std::exit(1);
    }
    return h;
  }();
  return history;
}

struct Query {
  RatingKind kind;
  int32_t id;
  MonthNumber month;
};

// IDs of the history (nine in ten) and IDs it does not hold, at months from
// before the first list to after the last, of every kind.
std::vector<Query> Queries() {
  const RatingHistory& h = Loaded();
  std::mt19937_64 rng(9);
  std::vector<Query> queries;
  for (int tries = 0; queries.size() < (1 << 16) && tries < (1 << 20); ++tries) {
    RatingKind kind = kAllRatingKinds[rng() % kRatingKinds];
    const KindHistory& k = h[kind];
    if (k.players.empty() || k.lists.empty()) continue;
    int32_t id =
        rng() % 10 ? k.players[rng() % k.players.size()].id : static_cast<int32_t>(1 + rng() % 400000000);
    MonthNumber first = k.lists.front().month, last = k.lists.back().month;
    queries.push_back({kind, id, first - 1 + static_cast<MonthNumber>(rng() % (last - first + 3))});
  }
  return queries;
}

void BM_LoadHistory(benchmark::State& state) {
  RatingHistory h;
  for (auto _ : state) LoadHistory(HistoryPath(), h);
  state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(HistoryPath())) / 1e6;
  size_t ids = 0, changes = 0, lists = 0;
  for (const KindHistory& k : h.kinds) {
    ids += k.players.size();
    changes += k.changes.size();
    lists += k.lists.size();
  }
  state.counters["lists"] = static_cast<double>(lists);
  state.counters["players_with_changes"] = static_cast<double>(ids);
  state.counters["changes"] = static_cast<double>(changes);
}
BENCHMARK(BM_LoadHistory)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RatingAt(benchmark::State& state) {
  const RatingHistory& h = Loaded();
  std::vector<Query> queries = Queries();
  if (queries.size() != (1 << 16)) state.SkipWithError("the history holds too little");
  size_t q = 0;
  for (auto _ : state) {
    const Query& query = queries[q++ & (queries.size() - 1)];
    benchmark::DoNotOptimize(RatingAt(h[query.kind], query.id, query.month));
  }
}
BENCHMARK(BM_RatingAt)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();
