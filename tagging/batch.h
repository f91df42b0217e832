// Tagging every game of the open base, one distinct player name per step.
// The status window's timer drives the steps through BatchTick, as many per
// tick as fit in its time budget; a step that cannot decide a name asks the
// user in the extended search window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "players/playersearch.h"
#include "tagging/askplayer.h"
#include "tagging/namelist.h"
#include "tagrules/tagrules.h"
#include "windows/statuswindow.h"

// What one step did.
enum class StepResult : uint8_t {
  kAdded = 0,           // a player applied, or a title, Elo, sex or country tag written
  kAlreadyPresent = 1,  // nothing of that kind written
  kSkipped = 2,         // the name was passed over
  kCancelled = 3,       // the user chose Cancel: the run stops
};

// What a step did, and whether it showed the search window: a tick gives
// the host its loop back after a question.
struct StepOutcome {
  StepResult result;
  bool askedUser = false;
};

// How long one tick may go on taking names, in microseconds. A tick ends
// after the step that passes it, after a step that asked the user, or when
// the run ends; 0 makes one step per tick (for comparisons). A run takes it
// from the environment variable VELMARSH_TICK_BUDGET_US when that is set.
constexpr int32_t kDefaultTickBudget = 8000;

// One run over all games: the names, where it stands and what it counted.
struct BatchRun {
  const PlayerDatabase* database = nullptr;  // where the names' players are looked up
  NameList names;
  int32_t next = 0;  // the entry the next step decides
  int32_t skipped = 0;
  int32_t present = 0;
  bool busy = false;  // a step is running: ticks return at once
  int32_t tickBudget = kDefaultTickBudget;
};

// The run the status window's timer drives. It lives for the process because
// the timer's ticks carry it from one step to the next; the status window
// resets it when it starts.
extern BatchRun batchRun;

// Holds the run's steps while another window of the plug-in waits for the
// user (a download's save dialog arriving during a run): the ticks that its
// loop delivers do nothing.
struct HoldBatchSteps {
  bool was = batchRun.busy;
  HoldBatchSteps() { batchRun.busy = true; }
  ~HoldBatchSteps() { batchRun.busy = was; }
  HoldBatchSteps(const HoldBatchSteps&) = delete;
  HoldBatchSteps& operator=(const HoldBatchSteps&) = delete;
};

// Tags every game of the open base (menu command): collects the names and
// opens the status window, whose timer runs the steps.
void __stdcall TagAllGames();

// How a step asks the user to choose among the hits in db for the game's
// player `prompted` (the players of `known` named by the name's other games).
using AskForPlayerFn =
    std::function<PlayerChoice(const PlayerDatabase& db, const GamePlayer& prompted,
                               std::vector<SearchHit> hits, std::span<const int32_t> known)>;
// The run's own question: the search window with Cancel, opened where the
// host last stored its point.
PlayerChoice AskInRun(const PlayerDatabase& db, const GamePlayer& prompted, std::vector<SearchHit> hits,
                      std::span<const int32_t> known);

// One step: decides the name of `entry` among the players of db under
// `options`, writes its tags into the host's games and says what it did.
StepOutcome DecideName(const PlayerDatabase& db, const NameEntry& entry, const TagOptions& options,
                       const AskForPlayerFn& ask);
// Writes the FIDE ID and tags of db's player `chosen` into every place of
// the name that has no FIDE ID. False when nothing was written.
bool ApplyChosenPlayer(const PlayerDatabase& db, const NameEntry& entry, const SearchHit& chosen,
                       const TagOptions& options);

// The run as the status window takes it: BatchTick, the reset of the run
// state, and the counters.
StatusRun BatchStatusRun();

// The status window's timer procedure: steps until the tick's budget is
// spent, then one update of the progress bar and the window.
void CALLBACK BatchTick(HWND window, UINT message, UINT_PTR id, DWORD time);
