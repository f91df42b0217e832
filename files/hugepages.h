// hugepages: asks the system to back a large buffer about to be filled with
// large pages: filling a hundred megabytes 4 KiB at a time costs a page
// fault each, a good part of reading a whole list.
#pragma once

#include <cstddef>
#include <vector>

// A hint on the whole pages of [at, at + bytes); nothing where the system
// takes no such hint.
void AdviseHugePages(const void* at, size_t bytes);

// Room for n elements in an empty vector, with the hint.
template <class T>
void ReserveLarge(std::vector<T>& v, size_t n) {
  v.reserve(n);
  AdviseHugePages(v.data(), v.capacity() * sizeof(T));
}
