#include <gtest/gtest.h>

#include <filesystem>

#include "players/playersfile.h"
#include "tests/tempdir.h"

using Bytes = std::vector<unsigned char>;

namespace {

PlayerRow Row(std::string name, int32_t id, uint16_t rating, uint8_t sex, uint8_t title, uint8_t federation,
              uint16_t birthYear) {
  return PlayerRow{std::move(name),           id,         rating,   static_cast<Sex>(sex),
                   static_cast<Title>(title), federation, birthYear};
}

void ExpectSameRecords(std::span<const Player> list, const std::vector<PlayerRow>& rows) {
  ASSERT_EQ(list.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(list[i].name, rows[i].name.substr(0, 255));
    EXPECT_EQ(list[i].fideId, rows[i].fideId);
    EXPECT_EQ(list[i].rating, rows[i].rating);
    EXPECT_EQ(list[i].sex, rows[i].sex);
    EXPECT_EQ(list[i].title, rows[i].title);
    EXPECT_EQ(list[i].federation, rows[i].federation);
    EXPECT_EQ(list[i].birthYear, rows[i].birthYear);
  }
}

Bytes ExampleRecord() {
  Bytes b{0x00, 0xBC, 0x61, 0x4E, 9};
  for (char c : std::string("Doe, Jane")) b.push_back(static_cast<unsigned char>(c));
  Bytes tail{0x09, 0x65, 0x01, 0x04, 0x87, 0x07, 0xC6};
  b.insert(b.end(), tail.begin(), tail.end());
  return b;
}

Bytes Cat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class PlayersFile : public ::testing::Test {
 protected:
  TempDir dir;
  PlayerDatabase db;
};

}  // namespace

TEST_F(PlayersFile, ExamplePlayerHasItsExactBytes) {
  std::vector<PlayerRow> rows{Row("Doe, Jane", 12345678, 2405, 1, 4, 135, 1990)};
  db = DatabaseOf(rows);
  std::string f = dir.File("players.dat");
  ASSERT_TRUE(SavePlayers(db, f));
  EXPECT_EQ(ReadAllBytes(f), Cat({0, 0, 0, 1}, ExampleRecord()));
}

TEST_F(PlayersFile, CountIsWrittenMostSignificantByteFirst) {
  std::vector<PlayerRow> rows(200000, Row("A", 1, 0, 0, 0, 0, 0));
  db = DatabaseOf(rows);
  std::string f = dir.File("players.dat");
  ASSERT_TRUE(SavePlayers(db, f));
  Bytes bytes = ReadAllBytes(f);
  ASSERT_EQ(bytes.size(), 4u + 200000u * 13u);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{0x00, 0x03, 0x0D, 0x40}));
}

TEST_F(PlayersFile, SavedListLoadsBackUnchanged) {
  std::vector<PlayerRow> rows{
      Row("Carlsen, Magnus", 1503014, 2845, 0, 0, 135, 1990),
      Row("Doe, John", 0, 0, 2, 6, 0, 0),  // every field at its "none" value
      Row("M\xFC\x6Cler-L\xFC\x64\x65nscheidt, J\xF6rg", -7, 65535, 255, 255, 255, 65535),
      Row(std::string(61, 'Z'), INT32_MAX, 9999, 1, 5, 208, 2024),
      Row("", 0, 0, 0, 0, 0, 0),  // as left by a damaged file
  };
  // Enough players to cross many 2048-byte windows.
  for (int i = 0; i < 5000; ++i)
    rows.push_back(Row("Player " + std::to_string(i), 1000 + i, static_cast<uint16_t>(i % 3000),
                       static_cast<uint8_t>(i % 3), static_cast<uint8_t>(i % 7),
                       static_cast<uint8_t>(i % 209), static_cast<uint16_t>(1900 + i % 120)));
  db = DatabaseOf(rows);
  std::string f = dir.File("players.dat");
  ASSERT_TRUE(SavePlayers(db, f));
  db = PlayerDatabase{};
  db = LoadPlayers(f);
  ExpectSameRecords(db.Players(), rows);
}

TEST_F(PlayersFile, NamesLongerThanALengthByteAreCutNotWrapped) {
  std::vector<PlayerRow> rows{Row(std::string(300, 'x'), 5, 1, 0, 6, 0, 0),
                              Row("Next, Player", 6, 2, 0, 6, 0, 0)};
  db = DatabaseOf(rows);
  EXPECT_EQ(db.Players()[0].name.size(), 255u);
  std::string f = dir.File("players.dat");
  ASSERT_TRUE(SavePlayers(db, f));
  Bytes bytes = ReadAllBytes(f);
  ASSERT_EQ(bytes.size(), 4u + (12 + 255) + (12 + 12));
  EXPECT_EQ(bytes[8], 255);
  db = LoadPlayers(f);
  ExpectSameRecords(db.Players(), rows);
}

TEST_F(PlayersFile, ZeroCountAndMissingFileGiveAnEmptyList) {
  std::string f = dir.File("players.dat");
  WriteAllBytes(f, {0, 0, 0, 0});
  db = LoadPlayers(f);
  EXPECT_TRUE(db.Players().empty());

  db = LoadPlayers(dir.File("missing.dat"));
  EXPECT_TRUE(db.Players().empty());
  db = LoadPlayers(dir.File(""));  // a folder, not a file
  EXPECT_TRUE(db.Players().empty());
}

TEST_F(PlayersFile, TruncatedFileLoadsWhatIsThereAndZerosAfterTheDamage) {
  // Three players announced; one complete record, then an ID and a length
  // byte whose name is missing.
  std::string f = dir.File("players.dat");
  WriteAllBytes(f, Cat(Cat({0, 0, 0, 3}, ExampleRecord()), {0, 0, 0, 7, 9}));
  db = LoadPlayers(f);
  // 30 bytes hold at most two 12-byte records after the count.
  ASSERT_EQ(db.Players().size(), 2u);
  EXPECT_EQ(db.Players()[0].name, "Doe, Jane");
  EXPECT_EQ(db.Players()[0].birthYear, 1990);
  const Player& damaged = db.Players()[1];
  EXPECT_EQ(damaged.fideId, 7);
  EXPECT_TRUE(damaged.name.empty());
  EXPECT_EQ(damaged.rating, 0);
  EXPECT_EQ(damaged.title, Title::kGM);
  EXPECT_EQ(damaged.birthYear, 0);
}

TEST_F(PlayersFile, CountBeyondTheFileOrNegativeIsBoundedByItsSize) {
  std::string f = dir.File("players.dat");
  WriteAllBytes(f, Cat({0x7F, 0xFF, 0xFF, 0xFF}, ExampleRecord()));
  db = LoadPlayers(f);
  ASSERT_EQ(db.Players().size(), 1u);
  EXPECT_EQ(db.Players()[0].name, "Doe, Jane");

  WriteAllBytes(f, Cat({0xFF, 0xFF, 0xFF, 0xFE}, ExampleRecord()));
  db = LoadPlayers(f);
  EXPECT_TRUE(db.Players().empty());

  WriteAllBytes(f, {0x00, 0x01});  // shorter than the count itself
  db = LoadPlayers(f);
  EXPECT_TRUE(db.Players().empty());
}

TEST_F(PlayersFile, DamagedRecordsWithLongNamesStillLoad) {
  // A count that promises more 12-byte records than the long names leave
  // room for: the name storage must grow instead of overflowing.
  Bytes bytes{0, 0, 0, 100};
  for (int i = 0; i < 2; ++i) {
    Bytes record{0, 0, 0, static_cast<unsigned char>(i + 1), 200};
    record.insert(record.end(), 200, static_cast<unsigned char>('A' + i));
    record.insert(record.end(), {0x09, 0x65, 0, 6, 1, 0x07, 0xC6});
    bytes = Cat(bytes, record);
  }
  std::string f = dir.File("players.dat");
  WriteAllBytes(f, bytes);
  db = LoadPlayers(f);
  ASSERT_EQ(db.Players().size(), (bytes.size() - 4) / 12);
  EXPECT_EQ(db.Players()[0].name, std::string(200, 'A'));
  EXPECT_EQ(db.Players()[1].name, std::string(200, 'B'));
  EXPECT_EQ(db.Players()[1].federation, 1);
  for (size_t i = 2; i < db.Players().size(); ++i) EXPECT_TRUE(db.Players()[i].name.empty());
}

TEST_F(PlayersFile, FailedSaveKeepsThePreviousFile) {
  std::string f = dir.File("players.dat");
  db = DatabaseOf(std::vector<PlayerRow>{Row("Doe, Jane", 12345678, 2405, 1, 4, 135, 1990)});
  ASSERT_TRUE(SavePlayers(db, f));
  Bytes before = ReadAllBytes(f);

  // The new file cannot be written beside the old one.
  std::filesystem::create_directory(f + ".tmp");
  db = DatabaseOf(std::vector<PlayerRow>{Row("Other, Player", 1, 1, 0, 0, 0, 0)});
  EXPECT_FALSE(SavePlayers(db, f));
  EXPECT_EQ(ReadAllBytes(f), before);

  EXPECT_FALSE(SavePlayers(db, dir.File("no-such-folder/players.dat")));
}

TEST_F(PlayersFile, SuccessfulSaveReplacesTheFileAndLeavesNoTemporaryFile) {
  std::string f = dir.File("players.dat");
  WriteAllBytes(f, Bytes(1000, 0xAA));
  db = DatabaseOf(std::vector<PlayerRow>{Row("Doe, Jane", 12345678, 2405, 1, 4, 135, 1990)});
  ASSERT_TRUE(SavePlayers(db, f));
  EXPECT_EQ(ReadAllBytes(f), Cat({0, 0, 0, 1}, ExampleRecord()));
  EXPECT_FALSE(std::filesystem::exists(f + ".tmp"));
}

TEST_F(PlayersFile, SaveReplacesAFileWhoseNameHasLettersBeyondAscii) {
  // Paths are narrow strings in the ANSI code page on Windows (1252 here:
  // 0xE9 is an e with an accent, 0x80 the euro sign); the replacement must
  // find the file by that name, not by the name's bytes read another way.
  std::string f = dir.path.string() + "/caf\xe9 \x80 players.dat";
  WriteAllBytes(f, Bytes(1000, 0xAA));
  db = DatabaseOf(std::vector<PlayerRow>{Row("Doe, Jane", 12345678, 2405, 1, 4, 135, 1990)});
  ASSERT_TRUE(SavePlayers(db, f));
  EXPECT_EQ(ReadAllBytes(f), Cat({0, 0, 0, 1}, ExampleRecord()));
  EXPECT_EQ(ReadAllBytes(f + ".tmp"), Bytes{});
}
