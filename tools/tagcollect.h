// The first reading of `players tag`: every game's White and Black names
// gathered into the run's rows with what each game says about its players,
// and what the second reading needs of each game.
#pragma once

#include <cstdint>
#include <functional>

#include "files/mappedfile.h"
#include "pgn/pgnstream.h"
#include "tools/tagrun.h"

// Called now and then with the bytes read so far, the games and the
// distinct names found (in a reading of two parts, the first part's).
using ReadingProgress = std::function<void(int64_t bytes, int64_t games, size_t names)>;

// Reads every game, gathering the names with their places, then puts the
// names in name order. False on a read error.
bool CollectNames(PgnReader& in, TagRun& run, const ReadingProgress& progress = {});
// The same for a mapped file, its later half read on a second thread from
// a game's start; where the reading of the first half finds no game
// beginning there, it reads on alone. Returns the parts read (1 or 2);
// `parts` 1 reads it in one.
int CollectNames(const MappedFile& file, TagRun& run, const ReadingProgress& progress = {}, int parts = 2);
