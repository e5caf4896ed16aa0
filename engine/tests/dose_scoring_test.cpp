#include "dose_scoring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace tsl2 {
namespace {

// The scorer adds late, but in the order of the deposits: every sum must be
// exactly the one made by adding at once, also when one cell is hit in
// quick succession.
TEST(DoseScorer, LateAddsGiveExactlyTheImmediateSums) {
  std::mt19937 engine(11);
  std::uniform_int_distribution<int> pick(0, 5);
  std::uniform_int_distribution<int> nearby(0, 1);
  // Amounts over many decades, so that a double sum depends on the order.
  std::uniform_real_distribution<float> decades(-12.0f, 2.2f);
  const float positions[6][3] = {{0.05f, 0.1f, 0.05f},  {-0.05f, -0.2f, 0.01f},
                                 {3.27f, 7.9f, -0.05f}, {19.9f, 19.9f, 9.9f},
                                 {20.0f, 0, 0},         {0, 0, -10.0f}};
  DoseTally immediate;
  DoseTally late;
  {
    DoseScorer scorer(late);
    for (int i = 0; i < 5000; ++i) {
      // Mostly two cells, so that one cell is often hit several times in a row.
      const float* p = positions[i % 4 == 0 ? pick(engine) : nearby(engine)];
      const float e = std::pow(10.0f, decades(engine));
      const int component = 1 + (i % 3 == 0);
      const CellIndex cell = CellOf(p[0], p[1], p[2]);
      if (cell.onGrid) {
        immediate.at(component, cell.CellX, cell.CellY, cell.CellZ) +=
            static_cast<double>(e * 0.7f);
      }
      scorer.Deposit(cell, e, 0.7f, component);
    }
  }
  EXPECT_TRUE(immediate.values == late.values);
  // Mirror images share a cell; the planes |X| = 20 and |Z| = 10 score nothing.
  EXPECT_GT(late.at(1, 1, 1, 1), 0.0);
  EXPECT_EQ(late.at(1, 1, 1, 1), immediate.at(1, 1, 1, 1));
}

TEST(DoseScorer, AirKermaAddsTheStartingEnergyTimesWeight) {
  DoseTally tally;
  AddAirKerma(tally, 0.5f, 60.0f, 0.25f);
  AddAirKerma(tally, 0.5f, 60.0f, 0.25f);
  EXPECT_EQ(tally.AirKermaReference, 15.0);
}

}  // namespace
}  // namespace tsl2
