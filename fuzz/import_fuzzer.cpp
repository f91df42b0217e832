// Any text is refused with a one-line message, leaving the list as it was,
// or imports without harm into players that keep the list's rules, sorts by
// rating, and can be searched by its own names.
#include <algorithm>
#include <cstdlib>

#include "database/fidelistimport.h"
#include "database/playercodes.h"
#include "database/playerlist.h"
#include "database/playersearch.h"
#include "fuzz/fuzzfile.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  SetPlayerList(std::vector<PlayerRow>{{"Previous, List", 1}});
  if (!ImportFideList(WriteScratch("standard_list.txt", data, size), error)) {
    Check(!error.empty() && error.find('\n') == std::string::npos);
    Check(PlayerList().size() == 1 && PlayerList()[0].name == "Previous, List");
    return 0;
  }
  Check(!PlayerList().empty());
  for (const Player& p : PlayerList()) {
    Check(!p.name.empty() && p.name.size() <= 61 && p.name[0] >= 'A' && p.name[0] <= 'Z');
    Check(p.name.back() != ' ');
    Check(p.fideId >= 0 && p.rating <= 9999 && p.birthYear <= 9999);
    Check(p.sex <= Sex::None && p.title <= Title::None && p.federation <= kFederationCount);
  }
  size_t count = PlayerList().size();
  SortByRating();
  Check(PlayerList().size() == count);
  Check(std::is_sorted(PlayerList().begin(), PlayerList().end(),
                       [](const Player& a, const Player& b) { return a.rating > b.rating; }));
  if (count > 0) {
    std::string name(PlayerList()[count - 1].name);
    for (const SearchHit& r : WordSearch(name)) Check(static_cast<size_t>(r.index) < count);
    for (const SearchHit& r : RankedSearch(name, kExtendedSearchLimit))
      Check(static_cast<size_t>(r.index) < count);
  }
  return 0;
}
