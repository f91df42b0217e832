#include "files/bytefile.h"

#include <gtest/gtest.h>

#include "tests/tempdir.h"

using Bytes = std::vector<unsigned char>;

TEST(ByteFile, IntegersAreBigEndianTwosComplement) {
  TempDir dir;
  std::string f = dir.File("ints.bin");
  {
    ByteFile out(f, false);
    ASSERT_FALSE(out.failed);
    out.WriteInt(-2);
    out.WriteWord(2048);
    out.WriteInt(12345678);
    out.WriteBool(true);
    out.WriteBool(false);
  }
  EXPECT_EQ(ReadAllBytes(f), (Bytes{0xFF, 0xFF, 0xFF, 0xFE, 0x08, 0x00, 0x00, 0xBC, 0x61, 0x4E, 1, 0}));

  ByteFile in(f, true);
  EXPECT_EQ(in.ReadInt(), -2);
  EXPECT_EQ(in.ReadWord(), 2048);
  EXPECT_EQ(in.ReadInt(), 12345678);
  EXPECT_TRUE(in.ReadBool());
  EXPECT_FALSE(in.ReadBool());
  EXPECT_TRUE(in.AtEnd());
  EXPECT_FALSE(in.failed);
}

TEST(ByteFile, AnyNonZeroByteReadsAsTrue) {
  TempDir dir;
  std::string f = dir.File("bools.bin");
  WriteAllBytes(f, {0x02, 0xFF, 0x00});
  ByteFile in(f, true);
  EXPECT_TRUE(in.ReadBool());
  EXPECT_TRUE(in.ReadBool());
  EXPECT_FALSE(in.ReadBool());
}

TEST(ByteFile, FullWindowStaysBufferedUntilTheNextByte) {
  TempDir dir;
  std::string f = dir.File("window.bin");
  ByteFile out(f, false);
  for (int i = 0; i < 2048; ++i) out.WriteByte(static_cast<uint8_t>(i));
  EXPECT_EQ(ReadAllBytes(f).size(), 0u) << "2048 bytes must stay in the window";
  out.WriteByte(0xAB);
  Bytes written = ReadAllBytes(f);
  ASSERT_EQ(written.size(), 2048u) << "the 2049th byte writes exactly the first window";
  EXPECT_EQ(written[2047], static_cast<unsigned char>(2047 & 0xFF));
}

TEST(ByteFile, DestructorWritesTheLastWindow) {
  TempDir dir;
  std::string f = dir.File("tail.bin");
  {
    ByteFile out(f, false);
    for (int i = 0; i < 2049; ++i) out.WriteByte(static_cast<uint8_t>(i * 7));
  }
  Bytes written = ReadAllBytes(f);
  ASSERT_EQ(written.size(), 2049u);
  EXPECT_EQ(written[2048], static_cast<unsigned char>(2048 * 7));
}

TEST(ByteFile, EmptyExistingFileReadsZeroWithoutFailing) {
  TempDir dir;
  std::string f = dir.File("empty.bin");
  WriteAllBytes(f, {});
  ByteFile in(f, true);
  EXPECT_FALSE(in.failed);
  EXPECT_TRUE(in.AtEnd());
  EXPECT_EQ(in.ReadInt(), 0);
  EXPECT_EQ(in.ReadStr(), "");
  EXPECT_FALSE(in.failed) << "a zero length byte read at the end is not damage";
}

TEST(ByteFile, MissingFileFailsAndReadsZeros) {
  TempDir dir;
  ByteFile in(dir.File("missing.bin"), true);
  EXPECT_TRUE(in.failed);
  EXPECT_EQ(in.ReadInt(), 0);
  EXPECT_EQ(in.ReadWord(), 0);
  EXPECT_FALSE(in.ReadBool());
  EXPECT_EQ(in.ReadStr(), "");
  in.WriteInt(5);  // goes nowhere, must not crash
}

// A path that opens but cannot be read (here a folder) fails like a missing
// file instead of reading as an empty one.
TEST(ByteFile, UnreadableFileFailsOnItsFirstRead) {
  TempDir dir;
  ByteFile in(dir.File(""), true);
  EXPECT_TRUE(in.failed);
  EXPECT_EQ(in.ReadInt(), 0);
}

TEST(ByteFile, CreatingInAMissingFolderFails) {
  TempDir dir;
  ByteFile out(dir.File("no/such/folder.bin"), false);
  EXPECT_TRUE(out.failed);
  out.WriteStr("lost");
}

TEST(ByteFile, StringsAreLengthPrefixed) {
  TempDir dir;
  std::string f = dir.File("str.bin");
  {
    ByteFile out(f, false);
    out.WriteStr("");
    out.WriteStr("Doe, Jane");
  }
  EXPECT_EQ(ReadAllBytes(f), (Bytes{0, 9, 'D', 'o', 'e', ',', ' ', 'J', 'a', 'n', 'e'}));
  ByteFile in(f, true);
  EXPECT_EQ(in.ReadStr(), "");
  EXPECT_EQ(in.ReadStr(), "Doe, Jane");
  EXPECT_FALSE(in.failed);
}

TEST(ByteFile, OverlongStringIsCutTo255Bytes) {
  TempDir dir;
  std::string f = dir.File("long.bin");
  {
    ByteFile out(f, false);
    out.WriteStr(std::string(300, 'x'));
    out.WriteInt(7);
  }
  Bytes written = ReadAllBytes(f);
  ASSERT_EQ(written.size(), 1u + 255 + 4);
  EXPECT_EQ(written[0], 255);
  ByteFile in(f, true);
  EXPECT_EQ(in.ReadStr(), std::string(255, 'x'));
  EXPECT_EQ(in.ReadInt(), 7);
}

TEST(ByteFile, StringRunningPastTheEndFailsTheFile) {
  TempDir dir;
  std::string f = dir.File("cut.bin");
  Bytes bytes{10};
  for (int i = 0; i < 9; ++i) bytes.push_back('a');
  WriteAllBytes(f, bytes);
  ByteFile in(f, true);
  EXPECT_EQ(in.ReadStr(), "");
  EXPECT_TRUE(in.failed);
  EXPECT_EQ(in.ReadInt(), 0) << "everything after the damage reads as zero";
}

TEST(ByteFile, RewritingIdenticalBytesLeavesTheFileUntouched) {
  TempDir dir;
  std::string f = dir.File("same.bin");
  WriteAllBytes(f, {1, 2, 3, 4});
  // A write-back, even of the same bytes, would change the modification time.
  auto before = std::filesystem::last_write_time(f);
  {
    ByteFile io(f, true);
    io.WriteByte(1);
    io.WriteByte(2);
    io.WriteByte(3);
    io.WriteByte(4);
  }
  EXPECT_EQ(ReadAllBytes(f), (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(std::filesystem::last_write_time(f), before);
}

TEST(ByteFile, ChangedByteOfAnExistingFileIsWrittenBack) {
  TempDir dir;
  std::string f = dir.File("change.bin");
  WriteAllBytes(f, {1, 2, 3, 4});
  {
    ByteFile io(f, true);
    io.SeekTo(2);
    io.WriteByte(9);
  }
  EXPECT_EQ(ReadAllBytes(f), (Bytes{1, 2, 9, 4}));
}

TEST(ByteFile, SeekOutsideTheWindowWritesBackAndRereads) {
  TempDir dir;
  std::string f = dir.File("seek.bin");
  {
    ByteFile out(f, false);
    for (int i = 0; i < 5000; ++i) out.WriteWord(static_cast<uint16_t>(i));
    out.SeekTo(2);
    out.WriteWord(0xBEEF);  // offset 2 lies two windows behind the cursor
  }
  ByteFile in(f, true);
  EXPECT_EQ(in.ReadWord(), 0);
  EXPECT_EQ(in.ReadWord(), 0xBEEF);
  in.SeekTo(2 * 4999);
  EXPECT_EQ(in.ReadWord(), 4999);
  in.SeekTo(2 * 1234);
  EXPECT_EQ(in.ReadWord(), 1234);
  EXPECT_TRUE((in.SeekTo(10000), in.AtEnd()));
}

TEST(ByteFile, MixedValuesRoundTripAcrossManyWindows) {
  TempDir dir;
  std::string f = dir.File("mixed.bin");
  std::mt19937 rng(42);
  struct Item {
    int32_t i;
    uint16_t w;
    bool b;
    std::string s;
  };
  std::vector<Item> items;
  for (int n = 0; n < 3000; ++n) {
    Item it{static_cast<int32_t>(rng()), static_cast<uint16_t>(rng()), (rng() & 1) != 0,
            std::string(rng() % 62, static_cast<char>('A' + rng() % 26))};
    items.push_back(it);
  }
  {
    ByteFile out(f, false);
    for (const auto& it : items) {
      out.WriteInt(it.i);
      out.WriteStr(it.s);
      out.WriteWord(it.w);
      out.WriteBool(it.b);
    }
  }
  ByteFile in(f, true);
  for (const auto& it : items) {
    ASSERT_EQ(in.ReadInt(), it.i);
    ASSERT_EQ(in.ReadStr(), it.s);
    ASSERT_EQ(in.ReadWord(), it.w);
    ASSERT_EQ(in.ReadBool(), it.b);
  }
  EXPECT_TRUE(in.AtEnd());
  EXPECT_FALSE(in.failed);
}

TEST(ByteFile, BlockWritesAndReadsMatchSingleBytesAcrossWindows) {
  TempDir dir;
  std::string blocks = dir.File("blocks.bin"), singles = dir.File("singles.bin");
  Bytes data(5000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 31 + 7);
  {
    ByteFile a(blocks, false), b(singles, false);
    a.WriteByte(1);
    b.WriteByte(1);
    a.WriteBytes(data.data(), 3000);  // crosses the first window's end
    a.WriteBytes(data.data() + 3000, 2000);
    for (unsigned char c : data) b.WriteByte(c);
  }
  EXPECT_EQ(ReadAllBytes(blocks), ReadAllBytes(singles));

  ByteFile in(blocks, true);
  EXPECT_EQ(in.ReadByte(), 1);
  Bytes back(5000 + 10, 0xEE);
  in.ReadBytes(back.data(), back.size());  // runs 10 bytes past the end
  EXPECT_TRUE(std::equal(data.begin(), data.end(), back.begin()));
  EXPECT_EQ(Bytes(back.end() - 10, back.end()), Bytes(10, 0)) << "past the end reads zeros";
  EXPECT_TRUE(in.AtEnd());
}

TEST(ByteFile, BlockRewriteOfIdenticalBytesLeavesTheFileUntouched) {
  TempDir dir;
  std::string f = dir.File("same-block.bin");
  Bytes data(3000, 0x5A);
  WriteAllBytes(f, data);
  auto before = std::filesystem::last_write_time(f);
  {
    ByteFile io(f, true);
    io.WriteBytes(data.data(), 1000);
  }
  EXPECT_EQ(std::filesystem::last_write_time(f), before);
  {
    ByteFile io(f, true);
    io.SeekTo(10);
    io.WriteBytes("\x01\x02", 2);
  }
  Bytes changed = ReadAllBytes(f);
  EXPECT_EQ(changed[10], 1);
  EXPECT_EQ(changed[11], 2);
  EXPECT_EQ(changed.size(), 3000u);
}
