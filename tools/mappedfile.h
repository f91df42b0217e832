// A regular file mapped read-only into memory where the platform allows it:
// `players tag` reads a big file where it lies, twice, instead of copying
// it into buffers, and writes unchanged games straight from it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

class MappedFile {
 public:
  MappedFile() = default;
  // Unmapped (bytes() empty, mapped() false) when the file is no regular
  // file, is empty, or cannot be mapped: the caller reads it as a stream.
  explicit MappedFile(const std::string& path);
  // The same for an open file, as far as it is written (flushed).
  explicit MappedFile(std::FILE* file);
  ~MappedFile();
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;

  bool mapped() const { return data_ != nullptr; }
  std::string_view bytes() const { return {data_, size_}; }
  // The pages wholly within [from, to) are let go, so that reading through
  // the file does not keep all of it resident; read again, they come back
  // from the file. Returns where they end (`to` down to a page): where the
  // next range to let go begins. Safe from several threads on different
  // ranges.
  int64_t Release(int64_t from, int64_t to) const;

 private:
  void Map(int fd);
  const char* data_ = nullptr;
  size_t size_ = 0;
};
