// Searches over arbitrary names and queries keep their limits and order, and
// the indexed lookups give exactly the plain scans' results; the query read
// as a game's name finds the same holders both ways, and the evidence rule
// takes only a player it fits.
// Input: a limit byte, the query up to the first line feed, then one player
// name per line.
#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "players/playerdatabase.h"
#include "players/playersearch.h"
#include "players/searchindex.h"
#include "players/searchrules.h"
#include "tagrules/nameevidence.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckResults(const std::vector<SearchHit>& hits, size_t players, size_t limit) {
  Check(hits.size() <= limit);
  for (size_t i = 0; i < hits.size(); ++i) {
    Check(hits[i].index >= 0 && static_cast<size_t>(hits[i].index) < players);
    if (i > 0) {
      const SearchHit& a = hits[i - 1];
      const SearchHit& b = hits[i];
      Check(a.score < b.score || (a.score == b.score && a.index < b.index));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int32_t maxHits = static_cast<int8_t>(data[0]);  // also zero and negative limits
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  size_t end = text.find('\n');
  std::string_view query = text.substr(0, end);
  std::vector<PlayerRow> rows;
  while (end != text.npos) {
    text.remove_prefix(end + 1);
    end = text.find('\n');
    // A few IDs shared by several players, and some players without one.
    std::string name(text.substr(0, end));
    rows.push_back(PlayerRow{name, static_cast<int32_t>(name.size() % 5)});
  }
  const PlayerDatabase db = DatabaseOf(rows);
  const std::span<const Player> players = db.Players();
  const size_t limit = static_cast<size_t>(std::max<int32_t>(maxHits, 1));
  const QueryWordList words = WordsOfName(query);

  std::vector<SearchHit> hits = WordSearch(db, query, maxHits);
  Check(words.size() <= 2);
  CheckResults(hits, rows.size(), words.size() == 2 ? limit - 1 : limit);
  for (const SearchHit& r : hits) Check(r.score >= 1 && r.score <= 3);

  hits = RankedSearch(db, query, maxHits);
  CheckResults(hits, rows.size(), limit);
  for (const SearchHit& r : hits) {
    Check(r.score >= 1 && r.score < 255);
    if (words.size() == 1) Check(r.score == ScoreWord(players, words[0], r.index));
  }
  for (int32_t i = 0; i < static_cast<int32_t>(rows.size()); ++i)
    for (const std::string& w : words) {
      uint8_t s = ScoreWord(players, w, i);
      Check(s == 255 || (s >= 1 && s <= 4));
    }

  const SearchIndex* index = db.Index();
  Check(index != nullptr);
  std::vector<SearchHit> linear, indexed;
  auto same = [&] {
    return linear.size() == indexed.size() && std::equal(linear.begin(), linear.end(), indexed.begin(),
                                                         [](const SearchHit& a, const SearchHit& b) {
                                                           return a.index == b.index && a.score == b.score;
                                                         });
  };
  WordMatchesLinear(players, words, limit, linear);
  WordMatchesIndexed(*index, players, words, limit, indexed);
  Check(same());
  RankedMatchesLinear(players, words, limit, linear);
  RankedMatchesIndexed(*index, players, words, limit, indexed);
  Check(same());
  for (int32_t id = -1; id <= 5; ++id) Check(FindIdLinear(players, id) == FindIdIndexed(*index, players, id));

  // The holders of the query read as a game's name, both ways, and the
  // evidence rule over them with the limit byte as the games' Elo.
  const NameEvidence evidence =
      GatherEvidence(query, std::vector<PlaceEvidence>{{static_cast<uint16_t>(data[0] * 10)}});
  std::vector<int32_t> holdersLinear, holdersIndexed;
  HoldersLinear(players, HolderQueryOf(evidence.form), [&](int32_t i) {
    holdersLinear.push_back(i);
    return i + 1;
  });
  HoldersIndexed(*index, players, HolderQueryOf(evidence.form), [&](int32_t i) {
    holdersIndexed.push_back(i);
    return i + 1;
  });
  Check(holdersLinear == holdersIndexed);
  const EvidenceChoice choice = ChooseByEvidence(db, evidence, {});
  Check(choice.player < static_cast<int32_t>(rows.size()));
  Check(choice.outcome != EvidenceOutcome::kTaken || FormFits(evidence.form, players[choice.player].name));
  return 0;
}
