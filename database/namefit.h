// namefit: whether the name a game gives a player can be that of a player of
// the list. The word search finds players who share one word with the game's
// name; a batch that nobody watches takes a found player only when the whole
// name agrees with it.
#pragma once

#include <string_view>

// The game's name fits the player's name when every run of two or more ASCII
// letters in it equals, ignoring case, a whole word of the player's name
// (words delimited as in the word search), and every single letter (an
// initial) is the first letter, ignoring case, of a further word. Each word
// of the player's name serves once. Bytes that are not ASCII letters only
// delimit runs: "Navara,D" fits "Navara, David", "Liren, Ding" fits "Ding,
// Liren"; "Kowalsky, Jan" does not fit "Kowalski, Jan", nor "Dog, Q."
// "Dog, Peter".
bool NameFits(std::string_view gameName, std::string_view playerName);
