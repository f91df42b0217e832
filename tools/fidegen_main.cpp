// fidegen [--players N] [--seed S] [OUT.txt]: writes a generated FIDE list
// (combined layout) to OUT.txt or to standard output.
#include <cstdio>
#include <string>
#include <string_view>

#include "tools/fidegen.h"
#include "tools/numbers.h"

namespace {

constexpr const char* kUsage = "usage: fidegen [--players N] [--seed S] [OUT.txt]\n";

}  // namespace

int main(int argc, char** argv) {
  int64_t players = 1000;
  uint64_t seed = 1;
  std::string out;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    bool ok = true;
    if (arg == "--players" && i + 1 < argc)
      ok = ParseNumber(argv[++i], players) && players >= 0;
    else if (arg == "--seed" && i + 1 < argc)
      ok = ParseNumber(argv[++i], seed);
    else if (!arg.starts_with("--") && out.empty())
      out = arg;
    else
      ok = false;
    if (!ok) {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  bool written = out.empty() ? WriteFideList(stdout, seed, players) : WriteFideListFile(out, seed, players);
  if (!written) {
    std::fprintf(stderr, "fidegen: cannot write %s\n", out.empty() ? "standard output" : out.c_str());
    return 1;
  }
  return 0;
}
