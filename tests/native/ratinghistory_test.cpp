#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

#include "ratings/historylist.h"
#include "ratings/ratinghistory.h"
#include "tests/tempdir.h"
#include "tools/fidegen.h"

namespace {

// The plain model: month -> ID -> rating (0 or missing: none).
using Model = std::map<MonthNumber, std::map<int32_t, uint16_t>>;

// The rating in force by the model: the latest month on or before.
std::optional<RatingInForce> ModelAt(const Model& model, int32_t id, MonthNumber month) {
  auto after = model.upper_bound(month);
  if (after == model.begin()) return std::nullopt;
  const auto& [listMonth, ratings] = *std::prev(after);
  auto it = ratings.find(id);
  return RatingInForce{it == ratings.end() ? uint16_t{0} : it->second, listMonth};
}

std::vector<ListRating> Sorted(const std::map<int32_t, uint16_t>& ratings) {
  std::vector<ListRating> list;
  for (auto [id, r] : ratings) list.push_back({id, r});
  return list;
}

void ExpectSame(const KindHistory& kind, const Model& model, const std::vector<int32_t>& ids,
                MonthNumber from, MonthNumber to) {
  for (int32_t id : ids) {
    for (MonthNumber m = from; m <= to; ++m) {
      std::optional<RatingInForce> want = ModelAt(model, id, m), got = RatingAt(kind, id, m);
      ASSERT_EQ(want.has_value(), got.has_value()) << id << " " << MonthText(m);
      if (!want) continue;
      ASSERT_EQ(want->rating, got->rating) << id << " " << MonthText(m);
      ASSERT_EQ(want->month, got->month) << id << " " << MonthText(m);
    }
  }
}

// Lists added in any order, some months replaced, players coming and going,
// ratings moving now and then: every lookup agrees with the model, also
// after the file's round trip, and unchanged ratings cost nothing.
TEST(History, AgreesWithThePlainModel) {
  std::mt19937 rng(5);
  std::vector<int32_t> ids;
  for (int i = 0; i < 400; ++i) ids.push_back(1 + static_cast<int32_t>(rng() % 3000000));
  ids.push_back(INT32_MAX);
  ids.push_back(1);
  std::vector<MonthNumber> months;
  for (int i = 0; i < 30; ++i)
    months.push_back(MakeMonth(2005 + static_cast<int>(rng() % 20), 1 + rng() % 12));

  KindHistory kind;
  Model model;
  std::map<int32_t, uint16_t> current;
  for (int32_t id : ids)
    if (rng() % 3) current[id] = static_cast<uint16_t>(1000 + rng() % 1800);
  for (MonthNumber month : months) {
    // Ratings move, players come and go, some are unrated.
    std::map<int32_t, uint16_t> list;
    for (int32_t id : ids) {
      uint32_t r = rng() % 100;
      if (r < 10) continue;  // missing
      uint16_t rating = current.count(id) ? current[id] : 0;
      if (r < 25) rating = r < 15 ? 0 : static_cast<uint16_t>(1000 + rng() % 1800);
      current[id] = rating;
      list[id] = rating;
    }
    model[month] = list;  // a month added again replaces the earlier one
    ASSERT_TRUE(AddList(kind, month, Sorted(list)));
    ExpectSame(kind, model, ids, MakeMonth(2004, 12), MakeMonth(2025, 2));
  }
  EXPECT_EQ(kind.lists.size(), model.size());
  for (const ListSummary& s : kind.lists) EXPECT_EQ(s.players, model[s.month].size());

  // Through the file.
  RatingHistory history;
  history[RatingKind::kBlitz] = kind;
  RatingHistory back;
  ASSERT_EQ(HistoryFromBytes(HistoryBytes(history), back), HistoryLoad::kLoaded);
  ExpectSame(back[RatingKind::kBlitz], model, ids, MakeMonth(2004, 12), MakeMonth(2025, 2));
  EXPECT_TRUE(back[RatingKind::kStandard].lists.empty());
  EXPECT_FALSE(RatingAt(back[RatingKind::kStandard], ids[0], MakeMonth(2020, 1)));

  // The same list again a month later adds no change.
  size_t changes = kind.changes.size();
  MonthNumber last = kind.lists.back().month;
  ASSERT_TRUE(AddList(kind, last + 1, Sorted(model[last])));
  EXPECT_EQ(kind.changes.size(), changes);
}

// Every cut of the file and many changed bytes: refused or read, never
// a crash, and a refused file leaves an empty history.
TEST(HistoryFile, DamagedBytes) {
  KindHistory kind;
  ASSERT_TRUE(AddList(kind, MakeMonth(2012, 1), std::vector<ListRating>{{7, 2400}, {9, 0}, {12, 1800}}));
  ASSERT_TRUE(AddList(kind, MakeMonth(2012, 2), std::vector<ListRating>{{7, 2410}, {12, 1800}}));
  RatingHistory history;
  history[RatingKind::kRapid] = kind;
  std::vector<uint8_t> bytes = HistoryBytes(history);
  RatingHistory out;
  for (size_t n = 0; n < bytes.size(); ++n) {
    out[RatingKind::kRapid] = kind;
    EXPECT_EQ(HistoryFromBytes(std::span(bytes).first(n), out), HistoryLoad::kDamaged) << n;
    EXPECT_TRUE(out[RatingKind::kRapid].lists.empty());
  }
  std::vector<uint8_t> longer = bytes;
  longer.push_back(0);
  EXPECT_EQ(HistoryFromBytes(longer, out), HistoryLoad::kDamaged);
  for (size_t i = 0; i < bytes.size(); ++i) {
    for (uint8_t flip : {0x01, 0x80, 0xFF}) {
      std::vector<uint8_t> changed = bytes;
      changed[i] ^= flip;
      if (HistoryFromBytes(changed, out) == HistoryLoad::kLoaded)
        for (int32_t id : {7, 9, 12, 0, -1}) RatingAt(out[RatingKind::kRapid], id, MakeMonth(2012, 2));
    }
  }
  ASSERT_EQ(HistoryFromBytes(bytes, out), HistoryLoad::kLoaded);
  EXPECT_EQ(RatingAt(out[RatingKind::kRapid], 7, MakeMonth(2013, 1))->rating, 2410);
  EXPECT_EQ(RatingAt(out[RatingKind::kRapid], 12, MakeMonth(2012, 2))->month, MakeMonth(2012, 2));
}

TEST(HistoryFile, SavedInOneStepAndLoadedAgain) {
  TempDir dir;
  RatingHistory history, back;
  EXPECT_EQ(LoadHistory(dir.File("none.dat"), back), HistoryLoad::kMissing);
  EXPECT_EQ(LoadHistory(dir.path.string(), back), HistoryLoad::kUnreadable);
  ASSERT_TRUE(
      AddList(history[RatingKind::kStandard], MakeMonth(2011, 3), std::vector<ListRating>{{4158814, 2686}}));
  ASSERT_TRUE(SaveHistory(dir.File("h.dat"), history));
  EXPECT_FALSE(std::filesystem::exists(dir.File("h.dat.tmp")));
  ASSERT_EQ(LoadHistory(dir.File("h.dat"), back), HistoryLoad::kLoaded);
  EXPECT_EQ(LatestRating(back[RatingKind::kStandard], 4158814)->rating, 2686);
  EXPECT_FALSE(SaveHistory(dir.File("no-folder/h.dat"), history));
}

// Generated series in every layout, read and added as the tool does,
// against the ratings the generator wrote.
class GeneratedSeries : public ::testing::TestWithParam<ListStyle> {};

TEST_P(GeneratedSeries, AgreesWithTheGeneratedRatings) {
  TempDir dir;
  SeriesOptions series;
  series.list.style = GetParam();
  series.list.kind = GetParam() == ListStyle::kSingle2012 ? 1 : 0;
  series.list.year = 2012;
  series.list.month = 11;
  series.months = 5;
  series.changeShare = 0.2;
  const bool combined = GetParam() == ListStyle::kCombined || GetParam() == ListStyle::kCombinedWithoutFoa;
  std::array<Model, kRatingKinds> models;
  RatingHistory history;
  std::vector<int32_t> ids;
  bool written = WriteSeries(
      dir.path.string(), 11, 3000, series,
      [&](const std::string& path, const ListOptions& list, std::span<const SeriesPlayer> players) {
        MonthNumber month = MakeMonth(list.year, list.month);
        for (const SeriesPlayer& p : players) {
          for (int k = 0; k < kRatingKinds; ++k)
            if (combined || k == list.kind) models[k][month][static_cast<int32_t>(p.id)] = p.rating[k];
          if (month == MakeMonth(2012, 11)) ids.push_back(static_cast<int32_t>(p.id));
        }
        HistoryList read;
        std::string error;
        ASSERT_TRUE(ReadHistoryList(path, {.month = month, .kind = {}}, read, error)) << error;
        EXPECT_EQ(read.month, month);
        for (RatingKind k : read.kinds) {
          ASSERT_TRUE(combined || static_cast<int>(k) == list.kind);
          ASSERT_TRUE(AddList(history[k], month, read.ratings[static_cast<int>(k)]));
        }
      });
  ASSERT_TRUE(written);
  ids.push_back(99);  // never listed
  RatingHistory back;
  ASSERT_EQ(HistoryFromBytes(HistoryBytes(history), back), HistoryLoad::kLoaded);
  for (int k = 0; k < kRatingKinds; ++k)
    ExpectSame(back.kinds[k], models[k], ids, MakeMonth(2012, 10), MakeMonth(2013, 5));
  // A share of the ratings changed: the history holds fewer changes than
  // ratings listed.
  const KindHistory& kind = back.kinds[series.list.kind];
  uint64_t rated = 0;
  for (const ListSummary& s : kind.lists) rated += s.rated;
  EXPECT_EQ(kind.lists.size(), 5u);
  EXPECT_LT(kind.changes.size() * 2, rated);
}

INSTANTIATE_TEST_SUITE_P(Layouts, GeneratedSeries,
                         ::testing::Values(ListStyle::kCombined, ListStyle::kCombinedWithoutFoa,
                                           ListStyle::kSingle2012, ListStyle::kSingle, ListStyle::kBefore2013,
                                           ListStyle::kJan01, ListStyle::kApr01, ListStyle::kOct02));

}  // namespace
