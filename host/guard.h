// Nothing may unwind out of a procedure that the host or Windows calls: each
// such entry runs its body through Guarded, which swallows what it throws.
#pragma once

#include <utility>

template <class Body>
void Guarded(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (...) {
  }
}

template <class Result, class Body>
Result Guarded(Result fallback, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return fallback;
  }
}
