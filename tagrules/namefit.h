// namefit: whether the name a game gives a player can be that of a player of
// the list. The word search finds players who share one word with the game's
// name; a batch that nobody watches takes a found player only when the whole
// name agrees with it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The game's name fits the player's name when every run of two or more ASCII
// letters in it equals, ignoring case, a whole word of the player's name
// (words delimited as in the word search), and every single letter (an
// initial) is the first letter, ignoring case, of a further word. Each word
// of the player's name serves once. Bytes that are not ASCII letters only
// delimit runs: "Navara,D" fits "Navara, David", "Liren, Ding" fits "Ding,
// Liren"; "Kowalsky, Jan" does not fit "Kowalski, Jan", nor "Dog, Q."
// "Dog, Peter".
bool NameFits(std::string_view gameName, std::string_view playerName);

// ---- The extended fit: the shortened and decorated forms of game records ----

// How a part of the game's name must meet a word of the player's name.
enum class FormPart : uint8_t {
  kWhole,            // a word of the surname: the whole word
  kStart,            // a further word, or its start ("Ar": Arkadiusz)
  kStartOrInitials,  // two or three capitals: a word's start, or one initial a letter ("LD")
};

struct FormToken {
  std::string text;  // lower-case ASCII letters, two or more
  FormPart part = FormPart::kWhole;
};

// A game's name as the extended fit reads it.
struct NameForm {
  std::vector<FormToken> tokens;
  std::string initials;    // single letters, lower-case, each beginning a further word
  uint8_t federation = 0;  // a federation code after the name ("Popov,Iv RUS"), its row; 0 none
  bool namesake = false;   // a namesake counter ("Horak,Ji1") or "jr"/"sr" was dropped
};

// Reads a game's name: a trailing number (the counter by which game records
// tell namesakes apart), a trailing "jr"/"sr" and a trailing federation code
// (three capitals, a known code, after a blank) are dropped from the name
// and remembered. The runs of ASCII letters before the first comma are the
// surname, whole words; the runs after it may be the start of a word, and
// a run of two or three capitals also a run of initials; a run that goes on
// from small letters to a capital ("JesW") is a start and an initial.
// Without a comma, or with no run before it, every run is a whole word.
NameForm ReadNameForm(std::string_view gameName);

// The player's name holds a different word for every part of the form:
// the word itself for a whole part, a word beginning with it for a start
// (which includes the word itself), and for every initial a word beginning
// with its letter. Case is ignored. "Kaczmarek,Ar" fits "Kaczmarek,
// Arkadiusz", "Nisipeanu,LD" fits "Nisipeanu, Liviu-Dieter", "Lie,Es" fits
// "Lie, Espen"; "Bocharov,D" does not fit "Bocharov, Oleg".
bool FormFits(const NameForm& form, std::string_view playerName);
