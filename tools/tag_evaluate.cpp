// tag-evaluate TESTDATA [--misses] [--check]
//
// How `players tag` settles names on the real games of TESTDATA/pgn whose
// players' FIDE IDs are known, against the complete FIDE lists of
// TESTDATA/fide: for each pairing of games and list, the names right,
// wrong, asked and not found by the fit-only rule, the loose rule and the
// evidence rule (the default). --misses lists what the evidence rule did not
// take right; --check fails (exit 1) unless the evidence rule takes at least
// 95% of the findable names of one period right and at most 0.5% of all its
// takes wrong. Exit 77 when the test data holds no pairing.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/tagevaluation.h"

namespace {

std::string Cells(const RuleCount& c) {
  char text[64];
  std::snprintf(text, sizeof text, " %d | %d | %d | %d |", c.right, c.wrong, c.asked, c.notFound);
  return text;
}

void Row(const std::string& label, const Evaluation& e) {
  std::printf("| %s | %d | %d |%s%s%s %.1f%% | %.2f%% |\n", label.c_str(), e.names, e.findable,
              Cells(e.fitOnly).c_str(), Cells(e.loose).c_str(), Cells(e.evidence).c_str(),
              e.findable ? 100.0 * e.evidence.right / e.findable : 0.0,
              e.evidence.Taken() ? 100.0 * e.evidence.wrong / e.evidence.Taken() : 0.0);
}

// How many of the distances are at most each limit.
void Distances(const char* what, std::vector<int> d) {
  std::sort(d.begin(), d.end());
  std::printf("%s (%zu):", what, d.size());
  for (int limit : {50, 100, 150, 200, 250, 300, 400, 500}) {
    const auto n = std::upper_bound(d.begin(), d.end(), limit) - d.begin();
    std::printf("  <=%d %.1f%%", limit, d.empty() ? 0.0 : 100.0 * static_cast<double>(n) / d.size());
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::string data;
  bool misses = false, check = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--misses")
      misses = true;
    else if (arg == "--check")
      check = true;
    else
      data = arg;
  }
  if (data.empty()) {
    std::fprintf(stderr, "usage: tag-evaluate TESTDATA [--misses] [--check]\n");
    return 2;
  }
  std::printf(
      "| games | list | names | findable | fit-only: right | wrong | asked | not found | loose: right | "
      "wrong | "
      "asked | not found | evidence: right | wrong | asked | not found | right of findable | wrong of taken "
      "|\n"
      "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
  Evaluation period, all;
  int pairings = 0;
  for (const Pairing& p : kRealPairings) {
    Evaluation e;
    if (!EvaluatePairing(data, p, e)) continue;
    ++pairings;
    Row(std::string(p.games) + " | " + p.list, e);
    if (misses)
      for (const std::string& m : e.misses) std::printf("    %s\n", m.c_str());
    (p.samePeriod ? period : all) += e;
  }
  if (pairings == 0) {
    std::fprintf(stderr, "tag-evaluate: no games and lists in %s\n", data.c_str());
    return 77;
  }
  Row("games of June 2012 | lists of Sep 2012 to Jun 2013", period);
  all += period;
  Row("all | ", all);
  Distances("right player: |Elo - rating|", all.rightDistance);
  Distances("absent player, nearest fitting namesake: |Elo - rating|", all.absentDistance);
  const bool met =
      period.evidence.right * 100 >= period.findable * 95 && all.evidence.wrong * 200 <= all.evidence.Taken();
  if (check && !met) {
    std::fprintf(stderr,
                 "tag-evaluate: below the bar (95%% of the findable right, 0.5%% of the takes wrong)\n");
    return 1;
  }
  return 0;
}
