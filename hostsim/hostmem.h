// Host-side storage in the layouts the plug-in reads: narrow strings with
// their length before the first byte, dynamic arrays with their count before
// the first element, and a base of games whose headers are such arrays of tag
// pairs. Used by the stand-in host and by the fake hosts of the tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "lumora/hostabi.h"

// The memory of one base: words cut one after another from large blocks, so
// that a base of any size costs a few allocations (a heap of millions of
// small blocks makes Wine's allocator walk long free lists). Words given up
// are filled with 0xDD and reused only after kQuarantine later ones, so that
// a plug-in still reading them (an address kept across SetGameTag, a sort or
// an open) reads garbage at once, as it could on a real host, instead of
// finding new data there.
class HostHeap {
 public:
  HostHeap() = default;
  HostHeap(const HostHeap&) = delete;
  HostHeap& operator=(const HostHeap&) = delete;

  // `count` zeroed words.
  uint32_t* Allocate(size_t count) {
    if (auto reusable = free_.find(count); reusable != free_.end() && !reusable->second.empty()) {
      uint32_t* words = reusable->second.back();
      reusable->second.pop_back();
      std::memset(words, 0, count * sizeof(uint32_t));
      return words;
    }
    if (capacity_ - used_ < count) {
      size_t size = std::max(count, kBlockWords);
      blocks_.push_back({std::make_unique<uint32_t[]>(size), size});
      used_ = 0;
      capacity_ = size;
    }
    uint32_t* words = blocks_.back().words.get() + used_;
    used_ += count;
    return words;
  }
  void Retire(uint32_t* words, size_t count) {
    if (!words) return;
    Fill(words, count);
    quarantine_.push_back({words, count});
    if (quarantine_.size() <= kQuarantine) return;
    auto [oldest, size] = quarantine_.front();
    quarantine_.pop_front();
    free_[size].push_back(oldest);
  }
  // Gives up every word (the base is replaced). The blocks stay, filled
  // with 0xDD, until the next call.
  void Clear() {
    retired_ = std::move(blocks_);
    blocks_.clear();
    for (Block& block : retired_) Fill(block.words.get(), block.size);
    used_ = capacity_ = 0;
    quarantine_.clear();
    free_.clear();
  }

 private:
  static constexpr size_t kBlockWords = size_t{1} << 16;  // 256 KB
  static constexpr size_t kQuarantine = 4096;
  static void Fill(uint32_t* words, size_t count) { std::memset(words, 0xDD, count * sizeof(uint32_t)); }
  struct Block {
    std::unique_ptr<uint32_t[]> words;
    size_t size;
  };
  std::vector<Block> blocks_, retired_;
  size_t used_ = 0, capacity_ = 0;
  std::deque<std::pair<uint32_t*, size_t>> quarantine_;      // given up, not yet reusable
  std::unordered_map<size_t, std::vector<uint32_t*>> free_;  // reusable, by their number of words
};

// A narrow host string in a base's heap; its pointer is nil when empty.
class HostString {
 public:
  HostString() = default;
  HostString(HostHeap& heap, std::string_view text) { Assign(heap, text); }

  // A new value lives at a new address.
  void Assign(HostHeap& heap, std::string_view text) {
    heap.Retire(words_, WordsFor(size_));
    size_ = static_cast<uint32_t>(text.size());
    words_ = heap.Allocate(WordsFor(size_));
    words_[1] = size_;
    if (size_) std::memcpy(&words_[2], text.data(), size_);
  }
  const char* Pointer() const { return size_ ? reinterpret_cast<const char*>(&words_[2]) : nullptr; }
  std::string_view Text() const { return {Pointer(), size_}; }

 private:
  static size_t WordsFor(uint32_t size) { return 2 + (size + 1 + 3) / 4; }  // host word, length, bytes, zero
  uint32_t* words_ = nullptr;
  uint32_t size_ = 0;
};

// A host dynamic array of T in a base's heap; its pointer is nil when empty.
template <class T>
class HostArray {
 public:
  // New contents live at a new address.
  void Assign(HostHeap& heap, std::span<const T> items) {
    heap.Retire(words_, WordsFor(count_));
    count_ = items.size();
    words_ = heap.Allocate(WordsFor(count_));
    words_[1] = static_cast<uint32_t>(count_);
    if (count_) std::memcpy(&words_[2], items.data(), count_ * sizeof(T));
  }
  T* Pointer() { return count_ ? reinterpret_cast<T*>(&words_[2]) : nullptr; }
  size_t Size() const { return count_; }

 private:
  static size_t WordsFor(size_t count) {
    return 2 + (count * sizeof(T) + 3) / 4;
  }  // host word, count, elements
  uint32_t* words_ = nullptr;
  size_t count_ = 0;
};

// One game: its tag pairs in header order and its movetext (lines joined by
// CR LF, without a final line end).
struct HostGame {
  std::vector<std::pair<HostString, HostString>> tags;
  HostArray<hostabi::TagPair> header;
  HostString movetext;

  void RebuildHeader(HostHeap& heap) {
    std::vector<hostabi::TagPair> pairs;
    pairs.reserve(tags.size());
    for (auto& [name, value] : tags) pairs.push_back({name.Pointer(), value.Pointer()});
    header.Assign(heap, pairs);
  }
  // Adds the tag at the end or replaces its value; the header may move.
  void SetTag(HostHeap& heap, std::string_view name, std::string_view value) {
    for (auto& [n, v] : tags)
      if (n.Text() == name) {
        v.Assign(heap, value);
        RebuildHeader(heap);
        return;
      }
    tags.emplace_back(HostString(heap, name), HostString(heap, value));
    RebuildHeader(heap);
  }
  std::string Tag(std::string_view name) const {
    for (auto& [n, v] : tags)
      if (n.Text() == name) return std::string(v.Text());
    return {};
  }
};

// The open base as the host shows it: GameList and GameOrder, in the layouts
// the plug-in reads through the host variables 102 and 60.
struct HostBase {
  HostHeap heap;  // first: the games' strings and arrays live in it
  std::vector<HostGame> games;
  std::vector<int32_t> order;  // displayed position -> record index
  HostArray<hostabi::GameRecord> gameList;
  HostArray<int32_t> gameOrder;
  hostabi::GameRecord* gameListVariable = nullptr;
  int32_t* gameOrderVariable = nullptr;

  // Forgets every game; their memory is given up.
  void Clear() {
    games.clear();
    order.clear();
    gameList = {};
    gameOrder = {};
    heap.Clear();
  }
  // Publishes the records and the order after games were added or sorted.
  void Publish() {
    std::vector<hostabi::GameRecord> records(games.size());
    for (size_t i = 0; i < games.size(); ++i) {
      games[i].RebuildHeader(heap);
      records[i].header = games[i].header.Pointer();
    }
    if (order.size() != games.size()) {
      order.resize(games.size());
      for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int32_t>(i);
    }
    gameList.Assign(heap, records);
    gameOrder.Assign(heap, order);
    gameListVariable = gameList.Pointer();
    gameOrderVariable = gameOrder.Pointer();
  }
  // Publishes a new displayed order of the same games.
  void PublishOrder() {
    gameOrder.Assign(heap, order);
    gameOrderVariable = gameOrder.Pointer();
  }
  // Sets a tag of one game and updates its record's header pointer in place.
  void SetTag(int32_t record, std::string_view name, std::string_view value) {
    if (record < 0 || record >= static_cast<int32_t>(games.size())) return;
    games[static_cast<size_t>(record)].SetTag(heap, name, value);
    gameList.Pointer()[record].header = games[static_cast<size_t>(record)].header.Pointer();
  }
  // Adds a game with these tags and movetext; Publish shows it.
  HostGame& AddGame(std::span<const std::pair<std::string_view, std::string_view>> tags,
                    std::string_view movetext = {}) {
    HostGame& g = games.emplace_back();
    g.tags.reserve(tags.size());
    for (auto& [n, v] : tags) g.tags.emplace_back(HostString(heap, n), HostString(heap, v));
    g.movetext = HostString(heap, movetext);
    return g;
  }
  // Adds a game with the Seven Tag Roster and optional further tags.
  HostGame& AddGame(std::string_view white, std::string_view black,
                    std::vector<std::pair<std::string, std::string>> extra = {}) {
    std::vector<std::pair<std::string_view, std::string_view>> tags = {
        {"Event", "?"},   {"Site", "?"},    {"Date", "????.??.??"}, {"Round", "?"},
        {"White", white}, {"Black", black}, {"Result", "*"}};
    for (auto& [n, v] : extra) tags.emplace_back(n, v);
    return AddGame(tags);
  }
};
