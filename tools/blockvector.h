// A vector that grows a block at a time: what it holds is never copied, and
// no doubled capacity stands half empty, for the records `players tag`
// keeps of every game and place of a big file.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

template <class T>
class BlockVector {
 public:
  void push_back(const T& value) {
    if (size_ % kBlock == 0) blocks_.push_back(std::make_unique_for_overwrite<T[]>(kBlock));
    blocks_.back()[size_++ % kBlock] = value;
  }
  T& operator[](size_t i) { return blocks_[i / kBlock][i % kBlock]; }
  const T& operator[](size_t i) const { return blocks_[i / kBlock][i % kBlock]; }
  size_t size() const { return size_; }
  void clear() {
    blocks_.clear();
    size_ = 0;
  }

 private:
  static constexpr size_t kBlock = size_t{1} << 16;
  std::vector<std::unique_ptr<T[]>> blocks_;
  size_t size_ = 0;
};
