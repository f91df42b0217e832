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
  // Lets go of the blocks wholly before element i, which are not read
  // again.
  void LetGoBefore(size_t i) {
    for (size_t b = 0; (b + 1) * kBlock <= i && b < blocks_.size(); ++b) blocks_[b].reset();
  }
  // Takes over the blocks of `later`, none of them copied: its element i is
  // then element offset + i here, the returned offset being this size
  // rounded up to whole blocks (the slots between are never used).
  size_t Append(BlockVector&& later) {
    size_t offset = blocks_.size() * kBlock;
    for (auto& block : later.blocks_) blocks_.push_back(std::move(block));
    size_ = offset + later.size_;
    later.clear();
    return offset;
  }

 private:
  static constexpr size_t kBlock = size_t{1} << 16;
  std::vector<std::unique_ptr<T[]>> blocks_;
  size_t size_ = 0;
};
