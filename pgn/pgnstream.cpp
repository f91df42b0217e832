// A game's tags read and set: the values between their quotes, and the text
// with tags replaced where they stand or added after the header.
#include "pgn/pgnstream.h"

#include <algorithm>
#include <utility>

std::string_view PgnGame::RawValue(const PgnTag& tag) const {
  return std::string_view(text).substr(tag.valueStart, tag.valueEnd - tag.valueStart);
}

std::string PgnGame::Value(const PgnTag& tag) const {
  std::string_view raw = RawValue(tag);
  if (!tag.escaped) return std::string(raw);
  std::string value;
  value.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\\' && i + 1 < raw.size() && (raw[i + 1] == '"' || raw[i + 1] == '\\')) ++i;
    value += raw[i];
  }
  return value;
}

const PgnTag* PgnGame::Find(std::string_view name) const {
  for (const PgnTag& tag : tags)
    if (Name(tag) == name) return &tag;
  return nullptr;
}

std::string EscapeTagValue(std::string_view value) {
  std::string out;
  out.reserve(value.size() + 2);
  for (char c : value) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

std::string WithTags(const PgnGame& game, std::span<const TagSetting> tags) {
  if (!game.isGame || game.damaged) return game.text;
  struct Replacement {
    const PgnTag* tag;
    std::string raw;  // the new bytes between the quotes
  };
  std::vector<Replacement> replaced;
  std::vector<std::pair<std::string_view, std::string_view>> added;
  for (const TagSetting& setting : tags) {
    auto add =
        std::find_if(added.begin(), added.end(), [&](const auto& a) { return a.first == setting.name; });
    if (add != added.end()) {
      add->second = setting.value;
      continue;
    }
    const PgnTag* tag = game.Find(setting.name);
    if (!tag) {
      added.emplace_back(setting.name, setting.value);
      continue;
    }
    std::string raw = game.Value(*tag) == setting.value
                          ? game.text.substr(tag->valueStart, tag->valueEnd - tag->valueStart)
                          : EscapeTagValue(setting.value);
    auto old = std::find_if(replaced.begin(), replaced.end(), [&](const auto& r) { return r.tag == tag; });
    if (old != replaced.end())
      old->raw = std::move(raw);
    else
      replaced.push_back({tag, std::move(raw)});
  }
  std::sort(replaced.begin(), replaced.end(),
            [](const Replacement& a, const Replacement& b) { return a.tag->valueStart < b.tag->valueStart; });

  std::string out;
  out.reserve(game.text.size() + 32 * added.size());
  size_t from = 0;
  for (const Replacement& r : replaced) {
    out.append(game.text, from, r.tag->valueStart - from);
    out += r.raw;
    from = r.tag->valueEnd;
  }
  out.append(game.text, from, game.headerEnd - from);
  for (size_t i = 0; i < added.size(); ++i) {
    // A header that ends the file without a line end gets one before the
    // new line, and the file still ends without one.
    if (!game.headerEndsLine) out += game.lineEnd;
    out += '[';
    out += added[i].first;
    out += " \"";
    out += EscapeTagValue(added[i].second);
    out += "\"]";
    if (game.headerEndsLine) out += game.lineEnd;
  }
  out.append(game.text, game.headerEnd, std::string::npos);
  return out;
}
