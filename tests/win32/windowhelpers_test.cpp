// The windows' shared helpers that need no open window: placement inside the
// work area and the file dialogs' common set-up.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "windows/windowhelpers.h"

namespace {

std::pair<LONG, LONG> Place(POINT at, SIZE size, const RECT& work, Overflow overflow) {
  POINT p = KeepInWorkArea(at, size, work, overflow);
  return {p.x, p.y};
}

TEST(KeepInWorkArea, AWindowThatFitsIsPushedInAtTheRightAndBottomAndNotPastZero) {
  const RECT work{40, 30, 1000, 700};
  const SIZE size{400, 200};
  for (Overflow overflow : {Overflow::kKeepRightBottom, Overflow::kKeepLeftTop}) {
    EXPECT_EQ(Place({100, 100}, size, work, overflow), std::pair(100L, 100L));
    EXPECT_EQ(Place({700, 600}, size, work, overflow), std::pair(600L, 500L));
    // 0, not the work area's left and top edges.
    EXPECT_EQ(Place({-5, -7}, size, work, overflow), std::pair(0L, 0L));
    EXPECT_EQ(Place({20, 10}, size, work, overflow), std::pair(20L, 10L));
  }
}

TEST(KeepInWorkArea, AWindowLargerThanTheWorkAreaKeepsTheChosenEdgesInView) {
  const RECT work{0, 0, 300, 150};
  const SIZE size{400, 200};
  EXPECT_EQ(Place({50, 20}, size, work, Overflow::kKeepRightBottom), std::pair(-100L, -50L));
  EXPECT_EQ(Place({50, 20}, size, work, Overflow::kKeepLeftTop), std::pair(0L, 0L));
  EXPECT_EQ(Place({-60, -80}, size, work, Overflow::kKeepLeftTop), std::pair(0L, 0L));
}

TEST(FileDialog, FullSizeRecordWithTheOneFilterChosenAndTheCallersBuffer) {
  wchar_t file[64] = L"players_list.txt";
  const wchar_t filter[] = L"List of players from FIDE\0players_list*.txt\0";
  auto owner = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
  OPENFILENAMEW d = FileDialog(owner, filter, file, L"C:\\Lumora\\", L"txt");
  EXPECT_EQ(d.lStructSize, 88u);
  EXPECT_EQ(d.hwndOwner, owner);
  EXPECT_EQ(d.lpstrFilter, filter);
  EXPECT_EQ(d.nFilterIndex, 1u);
  EXPECT_EQ(d.lpstrFile, file);
  EXPECT_EQ(d.nMaxFile, 64u);
  EXPECT_STREQ(d.lpstrInitialDir, L"C:\\Lumora\\");
  EXPECT_STREQ(d.lpstrDefExt, L"txt");
  // Nothing else is set: the caller adds flags such as the overwrite prompt.
  EXPECT_EQ(d.Flags, 0u);
  EXPECT_EQ(d.lpstrTitle, nullptr);
  EXPECT_EQ(d.lpstrCustomFilter, nullptr);
  EXPECT_EQ(d.lpfnHook, nullptr);
}

}  // namespace
