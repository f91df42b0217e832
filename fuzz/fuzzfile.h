// A scratch file per fuzzing process: the database reads and writes files.
#pragma once

#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

// Removes the scratch files when the fuzzer ends.
struct ScratchFiles {
  std::set<std::string> paths;
  ~ScratchFiles() {
    for (const std::string& p : paths) {
      std::remove(p.c_str());
      std::remove((p + ".tmp").c_str());
    }
  }
};
inline ScratchFiles scratchFiles;

// In memory where there is such a folder: many thousand files a second are
// written, and replacing a file on a disk may wait for the disk.
inline std::string ScratchPath(const char* name) {
  std::error_code ec;
  std::filesystem::path dir = std::filesystem::is_directory("/dev/shm", ec)
                                  ? std::filesystem::path("/dev/shm")
                                  : std::filesystem::temp_directory_path();
  std::string path = (dir / ("velmarsh-fuzz-" + std::to_string(getpid()) + "-" + name)).string();
  scratchFiles.paths.insert(path);
  return path;
}

inline std::string WriteScratch(const char* name, const uint8_t* data, size_t size) {
  std::string path = ScratchPath(name);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) __builtin_trap();
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);
  return path;
}

inline std::string ReadScratch(const std::string& path) {
  std::string bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  char chunk[4096];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) bytes.append(chunk, n);
  std::fclose(f);
  return bytes;
}
