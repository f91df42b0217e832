// mappedfile: a whole file's bytes in memory for one reading from start to
// end: mapped where the system can map it (no copy into a buffer), read
// into memory elsewhere (Windows builds, pipes).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

struct MappedFile {
  std::string_view bytes;

  // Says that [begin, end) of bytes will not be read again: mapped pages
  // leave the process's resident set (they stay in the system's cache), so
  // that a large list does not fill it.
  void Forget(size_t begin, size_t end) const;

  // Unmaps or frees the bytes; empty for an empty file.
  std::shared_ptr<const void> owner;
  bool mapped = false;
};

// The file's bytes; false when it cannot be opened or read.
bool MapFile(const std::string& path, MappedFile& file);
