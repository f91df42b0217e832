// The extended fit: the forms game records shorten and decorate names with,
// read from the game's name once and met against each player's words.
#include <array>
#include <cstdint>

#include "players/playercodes.h"
#include "players/searchrules.h"
#include "tagrules/namefit.h"

namespace {

bool IsSmall(char c) { return c >= 'a' && c <= 'z'; }
bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }
bool IsAsciiLetter(char c) { return IsSmall(c) || IsCapital(c); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = LowerAscii(c);
  return out;
}

// The last blank-separated word of s, when a blank precedes it and the name
// goes on before the blank with something other than a comma: a word that
// stands after the name rather than being its given part.
bool TrailingWord(std::string_view s, std::string_view& word, std::string_view& before) {
  const size_t blank = s.find_last_of(" \t");
  if (blank == std::string_view::npos || blank + 1 == s.size()) return false;
  before = TrimRight(s.substr(0, blank));
  if (before.empty() || before.back() == ',') return false;
  word = s.substr(blank + 1);
  return true;
}

// Drops one trailing decoration; false when there is none.
bool DropDecoration(std::string_view& s, NameForm& form) {
  s = TrimRight(s);
  // The counter: one or two digits right after a letter ("Horak,Ji1").
  size_t n = s.size();
  while (n > 0 && s.size() - n < 2 && IsDigit(s[n - 1])) --n;
  if (n < s.size() && n > 0 && IsAsciiLetter(s[n - 1])) {
    s = s.substr(0, n);
    form.namesake = true;
    return true;
  }
  std::string_view word, before;
  if (!TrailingWord(s, word, before)) return false;
  std::string lower = Lower(word);
  if (lower == "jr" || lower == "jr." || lower == "sr" || lower == "sr.") {
    s = before;
    form.namesake = true;
    return true;
  }
  if (word.size() == 3 && IsCapital(word[0]) && IsCapital(word[1]) && IsCapital(word[2]) &&
      form.federation == 0)
    if (int row = FederationByCode(word); row != 0) {
      s = before;
      form.federation = static_cast<uint8_t>(row);
      return true;
    }
  return false;
}

// Adds the runs of letters of part: whole words, or the pieces of the given
// names.
void AddRuns(std::string_view part, bool given, NameForm& form) {
  size_t i = 0;
  while (i < part.size()) {
    if (!IsAsciiLetter(part[i])) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < part.size() && IsAsciiLetter(part[end])) ++end;
    // A given run splits where small letters go on with a capital: "JesW".
    size_t start = i;
    for (size_t k = i + 1; k <= end; ++k) {
      if (k < end && !(given && IsSmall(part[k - 1]) && IsCapital(part[k]))) continue;
      std::string_view piece = part.substr(start, k - start);
      if (piece.size() == 1) {
        form.initials += LowerAscii(piece[0]);
      } else {
        FormPart kind = FormPart::kWhole;
        if (given) {
          bool capitals = piece.size() <= 3;
          for (char c : piece) capitals = capitals && IsCapital(c);
          kind = capitals ? FormPart::kStartOrInitials : FormPart::kStart;
        }
        form.tokens.push_back({Lower(piece), kind});
      }
      start = k;
    }
    i = end;
  }
}

// The lower-cased words of a player's name, as the word search delimits them.
struct PlayerWords {
  static constexpr int kMax = 32;  // further words are not looked at
  char lower[256];
  std::array<std::string_view, kMax> words;
  int count = 0;

  explicit PlayerWords(std::string_view name) {
    const size_t n = std::min<size_t>(name.size(), sizeof lower);
    for (size_t i = 0; i < n; ++i) lower[i] = LowerAscii(name[i]);
    size_t i = 0;
    while (i < n && count < kMax) {
      while (i < n && IsNameSeparator(static_cast<unsigned char>(lower[i]))) ++i;
      const size_t start = i;
      while (i < n && !IsNameSeparator(static_cast<unsigned char>(lower[i]))) ++i;
      if (i > start) words[count++] = std::string_view(lower + start, i - start);
    }
  }
};

struct Matcher {
  const NameForm& form;
  const PlayerWords& player;
  std::array<const FormToken*, 16> open{};  // the parts that are not whole words
  int openCount = 0;

  // Whether every initial finds a free word of its letter: words compete
  // only by their first letter, so counting per letter decides.
  bool InitialsFit(uint32_t used, const std::string& extra) const {
    std::array<int8_t, 26> free{};
    for (int w = 0; w < player.count; ++w) {
      const char first = player.words[w][0];
      if (!(used >> w & 1) && IsSmall(first)) ++free[first - 'a'];
    }
    for (const std::string* letters : {&form.initials, &extra})
      for (char c : *letters)
        if (--free[c - 'a'] < 0) return false;
    return true;
  }

  bool Assign(int next, uint32_t used, std::string& extra) const {
    if (next == openCount) return InitialsFit(used, extra);
    const FormToken& token = *open[next];
    for (int w = 0; w < player.count; ++w)
      if (!(used >> w & 1) && player.words[w].starts_with(token.text) &&
          Assign(next + 1, used | uint32_t{1} << w, extra))
        return true;
    if (token.part != FormPart::kStartOrInitials) return false;
    const size_t before = extra.size();
    extra += token.text;
    const bool fits = Assign(next + 1, used, extra);
    extra.resize(before);
    return fits;
  }
};

}  // namespace

NameForm ReadNameForm(std::string_view name) {
  NameForm form;
  std::string_view s = name;
  while (DropDecoration(s, form)) {
  }
  const size_t comma = s.find(',');
  bool surnameRun = false;
  if (comma != std::string_view::npos)
    for (size_t i = 0; i + 1 < comma && !surnameRun; ++i)
      surnameRun = IsAsciiLetter(s[i]) && IsAsciiLetter(s[i + 1]);
  if (!surnameRun) {
    AddRuns(s, false, form);
    return form;
  }
  AddRuns(s.substr(0, comma), false, form);
  AddRuns(s.substr(comma + 1), true, form);
  return form;
}

bool FormFits(const NameForm& form, std::string_view playerName) {
  const PlayerWords player(playerName);
  Matcher matcher{form, player};
  // Whole words first: equal words are interchangeable, so the first free
  // one is as good as any.
  uint32_t used = 0;
  for (const FormToken& token : form.tokens) {
    if (token.part != FormPart::kWhole) {
      if (matcher.openCount == static_cast<int>(matcher.open.size())) return false;
      matcher.open[matcher.openCount++] = &token;
      continue;
    }
    int w = 0;
    while (w < player.count && ((used >> w & 1) || player.words[w] != token.text)) ++w;
    if (w == player.count) return false;
    used |= uint32_t{1} << w;
  }
  std::string extra;
  return matcher.Assign(0, used, extra);
}
