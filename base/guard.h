// Nothing may unwind out of a procedure that the host or Windows calls: each
// such entry runs its body through Guarded, which swallows what it throws and
// leaves a trace for a debugger (OutputDebugString).
#pragma once

#include <windows.h>

#include <cstring>
#include <exception>
#include <utility>

// The trace of the exception being handled: what it said, when it said
// anything. Called only from a catch block; allocates nothing.
inline void TraceSwallowed() noexcept {
  const char* what = "";
  try {
    throw;
  } catch (const std::exception& e) {
    what = e.what();
  } catch (...) {
  }
  char text[256] = "Velmarsh: an exception was swallowed: ";
  size_t n = std::strlen(text);
  while (n + 2 < sizeof text && what && *what) text[n++] = *what++;
  text[n++] = '\n';
  text[n] = '\0';
  OutputDebugStringA(text);
}

template <class Body>
void Guarded(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (...) {
    TraceSwallowed();
  }
}

template <class Result, class Body>
Result Guarded(Result fallback, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    TraceSwallowed();
    return fallback;
  }
}
