#include "tools/mappedfile.h"

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  MappedFile old(std::move(*this));
  data_ = std::exchange(other.data_, nullptr);
  size_ = std::exchange(other.size_, 0);
  return *this;
}

#if defined(_WIN32)

// Stream reading serves on Windows, where a 32-bit process has no room to
// map a big file whole.
MappedFile::MappedFile(const std::string&) {}
MappedFile::MappedFile(std::FILE*) {}
MappedFile::~MappedFile() = default;
int64_t MappedFile::Release(int64_t, int64_t to) const { return to; }

#else

#include <algorithm>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

MappedFile::MappedFile(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  Map(fd);
  close(fd);  // the mapping keeps the file
}

MappedFile::MappedFile(std::FILE* file) { Map(fileno(file)); }

void MappedFile::Map(int fd) {
  struct stat st {};
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    auto size = static_cast<size_t>(st.st_size);
    void* at = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (at != MAP_FAILED) {
      data_ = static_cast<const char*>(at);
      size_ = size;
    }
  }
}

MappedFile::~MappedFile() {
  if (data_) munmap(const_cast<char*>(data_), size_);
}

int64_t MappedFile::Release(int64_t from, int64_t to) const {
  const auto page = static_cast<int64_t>(sysconf(_SC_PAGESIZE));
  from = (from + page - 1) / page * page;
  to = std::min<int64_t>(to, static_cast<int64_t>(size_)) / page * page;
  if (data_ && from < to)
    madvise(const_cast<char*>(data_) + from, static_cast<size_t>(to - from), MADV_DONTNEED);
  return std::max(from, to);
}

#endif
