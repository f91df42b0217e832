#include "hostsim/looptimes.h"

#include <algorithm>

namespace looptimes {

namespace {

LARGE_INTEGER resetAt{}, lastTaken{};
bool justReset = false;  // the stretch going on at the reset is not counted
UINT lastMessage = 0;
Figures figures;

double cpuAtReset = 0;

// CPU time of the calling thread (the host's GUI thread) in seconds.
double ThreadCpuSeconds() {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
  auto value = [](FILETIME t) {
    return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
  };
  return (value(kernel) + value(user)) / 1e7;
}

double Milliseconds(LONGLONG ticks) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

BOOL NextMessage(MSG& msg) {
  LARGE_INTEGER asked, taken;
  QueryPerformanceCounter(&asked);
  double busy = justReset ? 0 : Milliseconds(asked.QuadPart - lastTaken.QuadPart);
  if (busy > figures.longestBusy) {
    figures.longestBusy = busy;
    figures.longestBusyMessage = lastMessage;
  }
  BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  QueryPerformanceCounter(&taken);
  if (!justReset)
    figures.longestGap = std::max(figures.longestGap, Milliseconds(taken.QuadPart - lastTaken.QuadPart));
  justReset = false;
  lastTaken = taken;
  lastMessage = msg.message;
  ++figures.messages;
  return got;
}

void Reset() {
  figures = {};
  QueryPerformanceCounter(&resetAt);
  cpuAtReset = ThreadCpuSeconds();
  lastTaken = resetAt;
  lastMessage = 0;
  justReset = true;
}

Figures Read() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  Figures f = figures;
  f.seconds = Milliseconds(now.QuadPart - resetAt.QuadPart) / 1000.0;
  f.cpuSeconds = ThreadCpuSeconds() - cpuAtReset;
  return f;
}

}  // namespace looptimes
