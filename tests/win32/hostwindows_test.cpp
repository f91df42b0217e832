// The host's plug-in windows as plug-ins rely on them: the modal result
// protocol, nesting, task-modal disabling, buttons and check boxes.
#include <gtest/gtest.h>

#include "host/hostservices.h"
#include "hostsim/fakehost.h"
#include "plugin/velmarsh.h"

namespace {

using hostabi::TButInf;
using hostabi::TCheckInf;

FakeHost* host = nullptr;
TButInf button{};
TCheckInf box{};
int changes = 0;
std::vector<std::string> events;

void __stdcall SetResultSeven() { host->windowResult = 7; }
void __stdcall SetResultEight() { host->windowResult = 8; }
void __stdcall CountChange() { ++changes; }

LRESULT CALLBACK ButtonWindow(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_SHOWWINDOW && wp) {
    events.push_back("shown");
    button.window =
        CreateWindowExA(0, "knop", "x", WS_CHILD | WS_VISIBLE, 10, 10, 100, 28, w, nullptr, nullptr, nullptr);
    button.onClick = SetResultSeven;
    StyleButton(&button, L"Go");
    // The handler is read when the button is clicked, not when it is styled.
    button.onClick = SetResultEight;
    hostwin::Click(button.window);
  }
  return DefaultWindowProc(w, m, wp, lp);
}

LRESULT CALLBACK ClosingWindow(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_SHOWWINDOW && wp) {
    events.push_back("inner shown, parent enabled=" +
                     std::to_string(IsWindowEnabled(GetWindow(w, GW_OWNER))));
    PostMessageW(w, WM_CLOSE, 0, 0);
  }
  return DefaultWindowProc(w, m, wp, lp);
}

void __stdcall OpenInner() {
  HWND outer = hostwin::OpenPluginWindows().back();
  int32_t inner = CreateHostWindow(L"Inner", 200, 100, outer, ClosingWindow, nullptr);
  events.push_back("inner returned " + std::to_string(inner) + ", cell " +
                   std::to_string(host->windowResult == hostabi::kWindowOpen ? 0 : 1));
  host->windowResult = 5;
}

LRESULT CALLBACK NestingWindow(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_SHOWWINDOW && wp) {
    button.window = CreateWindowExW(0, L"knop", L"", WS_CHILD | WS_VISIBLE, 10, 10, 100, 28, w, nullptr,
                                    nullptr, nullptr);
    button.onClick = OpenInner;
    StyleButton(&button, L"Open");
    hostwin::Click(button.window);
  }
  return DefaultWindowProc(w, m, wp, lp);
}

LRESULT CALLBACK CheckWindow(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_SHOWWINDOW && wp) {
    box = TCheckInf{};
    box.state = hostabi::kClear;
    box.onChange = CountChange;
    PlaceControl(&box, 20, 20, w);
    HWND control = hostwin::CheckBoxesOf(w).at(0);
    hostwin::Click(control);
    hostwin::Click(control);
    hostwin::Click(control);
    PostMessageW(w, WM_CLOSE, 0, 0);
  }
  return DefaultWindowProc(w, m, wp, lp);
}

class HostWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    host = &fake;
    StartLumoraProc(FakeHost::F);
    events.clear();
    changes = 0;
    fake.windowResult = 42;
  }
  FakeHost fake;
};

TEST_F(HostWindows, ButtonClickCallsTheHandlerOfTheMomentAndEndsTheWindow) {
  int32_t r = CreateHostWindow(L"Buttons", 300, 200, fake.mainWindow, ButtonWindow, nullptr);
  EXPECT_EQ(r, 8);
  EXPECT_EQ(fake.windowResult, 42) << "the saved result cell is restored";
  EXPECT_EQ(events, (std::vector<std::string>{"shown"}));
  EXPECT_TRUE(IsWindowEnabled(fake.mainWindow));
  EXPECT_TRUE(hostwin::OpenPluginWindows().empty());
}

TEST_F(HostWindows, WindowsNestAndDisableTheirParents) {
  int32_t r = CreateHostWindow(L"Outer", 300, 200, fake.mainWindow, NestingWindow, nullptr);
  EXPECT_EQ(r, 5);
  EXPECT_EQ(events, (std::vector<std::string>{"inner shown, parent enabled=0", "inner returned -1, cell 0"}));
  EXPECT_TRUE(IsWindowEnabled(fake.mainWindow));
  EXPECT_EQ(fake.windowResult, 42);
}

TEST_F(HostWindows, CheckBoxTogglesAndReportsEveryChange) {
  int32_t r = CreateHostWindow(L"Boxes", 300, 200, fake.mainWindow, CheckWindow, nullptr);
  EXPECT_EQ(r, -1) << "WM_CLOSE through the default procedure";
  EXPECT_EQ(box.state, hostabi::kTicked);
  EXPECT_EQ(changes, 3);
}

}  // namespace
