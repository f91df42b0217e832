// MapFile: mmap for regular files on POSIX systems, else one read of the
// whole stream.
#include "files/mappedfile.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "files/stdfile.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

bool ReadWhole(const std::string& path, MappedFile& file) {
  OwnedFile in = OpenFile(path, "rb");
  if (!in) return false;
  auto text = std::make_shared<std::vector<char>>();
  int64_t size = SizeOfFile(path);
  text->reserve(size > 0 ? static_cast<size_t>(size) : 0);
  char chunk[1 << 16];
  for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, in.get())) > 0;)
    text->insert(text->end(), chunk, chunk + got);
  if (std::ferror(in.get())) return false;
  file.bytes = std::string_view(text->data(), text->size());
  file.owner = std::move(text);
  return true;
}

#ifndef _WIN32
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) close(fd);
  }
};

// False when the file is no regular file or cannot be mapped.
bool Map(int fd, MappedFile& file) {
  struct stat status {};
  if (fd < 0 || fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size == 0) return false;
  const size_t size = static_cast<size_t>(status.st_size);
  void* at = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  if (at == MAP_FAILED) return false;
  madvise(at, size, MADV_SEQUENTIAL);
  file.owner = std::shared_ptr<const void>(at, [size](const void* p) { munmap(const_cast<void*>(p), size); });
  file.bytes = std::string_view(static_cast<const char*>(at), size);
  file.mapped = true;
  return true;
}

bool Map(const std::string& path, MappedFile& file) {
  Descriptor in{open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  return Map(in.fd, file);
}
#endif

}  // namespace

size_t MappedFile::Forget([[maybe_unused]] size_t begin, size_t end) const {
#ifndef _WIN32
  if (!mapped || end > bytes.size()) return end;
  // Whole pages only: a page shared with bytes still to read stays.
  static const size_t kPage = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const size_t first = (begin + kPage - 1) / kPage * kPage, last = end / kPage * kPage;
  if (last > first) madvise(const_cast<char*>(bytes.data()) + first, last - first, MADV_DONTNEED);
  return std::max(first, last);
#else
  return end;
#endif
}

bool MapFile(const std::string& path, MappedFile& file) {
  file = {};
#ifndef _WIN32
  if (Map(path, file)) return true;
#endif
  return ReadWhole(path, file);
}

bool MapFileOnly([[maybe_unused]] const std::string& path, MappedFile& file) {
  file = {};
#ifndef _WIN32
  return Map(path, file);
#else
  return false;
#endif
}

bool MapFileOnly([[maybe_unused]] std::FILE* open, MappedFile& file) {
  file = {};
#ifndef _WIN32
  return Map(fileno(open), file);
#else
  return false;
#endif
}
