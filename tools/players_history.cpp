#include "tools/players_history.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>
#include <tuple>

#include "ratings/boththreads.h"
#include "ratings/historylist.h"
#include "ratings/ratinghistory.h"
#include "tools/numbers.h"

const char* const kHistoryUsage =
    "       players history add HISTORY.dat LIST.txt [--month YYYY-MM] [--kind standard|rapid|blitz]\n"
    "       players history list HISTORY.dat\n"
    "       players rating HISTORY.dat ID [--at YYYY-MM-DD] [--kind standard|rapid|blitz]\n";

namespace {

struct Failure {
  int code;
};

[[noreturn]] void UsageError(const std::string& why) {
  std::fprintf(stderr, "players: %s\nusage:\n%s", why.c_str(), kHistoryUsage);
  throw Failure{2};
}

[[noreturn]] void FileError(const std::string& what) {
  std::fprintf(stderr, "players: %s\n", what.c_str());
  throw Failure{1};
}

// The arguments that are not options, and the values of the options given.
struct Arguments {
  std::vector<std::string> plain;
  std::optional<std::string> month, kind, at;
};

Arguments Parse(const std::vector<std::string>& args, std::vector<std::string_view> allowed) {
  Arguments parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!a.starts_with("--")) {
      parsed.plain.push_back(a);
      continue;
    }
    if (std::find(allowed.begin(), allowed.end(), a) == allowed.end()) UsageError("unknown option " + a);
    if (i + 1 == args.size()) UsageError(a + " needs a value");
    std::optional<std::string>& slot = a == "--month"  ? parsed.month
                                       : a == "--kind" ? parsed.kind
                                                       : parsed.at;
    if (slot) UsageError(a + " is given twice");
    slot = args[++i];
  }
  return parsed;
}

std::optional<RatingKind> KindOption(const Arguments& parsed) {
  if (!parsed.kind) return std::nullopt;
  std::optional<RatingKind> kind = KindByName(*parsed.kind);
  if (!kind) UsageError("--kind is standard, rapid or blitz");
  return kind;
}

RatingHistory LoadOrFail(const std::string& path, bool missingIsEmpty) {
  RatingHistory history;
  switch (LoadHistory(path, history)) {
    case HistoryLoad::kLoaded: break;
    case HistoryLoad::kMissing:
      if (!missingIsEmpty) FileError("cannot read " + path);
      break;
    case HistoryLoad::kUnreadable: FileError("cannot read " + path);
    case HistoryLoad::kDamaged: FileError(path + " is damaged or not a rating history");
  }
  return history;
}

void PrintList(MonthNumber month, RatingKind kind, const ListSummary& s, const char* note = "") {
  std::printf("%s\t%.*s\t%u players\t%u rated%s\n", MonthText(month).c_str(),
              static_cast<int>(KindName(kind).size()), KindName(kind).data(), s.players, s.rated, note);
}

int HistoryAdd(const std::vector<std::string>& args) {
  Arguments parsed = Parse(args, {"--month", "--kind"});
  if (parsed.plain.size() != 2) UsageError("history add needs HISTORY.dat and LIST.txt");
  const std::string& historyPath = parsed.plain[0];
  const std::string& listPath = parsed.plain[1];
  HistoryListChoice choice;
  if (parsed.month && !(choice.month = ParseMonth(*parsed.month))) UsageError("--month is YYYY-MM");
  choice.kind = KindOption(parsed);

  RatingHistory history = LoadOrFail(historyPath, true);
  HistoryList list;
  std::string error;
  if (!ReadHistoryList(listPath, choice, list, error)) FileError(error);

  std::vector<bool> replaced;
  for (RatingKind k : list.kinds) {
    const KindHistory& kind = history[k];
    replaced.push_back(std::any_of(kind.lists.begin(), kind.lists.end(),
                                   [&](const ListSummary& s) { return s.month == list.month; }));
  }
  // Each kind's list goes into its own history: the kinds side by side, the
  // first and third here, the second on a thread of its own.
  std::vector<char> full(list.kinds.size(), 0);
  auto add = [&](size_t from) {
    for (size_t i = from; i < list.kinds.size(); i += 2) {
      std::vector<ListRating>& players = list.ratings[static_cast<int>(list.kinds[i])];
      full[i] = !AddList(history[list.kinds[i]], list.month, players);
      std::vector<ListRating>().swap(players);
    }
  };
  RunBoth(
      list.kinds.size() > 1, [&] { add(0); }, [&] { add(1); });
  for (size_t i = 0; i < list.kinds.size(); ++i)
    if (full[i])
      FileError(historyPath + " holds as many " + std::string(KindName(list.kinds[i])) + " lists as it can");
  if (!SaveHistory(historyPath, history)) FileError("cannot write " + historyPath);
  for (size_t i = 0; i < list.kinds.size(); ++i) {
    const KindHistory& kind = history[list.kinds[i]];
    auto at = std::find_if(kind.lists.begin(), kind.lists.end(),
                           [&](const ListSummary& s) { return s.month == list.month; });
    PrintList(list.month, list.kinds[i], *at, replaced[i] ? "\treplaced" : "");
  }
  return 0;
}

int ListHistory(const std::vector<std::string>& args) {
  if (args.size() != 1) UsageError("history list needs HISTORY.dat");
  RatingHistory history = LoadOrFail(args[0], false);
  std::vector<std::tuple<MonthNumber, int, ListSummary>> all;
  for (RatingKind k : kAllRatingKinds)
    for (const ListSummary& s : history[k].lists) all.emplace_back(s.month, static_cast<int>(k), s);
  std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
    return std::tie(std::get<0>(a), std::get<1>(a)) < std::tie(std::get<0>(b), std::get<1>(b));
  });
  for (const auto& [month, k, s] : all) PrintList(month, static_cast<RatingKind>(k), s);
  return 0;
}

// YYYY-MM-DD (a day of 01..31), or YYYY-MM.
std::optional<MonthNumber> ParseDate(std::string_view text) {
  if (text.size() == 10) {
    if (text[7] != '-' || !ParseMonth(text.substr(0, 7))) return std::nullopt;
    int day = 0;
    if (!ParseNumber(text.substr(8), day) || day < 1 || day > 31 || text[8] == '+') return std::nullopt;
    text = text.substr(0, 7);
  }
  return ParseMonth(text);
}

int Rating(const std::vector<std::string>& args) {
  Arguments parsed = Parse(args, {"--at", "--kind"});
  if (parsed.plain.size() != 2) UsageError("rating needs HISTORY.dat and ID");
  int32_t id = 0;
  if (!ParseNumber(parsed.plain[1], id) || id <= 0) UsageError("ID must be a whole number above 0");
  std::optional<MonthNumber> at;
  if (parsed.at && !(at = ParseDate(*parsed.at))) UsageError("--at is YYYY-MM-DD");
  RatingKind kind = KindOption(parsed).value_or(RatingKind::kStandard);
  RatingHistory history = LoadOrFail(parsed.plain[0], false);
  std::optional<RatingInForce> found =
      at ? RatingAt(history[kind], id, *at) : LatestRating(history[kind], id);
  if (!found || found->rating == 0) return 1;
  std::printf("%u\t%s\n", found->rating, MonthText(found->month).c_str());
  return 0;
}

int Catching(int (*command)(const std::vector<std::string>&), const std::vector<std::string>& args) {
  try {
    return command(args);
  } catch (const Failure& f) {
    return f.code;
  }
}

}  // namespace

int HistoryCommand(const std::vector<std::string>& args) {
  if (args.empty())
    return Catching([](const std::vector<std::string>&) -> int { UsageError("history needs add or list"); },
                    args);
  std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "add") return Catching(HistoryAdd, rest);
  if (args[0] == "list") return Catching(ListHistory, rest);
  return Catching([](const std::vector<std::string>&) -> int { UsageError("history needs add or list"); },
                  rest);
}

int RatingCommand(const std::vector<std::string>& args) { return Catching(Rating, args); }
