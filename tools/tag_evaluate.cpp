// tag-evaluate TESTDATA [--misses] [--check]
//
// How `players tag` settles names on the real games of TESTDATA/pgn whose
// players' FIDE IDs are known, against the complete FIDE lists of
// TESTDATA/fide: for each pairing of games and list, the names right,
// wrong, asked and not found by the fit-only rule, the loose rule and the
// evidence rule (the default). --misses lists what the evidence rule did not
// take right; --check fails (exit 1) unless the evidence rule takes at least
// 95% of the findable names right and at most 0.5% of its takes wrong.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "database/fidelistimport.h"
#include "database/playerlist.h"
#include "tools/tagevaluation.h"

namespace {

struct Pairing {
  const char* games;
  const char* list;
};

// The June 2012 games against the complete lists of nearby months, then the
// later games against the 2012-2018 lists, where most of their players are
// absent (the namesake traps).
constexpr Pairing kPairings[] = {
    {"twic0920.pgn", "rapid_sep12_combined_layout.txt"},
    {"twic0920.pgn", "blitz_sep12_combined_layout.txt"},
    {"twic0920.pgn", "rapid_dec12_combined_layout.txt"},
    {"twic0920.pgn", "blitz_dec12_combined_layout.txt"},
    {"twic0920.pgn", "rapid_jun13_combined_layout.txt"},
    {"twic_2020_232games.pgn", "rapid_jun13_combined_layout.txt"},
    {"twic_2020_232games.pgn", "players_list_foa_2018_excerpt.txt"},
    {"lichess_FWWRC2024_headers_only.pgn", "rapid_jun13_combined_layout.txt"},
    {"lichess_FWWRC2024_headers_only.pgn", "players_list_foa_2018_excerpt.txt"},
    {"lichess_uzchesscup2025_headers_only.pgn", "players_list_foa_2018_excerpt.txt"},
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

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
    size_t n = std::upper_bound(d.begin(), d.end(), limit) - d.begin();
    std::printf("  <=%d %.1f%%", limit, d.empty() ? 0.0 : 100.0 * n / d.size());
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::string data;
  bool misses = false, check = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
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
  std::printf("| games | list | names | findable | fit-only: right | wrong | asked | not found | loose: right | "
              "wrong | asked | not found | evidence: right | wrong | asked | not found | right of findable | "
              "wrong of taken |\n");
  Evaluation twic, all;
  int pairings = 0;
  for (const Pairing& p : kPairings) {
    const std::string games = data + "/pgn/" + p.games, list = data + "/fide/" + p.list;
    if (!std::filesystem::exists(games) || !std::filesystem::exists(list)) continue;
    if (!ImportFideList(list)) {
      std::fprintf(stderr, "tag-evaluate: cannot read %s\n", list.c_str());
      return 1;
    }
    SortByRating();
    Evaluation e = Evaluate(ReadFile(games));
    ++pairings;
    Row(std::string(p.games) + " | " + p.list, e);
    if (misses)
      for (const std::string& m : e.misses) std::printf("    %s\n", m.c_str());
    if (std::string_view(p.games) == "twic0920.pgn") twic += e;
    all += e;
  }
  if (pairings == 0) {
    std::fprintf(stderr, "tag-evaluate: no games and lists in %s\n", data.c_str());
    return 77;
  }
  Row("twic0920.pgn | the five lists", twic);
  Row("all | ", all);
  Distances("right player: |Elo - rating|", all.rightDistance);
  Distances("absent player, nearest fitting namesake: |Elo - rating|", all.absentDistance);
  const bool met = all.evidence.right * 100 >= all.findable * 95 && all.evidence.wrong * 200 <= all.evidence.Taken();
  if (check && !met) {
    std::fprintf(stderr, "tag-evaluate: below the bar (95%% of the findable right, 0.5%% of the takes wrong)\n");
    return 1;
  }
  return 0;
}
