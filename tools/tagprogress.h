// The progress line of a long `players tag` run: on standard error when it
// is a terminal, once the run has gone on for a second, redrawn at most five
// times a second and erased before the summary.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

class TagProgress {
 public:
  // totalBytes 0: the size is not known (standard input).
  explicit TagProgress(int64_t totalBytes);
  // The first reading: bytes read, games and distinct names so far.
  void Reading(int64_t bytes, int64_t games, size_t names);
  // The second reading, which writes the games.
  void Writing(int64_t bytes);
  void Erase();

 private:
  bool Due();
  std::string Amount(int64_t bytes) const;
  void Show(const std::string& text);

  bool terminal_;
  int64_t total_;
  std::chrono::steady_clock::time_point start_, shown_;
  size_t width_ = 0;  // of the line shown, 0 none
};
