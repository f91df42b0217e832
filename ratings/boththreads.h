// boththreads: two jobs run side by side, one on a thread of its own, for
// the large lists on the machine's two cores.
#pragma once

#include <exception>
#include <thread>

// Runs first here and second on a new thread (or both here, in turn, when
// not `apart`) and returns once both have ended; what either throws is
// thrown here.
template <class First, class Second>
void RunBoth(bool apart, First&& first, Second&& second) {
  if (!apart) {
    first();
    second();
    return;
  }
  std::exception_ptr failed;
  std::thread other([&] {
    try {
      second();
    } catch (...) {
      failed = std::current_exception();
    }
  });
  try {
    first();
  } catch (...) {
    other.join();
    throw;
  }
  other.join();
  if (failed) std::rethrow_exception(failed);
}
