// The screenshot encoder writes valid PNG files: checksums, chunks and the
// stored deflate blocks that carry the pixels.
#include <gtest/gtest.h>

#include "hostsim/pngwrite.h"

namespace {

uint32_t BigEndian(const std::string& s, size_t at) {
  return (uint32_t(uint8_t(s[at])) << 24) | (uint32_t(uint8_t(s[at + 1])) << 16) |
         (uint32_t(uint8_t(s[at + 2])) << 8) | uint32_t(uint8_t(s[at + 3]));
}

struct Chunk {
  std::string type, data;
};

// Splits a PNG file into its chunks, checking every CRC.
std::vector<Chunk> Chunks(const std::string& file) {
  std::vector<Chunk> chunks;
  EXPECT_EQ(file.substr(0, 8), std::string("\x89PNG\r\n\x1a\n"));
  for (size_t at = 8; at + 12 <= file.size();) {
    uint32_t n = BigEndian(file, at);
    Chunk c{file.substr(at + 4, 4), file.substr(at + 8, n)};
    EXPECT_EQ(BigEndian(file, at + 8 + n), png::Crc32(file.substr(at + 4, 4 + n))) << c.type;
    chunks.push_back(c);
    at += 12 + n;
  }
  return chunks;
}

// Undoes a zlib stream of stored blocks.
std::string Inflate(const std::string& z) {
  std::string out;
  size_t at = 2;
  for (;;) {
    bool last = z[at] & 1;
    uint32_t len = uint8_t(z[at + 1]) | uint32_t(uint8_t(z[at + 2])) << 8;
    uint32_t nlen = uint8_t(z[at + 3]) | uint32_t(uint8_t(z[at + 4])) << 8;
    EXPECT_EQ(len ^ 0xFFFF, nlen);
    out += z.substr(at + 5, len);
    at += 5 + len;
    if (last) break;
  }
  EXPECT_EQ(BigEndian(z, at), png::Adler32(out));
  return out;
}

TEST(Png, KnownChecksums) {
  EXPECT_EQ(png::Crc32("IEND"), 0xAE426082u);
  EXPECT_EQ(png::Crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(png::Adler32("Wikipedia"), 0x11E60398u);
  EXPECT_EQ(png::Adler32(""), 1u);
}

TEST(Png, PixelsSurviveInScanlines) {
  std::vector<uint8_t> rgb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};  // 2x2
  std::vector<Chunk> chunks = Chunks(png::Encode(2, 2, rgb));
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].type, "IHDR");
  EXPECT_EQ(BigEndian(chunks[0].data, 0), 2u);
  EXPECT_EQ(BigEndian(chunks[0].data, 4), 2u);
  EXPECT_EQ(chunks[0].data.substr(8), std::string("\x08\x02\x00\x00\x00", 5));
  EXPECT_EQ(chunks[2].type, "IEND");
  EXPECT_EQ(Inflate(chunks[1].data), std::string("\0\1\2\3\4\5\6\0\7\10\11\12\13\14", 14));
}

TEST(Png, LargeImagesSpanSeveralBlocks) {
  int w = 300, h = 200;  // 180200 raw bytes: three stored blocks
  std::vector<uint8_t> rgb(size_t(w) * h * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = uint8_t(i * 7);
  std::string raw = Inflate(Chunks(png::Encode(w, h, rgb))[1].data);
  ASSERT_EQ(raw.size(), size_t(h) * (size_t(w) * 3 + 1));
  for (int y = 0; y < h; ++y) {
    size_t row = size_t(y) * (size_t(w) * 3 + 1);
    ASSERT_EQ(raw[row], '\0');
    ASSERT_EQ(raw.compare(row + 1, size_t(w) * 3,
                          std::string(rgb.begin() + long(y) * w * 3, rgb.begin() + long(y + 1) * w * 3)),
              0);
  }
}

}  // namespace
