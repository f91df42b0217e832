// The fit of a game's name to a player's name. Words of the game's name are
// whole: a run of letters matches a word of the player's name only entirely,
// so sharing a surname or a part of a double name is not enough.
#include "tagrules/namefit.h"

#include <array>
#include <string>
#include <vector>

#include "players/searchrules.h"

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The lower-cased whole words of a player's name, as the word search sees them.
std::vector<std::string> WordsOfPlayer(std::string_view name) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < name.size()) {
    while (i < name.size() && IsNameSeparator(static_cast<unsigned char>(name[i]))) ++i;
    const size_t start = i;
    while (i < name.size() && !IsNameSeparator(static_cast<unsigned char>(name[i]))) ++i;
    if (i == start) break;
    std::string& word = words.emplace_back(name.substr(start, i - start));
    for (char& c : word) c = LowerAscii(c);
  }
  return words;
}

}  // namespace

bool NameFits(std::string_view gameName, std::string_view playerName) {
  std::vector<std::string> words = WordsOfPlayer(playerName);
  std::vector<bool> used(words.size(), false);
  // Initials wait until every run of letters has taken its word, so that an
  // initial never takes a word that a run needs. Runs are matched exactly,
  // and equal words are interchangeable, so taking the first free one is as
  // good as any other choice; initials then only compete by letter.
  std::array<int, 26> initials{};
  std::string run;
  size_t i = 0;
  while (i < gameName.size()) {
    if (!IsAsciiLetter(gameName[i])) {
      ++i;
      continue;
    }
    run.clear();
    while (i < gameName.size() && IsAsciiLetter(gameName[i])) run += LowerAscii(gameName[i++]);
    if (run.size() == 1) {
      ++initials[static_cast<size_t>(run[0] - 'a')];
      continue;
    }
    size_t w = 0;
    while (w < words.size() && (used[w] || words[w] != run)) ++w;
    if (w == words.size()) return false;
    used[w] = true;
  }
  for (size_t w = 0; w < words.size(); ++w) {
    const char first = words[w][0];
    if (!used[w] && first >= 'a' && first <= 'z' && initials[static_cast<size_t>(first - 'a')] > 0)
      --initials[static_cast<size_t>(first - 'a')];
  }
  for (int left : initials)
    if (left > 0) return false;
  return true;
}
