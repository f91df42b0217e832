// C files for the database code: a handle that closes itself, and the size
// of a file on disk.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using OwnedFile = std::unique_ptr<std::FILE, FileCloser>;

inline OwnedFile OpenFile(const std::string& path, const char* mode) {
  return OwnedFile(std::fopen(path.c_str(), mode));
}

// Closes the file and tells whether everything written reached it.
inline bool CloseFile(OwnedFile& file) { return std::fclose(file.release()) == 0; }

// Size of the file at path through a separate open, or -1 when it cannot be
// opened.
inline int64_t SizeOfFile(const std::string& path) {
  OwnedFile f = OpenFile(path, "rb");
  if (!f) return -1;
  int64_t size = -1;
  if (std::fseek(f.get(), 0, SEEK_END) == 0) size = std::ftell(f.get());
  return size;
}
