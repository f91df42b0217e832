// fidegen [--players N] [--seed S] [--layout L] [--kind K] [--month YYYY-MM] [OUT.txt]
//   writes a generated FIDE list to OUT.txt or to standard output;
// fidegen --series M [--change P] [--only I] [--players N] [--seed S] [--layout L] [--kind K]
//         [--month YYYY-MM] FOLDER
//   writes M monthly lists from that month on into FOLDER (only the I-th,
//   0-based, with --only), a share P (default 0.1) of the ratings changing
//   each month, and prints their paths.
// Layouts: combined (default), combined-nofoa, single-2012, single, before-2013, and
// jan01, apr01, oct02 (the column sets of 2001 to 2004).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tools/fidegen.h"
#include "tools/numbers.h"

namespace {

constexpr const char* kUsage =
    "usage: fidegen [--players N] [--seed S] [--layout L] [--kind standard|rapid|blitz] [--month YYYY-MM] "
    "[OUT.txt]\n"
    "       fidegen --series M [--change P] [--only I] [options as above] FOLDER\n"
    "layouts: combined, combined-nofoa, single-2012, single, before-2013, jan01, apr01, oct02\n";

bool ParseKind(std::string_view text, int& kind) {
  constexpr std::string_view kKinds[3] = {"standard", "rapid", "blitz"};
  for (int k = 0; k < 3; ++k)
    if (text == kKinds[k]) kind = k;
  return text == kKinds[kind];
}

bool ParseYearMonth(std::string_view text, ListOptions& list) {
  return text.size() == 7 && text[4] == '-' && ParseNumber(text.substr(0, 4), list.year) &&
         ParseNumber(text.substr(5), list.month) && list.year >= 1970 && list.year <= 2999 &&
         list.month >= 1 && list.month <= 12;
}

bool ParseShare(std::string_view text, double& share) {
  std::string s(text);
  char* end = nullptr;
  share = std::strtod(s.c_str(), &end);
  return !s.empty() && end == s.c_str() + s.size() && share >= 0 && share <= 1;
}

}  // namespace

int main(int argc, char** argv) {
  int64_t players = 1000;
  uint64_t seed = 1;
  std::string out;
  SeriesOptions series;
  bool isSeries = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    bool ok = true;
    bool hasValue = i + 1 < argc;
    if (arg == "--players" && hasValue)
      ok = ParseNumber(argv[++i], players) && players >= 0;
    else if (arg == "--seed" && hasValue)
      ok = ParseNumber(argv[++i], seed);
    else if (arg == "--layout" && hasValue) {
      std::optional<ListStyle> style = ListStyleByName(argv[++i]);
      ok = style.has_value();
      if (ok) series.list.style = *style;
    } else if (arg == "--kind" && hasValue)
      ok = ParseKind(argv[++i], series.list.kind);
    else if (arg == "--month" && hasValue)
      ok = ParseYearMonth(argv[++i], series.list);
    else if (arg == "--series" && hasValue)
      ok = (isSeries = true) && ParseNumber(argv[++i], series.months) && series.months >= 1;
    else if (arg == "--change" && hasValue)
      ok = ParseShare(argv[++i], series.changeShare);
    else if (arg == "--only" && hasValue)
      ok = ParseNumber(argv[++i], series.only) && series.only >= 0;
    else if (!arg.starts_with("--") && out.empty())
      out = arg;
    else
      ok = false;
    if (!ok) {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  if (isSeries) {
    if (out.empty() || series.only >= series.months) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    bool written = WriteSeries(out, seed, players, series,
                               [](const std::string& path, const ListOptions&,
                                  std::span<const SeriesPlayer>) { std::printf("%s\n", path.c_str()); });
    if (!written) {
      std::fprintf(stderr, "fidegen: cannot write into %s\n", out.c_str());
      return 1;
    }
    return 0;
  }
  bool written = out.empty() ? WriteFideList(stdout, seed, players, series.list)
                             : WriteFideListFile(out, seed, players, series.list);
  if (!written) {
    std::fprintf(stderr, "fidegen: cannot write %s\n", out.empty() ? "standard output" : out.c_str());
    return 1;
  }
  return 0;
}
