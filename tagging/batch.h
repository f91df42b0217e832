// Tagging every game of the open base, one distinct player name per step.
// The status window's timer drives the steps through BatchTick, as many per
// tick as fit in its time budget; a step that cannot decide a name asks the
// user in the extended search window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

#include "database/playersearch.h"
#include "tagging/namelist.h"
#include "windows/statuswindow.h"

// What one step did.
enum class StepResult : uint8_t {
  Added = 0,           // a player applied, or a title, Elo, sex or country tag written
  AlreadyPresent = 1,  // nothing of that kind written
  Skipped = 2,         // the name was passed over
  Cancelled = 3,       // the user chose Cancel: the run stops
};

// Run state. It lives for the process because the status window's timer
// ticks carry the run from one step to the next; the status window resets it
// when it starts a run.
extern int32_t NameIndex;  // next entry of NameList to process
extern int32_t SkippedCount;
extern int32_t PresentCount;
extern bool StepBusy;  // a step is running: ticks return at once

// Holds the run's steps while another window of the plug-in waits for the
// user (a download's save dialog arriving during a run): the ticks that its
// loop delivers do nothing.
struct HoldBatchSteps {
  bool was = StepBusy;
  HoldBatchSteps() { StepBusy = true; }
  ~HoldBatchSteps() { StepBusy = was; }
  HoldBatchSteps(const HoldBatchSteps&) = delete;
  HoldBatchSteps& operator=(const HoldBatchSteps&) = delete;
};

// Tags every game of the open base (menu command): collects the names and
// opens the status window, whose timer runs the steps.
void __stdcall TagAllGames();

// What a step did, and whether it showed the search window: a tick gives
// the host its loop back after a question.
struct StepOutcome {
  StepResult result;
  bool askedUser = false;
};

// One step for NameList[NameIndex].
StepOutcome ProcessNextName();
// Writes the chosen player's FIDE ID and tags into every place of the name
// that has no FIDE ID. False when nothing was written.
bool ApplyChosenPlayer(const NameEntry& entry, const SearchHit& chosen);

// The run as the status window takes it: BatchTick, the reset of the run
// state, and the counters.
StatusRun BatchStatusRun();

// How long one tick may go on taking names, in microseconds. A tick ends
// after the step that passes it, after a step that asked the user, or when
// the run ends; 0 makes one step per tick (for comparisons). A run takes it
// from the environment variable VELMARSH_TICK_BUDGET_US when that is set.
constexpr int32_t kDefaultTickBudget = 8000;
extern int32_t TickBudget;

// The status window's timer procedure: steps until the tick's budget is
// spent, then one update of the progress bar and the window.
void CALLBACK BatchTick(HWND window, UINT message, UINT_PTR id, DWORD time);
