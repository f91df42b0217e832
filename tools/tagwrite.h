// The second reading of `players tag`: the file copied, each game that gets
// tags with its tags, as the plug-in writes them.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>

#include "files/mappedfile.h"
#include "tools/tagrun.h"

// Called now and then with the bytes done so far.
using TagRunProgress = std::function<void(int64_t bytes)>;

// Copies the file read again from in. False when the input is not what
// CollectNames read, or on a read or write error.
bool WriteTaggedGames(std::FILE* in, std::FILE* out, const TagRun& run, const TagRunProgress& progress = {});
// The same from a mapped file: unchanged games are written from where they
// lie, many at a time.
bool WriteTaggedGames(const MappedFile& in, std::FILE* out, const TagRun& run,
                      const TagRunProgress& progress = {});
