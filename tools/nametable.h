// The distinct names of a `players tag` run, each to its row: open
// addressing over a power of two of slots, at most half of them used, each
// slot the name's hash, row and where its bytes are; the names' bytes one
// after another.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class NameTable {
 public:
  static constexpr uint32_t kNone = UINT32_MAX;

  static uint64_t Hash(std::string_view name);
  // The row of the name, or kNone.
  uint32_t Find(std::string_view name, uint64_t hash) const;
  // Adds a name the table does not hold as the next row; returns it.
  uint32_t Add(std::string_view name, uint64_t hash);
  size_t size() const { return ends_.size(); }
  std::string_view NameOf(uint32_t row) const;

 private:
  // Where the name is is kept beside its hash, so that a lookup goes
  // straight to its bytes.
  struct Slot {
    uint32_t hash = 0;  // the low half
    uint32_t row = kNone;
    uint32_t start = 0, length = 0;
  };
  // Where the name is, or the free slot where it would go.
  size_t SlotOf(std::string_view name, uint64_t hash) const;

  std::vector<Slot> slots_;
  std::string bytes_;           // the names of the rows in row order
  std::vector<uint32_t> ends_;  // where each row's name ends in bytes_
};
