// The batch run's name list: byte order, distinct names, left-out anonymous
// names, the places of a name and their growth, and the bisection.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hostsim/fakehost.h"
#include "plugin/velmarsh.h"
#include "tagging/namelist.h"

namespace {

using Tags = std::vector<std::pair<std::string, std::string>>;

class NameListTest : public ::testing::Test {
 protected:
  void SetUp() override { StartLumoraProc(FakeHost::F); }

  void Game(const std::string& white, const std::string& black, Tags extra = {}) {
    host.base.AddGame(white, black, std::move(extra));
    host.base.Publish();
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const NameEntry& e : list) names.push_back(e.name);
    return names;
  }
  const NameEntry* Entry(const std::string& name) const {
    for (const NameEntry& e : list)
      if (e.name == name) return &e;
    return nullptr;
  }
  // game:side of every place of a name.
  std::vector<std::string> Places(const std::string& name) const {
    std::vector<std::string> places;
    if (const NameEntry* e = Entry(name))
      for (const NamePlace& p : e->places)
        places.push_back(std::to_string(p.game) + (p.side == Side::kWhite ? "W" : "B"));
    return places;
  }
  // Fills the list directly with these (sorted) names.
  void ListOf(const std::vector<std::string>& names) {
    list.clear();
    for (const std::string& n : names) list.push_back({n, {}, kPlaceBlock});
  }

  FakeHost host;
  NameList list;
};

TEST_F(NameListTest, NamesAreSortedByUnsignedBytesAndPrefixesFirst) {
  Game("b", "Smith, Jo");
  Game("\xC4\xE5\xEC\xE8\xE4", "Smith");  // Cyrillic in code page 1251 sorts after ASCII
  Game("smith, jo", "Smith, Jo ");
  Game("", "Zz");
  list = CollectPlayerNames();
  EXPECT_EQ(Names(), (std::vector<std::string>{"", "Smith", "Smith, Jo", "Smith, Jo ", "Zz", "b", "smith, jo",
                                               "\xC4\xE5\xEC\xE8\xE4"}));
}

TEST_F(NameListTest, OnlyExactAnonymousPrefixIsLeftOut) {
  Game("Anonymous", "Anonymous player");
  Game("Anonymous2", "anonymous");
  Game("ANONYMOUS", "Anonymou");
  Game(" Anonymous", "AnonymouS");
  list = CollectPlayerNames();
  EXPECT_EQ(Names(),
            (std::vector<std::string>{" Anonymous", "ANONYMOUS", "Anonymou", "AnonymouS", "anonymous"}));
}

TEST_F(NameListTest, PlacesFollowGameOrderWhiteBeforeBlack) {
  Game("Doe", "Roe");
  Game("Roe", "Doe");
  Game("Doe", "Doe");
  Game("doe", "Poe");
  list = CollectPlayerNames();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Doe", "Poe", "Roe", "doe"}));
  EXPECT_EQ(Places("Doe"), (std::vector<std::string>{"0W", "1B", "2W", "2B"}));
  EXPECT_EQ(Places("Roe"), (std::vector<std::string>{"0B", "1W"}));
  EXPECT_EQ(Places("doe"), (std::vector<std::string>{"3W"}));
  // A base without games, or with only anonymous players, lists nothing.
  host.base.games.clear();
  host.base.Publish();
  list = CollectPlayerNames();
  EXPECT_TRUE(list.empty());
  Game("Anonymous", "Anonymous");
  list = CollectPlayerNames();
  EXPECT_TRUE(list.empty());
}

TEST_F(NameListTest, PlacesUseRecordIndexNotDisplayedOrder) {
  Game("A", "B");
  Game("A", "C");
  host.base.order = {1, 0};
  host.base.Publish();
  list = CollectPlayerNames();
  EXPECT_EQ(Places("A"), (std::vector<std::string>{"0W", "1W"}));
  EXPECT_EQ(Places("C"), (std::vector<std::string>{"1B"}));
}

TEST_F(NameListTest, EachPlaceKeepsWhatItsOwnGameSaid) {
  Game("Doe", "Doe", {{"WhiteFIDE", "12345678"}, {"BlackElo", "2405"}});
  Game("X", "Doe");
  list = CollectPlayerNames();
  const NameEntry* e = Entry("Doe");
  ASSERT_NE(e, nullptr);
  ASSERT_EQ(e->places.size(), 3u);
  EXPECT_EQ(e->places[0].player.fideId, 12345678);
  EXPECT_EQ(e->places[0].player.rating, 0);
  EXPECT_EQ(e->places[1].player.fideId, 0);
  EXPECT_EQ(e->places[1].player.rating, 2405);
  EXPECT_EQ(e->places[2].player.rating, 0);
}

TEST_F(NameListTest, PlacesGrowInBlocksOfTen) {
  GamePlayer info;
  auto capacityAfter = [&](int places) {
    list.clear();
    for (int g = 0; g < places; ++g) AddOccurrence(list, "Doe", Side::kWhite, g, info);
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].places.size(), static_cast<size_t>(places));
    for (int g = 0; g < places; ++g) EXPECT_EQ(list[0].places[static_cast<size_t>(g)].game, g);
    return list[0].capacity;
  };
  EXPECT_EQ(capacityAfter(1), 10);
  EXPECT_EQ(capacityAfter(10), 10);
  EXPECT_EQ(capacityAfter(11), 20);
  EXPECT_EQ(capacityAfter(20), 20);
  EXPECT_EQ(capacityAfter(21), 30);
  EXPECT_EQ(capacityAfter(95), 100);
}

TEST_F(NameListTest, FindNameComparesBytesAsUnsignedWithPrefixesFirst) {
  ListOf({"B", "b", "bb", "\xE9"});
  auto find = [&](const char* name) {
    NamePosition p = FindName(list, name);
    return std::to_string(p.found) + "@" + std::to_string(p.position);
  };
  EXPECT_EQ(find("A"), "0@0");
  EXPECT_EQ(find("a"), "0@1");
  EXPECT_EQ(find("b"), "1@1");
  EXPECT_EQ(find("b "), "0@2");
  EXPECT_EQ(find("bb"), "1@2");
  EXPECT_EQ(find("z"), "0@3");
  EXPECT_EQ(find("\xE9"), "1@3");
  EXPECT_EQ(find("\xE9"
                 "a"),
            "0@4");
}

TEST_F(NameListTest, FindNameAgreesWithOrderedSearchForEveryListSize) {
  for (int n = 0; n <= 33; ++n) {
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) names.push_back(std::string(1, static_cast<char>('B' + 2 * i)));
    ListOf(names);
    for (int c = 'A'; c <= 'B' + 2 * n; ++c) {
      std::string probe(1, static_cast<char>(c));
      auto at = std::lower_bound(names.begin(), names.end(), probe);
      NamePosition p = FindName(list, probe);
      EXPECT_EQ(p.position, at - names.begin()) << "n=" << n << " probe=" << probe;
      EXPECT_EQ(p.found, at != names.end() && *at == probe) << "n=" << n << " probe=" << probe;
    }
  }
}

}  // namespace
