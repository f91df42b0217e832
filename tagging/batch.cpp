#include "tagging/batch.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "base/guard.h"
#include "database/searchindex.h"
#include "host/hostdata.h"
#include "host/hostservices.h"
#include "host/settings.h"
#include "tagging/addinfo.h"
#include "tagging/gametags.h"
#include "tagging/loadplayers.h"
#include "windows/searchwindow.h"
#include "windows/statuswindow.h"

int32_t NameIndex = 0;
int32_t SkippedCount = 0;
int32_t PresentCount = 0;
bool StepBusy = false;
int32_t TickBudget = kDefaultTickBudget;

namespace {

// True once `budget` microseconds have passed since `start` on the
// high-resolution counter.
bool BudgetSpent(const LARGE_INTEGER& start, int32_t budget) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return (now.QuadPart - start.QuadPart) * 1000000 >= int64_t{budget} * frequency.QuadPart;
}

// A budget given in the environment (whole microseconds) replaces the one
// set: benchmarks and comparisons run the host with one name per tick.
void TakeBudgetFromEnvironment() {
  char text[16];
  DWORD n = GetEnvironmentVariableA("VELMARSH_TICK_BUDGET_US", text, sizeof text);
  if (n == 0 || n >= sizeof text) return;
  int32_t budget = 0;
  auto [end, error] = std::from_chars(text, text + n, budget);
  if (error == std::errc{} && end == text + n && budget >= 0) TickBudget = budget;
}

// Shows the search window over these hits. The window opens on the point
// the host last stored; the batch does not move it.
int32_t AskUser(const GamePlayer& prompted, std::span<const SearchHit> hits, bool offerExtended) {
  return ChoosePlayer(MainWindowHandle(), CandidateLines(hits), SearchWindowTitle(prompted), offerExtended,
                      true);
}

// Writes each place's tags into its game; true when there were any.
bool WritePlaces(const NameEntry& entry, std::span<const PlaceTags> places) {
  for (const PlaceTags& p : places) WriteTags(entry.places[p.place].game, p.tags);
  return !places.empty();
}

}  // namespace

bool ApplyChosenPlayer(const NameEntry& entry, const SearchHit& chosen) {
  return WritePlaces(entry, ChosenPlayerTags(entry.name, entry.places, chosen.index, settings));
}

StepOutcome ProcessNextName() {
  using enum StepResult;
  if (NameIndex < 0 || NameIndex >= static_cast<int32_t>(NameList.size())) return {Skipped};
  const NameEntry& entry = NameList[static_cast<size_t>(NameIndex)];
  NameStep step = PlanNameStep(entry.name, entry.places, settings);
  if (step.anonymous) return {Skipped};
  WritePlaces(entry, step.byId);
  StepResult result = step.AddsTagById() ? Added : AlreadyPresent;

  switch (step.choice) {
    case NameChoice::None: return {result};
    case NameChoice::NoCandidate: return {Skipped};  // nobody to offer: passed over without asking
    case NameChoice::ClearHit:
      if (ApplyChosenPlayer(entry, step.hits[0])) result = Added;
      return {result};
    case NameChoice::AskUser: break;
  }
  std::vector<SearchHit> hits = std::move(step.hits);
  GamePlayer prompted{entry.places[static_cast<size_t>(step.firstWithoutId)].player, entry.name};
  auto n = static_cast<int32_t>(hits.size());
  int32_t k = AskUser(prompted, hits, true);
  if (k < 0 || k == n + 1) return {Skipped, true};
  if (k >= n + 2) return {Cancelled, true};
  if (k == n) {
    hits = ExtendedStepSearch(entry.name, step.known);
    n = static_cast<int32_t>(hits.size());
    k = AskUser(prompted, hits, false);
    if (k < 0 || k == n) return {Skipped, true};
    if (k > n) return {Cancelled, true};
  }
  if (ApplyChosenPlayer(entry, hits[static_cast<size_t>(k)])) result = Added;
  return {result, true};
}

void CALLBACK BatchTick(HWND, UINT, UINT_PTR, DWORD) {
  Guarded([] {
    // Ticks keep coming while a step waits for the user in the search window.
    if (StepBusy) return;
    auto count = static_cast<int32_t>(NameList.size());
    if (NameIndex >= count) {
      StopBatch();
      return;
    }
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    for (;;) {
      StepBusy = true;
      // A step that fails counts as skipped, so that the run moves on; the
      // tick ends after it, as after a question, since it may have asked one.
      StepOutcome step = Guarded(StepOutcome{StepResult::Skipped, true}, [] { return ProcessNextName(); });
      switch (step.result) {
        case StepResult::Added: break;
        case StepResult::AlreadyPresent: ++PresentCount; break;
        case StepResult::Skipped: ++SkippedCount; break;
        case StepResult::Cancelled: StopBatch(); break;
      }
      StepBusy = false;
      ++NameIndex;
      // The host gets its loop back after a question, at the end of the run
      // and when the budget is spent; a click on Cancel waits at most that long.
      if (step.result == StepResult::Cancelled || step.askedUser || NameIndex >= count ||
          BudgetSpent(start, TickBudget))
        break;
    }
    ShowBatchProgress(NameIndex);
    if (NameIndex < count)
      RedrawStatusWindow();
    else
      StopBatch();
  });
}

StatusRun BatchStatusRun() {
  StatusRun run;
  run.step = BatchTick;
  run.start = [] {
    NameIndex = 0;
    SkippedCount = 0;
    PresentCount = 0;
    StepBusy = false;
  };
  run.figures = [] {
    return StatusFigures{NameIndex, static_cast<int64_t>(NameList.size()), SkippedCount, PresentCount};
  };
  return run;
}

void __stdcall TagAllGames() {
  Guarded([] {
    EnsurePlayersLoaded();
    // The lookup indexes are built now, not in the run's first tick.
    CurrentSearchIndex();
    CollectPlayerNames();
    statusRun = BatchStatusRun();
    TakeBudgetFromEnvironment();
    CreateHostWindow(L"Add information about players...", 300, 150, MainWindowHandle(), StatusWindowProc,
                     PaintStatus);
  });
}
