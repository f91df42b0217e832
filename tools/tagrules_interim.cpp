#include "tools/tagrules_interim.h"

#include <algorithm>
#include <charconv>

namespace {

struct SideTags {
  const char* name;
  const char* fide;
  const char* title;
  const char* elo;
  const char* sex;
  const char* country;
};

constexpr SideTags kTags[2] = {
    {"White", "WhiteFIDE", "WhiteTitle", "WhiteElo", "WhiteSex", "WhiteCountry"},
    {"Black", "BlackFIDE", "BlackTitle", "BlackElo", "BlackSex", "BlackCountry"},
};

int TitleCode(std::string_view text) {
  for (int t = 0; t < 6; ++t)
    if (TitleText(t) == text) return t;
  return -1;
}

}  // namespace

std::string_view SideNameTag(Side side) { return kTags[static_cast<int>(side)].name; }

bool ParseDecimal(std::string_view text, int32_t& value) {
  if (text.empty()) {
    value = 0;
    return true;
  }
  for (char c : text)
    if (c < '0' || c > '9') return false;
  int32_t parsed = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  value = parsed;
  return true;
}

void ReadSideTag(std::string_view tag, std::string_view value, Side side, GamePlayerInfo& info) {
  const SideTags& tags = kTags[static_cast<int>(side)];
  int32_t number = 0;
  if (tag == tags.elo) {
    if (ParseDecimal(value, number) && number != 0) info.rating = static_cast<uint16_t>(number);
  } else if (tag == tags.fide) {
    if (ParseDecimal(value, number) && number != 0) info.fideId = number;
  } else if (tag == tags.sex) {
    if (value == "M") info.sex = 0;
    if (value == "F") info.sex = 1;
  } else if (tag == tags.title) {
    if (int t = TitleCode(value); t >= 0) info.title = static_cast<uint8_t>(t);
  } else if (tag == tags.country) {
    if (value.size() == 3)
      if (int row = FederationByCode(value); row != 0) info.federation = static_cast<uint8_t>(row);
  }
}

std::vector<TagWrite> PlayerTagWrites(Side side, const fideitem& R, std::string_view name,
                                      const GamePlayerInfo& G, const TagOptions& s, bool withFideId) {
  const SideTags& tags = kTags[static_cast<int>(side)];
  std::vector<TagWrite> writes;
  if (withFideId && s.saveFideId) writes.push_back({tags.fide, std::to_string(static_cast<uint32_t>(R.fideId))});
  if (s.saveTitle && R.title < 6 && (G.title == 6 || (s.overwriteTitle && G.title != R.title)))
    writes.push_back({tags.title, std::string(TitleText(R.title))});
  if (s.saveElo && R.rating != 0 && (G.rating == 0 || (s.overwriteElo && G.rating != R.rating)))
    writes.push_back({tags.elo, std::to_string(R.rating)});
  if (s.saveSex && R.sex < 2 && (G.sex == 2 || (s.overwriteSex && G.sex != R.sex)))
    writes.push_back({tags.sex, R.sex == 0 ? "M" : "F"});
  if (s.saveCountry && !FederationCode(R.federation).empty() &&
      (G.federation == 0 || (s.overwriteCountry && G.federation != R.federation)))
    writes.push_back({tags.country, std::string(FederationCode(R.federation))});
  if (s.changeName && name != R.name) writes.push_back({tags.name, std::string(R.name)});
  return writes;
}

bool WritesPlayerTag(std::span<const TagWrite> writes, Side side) {
  const SideTags& tags = kTags[static_cast<int>(side)];
  for (const TagWrite& w : writes)
    if (w.name == tags.title || w.name == tags.elo || w.name == tags.sex || w.name == tags.country) return true;
  return false;
}

bool IsAnonymousName(std::string_view name) {
  std::string_view head = name.substr(0, 9);
  if (head.size() < 9) return false;
  for (size_t i = 0; i < 9; ++i) {
    auto c = static_cast<unsigned char>(head[i]);
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
    if (c != static_cast<unsigned char>("anonymous"[i])) return false;
  }
  return true;
}

bool IsClearCut(std::span<const tsearchress> results) {
  return results.size() == 1 || (results.size() >= 2 && results[0].score == 1 && results[1].score > 1);
}

void PromoteKnownPlayers(std::vector<tsearchress>& results, std::span<const int32_t> indices) {
  for (int32_t v : indices) {
    size_t at = 0;
    while (at < results.size() && results[at].index != v) ++at;
    if (at < results.size()) {
      if (results[at].score <= 2) continue;
      results[at].score = 2;
      for (; at > 0 && results[at - 1].score > results[at].score; --at) std::swap(results[at - 1], results[at]);
      continue;
    }
    size_t place = results.size();
    while (place > 0 && results[place - 1].score > 2) --place;
    results.insert(results.begin() + static_cast<std::ptrdiff_t>(place), tsearchress{v, 2});
  }
}
