// The bar `players tag` is held to on real games whose players' FIDE IDs are
// known (used only as the truth, taken out of the games it tags) against
// complete FIDE lists (tools/tagevaluation.h; tag-evaluate prints the table).
#include <gtest/gtest.h>

#include "tools/tagevaluation.h"

TEST(EvidenceOnRealData, TakesTheFindableNamesRightAndAlmostNoneWrong) {
  Evaluation period, all;
  for (const Pairing& p : kRealPairings) {
    Evaluation e;
    if (!EvaluatePairing(VELMARSH_TESTDATA, p, e)) continue;
    (p.samePeriod ? period : all) += e;
  }
  if (period.names == 0) GTEST_SKIP() << "no games and lists of one period in " << VELMARSH_TESTDATA;
  all += period;
  // Games and lists of one period: at least 95% of the names whose player
  // is in the list taken right; everywhere at most 0.5% of the takes wrong.
  EXPECT_GE(period.evidence.right * 100, period.findable * 95)
      << period.evidence.right << " of " << period.findable << " right";
  EXPECT_LE(all.evidence.wrong * 200, all.evidence.Taken())
      << all.evidence.wrong << " of " << all.evidence.Taken();
  // Against the rules before it: more right, not more wrong.
  EXPECT_GT(period.evidence.right, period.fitOnly.right);
  EXPECT_LE(all.evidence.wrong, all.fitOnly.wrong);
}
