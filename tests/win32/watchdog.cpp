// Ends a test program that hangs (a modal loop nobody answers, a lost
// message): after VELMARSH_TEST_TIMEOUT seconds, 120 by default.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

DWORD WINAPI Watch(void*) {
  const char* limit = std::getenv("VELMARSH_TEST_TIMEOUT");
  DWORD seconds = limit ? static_cast<DWORD>(std::atoi(limit)) : 120;
  Sleep(seconds * 1000);
  std::fprintf(stderr, "watchdog: test program still running after %lu s, ending it\n",
               static_cast<unsigned long>(seconds));
  std::fflush(stderr);
  ExitProcess(99);
}

struct Watchdog {
  Watchdog() { CloseHandle(CreateThread(nullptr, 0, Watch, nullptr, 0, nullptr)); }
} watchdog;

}  // namespace
