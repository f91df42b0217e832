// linescan: the lines of a text found 64 bytes at a time, every line end
// and the Ctrl-Z that ends the text at once, for reading large lists at the
// speed of memory.
#pragma once

#include <bit>
#include <cstdint>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

constexpr char kEndOfText = 26;  // Ctrl-Z: the text ends here

// Bit i of each mask is byte i of the 64 at `at`.
struct ByteMasks {
  uint64_t lineEnds;  // '\n'
  uint64_t stops;     // Ctrl-Z
};

inline ByteMasks MasksOf(const char* at) {
  ByteMasks masks{0, 0};
#ifdef __SSE2__
  const __m128i newline = _mm_set1_epi8('\n'), stop = _mm_set1_epi8(kEndOfText);
  for (int i = 0; i < 4; ++i) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * i));
    masks.lineEnds |= uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, newline)))}
                      << (16 * i);
    masks.stops |= uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, stop)))}
                   << (16 * i);
  }
#else
  for (int i = 0; i < 64; ++i) {
    masks.lineEnds |= uint64_t{at[i] == '\n'} << i;
    masks.stops |= uint64_t{at[i] == kEndOfText} << i;
  }
#endif
  return masks;
}

// Where a scan stopped.
struct ScanEnd {
  size_t textEnd;   // the first Ctrl-Z, or the text's size
  size_t openLine;  // where the bytes after the last line end begin
};

// Calls onLine with each line of text that a '\n' ends (without the '\n'),
// in order, up to the first Ctrl-Z.
template <class OnLine>
ScanEnd ForEachLine(std::string_view text, OnLine&& onLine) {
  const char* data = text.data();
  size_t lineStart = 0, at = 0;
  auto take = [&](size_t block, uint64_t ends) {
    for (; ends != 0; ends &= ends - 1) {
      size_t end = block + static_cast<size_t>(std::countr_zero(ends));
      onLine(std::string_view(data + lineStart, end - lineStart));
      lineStart = end + 1;
    }
  };
  for (; at + 64 <= text.size(); at += 64) {
    ByteMasks m = MasksOf(data + at);
    if (m.stops != 0) {
      take(at, m.lineEnds & ((m.stops & -m.stops) - 1));
      return {at + static_cast<size_t>(std::countr_zero(m.stops)), lineStart};
    }
    take(at, m.lineEnds);
  }
  for (; at < text.size(); ++at) {
    if (data[at] == kEndOfText) return {at, lineStart};
    if (data[at] == '\n') take(at, 1);
  }
  return {text.size(), lineStart};
}
