// Start-up against a fake host: which services are asked in which order, what
// is registered, where the menu goes, and the inert start without SetGameTag.
#include <gtest/gtest.h>

#include "hostsim/fakehost.h"
#include "plugin/menus.h"
#include "plugin/velmarsh.h"

namespace {

const std::vector<uint32_t> kFirstSix = {10001, 10002, 10005, 10004, 10000, 10014};
const std::vector<uint32_t> kAllCodes = {10001, 10002, 10005, 10004, 10000, 10014, 80, 94, 10012,
                                         79,    10009, 37,    38,    10011, 39,    40, 52};

TEST(StartUp, WithoutSetGameTagOnlyTheFirstSixServicesAreAsked) {
  FakeHost host;
  host.missingServices.insert(10014);
  auto procBefore = GetWindowLongW(host.mainWindow, GWL_WNDPROC);
  StartLumoraProc(FakeHost::F);
  EXPECT_EQ(host.askedCodes, kFirstSix);
  EXPECT_TRUE(host.registrations.empty());
  EXPECT_TRUE(host.downloadTargets.empty());
  EXPECT_EQ(GetWindowLongW(host.mainWindow, GWL_WNDPROC), procBefore) << "window subclassed";
  EXPECT_EQ(FakeHost::MenuCaptions(host.mainMenu),
            (std::vector<std::wstring>{L"Before", L"Anchor", L"After"}));
}

class Started : public ::testing::Test {
 protected:
  void SetUp() override {
    host.base.AddGame("Doe, Jane", "Roe, Richard");
    host.base.AddGame("Smith, Jo", "");
    host.base.Publish();
    StartLumoraProc(FakeHost::F);
  }
  FakeHost host;
};

TEST_F(Started, AsksEveryServiceInOrderAndRegistersTheCommands) {
  EXPECT_EQ(host.askedCodes, kAllCodes);

  ASSERT_EQ(host.downloadTargets.size(), 1u);
  EXPECT_EQ(host.downloadTargets[0].caption, L"Chess base from chessarchive.example.org");
  EXPECT_EQ(downloadTargetId, 1) << "only the low 16 bits of the target id are kept";

  ASSERT_EQ(host.registrations.size(), 10u);
  EXPECT_EQ(host.registrations[0].handler, nullptr) << "the separator comes first";
  for (const auto& r : host.registrations) {
    EXPECT_EQ(r.record, host.registrations[0].record) << "one record for all";
    EXPECT_EQ(r.zeroFieldSeen, 0);
  }
  for (size_t i = 1; i < host.registrations.size(); ++i) EXPECT_NE(host.registrations[i].handler, nullptr);
}

TEST_F(Started, PutsSeparatorAndPopupBeforeCommand57) {
  EXPECT_EQ(FakeHost::MenuCaptions(host.mainMenu),
            (std::vector<std::wstring>{L"Before", L"-", L">More about players", L"Anchor", L"After"}));
  EXPECT_EQ(GetMenuItemID(host.mainMenu, 1), commandIds.separator);
  EXPECT_EQ(FakeHost::MenuCaptions(host.PluginPopup()),
            (std::vector<std::wstring>{L"Add tags for all players", L"-", L"-", L"Options..."}));
}

TEST_F(Started, RightButtonReleaseFillsThePopupWithTheCurrentPlayers) {
  const std::vector<std::wstring> full = {L"Add tags for Doe, Jane",
                                          L"Add tags for Roe, Richard",
                                          L"Add tags for both players",
                                          L"Add tags for all players",
                                          L"-",
                                          L"Doe, Jane at chessarchive.example.org",
                                          L"Roe, Richard at chessarchive.example.org",
                                          L"Download all games Doe, Jane",
                                          L"Download all games Roe, Richard",
                                          L"-",
                                          L"Options..."};
  SendMessageW(host.mainWindow, WM_RBUTTONUP, 0, 0);
  EXPECT_EQ(FakeHost::MenuCaptions(host.PluginPopup()), full);
  SendMessageW(host.mainWindow, WM_RBUTTONUP, 0, 0);
  EXPECT_EQ(FakeHost::MenuCaptions(host.PluginPopup()), full) << "one set after two releases";
  EXPECT_EQ(GetMenuItemID(host.PluginPopup(), 0), commandIds.addWhite);
  EXPECT_EQ(GetMenuItemID(host.PluginPopup(), 8), commandIds.downloadBlack);
}

TEST_F(Started, FollowsTheDisplayedOrderAndEmptyNames) {
  host.base.order = {1, 0};
  host.base.Publish();
  host.currentGame = 0;  // displayed first: record 1
  SendMessageW(host.mainWindow, WM_RBUTTONUP, 0, 0);
  auto captions = FakeHost::MenuCaptions(host.PluginPopup());
  ASSERT_EQ(captions.size(), 11u);
  EXPECT_EQ(captions[0], L"Add tags for Smith, Jo");
  EXPECT_EQ(captions[1], L"Add tags for ");
  EXPECT_EQ(captions[6], L" at chessarchive.example.org");
  EXPECT_EQ(captions[8], L"Download all games ");
}

TEST_F(Started, AnAmpersandInANameIsShownAsWritten) {
  host.base.AddGame("Kasparov & Karpov", "Deep Blue");
  host.base.Publish();
  host.currentGame = 2;
  SendMessageW(host.mainWindow, WM_RBUTTONUP, 0, 0);
  auto captions = FakeHost::MenuCaptions(host.PluginPopup());
  ASSERT_EQ(captions.size(), 11u);
  EXPECT_EQ(captions[0], L"Add tags for Kasparov && Karpov");
  EXPECT_EQ(captions[5], L"Kasparov && Karpov at chessarchive.example.org");
  EXPECT_EQ(captions[7], L"Download all games Kasparov && Karpov");
}

TEST_F(Started, NoCurrentGameLeavesOnlyTheFixedEntries) {
  SendMessageW(host.mainWindow, WM_RBUTTONUP, 0, 0);
  for (int32_t position : {2, -1}) {
    host.currentGame = position;
    SendMessageW(host.mainWindow, WM_RBUTTONUP, 0, 0);
    EXPECT_EQ(FakeHost::MenuCaptions(host.PluginPopup()),
              (std::vector<std::wstring>{L"Add tags for all players", L"-", L"-", L"Options..."}))
        << "position " << position;
  }
}

TEST_F(Started, AHeaderShorterThanTheRosterGivesEmptyNames) {
  host.base.games[0].tags.resize(5);  // Event .. White only
  host.base.Publish();
  SendMessageW(host.mainWindow, WM_RBUTTONUP, 0, 0);
  auto captions = FakeHost::MenuCaptions(host.PluginPopup());
  ASSERT_EQ(captions.size(), 11u);
  EXPECT_EQ(captions[0], L"Add tags for Doe, Jane");
  EXPECT_EQ(captions[1], L"Add tags for ");
}

TEST_F(Started, StopChangesNothing) {
  auto proc = GetWindowLongW(host.mainWindow, GWL_WNDPROC);
  StopLumoraProc();
  EXPECT_EQ(GetWindowLongW(host.mainWindow, GWL_WNDPROC), proc);
  EXPECT_EQ(FakeHost::MenuCaptions(host.mainMenu).size(), 5u);
}

}  // namespace
