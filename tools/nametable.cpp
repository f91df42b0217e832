#include "tools/nametable.h"

#include <algorithm>
#include <functional>
#include <utility>

uint64_t NameTable::Hash(std::string_view name) { return std::hash<std::string_view>{}(name); }

std::string_view NameTable::NameOf(uint32_t row) const {
  uint32_t start = row == 0 ? 0 : ends_[row - 1];
  return std::string_view(bytes_).substr(start, ends_[row] - start);
}

size_t NameTable::SlotOf(std::string_view name, uint64_t hash) const {
  size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.row == kNone) return i;
    if (slot.hash == static_cast<uint32_t>(hash) && slot.length == name.size() &&
        std::string_view(bytes_).substr(slot.start, slot.length) == name)
      return i;
  }
}

uint32_t NameTable::Find(std::string_view name, uint64_t hash) const {
  return slots_.empty() ? kNone : slots_[SlotOf(name, hash)].row;
}

uint32_t NameTable::Add(std::string_view name, uint64_t hash) {
  // Doubled to stay at most half full.
  if (2 * (size() + 1) > slots_.size()) {
    std::vector<Slot> old = std::exchange(slots_, {});
    slots_.resize(std::max<size_t>(1024, 2 * old.size()));
    size_t mask = slots_.size() - 1;
    for (const Slot& s : old) {
      if (s.row == kNone) continue;
      size_t i = s.hash & mask;
      while (slots_[i].row != kNone) i = (i + 1) & mask;
      slots_[i] = s;
    }
  }
  auto row = static_cast<uint32_t>(size());
  slots_[SlotOf(name, hash)] = {static_cast<uint32_t>(hash), row, static_cast<uint32_t>(bytes_.size()),
                                static_cast<uint32_t>(name.size())};
  bytes_ += name;
  ends_.push_back(static_cast<uint32_t>(bytes_.size()));
  return row;
}
