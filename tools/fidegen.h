// fidegen: realistic FIDE rating lists in the combined layout (162-character
// CRLF lines under FIDE's header), deterministic from a seed, for tests and
// benchmarks.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Writes a list of `players` lines after the header. Returns false when the
// output could not be written.
bool WriteFideList(std::FILE* out, uint64_t seed, int64_t players);
bool WriteFideListFile(const std::string& path, uint64_t seed, int64_t players);
