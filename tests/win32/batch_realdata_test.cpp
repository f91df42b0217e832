// A whole run of steps over a real base of 2245 games against a real rating
// list; the user answers Escape to every question.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/settings.h"
#include "hostsim/fakehost.h"
#include "players/fidelistimport.h"
#include "plugin/velmarsh.h"
#include "tagging/batch.h"

namespace {

const std::string kData = VELMARSH_TESTDATA;
const std::string kBase = kData + "/pgn/twic0920.pgn";
const std::string kList = kData + "/fide/rapid_sep12_combined_layout.txt";

using Tags = std::vector<std::pair<std::string, std::string>>;

// The tag pairs of every game of a PGN file; a game starts at its Event tag.
std::vector<Tags> ReadHeaders(const std::string& path) {
  std::vector<Tags> games;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() < 4 || line[0] != '[') continue;
    size_t space = line.find(' '), open = line.find('"'), close = line.rfind('"');
    if (space == std::string::npos || open == std::string::npos || close <= open) continue;
    std::string name = line.substr(1, space - 1), value = line.substr(open + 1, close - open - 1);
    if (name == "Event" || games.empty()) games.emplace_back();
    // These games name FIDE IDs by other tags than the plug-in reads.
    if (name == "WhiteFideId") name = "WhiteFIDE";
    if (name == "BlackFideId") name = "BlackFIDE";
    games.back().push_back({name, value});
  }
  return games;
}

std::string TagOf(const Tags& tags, const std::string& name) {
  for (const auto& [n, v] : tags)
    if (n == name) return v;
  return {};
}

class RealBase : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream probe(kBase);
    if (!probe) GTEST_SKIP() << "test data not found: " << kBase;
    settings = Settings{};
    StartLumoraProc(FakeHost::F);
    const std::set<std::string> roster = {"Event", "Site", "Date", "Round", "White", "Black", "Result"};
    for (const Tags& game : ReadHeaders(kBase)) {
      Tags extra;
      for (const auto& pair : game)
        if (!roster.count(pair.first)) extra.push_back(pair);
      host.base.AddGame(TagOf(game, "White"), TagOf(game, "Black"), extra);
      before.push_back(game);
    }
    host.base.Publish();
  }
  void TearDown() override {
    batchRun.database = nullptr;
    batchRun.names.clear();
  }

  FakeHost host;
  std::vector<Tags> before;
};

TEST_F(RealBase, RunCompletesKnownPlayersAndLeavesUnknownIdsAlone) {
  std::ifstream probe(kList);
  if (!probe) GTEST_SKIP() << "test data not found: " << kList;
  ASSERT_EQ(host.base.games.size(), 2245u);
  std::string error;
  std::optional<PlayerDatabase> db = ImportFideList(kList, error, Indexing::kBuild);
  ASSERT_TRUE(db) << error;
  batchRun.database = &*db;
  std::map<int32_t, Player> byId;
  for (const Player& p : db->Players()) byId.emplace(p.fideId, p);

  int windows = 0;
  host.onCreateHostWindow = [&](const wchar_t*, HWND, WNDPROC, hostabi::PaintCallback) {
    ++windows;
    return -1;
  };
  batchRun.names = CollectPlayerNames();
  batchRun.next = batchRun.skipped = batchRun.present = 0;
  batchRun.busy = false;
  host.windowResult = hostabi::kWindowOpen;
  auto names = static_cast<int32_t>(batchRun.names.size());
  for (int32_t tick = 0; tick < names && host.windowResult == hostabi::kWindowOpen; ++tick)
    BatchTick(nullptr, WM_TIMER, 1, 0);
  EXPECT_EQ(batchRun.next, names);
  EXPECT_EQ(host.windowResult, 1);
  EXPECT_LE(batchRun.skipped + batchRun.present, names);
  EXPECT_GE(batchRun.skipped, windows);  // every Escape skips its name
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.headerChangedCalls, 0);

  int completed = 0;
  for (size_t g = 0; g < before.size(); ++g) {
    const HostGame& game = host.base.games[g];
    for (std::string side : {"White", "Black"}) {
      int32_t id = std::atoi(TagOf(before[g], side + "FIDE").c_str());
      if (id == 0) continue;
      // A game's own ID is never written again.
      EXPECT_EQ(game.Tag(side + "FIDE"), TagOf(before[g], side + "FIDE"));
      auto known = byId.find(id);
      if (known == byId.end()) {
        for (const char* kind : {"Elo", "Country"})
          EXPECT_EQ(game.Tag(side + kind), TagOf(before[g], side + kind)) << g << side;
        continue;
      }
      const Player& p = known->second;
      if (p.federation != 0) {
        EXPECT_EQ(game.Tag(side + "Country"), FederationCode(p.federation)) << g << side;
        ++completed;
      }
      if (!TagOf(before[g], side + "Elo").empty()) {
        EXPECT_EQ(game.Tag(side + "Elo"), TagOf(before[g], side + "Elo"));
      }
    }
  }
  EXPECT_GT(completed, 100);
  // Navara is in the list by the ID these games carry for him.
  for (size_t g = 0; g < before.size(); ++g) {
    if (TagOf(before[g], "White") == "Navara,D") {
      EXPECT_EQ(host.base.games[g].Tag("WhiteCountry"), "CZE");
    }
  }
}

}  // namespace
