#include "tools/tagprogress.h"

#include <algorithm>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

bool StandardErrorIsTerminal() {
#ifdef _WIN32
  return _isatty(2) != 0;
#else
  return isatty(2) != 0;
#endif
}

std::string Megabytes(int64_t bytes) { return std::to_string((bytes + 500'000) / 1'000'000); }

}  // namespace

TagProgress::TagProgress(int64_t totalBytes)
    : terminal_(StandardErrorIsTerminal()), total_(totalBytes), start_(std::chrono::steady_clock::now()) {}

void TagProgress::Reading(int64_t bytes, int64_t games, size_t names) {
  if (Due())
    Show("reading " + Amount(bytes) + ", " + std::to_string(games) + " games, " + std::to_string(names) +
         " names");
}

void TagProgress::Writing(int64_t bytes) {
  if (Due()) Show("writing " + Amount(bytes));
}

bool TagProgress::Due() {
  using namespace std::chrono_literals;
  if (!terminal_) return false;
  auto now = std::chrono::steady_clock::now();
  if (now - start_ < 1s || (width_ > 0 && now - shown_ < 200ms)) return false;
  shown_ = now;
  return true;
}

std::string TagProgress::Amount(int64_t bytes) const {
  return Megabytes(bytes) + (total_ > 0 ? " of " + Megabytes(total_) : "") + " MB";
}

void TagProgress::Show(const std::string& text) {
  std::string line = "players tag: " + text;
  // Blanks over the rest of a longer line before it.
  std::fprintf(stderr, "\r%-*s", static_cast<int>(std::max(width_, line.size())), line.c_str());
  std::fflush(stderr);
  width_ = line.size();
}

void TagProgress::Erase() {
  if (width_ == 0) return;
  std::fprintf(stderr, "\r%*s\r", static_cast<int>(width_), "");
  width_ = 0;
}
