// Runs a script: one step at a time from a thread timer, so that steps go on
// inside every nested modal loop (plug-in windows, message windows, common
// dialogs). A failed step, a wait that times out, an unexpected message
// window or the global time limit ends the program with a non-zero code.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "hostsim/script.h"

namespace scriptrun {

// Exit codes of a run.
enum ExitCode { kSucceeded = 0, kStepFailed = 1, kBadScript = 2, kTimedOut = 3, kCrashed = 4 };

void Start(std::vector<script::Step> steps, const std::wstring& scriptFolder, int limitSeconds);
bool Running();
// Runs the oldest action a step posted to the main window.
void RunPostedAction();

// --- for the steps (scriptsteps.cpp) ---

struct Outcome {
  enum Kind { kDone, kWait, kFail } kind = kDone;
  std::string why;
};
inline Outcome Done() { return {Outcome::kDone, {}}; }
inline Outcome Wait() { return {Outcome::kWait, {}}; }
inline Outcome Fail(std::string why) { return {Outcome::kFail, std::move(why)}; }

// What a step keeps between the ticks it takes.
struct StepState {
  int phase = 0;
  int ticks = 0;  // ticks this step has taken so far
  DWORD started = 0;
  HWND window = nullptr;  // a window the step answered and waits to see gone
};

// Runs a step's action on the main window's thread after the current tick,
// outside the timer, so that a modal loop it opens does not block the steps.
void Post(std::function<void()> action);
// Writes the current step's line into the transcript, once. Steps that wait
// for something write it when they find it, so that the transcript does not
// depend on how long they waited.
void Announce();
// Milliseconds a waiting step may wait.
extern DWORD waitLimit;
// While set, timer ticks of plug-in windows are not delivered: a plug-in
// driven by a window timer (the batch run) holds still between its ticks.
extern bool pluginTimersHeld;
// The visible popup menus of the host's thread (a menu being shown).
int OpenMenuCount();
// Resolves a script path: ${NAME} expanded, "/..." (a Unix path) as drive Z:.
bool ResolvePath(const std::string& written, std::wstring& path, std::string& error);
std::wstring Wide(const std::string& utf8);

Outcome RunStep(const script::Step& step, StepState& state);

}  // namespace scriptrun
