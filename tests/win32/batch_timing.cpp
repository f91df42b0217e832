// batch-timing: times the batch run's parts on a synthetic base against a
// recording host: building the name list, and steps over a large player list
// with the search window answered at once.
//
//   batch-timing [GAMES [NAMES]]         synthetic players and names
//   batch-timing --players FILE.dat [N]  N names that need no question, half
//                                        by FIDE ID and half by name, over
//                                        the players of FILE.dat
//   batch-timing --players FILE.dat --base BASE.pgn
//                                        the steps over every name of a base
//   batch-timing --players FILE.dat --write-base GAMES OUT.pgn
//                                        a base for the host's batch benchmark:
//                                        2 names in 5 per game distinct, each
//                                        one player of FILE.dat picks out
//                                        clearly, one name in ten known by
//                                        FIDE ID in every game it plays
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/settings.h"
#include "hostsim/fakehost.h"
#include "hostsim/pgn.h"
#include "players/playersearch.h"
#include "players/playersfile.h"
#include "plugin/velmarsh.h"
#include "tagging/batch.h"
#include "tools/splitmix.h"

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// CPU time of this thread in milliseconds.
double ThreadCpuMilliseconds() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto ticks = [](FILETIME t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

// Steps over a real players.dat: games whose White is named by FIDE ID and
// whose Black is a name that one player clearly fits (no question asked).
int TimeStepsOverList(const std::string& path, int names) {
  FakeHost host;
  host.onCreateHostWindow = [](const wchar_t*, HWND, WNDPROC, hostabi::PaintCallback) { return -1; };
  StartLumoraProc(FakeHost::F);
  auto start = std::chrono::steady_clock::now();
  const PlayerDatabase db = LoadPlayers(path);
  std::span<const Player> list = db.Players();
  if (list.empty()) {
    std::fprintf(stderr, "batch-timing: no players in %s\n", path.c_str());
    return 1;
  }
  std::printf("loaded %zu players with their indexes in %.0f ms\n", list.size(), MillisecondsSince(start));

  // Players spread over the list; by name only those a word search picks
  // out clearly, as the batch would take them without asking.
  std::vector<std::string> byName;
  std::vector<const Player*> byId;
  const size_t half = static_cast<size_t>(names) / 2;
  for (uint64_t i = 0; (byName.size() < half || byId.size() < half) && i < list.size(); ++i) {
    const Player& p = list[(i * 2654435761u) % list.size()];
    if (p.fideId != 0 && byId.size() < half) {
      byId.push_back(&p);
      continue;
    }
    if (byName.size() == half) continue;
    if (IsClearCut(WordSearch(db, p.name))) byName.emplace_back(p.name);
  }
  for (size_t g = 0; g < std::min(byName.size(), byId.size()); ++g)
    host.base.AddGame(byId[g]->name, byName[g], {{"WhiteFIDE", std::to_string(byId[g]->fideId)}});
  host.base.Publish();
  batchRun.names = CollectPlayerNames();

  double cpu = ThreadCpuMilliseconds();
  start = std::chrono::steady_clock::now();
  int32_t steps = 0;
  for (batchRun.next = 0; batchRun.next < static_cast<int32_t>(batchRun.names.size());
       ++batchRun.next, ++steps)
    DecideName(db, batchRun.names[static_cast<size_t>(batchRun.next)], settings, AskInRun);
  double wall = MillisecondsSince(start);
  cpu = ThreadCpuMilliseconds() - cpu;
  std::printf(
      "%d steps (%zu names by FIDE ID, %zu by name) over %zu players: %.3f ms CPU a step, "
      "%.3f ms wall, %zu tag writes, %zu windows asked\n",
      steps, byId.size(), byName.size(), list.size(), steps ? cpu / steps : 0.0, steps ? wall / steps : 0.0,
      host.tagWrites.size(), host.windowCaptions.size());
  return 0;
}

// Writes a base of `games` games whose players the batch run decides without
// a question: names a word search picks out clearly, some known by FIDE ID.
int WriteBase(const std::string& listPath, int games, const std::string& out) {
  FakeHost host;
  StartLumoraProc(FakeHost::F);
  const PlayerDatabase db = LoadPlayers(listPath);
  std::span<const Player> list = db.Players();
  if (list.empty() || games < 1) {
    std::fprintf(stderr, "batch-timing: no players in %s\n", listPath.c_str());
    return 1;
  }
  struct Name {
    std::string_view text;  // in the database
    int32_t fideId;         // written in every game of the name, or 0
  };
  // Two players of one name never make a clear search: only names that one
  // player carries are tried, in an order drawn from the seed.
  std::unordered_map<std::string_view, int> counts;
  for (const Player& p : list) ++counts[p.name];
  std::vector<size_t> unique;
  for (size_t i = 0; i < list.size(); ++i)
    if (counts[list[i].name] == 1 && !IsAnonymousName(list[i].name)) unique.push_back(i);
  SplitMix64 numbers{20261208};
  for (size_t i = unique.size(); i > 1; --i) std::swap(unique[i - 1], unique[numbers.Next() % i]);

  // Nine names in ten found clearly by a word search, as far as the list
  // has them; the rest known by FIDE ID in every game they play.
  const size_t wanted = std::max<size_t>(2, static_cast<size_t>(games) * 2 / 5);
  std::vector<Name> pool;
  size_t next = 0;
  for (; next < unique.size() && pool.size() < wanted - wanted / 10; ++next) {
    const Player& p = list[unique[next]];
    std::vector<SearchHit> hits = WordSearch(db, p.name);
    if (IsClearCut(hits) && list[static_cast<size_t>(hits[0].index)].fideId == p.fideId)
      pool.push_back({p.name, 0});
  }
  const size_t clear = pool.size();
  // The list has only a few thousand names that a search finds clearly; a
  // large base takes the rest of its names by FIDE ID.
  std::unordered_set<std::string_view> used;
  for (const Name& n : pool) used.insert(n.text);
  for (size_t tries = 0; pool.size() < wanted && tries < 20 * wanted; ++tries) {
    const Player& p = list[numbers.Next() % list.size()];
    if (p.fideId == 0 || IsAnonymousName(p.name) || !used.insert(p.name).second) continue;
    pool.push_back({p.name, p.fideId});
  }
  if (pool.size() < 2) {
    std::fprintf(stderr, "batch-timing: too few players in %s\n", listPath.c_str());
    return 1;
  }
  std::vector<pgn::Game> base;
  for (int g = 0; g < games; ++g) {
    const Name& white = pool[numbers.Next() % pool.size()];
    const Name* black = &pool[numbers.Next() % pool.size()];
    if (black == &white) black = &pool[(static_cast<size_t>(black - pool.data()) + 1) % pool.size()];
    pgn::Game& game = base.emplace_back();
    game.tags = {{"Event", "Batch benchmark"},
                 {"Site", "?"},
                 {"Date", "2026.12.08"},
                 {"Round", std::to_string(g + 1)},
                 {"White", std::string(white.text)},
                 {"Black", std::string(black->text)},
                 {"Result", "1/2-1/2"}};
    if (white.fideId) game.tags.emplace_back("WhiteFIDE", std::to_string(white.fideId));
    if (black->fideId) game.tags.emplace_back("BlackFIDE", std::to_string(black->fideId));
    game.movetext = {"1. e4 e5 1/2-1/2"};
  }
  std::string text = pgn::Write(base);
  std::FILE* file = std::fopen(out.c_str(), "wb");
  if (!file || std::fwrite(text.data(), 1, text.size(), file) != text.size() || std::fclose(file) != 0) {
    std::fprintf(stderr, "batch-timing: cannot write %s\n", out.c_str());
    return 1;
  }
  std::printf("%d games over %zu names (%zu found by name, %zu by FIDE ID), written to %s\n", games,
              pool.size(), clear, pool.size() - clear, out.c_str());
  return 0;
}

// Every step of a base's run against the recording host: the plug-in's own
// cost per name, without the host's views.
int TimeStepsOverBase(const std::string& listPath, const std::string& basePath) {
  FakeHost host;
  host.onCreateHostWindow = [](const wchar_t*, HWND, WNDPROC, hostabi::PaintCallback) { return -1; };
  StartLumoraProc(FakeHost::F);
  const PlayerDatabase db = LoadPlayers(listPath);  // with its indexes: not a step's cost
  std::string text;
  if (std::FILE* file = std::fopen(basePath.c_str(), "rb")) {
    char chunk[65536];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
    std::fclose(file);
  }
  pgn::ReadEach(text, [&](pgn::Game&& g) {
    std::vector<std::pair<std::string_view, std::string_view>> tags(g.tags.begin(), g.tags.end());
    host.base.AddGame(tags);
  });
  host.base.Publish();
  batchRun.names = CollectPlayerNames();
  double cpu = ThreadCpuMilliseconds();
  auto start = std::chrono::steady_clock::now();
  for (batchRun.next = 0; batchRun.next < static_cast<int32_t>(batchRun.names.size()); ++batchRun.next)
    DecideName(db, batchRun.names[static_cast<size_t>(batchRun.next)], settings, AskInRun);
  double wall = MillisecondsSince(start);
  cpu = ThreadCpuMilliseconds() - cpu;
  size_t n = std::max<size_t>(1, batchRun.names.size());
  std::printf("%zu names of %zu games: %.3f ms CPU a step, %.3f ms wall, %zu tag writes, %zu windows asked\n",
              batchRun.names.size(), host.base.games.size(), cpu / n, wall / n, host.tagWrites.size(),
              host.windowCaptions.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--players" && std::string(argv[3]) == "--base")
    return TimeStepsOverBase(argv[2], argv[4]);
  if (argc == 6 && std::string(argv[1]) == "--players" && std::string(argv[3]) == "--write-base")
    return WriteBase(argv[2], std::atoi(argv[4]), argv[5]);
  if (argc > 2 && std::string(argv[1]) == "--players")
    return TimeStepsOverList(argv[2], argc > 3 ? std::atoi(argv[3]) : 2000);
  int games = argc > 1 ? std::atoi(argv[1]) : 100000;
  int names = argc > 2 ? std::atoi(argv[2]) : 20000;
  if (games < 1 || names < 1) return 2;
  FakeHost host;
  host.onCreateHostWindow = [](const wchar_t*, HWND, WNDPROC, hostabi::PaintCallback) { return -1; };
  StartLumoraProc(FakeHost::F);

  // Names drawn across the base so that new names arrive in no particular order.
  for (int g = 0; g < games; ++g) {
    unsigned a = (static_cast<unsigned>(g) * 2654435761u) % static_cast<unsigned>(names);
    unsigned b = (static_cast<unsigned>(g) * 40503u + 7) % static_cast<unsigned>(names);
    host.base.AddGame("Player" + std::to_string(a) + ", White", "Gamer" + std::to_string(b) + ", Black",
                      {{"WhiteFIDE", std::to_string(1000 + a)}, {"WhiteElo", "2000"}});
  }
  host.base.Publish();
  auto start = std::chrono::steady_clock::now();
  batchRun.names = CollectPlayerNames();
  std::printf("name list: %zu names from %d games in %.1f ms\n", batchRun.names.size(), games,
              MillisecondsSince(start));

  std::vector<PlayerRow> rows;
  const int players = 500000;
  for (int i = 0; i < players; ++i)
    rows.push_back({"Player" + std::to_string(i) + ", Q", 1000 + i, 2000, Sex::kMale, Title::kNone, 1, 0});
  const PlayerDatabase db = DatabaseOf(rows);  // with its indexes: not a step's cost
  // Black names carry no ID and find nobody: a whole word search each. White
  // names carry a known ID: a scan of the list by ID each.
  auto timeSteps = [&](const char* what, int32_t first) {
    const int32_t steps = 200;
    size_t writes = host.tagWrites.size();
    auto begin = std::chrono::steady_clock::now();
    int32_t done = 0;
    for (batchRun.next = first; done < steps && batchRun.next < static_cast<int32_t>(batchRun.names.size());
         ++batchRun.next, ++done)
      DecideName(db, batchRun.names[static_cast<size_t>(batchRun.next)], settings, AskInRun);
    double ms = MillisecondsSince(begin);
    std::printf("%s: %d steps over %d players in %.1f ms, %.2f ms a step, %zu tag writes\n", what, done,
                players, ms, done ? ms / done : 0.0, host.tagWrites.size() - writes);
  };
  timeSteps("steps by name", 0);
  timeSteps("steps by FIDE ID", FindName(batchRun.names, "Player").position);
  return 0;
}
