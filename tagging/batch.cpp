#include "tagging/batch.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "database/searchindex.h"
#include "host/commands.h"
#include "host/commonfunc.h"
#include "host/guard.h"
#include "host/hostdata.h"
#include "host/hostservices.h"
#include "tagging/messages.h"
#include "windows/plsearchwnd.h"
#include "windows/plstatwnd.h"

int32_t NameIndex = 0;
int32_t SkippedCount = 0;
int32_t PresentCount = 0;
bool StepBusy = false;
int32_t TickBudget = kDefaultTickBudget;

namespace {

bool askedInStep = false;  // the current step showed the search window

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

// A player found by FIDE ID during one step, with its place in PlayerList.
struct CachedPlayer {
  fideitem player;
  int32_t index;
};

const CachedPlayer* FindCached(const std::vector<CachedPlayer>& cache, int32_t id) {
  for (const CachedPlayer& c : cache)
    if (c.player.fideId == id) return &c;
  return nullptr;
}

std::vector<int32_t> CachedIndices(const std::vector<CachedPlayer>& cache) {
  std::vector<int32_t> indices;
  for (const CachedPlayer& c : cache) indices.push_back(c.index);
  return indices;
}

// Shows the search window over the current SearchResults. The window opens
// on the point the host last stored; the batch does not move it.
int32_t AskUser(const tplay_info& prompted, bool offerExtended) {
  askedInStep = true;
  FillCandidateNames();
  return ChoosePlayer(MainWindowHandle(), SearchWindowTitle(prompted), offerExtended, true);
}

// The tolerant search for a step: room for the known players is taken from
// the limit, which is held at 1 however many of them there are.
void ExtendedSearch(const std::string& name, const std::vector<int32_t>& known) {
  TolerantSearch(name, kExtendedResults - static_cast<int32_t>(known.size()));
  PromoteKnownPlayers(known);
}

}  // namespace

void PromoteKnownPlayers(std::span<const int32_t> indices) {
  std::vector<tsearchress>& results = SearchResults;
  for (int32_t v : indices) {
    size_t at = 0;
    while (at < results.size() && results[at].index != v) ++at;
    if (at < results.size()) {
      if (results[at].score <= 2) continue;
      results[at].score = 2;
      for (; at > 0 && results[at - 1].score > results[at].score; --at)
        std::swap(results[at - 1], results[at]);
      continue;
    }
    // Insert after the last entry of score 2 or better.
    size_t place = results.size();
    while (place > 0 && results[place - 1].score > 2) --place;
    results.insert(results.begin() + static_cast<std::ptrdiff_t>(place), tsearchress{v, 2});
  }
}

bool ApplyChosenPlayer(const tplname& entry, const tsearchress& chosen) {
  if (chosen.index < 0 || chosen.index >= static_cast<int32_t>(PlayerList().size())) return false;
  bool written = false;
  for (const tplnitem& place : entry.items) {
    if (place.info.fideId != 0) continue;
    WriteFideTag(place.info, chosen.index, place.game, static_cast<Side>(place.side));
    written = true;
  }
  return written;
}

StepResult ProcessNextName() {
  if (NameIndex < 0 || NameIndex >= static_cast<int32_t>(NameList.size())) return Skipped;
  const tplname& entry = NameList[static_cast<size_t>(NameIndex)];
  if (IsAnonymousName(entry.name)) return Skipped;

  // Places whose game names the player by FIDE ID are completed from the
  // database; an ID the database lacks leaves its place as it is.
  StepResult result = AlreadyPresent;
  std::vector<CachedPlayer> stepCache;
  std::vector<int32_t> missingIds;  // not in the database: not scanned for twice
  const tplnitem* firstWithoutId = nullptr;
  for (const tplnitem& place : entry.items) {
    int32_t id = place.info.fideId;
    if (id == 0) {
      if (!firstWithoutId) firstWithoutId = &place;
      continue;
    }
    const CachedPlayer* known = FindCached(stepCache, id);
    if (!known) {
      if (std::find(missingIds.begin(), missingIds.end(), id) != missingIds.end()) continue;
      CachedPlayer found{};
      if (!FindByIdAt(id, found.player, found.index)) {
        missingIds.push_back(id);
        continue;
      }
      stepCache.push_back(found);
      known = &stepCache.back();
    }
    WritePlayerTags(place.game, static_cast<Side>(place.side), known->player, place.info);
    if (AddedFlags.AnyTag()) result = Added;
  }
  if (!firstWithoutId) return result;

  // The places without FIDE ID all get one player, found by name. Players
  // that this name already carries by ID elsewhere rank among the best.
  std::vector<int32_t> known = CachedIndices(stepCache);
  WordSearch(entry.name);
  PromoteKnownPlayers(known);
  // Nobody at all to offer: the name is passed over without asking.
  if (SearchResults.empty()) return Skipped;

  tsearchress chosen{};
  if (IsClearCut(SearchResults)) {
    chosen = SearchResults[0];
  } else {
    auto n = static_cast<int32_t>(SearchResults.size());
    int32_t k = AskUser(firstWithoutId->info, true);
    if (k < 0 || k == n + 1) return Skipped;
    if (k >= n + 2) return Cancelled;
    if (k == n) {
      ExtendedSearch(entry.name, known);
      n = static_cast<int32_t>(SearchResults.size());
      k = AskUser(firstWithoutId->info, false);
      if (k < 0 || k == n) return Skipped;
      if (k > n) return Cancelled;
    }
    chosen = SearchResults[static_cast<size_t>(k)];
  }
  if (ApplyChosenPlayer(entry, chosen)) result = Added;
  return result;
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
      askedInStep = false;
      // A step that fails counts as skipped, so that the run moves on.
      StepResult result = Guarded(Skipped, [] { return ProcessNextName(); });
      switch (result) {
        case Added: break;
        case AlreadyPresent: ++PresentCount; break;
        case Skipped: ++SkippedCount; break;
        case Cancelled: StopBatch(); break;
      }
      StepBusy = false;
      ++NameIndex;
      // The host gets its loop back after a question, at the end of the run
      // and when the budget is spent; a click on Cancel waits at most that long.
      if (result == Cancelled || askedInStep || NameIndex >= count ||
          BudgetSpent(start, TickBudget))
        break;
    }
    ShowBatchProgress();
    if (NameIndex < count)
      RedrawStatusWindow();
    else
      StopBatch();
  });
}

void __stdcall TagAllGames() {
  Guarded([] {
    EnsurePlayersLoaded();
    // The lookup indexes are built now, not in the run's first tick.
    CurrentSearchIndex();
    CollectPlayerNames();
    TakeBudgetFromEnvironment();
    CreateHostWindow(L"Add information about players...", 300, 150, MainWindowHandle(),
                     StatusWindowProc, PaintStatus);
  });
}
