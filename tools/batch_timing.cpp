// batch-timing: times the batch run's parts on a synthetic base against a
// recording host: building the name list, and steps over a large player list
// with the search window answered at once. Usage: batch-timing [GAMES [NAMES]]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fakehost.h"
#include "host/velmarsh.h"
#include "tagging/batch.h"

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main(int argc, char** argv) {
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
    rows.push_back({"Player" + std::to_string(i) + ", Q", 1000 + i, 2000, 0, 6, 1, 0});
  SetPlayerList(rows);
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
