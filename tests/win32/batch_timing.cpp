// batch-timing: times the batch run's parts on a synthetic base against a
// recording host: building the name list, and steps over a large player list
// with the search window answered at once.
//
//   batch-timing [GAMES [NAMES]]         synthetic players and names
//   batch-timing --players FILE.dat [N]  N names that need no question, half
//                                        by FIDE ID and half by name, over
//                                        the players of FILE.dat
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "database/playerlist.h"
#include "database/playersearch.h"
#include "fakehost.h"
#include "plugin/velmarsh.h"
#include "tagging/batch.h"

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
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
  LoadPlayers(path);
  std::span<const Player> list = PlayerList();
  if (list.empty()) {
    std::fprintf(stderr, "batch-timing: no players in %s\n", path.c_str());
    return 1;
  }
  std::printf("loaded %zu players in %.0f ms\n", list.size(), MillisecondsSince(start));
  start = std::chrono::steady_clock::now();
  Player unused;
  FindById(0, unused);  // the first lookup builds the indexes
  std::printf("indexes built in %.0f ms\n", MillisecondsSince(start));

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
    if (IsClearCut(WordSearch(p.name))) byName.emplace_back(p.name);
  }
  for (size_t g = 0; g < std::min(byName.size(), byId.size()); ++g)
    host.base.AddGame(byId[g]->name, byName[g], {{"WhiteFIDE", std::to_string(byId[g]->fideId)}});
  host.base.Publish();
  CollectPlayerNames();

  double cpu = ThreadCpuMilliseconds();
  start = std::chrono::steady_clock::now();
  int32_t steps = 0;
  for (NameIndex = 0; NameIndex < static_cast<int32_t>(NameList.size()); ++NameIndex, ++steps)
    ProcessNextName();
  double wall = MillisecondsSince(start);
  cpu = ThreadCpuMilliseconds() - cpu;
  std::printf("%d steps (%zu names by FIDE ID, %zu by name) over %zu players: %.3f ms CPU a step, "
              "%.3f ms wall, %zu tag writes, %zu windows asked\n",
              steps, byId.size(), byName.size(), list.size(), steps ? cpu / steps : 0.0,
              steps ? wall / steps : 0.0, host.tagWrites.size(), host.windowCaptions.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::string(argv[1]) == "--players")
    return TimeStepsOverList(argv[2], argc > 3 ? std::atoi(argv[3]) : 2000);
  int games = argc > 1 ? std::atoi(argv[1]) : 100000;
  int names = argc > 2 ? std::atoi(argv[2]) : 20000;
  if (games < 1 || names < 1) return 2;
  FakeHost host;
  host.onCreateHostWindow = [](const wchar_t*, HWND, WNDPROC, hostabi::PaintCallback) {
    return -1;
  };
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
  CollectPlayerNames();
  std::printf("name list: %zu names from %d games in %.1f ms\n", NameList.size(), games,
              MillisecondsSince(start));

  std::vector<PlayerRow> rows;
  const int players = 500000;
  for (int i = 0; i < players; ++i)
    rows.push_back({"Player" + std::to_string(i) + ", Q", 1000 + i, 2000, Sex::Male, Title::None, 1, 0});
  SetPlayerList(rows);
  Player unused;
  FindById(0, unused);  // the first lookup builds the indexes: not a step's cost
  // Black names carry no ID and find nobody: a whole word search each. White
  // names carry a known ID: a scan of the list by ID each.
  auto timeSteps = [&](const char* what, int32_t first) {
    const int32_t steps = 200;
    size_t writes = host.tagWrites.size();
    auto begin = std::chrono::steady_clock::now();
    int32_t done = 0;
    for (NameIndex = first; done < steps && NameIndex < static_cast<int32_t>(NameList.size());
         ++NameIndex, ++done)
      ProcessNextName();
    double ms = MillisecondsSince(begin);
    std::printf("%s: %d steps over %d players in %.1f ms, %.2f ms a step, %zu tag writes\n",
                what, done, players, ms, done ? ms / done : 0.0, host.tagWrites.size() - writes);
  };
  timeSteps("steps by name", 0);
  timeSteps("steps by FIDE ID", FindName("Player").position);
  return 0;
}
