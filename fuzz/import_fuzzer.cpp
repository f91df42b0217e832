// Any text is refused with a one-line message, or reads without harm into
// players that keep the list's rules, imports sorted by rating, and can be
// searched by its own names.
#include <algorithm>
#include <cstdlib>

#include "fuzz/fuzzfile.h"
#include "players/fidelistimport.h"
#include "players/playercodes.h"
#include "players/playersearch.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  const std::string path = WriteScratch("standard_list.txt", data, size);
  std::optional<PlayerStore> read = ReadFideList(path, error);
  if (!read) {
    Check(!error.empty() && error.find('\n') == std::string::npos);
    return 0;
  }
  Check(!read->items.empty());
  for (const Player& p : read->items) {
    Check(!p.name.empty() && p.name.size() <= 61 && p.name[0] >= 'A' && p.name[0] <= 'Z');
    Check(p.name.back() != ' ');
    Check(p.fideId >= 0 && p.rating <= 9999 && p.birthYear <= 9999);
    Check(p.sex <= Sex::kNone && p.title <= Title::kNone && p.federation <= kFederationCount);
  }
  const size_t count = read->items.size();
  std::optional<PlayerDatabase> db = ImportFideList(path, error, Indexing::kBuild);
  Check(db && db->Players().size() == count && db->RatingOrder());
  std::string name(db->Players()[count - 1].name);
  for (const SearchHit& r : WordSearch(*db, name)) Check(static_cast<size_t>(r.index) < count);
  for (const SearchHit& r : RankedSearch(*db, name, kExtendedSearchLimit))
    Check(static_cast<size_t>(r.index) < count);
  return 0;
}
