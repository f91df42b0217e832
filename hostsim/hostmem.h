// Host-side storage in the layouts the plug-in reads: narrow strings with
// their length before the first byte, dynamic arrays with their count before
// the first element, and a base of games whose headers are such arrays of tag
// pairs. Used by the stand-in host and by the fake hosts of the tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "lumora/hostabi.h"

// Takes a block the host gives up: it is filled with 0xDD and kept a while
// before it is freed, so that a plug-in still reading it (an address kept
// across SetGameTag, a sort or an open) reads garbage at once, as it could on
// a real host, instead of finding the new data at the old address.
inline void RetireBlock(std::vector<uint32_t>& block) {
  static std::deque<std::vector<uint32_t>> retired;
  if (block.empty()) return;
  std::memset(block.data(), 0xDD, block.size() * sizeof(uint32_t));
  retired.push_back(std::move(block));
  if (retired.size() > 4096) retired.pop_front();
  block = {};
}

// A narrow host string; its pointer is nil when empty.
class HostString {
 public:
  HostString() = default;
  explicit HostString(std::string_view text) { Assign(text); }

  void Assign(std::string_view text) {
    text_ = text;
    RetireBlock(storage_);  // a new value lives at a new address
    storage_.assign(2 + (text.size() + 1 + 3) / 4, 0);
    storage_[1] = static_cast<uint32_t>(text.size());
    std::memcpy(&storage_[2], text.data(), text.size());
  }
  const char* Pointer() const {
    return text_.empty() ? nullptr : reinterpret_cast<const char*>(&storage_[2]);
  }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
  std::vector<uint32_t> storage_;  // host word, length, bytes, zero
};

// A host dynamic array of T; its pointer is nil when empty.
template <class T>
class HostArray {
 public:
  void Assign(std::span<const T> items) {
    count_ = items.size();
    RetireBlock(storage_);  // new contents live at a new address
    storage_.assign(2 + (items.size() * sizeof(T) + 3) / 4, 0);
    storage_[1] = static_cast<uint32_t>(items.size());
    if (!items.empty()) std::memcpy(&storage_[2], items.data(), items.size() * sizeof(T));
  }
  T* Pointer() { return count_ ? reinterpret_cast<T*>(&storage_[2]) : nullptr; }
  size_t Size() const { return count_; }

 private:
  size_t count_ = 0;
  std::vector<uint32_t> storage_;  // host word, count, elements
};

// One game: its tag pairs in header order and its movetext lines.
struct HostGame {
  std::vector<std::pair<HostString, HostString>> tags;
  HostArray<hostabi::TagPair> header;
  std::vector<std::string> movetext;

  void RebuildHeader() {
    std::vector<hostabi::TagPair> pairs;
    for (auto& [name, value] : tags) pairs.push_back({name.Pointer(), value.Pointer()});
    header.Assign(pairs);
  }
  // Adds the tag at the end or replaces its value; the header may move.
  void SetTag(std::string_view name, std::string_view value) {
    for (auto& [n, v] : tags)
      if (n.Text() == name) {
        v.Assign(value);
        RebuildHeader();
        return;
      }
    tags.emplace_back(HostString(name), HostString(value));
    RebuildHeader();
  }
  std::string Tag(std::string_view name) const {
    for (auto& [n, v] : tags)
      if (n.Text() == name) return v.Text();
    return {};
  }
};

// The open base as the host shows it: GameList and GameOrder, in the layouts
// the plug-in reads through the host variables 102 and 60.
struct HostBase {
  std::vector<HostGame> games;
  std::vector<int32_t> order;  // displayed position -> record index
  HostArray<hostabi::GameRecord> gameList;
  HostArray<int32_t> gameOrder;
  hostabi::GameRecord* gameListVariable = nullptr;
  int32_t* gameOrderVariable = nullptr;

  // Publishes the records and the order after games were added or sorted.
  void Publish() {
    std::vector<hostabi::GameRecord> records(games.size());
    for (size_t i = 0; i < games.size(); ++i) {
      games[i].RebuildHeader();
      records[i].header = games[i].header.Pointer();
    }
    if (order.size() != games.size()) {
      order.resize(games.size());
      for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int32_t>(i);
    }
    gameList.Assign(records);
    gameOrder.Assign(order);
    gameListVariable = gameList.Pointer();
    gameOrderVariable = gameOrder.Pointer();
  }
  // Publishes a new displayed order of the same games.
  void PublishOrder() {
    gameOrder.Assign(order);
    gameOrderVariable = gameOrder.Pointer();
  }
  // Sets a tag of one game and updates its record's header pointer in place.
  void SetTag(int32_t record, std::string_view name, std::string_view value) {
    if (record < 0 || record >= static_cast<int32_t>(games.size())) return;
    games[static_cast<size_t>(record)].SetTag(name, value);
    gameList.Pointer()[record].header = games[static_cast<size_t>(record)].header.Pointer();
  }
  // Adds a game with the Seven Tag Roster and optional further tags.
  HostGame& AddGame(std::string_view white, std::string_view black,
                    std::vector<std::pair<std::string, std::string>> extra = {}) {
    HostGame& g = games.emplace_back();
    const std::pair<std::string_view, std::string_view> roster[] = {
        {"Event", "?"},   {"Site", "?"},    {"Date", "????.??.??"}, {"Round", "?"},
        {"White", white}, {"Black", black}, {"Result", "*"}};
    for (auto& [n, v] : roster) g.tags.emplace_back(HostString(n), HostString(v));
    for (auto& [n, v] : extra) g.tags.emplace_back(HostString(n), HostString(v));
    return g;
  }
};
