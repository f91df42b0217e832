#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "ratings/historylist.h"
#include "ratings/linescan.h"
#include "ratings/listsort.h"
#include "tests/tempdir.h"
#include "tools/fidegen.h"

namespace {

// Lines of any text, split one byte at a time: ForEachLine must find the
// same at every place of a line end or Ctrl-Z in its 64-byte blocks.
TEST(LineScan, SameAsSplittingByteByByte) {
  std::mt19937 random(5);
  for (int round = 0; round < 400; ++round) {
    std::string text(random() % 300, 'x');
    for (char& c : text) c = "ab \r\n\n\x1a"[random() % (round % 3 == 0 ? 7 : 6)];
    std::vector<std::string_view> expected;
    size_t end = std::min(text.find('\x1a'), text.size()), start = 0;
    for (size_t i = 0; i < end; ++i) {
      if (text[i] != '\n') continue;
      expected.push_back(std::string_view(text).substr(start, i - start));
      start = i + 1;
    }
    std::vector<std::string_view> got;
    ScanEnd scan = ForEachLine(text, [&](std::string_view line) { got.push_back(line); });
    ASSERT_EQ(got, expected) << round;
    EXPECT_EQ(scan.textEnd, end);
    EXPECT_EQ(scan.openLine, start);
  }
}

// A field's number read 16 bytes at once equals the one read byte by byte
// (the line ending with the field leaves no 16 bytes to read at once).
TEST(LineScan, FieldsReadAtOnceAsByteByByte) {
  std::mt19937 random(9);
  for (int round = 0; round < 20000; ++round) {
    ListFormat format;
    const size_t width = random() % 17;
    format.id = {3, 3 + width};
    std::string line = "   ";
    for (size_t i = 0; i < width; ++i) line += "0123456789   \t7x"[random() % (round % 2 ? 16 : 11)];
    int32_t shortId = 0, longId = 0;
    std::array<uint16_t, kRatingKinds> rating{};
    const bool shortRead = ReadListNumbers(format, line, shortId, rating);
    ASSERT_EQ(ReadListNumbers(format, line + std::string(20, 'z'), longId, rating), shortRead) << line;
    if (shortRead) {
      ASSERT_EQ(longId, shortId) << line;
    }
  }
}

// Stable by ID in every kind, with the repeated IDs, on two threads as on
// one: IDs spread over the whole range, crowded into one bucket, repeated.
TEST(ListSort, SameAsStableSort) {
  std::mt19937 random(3);
  for (uint32_t spread : {0x7FFFFFFFu, 5000u, 300u}) {
    ListLineParts parts(2);
    std::vector<ListLine> all;
    for (int i = 0; i < 250000; ++i) {
      ListLine l{static_cast<int32_t>(1 + random() % spread),
                 {static_cast<uint16_t>(i % 9999), static_cast<uint16_t>(random() % 3000), 0}};
      parts[i < 100000 ? 0 : 1].push_back(l);
      all.push_back(l);
    }
    std::stable_sort(all.begin(), all.end(),
                     [](const ListLine& a, const ListLine& b) { return a.id < b.id; });
    std::vector<int32_t> repeated;
    for (size_t i = 1; i < all.size(); ++i)
      if (all[i].id == all[i - 1].id && (repeated.empty() || repeated.back() != all[i].id))
        repeated.push_back(all[i].id);
    SortedLines sorted =
        SortListLines(std::move(parts), std::array{RatingKind::kStandard, RatingKind::kRapid});
    ASSERT_EQ(sorted.ratings[0].size(), all.size());
    EXPECT_TRUE(sorted.ratings[2].empty());
    for (size_t i = 0; i < all.size(); ++i) {
      ASSERT_EQ(sorted.ratings[0][i].id, all[i].id) << spread << " " << i;
      ASSERT_EQ(sorted.ratings[0][i].rating, all[i].rating[0]) << spread << " " << i;
      ASSERT_EQ(sorted.ratings[1][i].rating, all[i].rating[1]) << spread << " " << i;
    }
    EXPECT_EQ(sorted.repeated, repeated);
  }
}

struct ReadBothWays {
  HistoryList list;
  bool ok;
  std::string error;
};

ReadBothWays ReadHistory(const std::string& path) {
  ReadBothWays r;
  r.ok = ReadHistoryList(path, {.month = MakeMonth(2012, 1), .kind = {}}, r.list, r.error);
  return r;
}

// A list large enough to be read on two threads reads as one player line
// at a time does, also with a Ctrl-Z in its first half; a cut last line is
// refused.
TEST(ListRead, TwoThreadsAsOneLineAtATime) {
  TempDir dir;
  const std::string path = dir.File("players_list_foa.txt");
  ASSERT_TRUE(WriteFideListFile(path, 4, 40000));
  std::vector<unsigned char> bytes = ReadAllBytes(path);
  ASSERT_GT(bytes.size(), size_t{5} << 20);
  // Returns the number of players read.
  auto expect = [&]() -> size_t {
    // Each line's ID and ratings by ReadRatingList, sorted stably.
    std::vector<ListLine> lines;
    std::string error;
    EXPECT_TRUE(ReadRatingList(
        path, [](ListFormat&, std::string&) { return true; },
        [&](const ListPlayer& p) {
          lines.push_back({p.id, p.rating});
        },
        error))
        << error;
    ReadBothWays read = ReadHistory(path);
    EXPECT_TRUE(read.ok) << read.error;
    std::stable_sort(lines.begin(), lines.end(),
                     [](const ListLine& a, const ListLine& b) { return a.id < b.id; });
    for (int k = 0; k < kRatingKinds; ++k) {
      const std::vector<ListRating>& got = read.list.ratings[k];
      EXPECT_EQ(got.size(), lines.size());  // the generated IDs are not repeated
      for (size_t i = 0; i < std::min(got.size(), lines.size()); ++i)
        if (got[i].id != lines[i].id || got[i].rating != lines[i].rating[k]) {
          ADD_FAILURE() << "line " << i << " of kind " << k;
          break;
        }
    }
    return lines.size();
  };
  EXPECT_GT(expect(), 39900u);
  std::vector<unsigned char> stopped = bytes;
  stopped[std::find(bytes.begin() + bytes.size() / 3, bytes.end(), '\n') - bytes.begin() + 1] = 26;
  WriteAllBytes(path, stopped);
  EXPECT_LT(expect(), 40000u / 3 + 1);
  WriteAllBytes(path, std::vector<unsigned char>(bytes.begin(), bytes.end() - 40));
  ReadBothWays cut = ReadHistory(path);
  EXPECT_FALSE(cut.ok);
  EXPECT_EQ(cut.error, path + " ends in the middle of a line: download it again");
}

}  // namespace
