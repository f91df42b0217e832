// A minimal PNG encoder for screenshots: 8-bit RGB, stored (uncompressed)
// deflate blocks. Portable: no Win32.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace png {

uint32_t Crc32(std::string_view bytes);
uint32_t Adler32(std::string_view bytes);

// rgb holds height rows of width pixels, three bytes each, top row first.
std::string Encode(int width, int height, const std::vector<uint8_t>& rgb);

}  // namespace png
