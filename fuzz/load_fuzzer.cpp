// Any players.dat loads without harm, exactly as the byte file reads it field
// by field, and what was loaded saves and loads back to the same list and the
// same bytes.
#include <algorithm>
#include <cstdlib>

#include "files/bytefile.h"
#include "fuzz/fuzzfile.h"
#include "players/playersearch.h"
#include "players/playersfile.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::vector<PlayerRow> Rows(const PlayerDatabase& db) {
  std::vector<PlayerRow> rows;
  for (const Player& p : db.Players())
    rows.push_back({std::string(p.name), p.fideId, p.rating, p.sex, p.title, p.federation, p.birthYear});
  return rows;
}

// The file read the plain way, one byte-file operation per field; the count
// bounded as the loader bounds it.
std::vector<PlayerRow> ReadByFields(const std::string& path, size_t size) {
  std::vector<PlayerRow> rows;
  ByteFile in(path, true);
  if (in.failed || size < 4) return rows;
  int64_t count = std::clamp<int64_t>(in.ReadInt(), 0, static_cast<int64_t>(size - 4) / 12);
  for (int64_t i = 0; i < count; ++i) {
    PlayerRow p;
    p.fideId = in.ReadInt();
    p.name = in.ReadStr();
    p.rating = in.ReadWord();
    p.sex = static_cast<Sex>(in.ReadByte());
    p.title = static_cast<Title>(in.ReadByte());
    p.federation = in.ReadByte();
    p.birthYear = in.ReadWord();
    rows.push_back(p);
  }
  return rows;
}

bool SameRows(const std::vector<PlayerRow>& a, const std::vector<PlayerRow>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const PlayerRow& x, const PlayerRow& y) {
    return x.name == y.name && x.fideId == y.fideId && x.rating == y.rating && x.sex == y.sex &&
           x.title == y.title && x.federation == y.federation && x.birthYear == y.birthYear;
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string in = WriteScratch("in.dat", data, size);
  const PlayerDatabase loaded = LoadPlayers(in);
  Check(loaded.Players().size() <= size / 12);
  for (int32_t i = 0; i < static_cast<int32_t>(loaded.Players().size()); ++i) {
    Check(loaded.Players()[static_cast<size_t>(i)].name.size() <= 255);
    DescribePlayer(loaded, i);
  }
  std::vector<PlayerRow> first = Rows(loaded);
  Check(SameRows(first, ReadByFields(in, size)));

  std::string out = ScratchPath("out.dat");
  Check(SavePlayers(loaded, out));
  std::string saved = ReadScratch(out);
  const PlayerDatabase again = LoadPlayers(out, nullptr, Indexing::kNone);
  std::vector<PlayerRow> second = Rows(again);
  Check(SameRows(first, second));
  Check(SavePlayers(again, out));
  Check(ReadScratch(out) == saved);
  return 0;
}
