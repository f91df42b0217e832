#include "files/replacefile.h"

#include <cstdio>

// POSIX rename replaces an existing target in one step. The Windows build
// takes base/replacefile_win32.cpp instead, where rename refuses a target
// that exists.
bool ReplaceFileWith(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}
