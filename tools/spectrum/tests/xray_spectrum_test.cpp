#include "xray_spectrum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "csv_table.h"
#include "embedded_data.h"
#include "spectrum_error.h"

namespace tessalin::spectrum {
namespace {

int Bin(double energy) { return static_cast<int>(std::lround(energy / BIN_WIDTH)) - 1; }

TEST(RebinToHalfKeV, SpreadsAnIntervalEvenlyOverTheBinsItOverlaps) {
  struct Case {
    double Low, High;
    std::vector<std::pair<double, double>> Expected;  // bin energy, share
  };
  const Case cases[] = {
      // A 1 keV interval on whole keV: a quarter, a half, a quarter.
      {119.0, 120.0, {{119.0, 0.25}, {119.5, 0.5}, {120.0, 0.25}}},
      {1.0, 2.0, {{1.0, 0.25}, {1.5, 0.5}, {2.0, 0.25}}},
      // Intervals on the bins' own edges fall into one bin each.
      {59.75, 60.25, {{60.0, 1.0}}},
      {59.75, 60.75, {{60.0, 0.5}, {60.5, 0.5}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Low);
    const BinArray bins = RebinToHalfKeV({c.Low}, {c.High}, {8.0});
    double expectedTotal = 0;
    for (const auto& [energy, share] : c.Expected) {
      EXPECT_DOUBLE_EQ(bins[Bin(energy)], 8.0 * share) << energy << " keV";
      expectedTotal += 8.0 * share;
    }
    EXPECT_DOUBLE_EQ(std::accumulate(bins.begin(), bins.end(), 0.0), expectedTotal);
  }
}

TEST(UnfilteredSpectrum, KeepsTheTableFluenceAndEndsAtTheTubeVoltage) {
  const CsvTable table = ParseCsv("tasmics", EmbeddedText(EmbeddedFile::Tasmics));
  for (int kv : {20, 80, 120, 150}) {
    SCOPED_TRACE(kv);
    const int column = table.Column("kV" + std::to_string(kv));
    double tableTotal = 0;
    for (const auto& row : table.Rows) tableTotal += row[column];
    const BinArray bins = UnfilteredSpectrum(TubeModel::Tasmics, kv);
    EXPECT_NEAR(std::accumulate(bins.begin(), bins.end(), 0.0), tableTotal, 1e-9 * tableTotal);
    // The last 1 keV interval [kV-1, kV] gives a quarter to the bin at kV.
    EXPECT_GT(bins[Bin(kv)], 0.0);
    if (kv < 150) {
      EXPECT_EQ(bins[Bin(kv + 0.5)], 0.0);
    }
  }
  const BinArray tasmip = UnfilteredSpectrum(TubeModel::Tasmip, 100);
  EXPECT_GT(tasmip[Bin(100.0)], 0.0);
  EXPECT_EQ(tasmip[Bin(100.5)], 0.0);
  // K-alpha of tungsten (59.3 keV) stands out in both models.
  for (TubeModel model : {TubeModel::Tasmics, TubeModel::Tasmip}) {
    const BinArray bins = UnfilteredSpectrum(model, 100);
    EXPECT_GT(bins[Bin(59.5)], 1.3 * bins[Bin(55.0)]) << ModelName(model);
  }
}

TEST(UnfilteredSpectrum, BlendsLinearlyBetweenWholeKilovolts) {
  const BinArray low = UnfilteredSpectrum(TubeModel::Tasmics, 120);
  const BinArray high = UnfilteredSpectrum(TubeModel::Tasmics, 121);
  const BinArray mid = UnfilteredSpectrum(TubeModel::Tasmics, 120.25);
  for (int i = 0; i < BIN_COUNT; ++i) {
    EXPECT_NEAR(mid[i], 0.75 * low[i] + 0.25 * high[i], 1e-9 * (1.0 + high[i])) << i;
  }
}

TEST(UnfilteredSpectrum, RejectsTubeVoltagesOutsideTheModel) {
  struct Case {
    TubeModel Model;
    double Kv;
    bool Valid;
  };
  const Case cases[] = {
      {TubeModel::Tasmics, 20, true},    {TubeModel::Tasmics, 150, true},
      {TubeModel::Tasmics, 19.9, false}, {TubeModel::Tasmics, 150.1, false},
      {TubeModel::Tasmics, NAN, false},  {TubeModel::Tasmip, 30, true},
      {TubeModel::Tasmip, 140, true},    {TubeModel::Tasmip, 29.5, false},
      {TubeModel::Tasmip, 141, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(ModelName(c.Model)) + " " + std::to_string(c.Kv));
    if (c.Valid) {
      EXPECT_NO_THROW(UnfilteredSpectrum(c.Model, c.Kv));
    } else {
      EXPECT_THROW(UnfilteredSpectrum(c.Model, c.Kv), SpectrumError);
    }
  }
}

}  // namespace
}  // namespace tessalin::spectrum
