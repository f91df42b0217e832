// Any players.dat loads without harm, and what was loaded saves and loads
// back to the same list and the same bytes.
#include <cstdlib>

#include "database/fidelist.h"
#include "fuzzfile.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::vector<PlayerRow> Rows() {
  std::vector<PlayerRow> rows;
  for (const fideitem& p : PlayerList())
    rows.push_back({std::string(p.name), p.fideId, p.rating, p.sex, p.title, p.federation, p.birthYear});
  return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LoadPlayers(WriteScratch("in.dat", data, size));
  Check(PlayerList().size() <= size / 12);
  for (int32_t i = 0; i < static_cast<int32_t>(PlayerList().size()); ++i) {
    Check(PlayerList()[static_cast<size_t>(i)].name.size() <= 255);
    DescribePlayer(i);
  }
  std::vector<PlayerRow> first = Rows();

  std::string out = ScratchPath("out.dat");
  Check(SavePlayers(out));
  std::string saved = ReadScratch(out);
  LoadPlayers(out);
  std::vector<PlayerRow> second = Rows();
  Check(first.size() == second.size());
  for (size_t i = 0; i < first.size(); ++i) {
    Check(first[i].name == second[i].name && first[i].fideId == second[i].fideId &&
          first[i].rating == second[i].rating && first[i].sex == second[i].sex &&
          first[i].title == second[i].title && first[i].federation == second[i].federation &&
          first[i].birthYear == second[i].birthYear);
  }
  Check(SavePlayers(out));
  Check(ReadScratch(out) == saved);
  return 0;
}
