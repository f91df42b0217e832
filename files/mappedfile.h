// mappedfile: a whole file's bytes in memory for one reading from start to
// end: mapped where the system can map it (no copy into a buffer), read
// into memory elsewhere (Windows builds, pipes).
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

struct MappedFile {
  std::string_view bytes;

  // Says that [begin, end) of bytes will not be read again: mapped pages
  // leave the process's resident set (they stay in the system's cache), so
  // that a large list does not fill it. Returns where the pages let go end
  // (end down to a whole page): where the next range to forget begins.
  size_t Forget(size_t begin, size_t end) const;

  // Unmaps or frees the bytes; empty for an empty file.
  std::shared_ptr<const void> owner;
  bool mapped = false;
};

// The file's bytes; false when it cannot be opened or read.
bool MapFile(const std::string& path, MappedFile& file);
// The file mapped, never read into memory: false where it cannot be mapped
// (Windows builds, pipes, an empty file); the caller reads it as a stream.
bool MapFileOnly(const std::string& path, MappedFile& file);
// The same for an open file, as far as it is written (flushed).
bool MapFileOnly(std::FILE* open, MappedFile& file);
