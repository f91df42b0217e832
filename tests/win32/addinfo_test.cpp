// The add-information commands on the current game against a fake host; the
// search window is answered through the host's window service.
#include <gtest/gtest.h>

#include "host/plugindatabase.h"
#include "host/settings.h"
#include "hostsim/fakehost.h"
#include "plugin/velmarsh.h"
#include "tagging/addinfo.h"
#include "windows/searchwindow_state.h"

namespace {

using Tags = std::vector<std::pair<std::string, std::string>>;
using Lines = std::vector<std::wstring>;

class AddInfo : public ::testing::Test {
 protected:
  void SetUp() override {
    settings = Settings{};
    uint8_t nor = static_cast<uint8_t>(FederationByCode("NOR"));
    std::vector<PlayerRow> rows = {
        {"Smith, Jo", 4242, 2650, Sex::kMale, Title::kGM, static_cast<uint8_t>(FederationByCode("GER")),
         1970},
        {"Doe, Jane", 12345678, 2405, Sex::kFemale, Title::kWIM, nor, 1990},
        {"Doe, John", 87654321, 2100, Sex::kMale, Title::kNone, nor, 1980},
        {"Roe, Richard", 777, 0, Sex::kNone, Title::kNone, 0, 0},
    };
    ReplacePluginDatabase(DatabaseOf(rows));
    host.onCreateHostWindow = [this](const wchar_t* caption, HWND, WNDPROC, hostabi::PaintCallback) {
      windows.push_back(caption);
      offered.emplace_back(searchwindow::state.candidates.begin(), searchwindow::state.candidates.end());
      int32_t answer = answers.empty() ? -1 : answers.front();
      if (!answers.empty()) answers.erase(answers.begin());
      return answer;
    };
    StartLumoraProc(FakeHost::F);
  }
  void TearDown() override { ReplacePluginDatabase(PlayerDatabase{}); }

  void Game(const std::string& white, const std::string& black, Tags extra = {}) {
    host.base.AddGame(white, black, std::move(extra));
    host.base.Publish();
  }
  std::vector<std::string> Writes() const {
    std::vector<std::string> w;
    for (const auto& t : host.tagWrites) w.push_back(t.tag + "=" + t.value);
    return w;
  }
  const FakeHost::Message& OnlyMessage() {
    EXPECT_EQ(host.messages.size(), 1u);
    static FakeHost::Message none;
    return host.messages.empty() ? none : host.messages[0];
  }

  FakeHost host;
  std::vector<std::wstring> windows;
  std::vector<std::vector<CandidateLine>> offered;  // the lines of each search window
  std::vector<int32_t> answers;
};

TEST_F(AddInfo, AnonymousInAnyCaseEndsWithNoPlayerName) {
  Game("aNoNyMoUs player", "B");
  AddWhiteCommand();
  const auto& m = OnlyMessage();
  EXPECT_EQ(m.caption, L"I can not add anything");
  EXPECT_EQ(m.lines, (Lines{L"No player name is set", L"OK"}));
  EXPECT_EQ(m.kind, 1);
  EXPECT_TRUE(host.tagWrites.empty());
}

TEST_F(AddInfo, EmptyNameIsSearchedAndNotFound) {
  Game("A", "");
  AddBlackCommand();
  EXPECT_EQ(OnlyMessage().lines, (Lines{L"I can not find any player for  in FIDE database", L"OK"}));
  EXPECT_TRUE(windows.empty());
}

TEST_F(AddInfo, KnownIdIsCompletedWithoutSearchOrIdTag) {
  settings.saveTitle = true;
  Game("Whoever", "B", {{"WhiteFIDE", "12345678"}});
  AddWhiteCommand();
  EXPECT_TRUE(windows.empty());
  EXPECT_EQ(Writes(), (std::vector<std::string>{"WhiteTitle=WIM", "WhiteElo=2405", "WhiteCountry=NOR"}));
  const auto& m = OnlyMessage();
  EXPECT_EQ(m.caption, L"Information added successfully");
  EXPECT_EQ(m.kind, 0);
  EXPECT_EQ(m.lines[0],
            L"The following information is added about Whoever:\r\n\r\n  - Title - WIM"
            L"\r\n  - ELO rating - 2405\r\n  - Country code - NOR");
  EXPECT_EQ(host.headerChangedCalls, 1);
}

TEST_F(AddInfo, UnknownIdIsReported) {
  Game("Whoever", "B", {{"WhiteFIDE", "5"}});
  AddWhiteCommand();
  EXPECT_EQ(OnlyMessage().lines, (Lines{L"No player with ID of Whoever is found in FIDE database", L"OK"}));
  EXPECT_EQ(OnlyMessage().caption, L"I can not add anything");
}

TEST_F(AddInfo, OneClearNameIsTakenWithoutAsking) {
  Game("A", "Smith J.");
  AddBlackCommand();
  EXPECT_TRUE(windows.empty());
  EXPECT_EQ(Writes(), (std::vector<std::string>{"BlackFIDE=4242", "BlackElo=2650", "BlackCountry=GER"}));
  EXPECT_EQ(OnlyMessage().lines[0],
            L"The following information is added about Smith J.:\r\n  - FIDE ID - 4242"
            L"\r\n  - ELO rating - 2650\r\n  - Country code - GER");
}

TEST_F(AddInfo, AmbiguousNameAsksAndWritesTheChosenPlayer) {
  Game("Doe", "B", {{"WhiteElo", "2000"}});
  host.currentGame = 0;
  answers = {1};
  AddWhiteCommand();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0], L"Search FIDE for Doe,  2000 ELO");
  ASSERT_EQ(offered[0].size(), 2u);
  EXPECT_EQ(offered[0][0].text, L"Doe, Jane (NOR),  WIM,  2405 ELO");
  EXPECT_EQ(offered[0][1].fideId, 87654321);
  EXPECT_EQ(Writes(), (std::vector<std::string>{"WhiteFIDE=87654321", "WhiteCountry=NOR"}));
  EXPECT_EQ(OnlyMessage().lines[0],
            L"The following information is added about Doe:\r\n  - FIDE ID - 87654321"
            L"\r\n  - Country code - NOR");
}

TEST_F(AddInfo, EscapeAndSkipChooseNobody) {
  Game("Doe", "B");
  for (int32_t answer : {-1, 3}) {
    answers = {answer};
    AddWhiteCommand();
  }
  EXPECT_EQ(windows.size(), 2u);
  EXPECT_TRUE(host.tagWrites.empty());
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(AddInfo, ExtendedSearchAsksAgainWithUpTo20Results) {
  Game("Doe", "B");
  answers = {2, 0};  // "Extended search...", then the first candidate
  AddWhiteCommand();
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_EQ(Writes().at(0), "WhiteFIDE=12345678");

  host.tagWrites.clear();
  answers = {2, static_cast<int32_t>(offered.back().size())};  // then "Skip"
  AddWhiteCommand();
  EXPECT_TRUE(host.tagWrites.empty());
}

TEST_F(AddInfo, BothPlayersAlreadyCompleteGiveTwoSentences) {
  Game("Doe, Jane", "Smith, Jo",
       {{"WhiteFIDE", "12345678"},
        {"WhiteElo", "2405"},
        {"WhiteCountry", "NOR"},
        {"BlackFIDE", "4242"},
        {"BlackElo", "2650"},
        {"BlackCountry", "GER"}});
  AddBothCommand();
  const auto& m = OnlyMessage();
  EXPECT_EQ(m.caption, L"Information added successfully");
  EXPECT_EQ(m.lines[0],
            L"The information about Doe, Jane is already written in the game. Nothing new is "
            L"added.\r\nThe information about Smith, Jo is already written in the game. "
            L"Nothing new is added.");
  EXPECT_EQ(host.headerChangedCalls, 0);
}

TEST_F(AddInfo, BothPlayersWithAnonymousAndUnknownIdAndNotFound) {
  Game("Anonymous", "X", {{"BlackFIDE", "5"}});
  AddBothCommand();
  EXPECT_EQ(OnlyMessage().lines[0],
            L"No information about White is added: the name for White is not set\r\n"
            L"No information about Black is added: No player with ID of X is found in FIDE "
            L"database");

  host.messages.clear();
  Game("Nobody", "Smith, Jo");
  host.currentGame = 1;
  AddBothCommand();
  ASSERT_EQ(host.messages.size(), 2u) << "the not-found message comes at once";
  EXPECT_EQ(host.messages[0].lines[0], L"I can not find any player for Nobody in FIDE database");
  EXPECT_EQ(host.messages[1].lines[0].substr(0, 3), L"\r\nT") << "White's part is empty";
}

// Nothing added and nothing to say about either side: the command ends
// without an empty "added successfully" message.
TEST_F(AddInfo, BothPlayersWithNothingToReportShowNoReport) {
  Game("Nobody", "Nemo");
  AddBothCommand();
  ASSERT_EQ(host.messages.size(), 2u);
  for (const auto& m : host.messages) {
    EXPECT_EQ(m.caption, L"I can not add anything");
    EXPECT_EQ(m.kind, 1);
  }
  EXPECT_EQ(host.messages[1].lines[0], L"I can not find any player for Nemo in FIDE database");

  host.messages.clear();
  Game("Doe", "Doe");
  host.currentGame = 1;
  answers = {-1, 3};  // Escape for White, Skip for Black
  AddBothCommand();
  EXPECT_EQ(windows.size(), 2u);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.tagWrites.empty());
}

TEST_F(AddInfo, BothPlayersReportOneSidesSentenceWithAnEmptyOther) {
  Game("anonymous", "Nemo");
  AddBothCommand();
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1].caption, L"Information added successfully");
  EXPECT_EQ(host.messages[1].lines[0],
            L"No information about White is added: the name for White is not set\r\n");

  host.messages.clear();
  Game("Doe", "Smith, Jo");
  host.currentGame = 1;
  answers = {-1};  // White's window escaped, Black found at once
  AddBothCommand();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].lines[0],
            L"\r\nThe following information is added about Smith, Jo:\r\n  - FIDE ID - 4242"
            L"\r\n  - ELO rating - 2650\r\n  - Country code - GER");
}

TEST_F(AddInfo, FemalePlayerWithOnlySexAdded) {
  settings.saveSex = true;
  Game("Doe, Jane", "B", {{"WhiteFIDE", "12345678"}, {"WhiteElo", "2405"}, {"WhiteCountry", "NOR"}});
  AddWhiteCommand();
  EXPECT_EQ(OnlyMessage().lines[0],
            L"The following information is added about Doe, Jane:\r\n\r\n  - Sex - F");
}

TEST_F(AddInfo, MissingDatabaseIsLoadedOnDemandAndNotFound) {
  ReplacePluginDatabase(PlayerDatabase{});
  Game("Smith, Jo", "B");
  AddWhiteCommand();  // no players.dat beside this test program
  EXPECT_EQ(OnlyMessage().lines[0], L"I can not find any player for Smith, Jo in FIDE database");
}

TEST_F(AddInfo, EmptyBaseNeverCrashes) {
  host.currentGame = 0;
  AddWhiteCommand();
  AddBothCommand();
  EXPECT_TRUE(host.tagWrites.empty());
}

}  // namespace
