#include "tagging/batch.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "base/guard.h"
#include "host/hostdata.h"
#include "host/hostservices.h"
#include "host/plugindatabase.h"
#include "host/settings.h"
#include "tagging/gametags.h"
#include "windows/statuswindow.h"

BatchRun batchRun;

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
  if (error == std::errc{} && end == text + n && budget >= 0) batchRun.tickBudget = budget;
}

// Writes each place's tags into its game; true when there were any.
bool WritePlaces(const NameEntry& entry, std::span<const PlaceTags> places) {
  for (const PlaceTags& p : places) WriteTags(entry.places[p.place].game, p.tags);
  return !places.empty();
}

}  // namespace

bool ApplyChosenPlayer(const PlayerDatabase& db, const NameEntry& entry, const SearchHit& chosen,
                       const TagOptions& options) {
  return WritePlaces(entry, ChosenPlayerTags(db, entry.name, entry.places, chosen.index, options));
}

PlayerChoice AskInRun(const PlayerDatabase& db, const GamePlayer& prompted, std::vector<SearchHit> hits,
                      std::span<const int32_t> known) {
  // The window opens on the point the host last stored; the run does not move it.
  return AskForPlayer(db, {.offerCancel = true}, prompted, std::move(hits), known);
}

StepOutcome DecideName(const PlayerDatabase& db, const NameEntry& entry, const TagOptions& options,
                       const AskForPlayerFn& ask) {
  using enum StepResult;
  NameStep step = PlanNameStep(db, entry.name, entry.places, options);
  if (step.anonymous) return {kSkipped};
  WritePlaces(entry, step.byId);
  StepResult result = step.AddsTagById() ? kAdded : kAlreadyPresent;

  switch (step.choice) {
    case NameChoice::kNone: return {result};
    case NameChoice::kNoCandidate: return {kSkipped};  // nobody to offer: passed over without asking
    case NameChoice::kClearHit:
      if (ApplyChosenPlayer(db, entry, step.hits[0], options)) result = kAdded;
      return {result};
    case NameChoice::kAskUser: break;
  }
  GamePlayer prompted{entry.places[static_cast<size_t>(step.firstWithoutId)].player, entry.name};
  PlayerChoice choice = ask(db, prompted, std::move(step.hits), step.known);
  switch (choice.kind) {
    case PlayerChoice::Kind::kSkipped: return {kSkipped, true};
    case PlayerChoice::Kind::kCancelled: return {kCancelled, true};
    case PlayerChoice::Kind::kChosen: break;
  }
  if (ApplyChosenPlayer(db, entry, choice.hit, options)) result = kAdded;
  return {result, true};
}

void CALLBACK BatchTick(HWND, UINT, UINT_PTR, DWORD) {
  Guarded([] {
    BatchRun& run = batchRun;
    // Ticks keep coming while a step waits for the user in the search window.
    if (run.busy) return;
    auto count = static_cast<int32_t>(run.names.size());
    if (run.next >= count) {
      StopBatch();
      return;
    }
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    for (;;) {
      run.busy = true;
      // A step that fails counts as skipped, so that the run moves on; the
      // tick ends after it, as after a question, since it may have asked one.
      const NameEntry& entry = run.names[static_cast<size_t>(run.next)];
      StepOutcome step = Guarded(StepOutcome{StepResult::kSkipped, true},
                                 [&] { return DecideName(*run.database, entry, settings, AskInRun); });
      switch (step.result) {
        case StepResult::kAdded: break;
        case StepResult::kAlreadyPresent: ++run.present; break;
        case StepResult::kSkipped: ++run.skipped; break;
        case StepResult::kCancelled: StopBatch(); break;
      }
      run.busy = false;
      ++run.next;
      // The host gets its loop back after a question, at the end of the run
      // and when the budget is spent; a click on Cancel waits at most that long.
      if (step.result == StepResult::kCancelled || step.askedUser || run.next >= count ||
          BudgetSpent(start, run.tickBudget))
        break;
    }
    ShowBatchProgress(run.next);
    if (run.next < count)
      RedrawStatusWindow();
    else
      StopBatch();
  });
}

StatusRun BatchStatusRun() {
  StatusRun run;
  run.step = BatchTick;
  run.start = [] {
    batchRun.next = 0;
    batchRun.skipped = 0;
    batchRun.present = 0;
    batchRun.busy = false;
  };
  run.figures = [] {
    const BatchRun& r = batchRun;
    return StatusFigures{r.next, static_cast<int64_t>(r.names.size()), r.skipped, r.present};
  };
  return run;
}

void __stdcall TagAllGames() {
  Guarded([] {
    // Loaded with its indexes now, not in the run's first tick.
    batchRun.database = &PluginDatabase();
    batchRun.names = CollectPlayerNames();
    statusRun = BatchStatusRun();
    TakeBudgetFromEnvironment();
    CreateHostWindow(L"Add information about players...", 300, 150, MainWindowHandle(), StatusWindowProc,
                     PaintStatus);
  });
}
