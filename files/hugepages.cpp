// AdviseHugePages by madvise where Linux offers it.
#include "files/hugepages.h"

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

void AdviseHugePages([[maybe_unused]] const void* at, [[maybe_unused]] size_t bytes) {
#ifdef __linux__
  constexpr uintptr_t kPage = 4096, kHugePage = uintptr_t{2} << 20;
  if (bytes < kHugePage) return;
  const uintptr_t first = (reinterpret_cast<uintptr_t>(at) + kPage - 1) & ~(kPage - 1);
  const uintptr_t last = (reinterpret_cast<uintptr_t>(at) + bytes) & ~(kPage - 1);
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}
