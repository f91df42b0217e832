// The steps of the batch run against a fake host that answers the search
// window: the outcomes, what is written, what the user is offered, the
// ranking of players already known by FIDE ID, and the counters of the ticks.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "host/settings.h"
#include "hostsim/fakehost.h"
#include "plugin/velmarsh.h"
#include "tagging/batch.h"
#include "tagging/gamessite.h"
#include "windows/searchwindow_state.h"
#include "windows/statuswindow.h"

namespace {

using Tags = std::vector<std::pair<std::string, std::string>>;
using Writes = std::vector<std::string>;

constexpr int32_t kSmith = 4242, kJane = 12345678, kJohn = 87654321, kRichard = 777;
constexpr int kPoes = 25;
constexpr int32_t kFirstPoeId = 5000, kZedQ = 9001, kZedR = 9002;

class BatchStep : public ::testing::Test {
 protected:
  void SetUp() override {
    settings = Settings{};  // Elo and country are written, nothing is overwritten
    uint8_t nor = static_cast<uint8_t>(FederationByCode("NOR"));
    uint8_t ger = static_cast<uint8_t>(FederationByCode("GER"));
    std::vector<PlayerRow> rows = {
        {"Smith, Jo", kSmith, 2650, Sex::kMale, Title::kGM, ger, 1970},
        {"Doe, Jane", kJane, 2405, Sex::kFemale, Title::kWIM, nor, 1990},
        {"Doe, John", kJohn, 2100, Sex::kMale, Title::kNone, nor, 1980},
        {"Zed, Q", kZedQ, 2050, Sex::kMale, Title::kNone, nor, 0},
        {"Zed, R", kZedR, 2040, Sex::kMale, Title::kNone, nor, 0},
    };
    for (int i = 0; i < kPoes; ++i)
      rows.push_back({"Poe, " + std::string(1, static_cast<char>('A' + i)) + "x", kFirstPoeId + i,
                      static_cast<uint16_t>(2000 - i), Sex::kMale, Title::kNone, ger, 0});
    rows.push_back({"Roe, Richard", kRichard, 0, Sex::kNone, Title::kNone, 0, 0});
    db = DatabaseOf(rows);
    batchRun.database = &db;
    host.onCreateHostWindow = [this](const wchar_t* caption, HWND, WNDPROC, hostabi::PaintCallback) {
      windows.push_back(caption);
      offered.emplace_back(searchwindow::state.candidates.begin(), searchwindow::state.candidates.end());
      if (duringWindow) duringWindow();
      int32_t answer = answers.empty() ? -1 : answers.front();
      if (!answers.empty()) answers.erase(answers.begin());
      return answer;
    };
    StartLumoraProc(FakeHost::F);
    batchRun.tickBudget = 0;  // one name per tick, unless a test says otherwise
  }
  void TearDown() override {
    batchRun.database = nullptr;
    batchRun.names.clear();
    batchRun.tickBudget = kDefaultTickBudget;
  }

  void Game(const std::string& white, const std::string& black, Tags extra = {}) {
    host.base.AddGame(white, black, std::move(extra));
    host.base.Publish();
  }
  // One step for the entry of this name, after collecting the base.
  StepResult Step(const std::string& name) {
    batchRun.names = CollectPlayerNames();
    NamePosition at = FindName(batchRun.names, name);
    EXPECT_TRUE(at.found) << name;
    return DecideName(db, batchRun.names[static_cast<size_t>(at.position)], settings, AskInRun).result;
  }
  Writes Written() const {
    Writes w;
    for (const auto& t : host.tagWrites) w.push_back(std::to_string(t.game) + ":" + t.tag + "=" + t.value);
    return w;
  }
  bool Wrote(const std::string& write) const {
    Writes w = Written();
    return std::find(w.begin(), w.end(), write) != w.end();
  }
  PlayerDatabase db;
  FakeHost host;
  std::vector<std::wstring> windows;
  std::vector<std::vector<CandidateLine>> offered;
  std::vector<int32_t> answers;
  std::function<void()> duringWindow;
};

// ---- Outcomes of one step ----

TEST_F(BatchStep, ClearNameSearchIsAppliedToEveryPlaceWithoutId) {
  Game("Doe, Jane", "X");
  Game("Y", "Doe, Jane", {{"BlackElo", "2300"}});
  EXPECT_EQ(Step("Doe, Jane"), StepResult::kAdded);
  EXPECT_EQ(Written(), (Writes{"0:WhiteFIDE=12345678", "0:WhiteElo=2405", "0:WhiteCountry=NOR",
                               "1:BlackFIDE=12345678", "1:BlackCountry=NOR"}));
  EXPECT_TRUE(windows.empty());
}

TEST_F(BatchStep, KnownIdsAreCompletedWithoutSearchOrIdTag) {
  Game("Doe", "X", {{"WhiteFIDE", "87654321"}, {"WhiteCountry", "NOR"}});
  Game("X", "Doe", {{"BlackFIDE", "12345678"}, {"BlackElo", "2000"}, {"BlackCountry", "GER"}});
  EXPECT_EQ(Step("Doe"), StepResult::kAdded);
  EXPECT_EQ(Written(), (Writes{"0:WhiteElo=2100"}));
  host.tagWrites.clear();
  EXPECT_EQ(Step("Doe"), StepResult::kAlreadyPresent);  // nothing to add, nothing overwritten
  EXPECT_TRUE(host.tagWrites.empty());
  EXPECT_TRUE(windows.empty());
}

TEST_F(BatchStep, UnknownIdsLeaveGamesUnchanged) {
  Game("Doe", "X", {{"WhiteFIDE", "31337"}});
  Game("X", "Doe", {{"BlackFIDE", "31338"}});
  EXPECT_EQ(Step("Doe"), StepResult::kAlreadyPresent);
  EXPECT_TRUE(host.tagWrites.empty());
  EXPECT_TRUE(windows.empty());
}

TEST_F(BatchStep, UnknownIdDoesNotCountAsPlaceWithoutId) {
  Game("Doe, Jane", "X", {{"WhiteFIDE", "31337"}});
  Game("Doe, Jane", "X");
  EXPECT_EQ(Step("Doe, Jane"), StepResult::kAdded);
  EXPECT_EQ(Written(), (Writes{"1:WhiteFIDE=12345678", "1:WhiteElo=2405", "1:WhiteCountry=NOR"}));
}

TEST_F(BatchStep, IdInOneGameIsAppliedToAnotherWithoutAsking) {
  // The word search finds nobody for this spelling; the ID of the first game
  // makes its player the one clear candidate for the second.
  Game("Smyth,J", "X", {{"WhiteFIDE", "4242"}, {"WhiteElo", "2650"}, {"WhiteCountry", "GER"}});
  Game("X", "Smyth,J");
  EXPECT_EQ(Step("Smyth,J"), StepResult::kAdded);
  EXPECT_EQ(Written(), (Writes{"1:BlackFIDE=4242", "1:BlackElo=2650", "1:BlackCountry=GER"}));
  EXPECT_TRUE(windows.empty());
}

// A name that names nobody is no player's: a place gets tags only from its
// own FIDE ID, never from another game's, and is never renamed.
TEST_F(BatchStep, UnknownNamesGetTagsOnlyFromTheirOwnId) {
  settings.changeName = true;
  Game("?", "X", {{"WhiteFIDE", "12345678"}});
  Game("?", "-");
  Game("N. N.", "?", {{"BlackFIDE", "87654321"}});
  Game("NN", "?");
  EXPECT_EQ(Step("?"), StepResult::kSkipped);
  EXPECT_EQ(Written(),
            (Writes{"0:WhiteElo=2405", "0:WhiteCountry=NOR", "2:BlackElo=2100", "2:BlackCountry=NOR"}));
  host.tagWrites.clear();
  for (const char* name : {"-", "N. N.", "NN"}) EXPECT_EQ(Step(name), StepResult::kSkipped) << name;
  EXPECT_TRUE(host.tagWrites.empty());
  EXPECT_TRUE(windows.empty());
}

TEST_F(BatchStep, NameWithoutAnyCandidateIsSkippedWithoutWindow) {
  Game("Nobody Known", "X");
  EXPECT_EQ(Step("Nobody Known"), StepResult::kSkipped);
  EXPECT_TRUE(windows.empty());
  EXPECT_TRUE(host.tagWrites.empty());
}

TEST_F(BatchStep, AnonymousInOtherCaseIsSkipped) {
  Game("anonymous", "ANONYMOUS player");
  EXPECT_EQ(Step("anonymous"), StepResult::kSkipped);
  EXPECT_EQ(Step("ANONYMOUS player"), StepResult::kSkipped);
  EXPECT_TRUE(windows.empty());
}

TEST_F(BatchStep, AmbiguousNameAsksWithPromptOfFirstPlaceWithoutId) {
  host.messageX = 1234;
  host.messageY = 567;
  Game("Doe", "X", {{"WhiteFIDE", "31337"}, {"WhiteElo", "1999"}});
  Game("X", "Doe", {{"BlackElo", "2100"}, {"BlackCountry", "NOR"}, {"BlackTitle", "FM"}});
  Game("Doe", "X");
  answers = {1};
  EXPECT_EQ(Step("Doe"), StepResult::kAdded);
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0], L"Search FIDE for Doe (NOR),  FM,  2100 ELO");
  ASSERT_EQ(offered[0].size(), 2u);
  EXPECT_EQ(offered[0][0].text, L"Doe, Jane (NOR),  WIM,  2405 ELO");
  EXPECT_EQ(offered[0][0].fideId, kJane);
  EXPECT_EQ(offered[0][1].fideId, kJohn);
  // Both places without ID get the chosen player; the batch leaves the
  // window's point where the host had it.
  EXPECT_EQ(Written(), (Writes{"1:BlackFIDE=87654321", "2:WhiteFIDE=87654321", "2:WhiteElo=2100",
                               "2:WhiteCountry=NOR"}));
  EXPECT_EQ(host.messageX, 1234);
  EXPECT_EQ(host.messageY, 567);
}

TEST_F(BatchStep, FirstWindowEscapeAndSkipSkipAndCancelCancels) {
  Game("Doe", "X");
  answers = {-1};
  EXPECT_EQ(Step("Doe"), StepResult::kSkipped);
  answers = {3};  // candidates 0 and 1, extended 2, Skip 3, Cancel 4
  EXPECT_EQ(Step("Doe"), StepResult::kSkipped);
  answers = {4};
  EXPECT_EQ(Step("Doe"), StepResult::kCancelled);
  EXPECT_EQ(windows.size(), 3u);
  EXPECT_TRUE(host.tagWrites.empty());
}

TEST_F(BatchStep, ExtendedSearchMakesRoomForKnownPlayersAndOffersNoSecondExtension) {
  // One game names Smith by ID: he is known for this name but not a Poe.
  Game("Poe", "X", {{"WhiteFIDE", "4242"}});
  Game("Poe", "X");
  answers = {11, 19};  // 10 Poes + Smith: row 11 asks for the extended search
  EXPECT_EQ(Step("Poe"), StepResult::kAdded);
  ASSERT_EQ(windows.size(), 2u);
  ASSERT_EQ(offered[0].size(), 11u);
  EXPECT_EQ(offered[0][10].fideId, kSmith);
  // 20 - 1 known = 19 Poes from the tolerant search, then Smith.
  ASSERT_EQ(offered[1].size(), 20u);
  EXPECT_EQ(offered[1][18].fideId, kFirstPoeId + 18);
  EXPECT_EQ(offered[1][19].fideId, kSmith);
  EXPECT_TRUE(Wrote("1:WhiteFIDE=4242"));
}

TEST_F(BatchStep, SecondWindowSkipEscapeAndCancel) {
  Game("Doe", "X");
  answers = {2, -1};
  EXPECT_EQ(Step("Doe"), StepResult::kSkipped);
  answers = {2, 2};  // after the extension: Doe, Jane and Doe, John, Skip 2, Cancel 3
  EXPECT_EQ(Step("Doe"), StepResult::kSkipped);
  answers = {2, 3};
  EXPECT_EQ(Step("Doe"), StepResult::kCancelled);
  answers = {2, 0};
  EXPECT_EQ(Step("Doe"), StepResult::kAdded);
  EXPECT_EQ(offered[1].size(), 2u);
  EXPECT_EQ(Written().front(), "0:WhiteFIDE=12345678");
}

TEST_F(BatchStep, ExtendedLimitIsHeldAtOneWithTwentyOneKnownPlayers) {
  for (int i = 0; i < 21; ++i) Game("Zed", "X", {{"WhiteFIDE", std::to_string(kFirstPoeId + i)}});
  Game("Zed", "X");
  answers = {23, 0};  // Zed, Q and Zed, R, then the 21 known players; 23 extends
  EXPECT_EQ(Step("Zed"), StepResult::kAdded);
  ASSERT_EQ(offered.size(), 2u);
  EXPECT_EQ(offered[0].size(), 23u);
  ASSERT_EQ(offered[1].size(), 22u);  // one from the tolerant search + 21 known
  EXPECT_EQ(offered[1][0].fideId, kZedQ);
  EXPECT_TRUE(Wrote("21:WhiteFIDE=9001"));
}

TEST_F(BatchStep, ApplyingNeedsAPlaceWithoutIdAndAPlayerOfTheList) {
  Game("Doe", "X", {{"WhiteFIDE", "12345678"}});
  batchRun.names = CollectPlayerNames();
  EXPECT_FALSE(ApplyChosenPlayer(db, batchRun.names[0], {1, 1}, settings));
  Game("Doe", "X");
  batchRun.names = CollectPlayerNames();
  EXPECT_FALSE(
      ApplyChosenPlayer(db, batchRun.names[0], {static_cast<int32_t>(db.Players().size()), 1}, settings));
  EXPECT_TRUE(host.tagWrites.empty());
}

// ---- Ticks and counters ----

TEST_F(BatchStep, TicksCountOutcomesAndStopAfterTheLastName) {
  Game("Doe, Jane", "Doe",
       {{"WhiteFIDE", "12345678"}, {"WhiteElo", "2405"}, {"WhiteCountry", "NOR"}});  // Doe, Jane present
  Game("Roe", "Nobody Known");  // Roe added; Nobody skipped
  Game("Doe", "anonymous");     // Doe: Escape; anonymous skipped
  batchRun.names = CollectPlayerNames();
  ASSERT_EQ(batchRun.names.size(), 5u);  // Doe, Doe Jane, Nobody Known, Roe, anonymous
  batchRun.next = batchRun.skipped = batchRun.present = 0;
  batchRun.busy = false;
  host.windowResult = hostabi::kWindowOpen;
  answers = {-1};
  for (int tick = 0; tick < 5; ++tick) {
    EXPECT_EQ(host.windowResult, hostabi::kWindowOpen) << tick;
    BatchTick(nullptr, WM_TIMER, 1, 0);
    EXPECT_EQ(batchRun.next, tick + 1);
  }
  EXPECT_EQ(batchRun.skipped, 3);
  EXPECT_EQ(batchRun.present, 1);
  EXPECT_EQ(host.windowResult, 1);
  EXPECT_FALSE(batchRun.busy);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.headerChangedCalls, 0);
  EXPECT_EQ(Written(), (Writes{"1:WhiteFIDE=777"}));
}

TEST_F(BatchStep, OneTickTakesNamesUntilOneAsksThenTheNextTickGoesOn) {
  batchRun.tickBudget = 60'000'000;  // a minute: only a question or the end ends a tick
  Game("Doe, Jane", "Doe", {{"WhiteFIDE", "12345678"}, {"WhiteElo", "2405"}, {"WhiteCountry", "NOR"}});
  Game("Roe", "Nobody Known");
  Game("Doe", "anonymous");
  Game("Aaron", "Abel");
  batchRun.names = CollectPlayerNames();
  // Aaron, Abel, Doe (asks), Doe Jane, Nobody Known, Roe, anonymous
  ASSERT_EQ(batchRun.names.size(), 7u);
  batchRun.next = batchRun.skipped = batchRun.present = 0;
  batchRun.busy = false;
  host.windowResult = hostabi::kWindowOpen;
  answers = {-1};
  BatchTick(nullptr, WM_TIMER, 1, 0);
  EXPECT_EQ(batchRun.next, 3);  // the tick ends after the name that asked
  EXPECT_EQ(batchRun.skipped, 3);
  EXPECT_EQ(windows.size(), 1u);
  EXPECT_EQ(host.windowResult, hostabi::kWindowOpen);
  BatchTick(nullptr, WM_TIMER, 1, 0);
  EXPECT_EQ(batchRun.next, 7);
  EXPECT_EQ(batchRun.skipped, 5);
  EXPECT_EQ(batchRun.present, 1);
  EXPECT_EQ(host.windowResult, 1);
  EXPECT_EQ(Written(), (Writes{"1:WhiteFIDE=777"}));
}

TEST_F(BatchStep, CancelInTheSearchWindowEndsTheTickAndTheRun) {
  batchRun.tickBudget = 60'000'000;
  Game("Doe", "Roe");
  batchRun.names = CollectPlayerNames();
  batchRun.next = batchRun.skipped = batchRun.present = 0;
  batchRun.busy = false;
  host.windowResult = hostabi::kWindowOpen;
  answers = {4};  // Cancel for Doe; Roe is never reached
  BatchTick(nullptr, WM_TIMER, 1, 0);
  EXPECT_EQ(batchRun.next, 1);
  EXPECT_EQ(host.windowResult, 1);
  EXPECT_TRUE(host.tagWrites.empty());
}

TEST_F(BatchStep, EmptyListStopsAtFirstTickWithoutStep) {
  batchRun.names = CollectPlayerNames();
  batchRun.next = 0;
  batchRun.busy = false;
  host.windowResult = hostabi::kWindowOpen;
  BatchTick(nullptr, WM_TIMER, 1, 0);
  EXPECT_EQ(host.windowResult, 1);
  EXPECT_EQ(batchRun.next, 0);
}

TEST_F(BatchStep, TicksDuringTheSearchWindowDoNothing) {
  Game("Doe", "Roe");
  batchRun.names = CollectPlayerNames();
  batchRun.next = batchRun.skipped = batchRun.present = 0;
  batchRun.busy = false;
  host.windowResult = hostabi::kWindowOpen;
  duringWindow = [] {
    for (int i = 0; i < 3; ++i) BatchTick(nullptr, WM_TIMER, 1, 0);
  };
  answers = {4};  // Cancel
  BatchTick(nullptr, WM_TIMER, 1, 0);
  EXPECT_EQ(windows.size(), 1u);
  EXPECT_EQ(batchRun.next, 1);
  EXPECT_EQ(host.windowResult, 1);  // the run stops after the cancelled step
  EXPECT_TRUE(host.tagWrites.empty());
  EXPECT_FALSE(batchRun.busy);
}

// A download that arrives during a run opens its save dialog; the run's
// timer keeps firing in the dialog's loop, and those ticks must not step.
BOOL CALLBACK FindDialog(HWND w, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(w, name, 15);
  if (lstrcmpW(name, L"#32770") != 0 || !IsWindowVisible(w)) return TRUE;
  *reinterpret_cast<HWND*>(found) = w;
  return FALSE;
}
int ticksInDialog = 0;
void CALLBACK TickThenCancel(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  BatchTick(nullptr, WM_TIMER, 1, 0);
  if (++ticksInDialog < 3) return;
  KillTimer(nullptr, timer);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

TEST_F(BatchStep, TicksDuringADownloadsSaveDialogDoNothing) {
  Game("Roe", "Nobody Known");
  batchRun.names = CollectPlayerNames();
  batchRun.next = batchRun.skipped = batchRun.present = 0;
  batchRun.busy = false;
  host.windowResult = hostabi::kWindowOpen;
  ticksInDialog = 0;
  SetTimer(nullptr, 0, 50, TickThenCancel);
  SaveDownloadedGames("[Event \"?\"]\n");
  EXPECT_EQ(ticksInDialog, 3);
  EXPECT_EQ(batchRun.next, 0);
  EXPECT_FALSE(batchRun.busy);
  EXPECT_EQ(host.windowResult, hostabi::kWindowOpen);
  BatchTick(nullptr, WM_TIMER, 1, 0);  // the run goes on after the dialog
  EXPECT_EQ(batchRun.next, 1);
}

}  // namespace
