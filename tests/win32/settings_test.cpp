// The settings file beside the host's executable (here: this test program).
#include <gtest/gtest.h>

#include <vector>

#include "host/paths.h"
#include "host/settings.h"
#include "hostsim/fakehost.h"
#include "plugin/velmarsh.h"
#include "tests/tempdir.h"

namespace {

using Bytes = std::vector<unsigned char>;

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path = SettingsFilePath();
    std::remove(path.c_str());
    settings = Settings{};
  }
  void TearDown() override { std::remove(path.c_str()); }

  Settings ReadFrom(const Bytes& bytes) {
    WriteAllBytes(path, bytes);
    settings = Settings{};
    ReadSettingsFile();
    return settings;
  }
  std::string path;
};

TEST_F(SettingsFile, LiesBesideTheExecutable) {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring folder(exe);
  folder.resize(folder.rfind(L'\\') + 1);
  EXPECT_EQ(ModulePath(), folder);
  EXPECT_EQ(path, WideToAnsi(folder + L"player_info.dat"));
  EXPECT_EQ(PlayersFilePath(), WideToAnsi(folder + L"plugins\\players.dat"));
}

TEST_F(SettingsFile, MissingFileKeepsTheDefaults) {
  ReadSettingsFile();
  const Settings& s = settings;
  EXPECT_FALSE(s.saveTitle);
  EXPECT_FALSE(s.saveSex);
  EXPECT_TRUE(s.saveElo);
  EXPECT_TRUE(s.saveCountry);
  EXPECT_FALSE(s.overwriteTitle || s.overwriteSex || s.overwriteElo || s.overwriteCountry);
  EXPECT_FALSE(s.changeName);
  EXPECT_TRUE(s.saveFideId);
}

TEST_F(SettingsFile, NineBytesSetEveryStoredFlag) {
  Settings s = ReadFrom({1, 1, 0, 0, 1, 1, 1, 1, 1});
  EXPECT_TRUE(s.saveTitle);
  EXPECT_TRUE(s.saveSex);
  EXPECT_FALSE(s.saveElo);
  EXPECT_FALSE(s.saveCountry);
  EXPECT_TRUE(s.overwriteTitle && s.overwriteSex && s.overwriteElo && s.overwriteCountry);
  EXPECT_TRUE(s.changeName);
  EXPECT_TRUE(s.saveFideId);
}

TEST_F(SettingsFile, EightBytesLeaveChangeNameAtItsDefault) {
  Settings s = ReadFrom({1, 1, 1, 1, 1, 1, 1, 1});
  EXPECT_TRUE(s.overwriteCountry);
  EXPECT_FALSE(s.changeName);
}

TEST_F(SettingsFile, ThreeBytesTurnTheMissingFlagsOff) {
  Settings s = ReadFrom({1, 1, 1});
  EXPECT_TRUE(s.saveTitle && s.saveSex && s.saveElo);
  EXPECT_FALSE(s.saveCountry) << "a read past the end yields 0";
  EXPECT_FALSE(s.overwriteTitle || s.overwriteSex || s.overwriteElo || s.overwriteCountry);
  EXPECT_FALSE(s.changeName);
}

TEST_F(SettingsFile, AnyNonZeroByteIsOnAndIsSavedAsOne) {
  Settings s = ReadFrom({2, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_TRUE(s.saveTitle);
  WriteSettingsFile();
  EXPECT_EQ(ReadAllBytes(path), (Bytes{1, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(SettingsFile, SaveAlwaysWritesNineBytes) {
  ReadFrom({1, 0, 1, 0, 1, 0, 1, 0});
  WriteSettingsFile();
  EXPECT_EQ(ReadAllBytes(path), (Bytes{1, 0, 1, 0, 1, 0, 1, 0, 0}));
  settings = Settings{};
  std::remove(path.c_str());
  WriteSettingsFile();
  EXPECT_EQ(ReadAllBytes(path), (Bytes{0, 0, 1, 1, 0, 0, 0, 0, 0}));
}

TEST_F(SettingsFile, StartUpReadsTheFile) {
  WriteAllBytes(path, {0, 1, 0, 1, 0, 0, 0, 0, 1});
  FakeHost host;
  StartLumoraProc(FakeHost::F);
  EXPECT_TRUE(settings.saveSex);
  EXPECT_FALSE(settings.saveElo);
  EXPECT_TRUE(settings.changeName);
}

TEST_F(SettingsFile, StartUpWithoutSetGameTagDoesNotReadIt) {
  WriteAllBytes(path, {1, 1, 1, 1, 1, 1, 1, 1, 1});
  FakeHost host;
  host.missingServices.insert(10014);
  StartLumoraProc(FakeHost::F);
  EXPECT_FALSE(settings.saveTitle);
}

}  // namespace
