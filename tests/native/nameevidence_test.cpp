// The evidence rule: which player a name is, by the extended fit and the
// games' federation, title and Elo; the traps where it must ask.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "players/playerdatabase.h"
#include "tagrules/nameevidence.h"

namespace {

const uint8_t kRus = static_cast<uint8_t>(FederationByCode("RUS"));
const uint8_t kUkr = static_cast<uint8_t>(FederationByCode("UKR"));
const uint8_t kTur = static_cast<uint8_t>(FederationByCode("TUR"));

class Evidence : public ::testing::Test {
 protected:
  PlayerDatabase db;
  // Players in rating order, as players.dat keeps them.
  void List(std::vector<PlayerRow> rows) {
    std::stable_sort(rows.begin(), rows.end(),
                     [](const PlayerRow& a, const PlayerRow& b) { return a.rating > b.rating; });
    db = DatabaseOf(rows);
  }
  // The name's games, each with its Elo (and title and federation).
  EvidenceChoice Choose(std::string_view name, std::vector<PlaceEvidence> games,
                        const EloGates& gates = kListGates) {
    return ChooseByEvidence(db, GatherEvidence(name, games), {}, gates);
  }
  int32_t Id(const EvidenceChoice& c) {
    return c.player < 0 ? -1 : db.Players()[static_cast<size_t>(c.player)].fideId;
  }
};

PlayerRow Row(std::string name, int32_t id, uint16_t rating, Title title = Title::kNone, uint8_t fed = 0) {
  return {std::move(name), id, rating, Sex::kNone, title, fed};
}

}  // namespace

TEST_F(Evidence, OneFittingPlayerWithinTheGateIsTaken) {
  List({Row("Sengupta, Deep", 1, 2398), Row("Arka Sengupta", 2, 1724), Row("Sengupta, Manash", 3, 1418)});
  EvidenceChoice c = Choose("Sengupta,D", {{2412}});
  EXPECT_EQ(c.outcome, EvidenceOutcome::kTaken);
  EXPECT_EQ(Id(c), 1);
  EXPECT_EQ(c.note, "1 fits; Elo 2412 vs 2398");
  // No Elo in the games, or no rating in the list: nothing to compare.
  EXPECT_EQ(Id(Choose("Sengupta,D", {{0}})), 1);
  List({Row("Sengupta, Deep", 1, 0)});
  EXPECT_EQ(Choose("Sengupta,D", {{2412}}).note, "1 fits; no rating to compare");
  EXPECT_EQ(Choose("Sengupta,D", {{2412}}, kHistoryGates).note, "asked: Elo 2412, no rating then");
}

TEST_F(Evidence, AnAbsentPlayersNamesakeFarOffInRatingIsAsked) {
  List({Row("Bocharov, Dmitry", 1, 1122)});
  EvidenceChoice c = Choose("Bocharov,D", {{1796}});
  EXPECT_EQ(c.outcome, EvidenceOutcome::kAsked);
  EXPECT_EQ(c.note, "asked: Elo 1796 vs 1122");
  ASSERT_EQ(c.candidates.size(), 1u) << "offered to a person";
  // 250 away: asked, unless the game's title or federation is his (300).
  List({Row("Bocharov, Dmitry", 1, 2046, Title::kFM, kRus)});
  EXPECT_EQ(Choose("Bocharov,D", {{1796}}).outcome, EvidenceOutcome::kAsked);
  EXPECT_EQ(Id(Choose("Bocharov,D", {{1796, Title::kFM}})), 1);
  EXPECT_EQ(Id(Choose("Bocharov,D RUS", {{1796}})), 1);
}

TEST_F(Evidence, ACounterDigitMeansANamesakeExists) {
  List({Row("Horak, Jiri", 1, 2167)});
  EXPECT_EQ(Id(Choose("Horak,Ji", {{2017}})), 1) << "150 away: within 200";
  EvidenceChoice c = Choose("Horak,Ji1", {{2017}});
  EXPECT_EQ(c.outcome, EvidenceOutcome::kAsked) << "beyond 100 with a counter";
  EXPECT_EQ(Id(Choose("Horak,Ji2", {{2100}})), 1);
}

TEST_F(Evidence, SeveralFitTheTitleOrAnIsolatedEloTellsThemApart) {
  List({Row("Muzychuk, Anna", 1, 2566, Title::kGM), Row("Muzychuk, Mariya", 2, 2469, Title::kIM),
        Row("Muzychuk, Alla", 3, 2100)});
  EXPECT_EQ(Choose("Muzychuk,M", {{2460}}).note, "1 fits; Elo 2460 vs 2469") << "the initial alone";
  EvidenceChoice c = Choose("Muzychuk,A", {{2580, Title::kGM}});
  EXPECT_EQ(Id(c), 1);
  EXPECT_EQ(c.note, "at least 2 fit; the only GM, Elo 2580 vs 2566");
  c = Choose("Muzychuk,A", {{2120}});
  EXPECT_EQ(Id(c), 3);
  EXPECT_EQ(c.note, "at least 2 fit; Elo 2120 vs 2100, the next 2566");
  // Two namesakes close in rating: asked.
  List({Row("Kumar, Rahul", 1, 2210), Row("Kumar, Ravi", 2, 2190)});
  c = Choose("Kumar,R", {{2200}});
  EXPECT_EQ(c.outcome, EvidenceOutcome::kAsked);
  EXPECT_EQ(c.note, "asked: at least 2 fit, ratings 2210 and 2190 for Elo 2200");
  EXPECT_EQ(c.candidates.size(), 2u);
  // The nearest within 100, the next only 150 further: asked.
  List({Row("Kumar, Rahul", 1, 2250), Row("Kumar, Ravi", 2, 2000)});
  EXPECT_EQ(Choose("Kumar,R", {{2150}}).outcome, EvidenceOutcome::kAsked);
  EXPECT_EQ(Choose("Kumar,R", {{0}}).note, "asked: at least 2 fit, nothing in the games to tell them apart");
}

TEST_F(Evidence, TheGamesFederationKeepsOnlyItsPlayers) {
  List({Row("Popov, Ivan", 1, 2600, Title::kGM, kRus), Row("Popov, Igor", 2, 2590, Title::kGM, kUkr)});
  EXPECT_EQ(Id(Choose("Popov,I RUS", {{2580}})), 1);
  EXPECT_EQ(Id(Choose("Popov,I", {{2580, Title::kNone, kUkr}})), 2) << "a country tag or a national team";
  EvidenceChoice c = Choose("Popov,Iv UKR", {{2580}});
  EXPECT_EQ(c.outcome, EvidenceOutcome::kAsked) << "the one that fits contradicts the federation";
  EXPECT_EQ(c.note, "asked: 1 fits, none of UKR");
  EXPECT_EQ(Choose("Popov,I RUS", {{2580, Title::kNone, kUkr}}).note,
            "asked: its games give different federations");
}

TEST_F(Evidence, ANamesGamesAreWeighedTogether) {
  List({Row("Navara, David", 1, 2706)});
  NameEvidence e = GatherEvidence("Navara,D", std::vector<PlaceEvidence>{{2700}, {0}, {2740}, {2710}});
  EXPECT_EQ(e.elo, 2710) << "the median of the Elo values given";
  EXPECT_EQ(Id(ChooseByEvidence(db, e, {})), 1);
  // Games whose Elo values lie far apart are two players under one name.
  EXPECT_EQ(Choose("Navara,D", {{2700}, {2100}}).note, "asked: its games give Elo 2100 to 2700");
  EXPECT_EQ(GatherEvidence("Navara,D", std::vector<PlaceEvidence>{{0, Title::kGM}, {0, Title::kIM}}).title,
            Title::kNone);
}

TEST_F(Evidence, NobodyFitsOrNobodyHoldsTheName) {
  List({Row("Bocharov, Oleg", 1, 1890)});
  EvidenceChoice c = Choose("Bocharov,D", {{1900}});
  EXPECT_EQ(c.outcome, EvidenceOutcome::kNoFit);
  EXPECT_EQ(c.note, "no player fits");
  EXPECT_EQ(Choose("Zzyzx,Q", {{1900}}).outcome, EvidenceOutcome::kNoFit);
  EXPECT_EQ(Choose("?", {{1900}}).outcome, EvidenceOutcome::kNoFit);
}

TEST_F(Evidence, PlayersRatedFarFromTheEloAreSkippedWithoutChangingTheOutcome) {
  // Many namesakes; the right one is the only one within 100, the next 250
  // away. In rating order the search passes over the far ones.
  std::vector<PlayerRow> rows;
  for (int i = 0; i < 300; ++i) rows.push_back(Row("Kumar, Raj " + std::to_string(i), 100 + i, 1000 + 3 * i));
  rows.push_back(Row("Kumar, Rajesh", 7, 2500));
  rows.push_back(Row("Kumar, Ravi", 8, 2750));
  List(rows);
  EvidenceChoice c = Choose("Kumar,R", {{2510}});
  EXPECT_EQ(Id(c), 7);
  EXPECT_EQ(c.note, "at least 2 fit; Elo 2510 vs 2500, the next 2750");
  db = DatabaseOf(rows);  // lowest rated first: every one is looked at
  c = Choose("Kumar,R", {{2510}});
  EXPECT_EQ(Id(c), 7);
  EXPECT_EQ(c.note, "302 fit; Elo 2510 vs 2500, the next 2750");
}

TEST(NationalTeams, BothTeamsMustBeCountries) {
  EXPECT_EQ(NationalTeamFederation("Russia", "Ukraine"), kRus);
  EXPECT_EQ(NationalTeamFederation("Turkey 2", "RUS"), kTur);
  EXPECT_EQ(NationalTeamFederation("Russia", "Evry Grand Roque"), 0) << "a club match";
  EXPECT_EQ(NationalTeamFederation("Marseille", "Russia"), 0);
}
