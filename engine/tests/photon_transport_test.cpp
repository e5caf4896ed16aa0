#include "photon_transport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <random>

#include "transport_fixtures.h"

namespace tsl2 {
namespace {

using fixtures::ScriptedUniforms;

const TransportTables& Tables() {
  static const TransportTables tables = PrepareTransportTables(fixtures::MakeTables());
  return tables;
}

// --- Table lookups -------------------------------------------------------

int LinearSearch(const float* values, int lastRow, float key) {
  int j = 2;
  while (j <= lastRow && !(values[j] > key)) ++j;
  return std::min(j, lastRow);
}

TEST(TransportTables, BucketedSearchFindsTheRowOfALinearSearch) {
  std::mt19937 engine(7);
  std::array<float, 46> wavy{};  // not increasing: the buckets must not assume it
  for (int r = 1; r <= 45; ++r) wavy[r] = static_cast<float>(r % 7) * 1.3f + 0.1f * r;
  const PhysicsTables& raw = fixtures::MakeTables();
  struct Column {
    const char* name;
    const float* values;
    int lastRow;
    double range;
    RowSearch search;
  } columns[] = {
      {"FormX", raw.FormX.data(), 45, 10.0, RowSearch(raw.FormX, 45, 10.0)},
      {"CoherentCumulative", raw.CoherentCumulative.data(), 45, raw.CoherentTotal,
       RowSearch(raw.CoherentCumulative, 45, raw.CoherentTotal)},
      {"wavy", wavy.data(), 45, 12.0, RowSearch(wavy, 45, 12.0)},
  };
  for (const Column& c : columns) {
    SCOPED_TRACE(c.name);
    std::uniform_real_distribution<float> keys(-0.5f, static_cast<float>(c.range * 1.2));
    for (int i = 0; i < 20000; ++i) {
      const float key = i < 45 ? c.values[i + 1] : keys(engine);  // row values exactly, too
      std::array<float, 46> copy{};
      std::copy(c.values, c.values + 46, copy.begin());
      ASSERT_EQ(c.search.Find(copy, key), LinearSearch(c.values, c.lastRow, key)) << key;
    }
  }
}

TEST(TransportTables, CoefficientsInterpolateAndExtrapolateLogLog) {
  const PhysicsTables raw = fixtures::MakeTables();
  const TransportTables& t = Tables();
  // A row's energy gets that row's coefficients (up to rounding).
  const FlightCoefficients at60 = t.CoefficientsAt(60);
  const double total60 = 0.0093 + 0.176 + 0.0168;
  EXPECT_NEAR(at60.MuTotal, total60, 1e-5 * total60);
  EXPECT_NEAR(at60.P1, 0.0168 / total60, 1e-5);
  EXPECT_NEAR(at60.P2, (0.0093 + 0.0168) / total60, 1e-5);
  // Off the table at both ends: along the line through the two end rows.
  struct Case {
    float energy;
    int lowRow;
  } cases[] = {{0.5f, 1}, {300.0f, raw.SoftRowCount - 1}, {45.0f, 7}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.energy);
    const int r = c.lowRow;
    const double f = std::log(c.energy / raw.SoftEnergy[r]) /
                     std::log(static_cast<double>(raw.SoftEnergy[r + 1]) / raw.SoftEnergy[r]);
    auto along = [&](const std::array<float, 36>& col) {
      return std::exp(std::log(col[r]) + f * std::log(static_cast<double>(col[r + 1]) / col[r]));
    };
    const double coherent = along(raw.SoftCoef1), incoherent = along(raw.SoftCoef2),
                 photo = along(raw.SoftCoef3);
    const FlightCoefficients got = t.CoefficientsAt(c.energy);
    const double total = coherent + incoherent + photo;
    EXPECT_NEAR(got.MuTotal, total, 1e-4 * total);
    EXPECT_NEAR(got.P1, photo / total, 1e-4);
    EXPECT_NEAR(got.P2, (coherent + photo) / total, 1e-4);
  }
  // The per-bin coefficients are exactly the lookup's.
  for (int bin = 10; bin <= 300; ++bin) {
    const FlightCoefficients direct = t.CoefficientsAt(bin * 0.5f);
    ASSERT_EQ(t.BinCoefficients[bin].MuTotal, direct.MuTotal) << bin;
    ASSERT_EQ(t.BinCoefficients[bin].P1, direct.P1) << bin;
    ASSERT_EQ(t.BinCoefficients[bin].P2, direct.P2) << bin;
  }
}

// --- Incoherent and coherent samplers -------------------------------------

TEST(Interactions, KahnThresholdAt60keV) {
  // alpha = 8.517, threshold = 0.1337. With u2 = 0.5 the first branch gives
  // eta = (alpha + 2) / (1 + alpha), the second eta = 1 + 1 / alpha (90 deg).
  const float alpha = 511.0f / 60.0f;
  const float firstBranchCos = 1.0f - ((alpha + 2) / (1 + alpha) - 1) * alpha;
  for (float u1 : {0.1340f, 0.1335f}) {
    SCOPED_TRACE(u1);
    ScriptedUniforms random({u1, 0.5f, 0.0f, 0.0f});
    const ScatterOutcome out = SampleIncoherent(Tables(), 60.0f, random);
    EXPECT_NEAR(out.CosTheta, u1 > 0.1337f ? firstBranchCos : 0.0f, 1e-5);
    EXPECT_EQ(random.drawn(), 4u);
  }
}

TEST(Interactions, IncoherentScatteringThrough90DegreesAt60keV) {
  ScriptedUniforms random({0.0f, 0.5f, 0.0f, 0.0f});
  const ScatterOutcome out = SampleIncoherent(Tables(), 60.0f, random);
  EXPECT_NEAR(out.ScatterAngle, Pi / 2, 1e-5);
  EXPECT_NEAR(out.ScatteredEnergy, 53.70, 0.01);
  EXPECT_NEAR(60.0f - out.ScatteredEnergy, 6.30, 0.01);
  // x = sin(45 deg) * 60 / 12.4 = 3.42 < 10: the S(x) test takes a fourth draw.
  EXPECT_EQ(random.drawn(), 4u);
}

TEST(Interactions, IncoherentDrawOrderAndSRejection) {
  // Trial 1: a 3.6 deg scattering (x = 0.15, S / Smax = 0.35) rejected by
  // u = 0.5; trial 2: 90 degrees, accepted.
  ScriptedUniforms rejected({0.0f, 0.001f, 0.0f, 0.5f, 0.0f, 0.5f, 0.0f, 0.0f});
  const ScatterOutcome out = SampleIncoherent(Tables(), 60.0f, rejected);
  EXPECT_NEAR(out.ScatterAngle, Pi / 2, 1e-5);
  EXPECT_EQ(rejected.drawn(), 8u);
  // A Kahn rejection (u3 too large) starts over without the S(x) draw.
  ScriptedUniforms kahnRejected({0.0f, 0.001f, 0.9f, 0.0f, 0.5f, 0.0f, 0.0f});
  SampleIncoherent(Tables(), 60.0f, kahnRejected);
  EXPECT_EQ(kahnRejected.drawn(), 7u);
  // Backscatter at 150 keV: x = 12.1 >= 10, accepted without a fourth draw.
  ScriptedUniforms back({0.0f, 0.9999f, 0.0f});
  const ScatterOutcome b = SampleIncoherent(Tables(), 150.0f, back);
  EXPECT_EQ(back.drawn(), 3u);
  EXPECT_GT(b.ScatterAngle, 3.1f);
  EXPECT_GE(b.SinTheta, 0.0f);
}

TEST(Interactions, CoherentDrawOrder) {
  struct Case {
    const char* what;
    float energy;
    std::vector<float> script;
    std::size_t drawn;
  } cases[] = {
      {"forward, accepted", 60, {0.0f, 0.0f}, 2},
      {"x beyond reach at 5 keV, redrawn", 5, {0.99f, 0.0f, 0.0f}, 3},
      {"near 90 degrees, Thomson-rejected", 20, {0.9898f, 0.99f, 0.0f, 0.0f}, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedUniforms random(c.script);
    const ScatterOutcome out = SampleCoherent(Tables(), c.energy, random);
    EXPECT_EQ(random.drawn(), c.drawn);
    EXPECT_EQ(out.ScatteredEnergy, c.energy);
    EXPECT_FLOAT_EQ(out.CosTheta, 1.0f);
  }
}

// Mean and variance of cos(theta) under a density on [-1, 1] (Simpson).
template <class Density>
std::pair<double, double> CosineMoments(Density density) {
  const int n = 200000;
  double w0 = 0, w1 = 0, w2 = 0;
  for (int i = 0; i <= n; ++i) {
    const double mu = -1.0 + 2.0 * i / n;
    const double simpson = (i == 0 || i == n) ? 1 : (i % 2 ? 4 : 2);
    const double p = density(mu) * simpson;
    w0 += p;
    w1 += p * mu;
    w2 += p * mu * mu;
  }
  const double mean = w1 / w0;
  return {mean, w2 / w0 - mean * mean};
}

// S(x) and the coherent density as the tables give them: linear in x.
double TableS(const PhysicsTables& t, double x) {
  int j = 2;
  while (j < 45 && !(t.FormX[j] > x)) ++j;
  return t.IncoherentS[j - 1] + (t.IncoherentS[j] - t.IncoherentS[j - 1]) * (x - t.FormX[j - 1]) /
                                    (t.FormX[j] - t.FormX[j - 1]);
}
double TableCoherentDensity(const PhysicsTables& t, double x) {  // per unit x
  int j = 2;
  while (j < 45 && !(t.FormX[j] > x)) ++j;
  return (t.CoherentCumulative[j] - t.CoherentCumulative[j - 1]) / (t.FormX[j] - t.FormX[j - 1]);
}

TEST(Interactions, IncoherentAngularDistributionMatchesKleinNishinaTimesS) {
  const PhysicsTables raw = fixtures::MakeTables();
  for (float energy : {20.0f, 60.0f, 150.0f}) {
    SCOPED_TRACE(energy);
    const double k = energy / 511.0;
    const auto [mean, variance] = CosineMoments([&](double mu) {
      const double p = 1.0 / (1.0 + k * (1.0 - mu));
      const double kleinNishina = p * p * (p + 1.0 / p - (1.0 - mu * mu));
      const double x = std::sqrt((1.0 - mu) / 2.0) * energy / 12.4;
      return kleinNishina * (x < 10 ? TableS(raw, x) / raw.IncoherentSMax : 1.0);
    });
    RandomGenerator random;
    const int n = 200000;
    double sum = 0;
    for (int i = 0; i < n; ++i) sum += SampleIncoherent(Tables(), energy, random).CosTheta;
    EXPECT_NEAR(sum / n, mean, 5.0 * std::sqrt(variance / n));
  }
}

TEST(Interactions, CoherentAngularDistributionMatchesFormFactorTimesThomson) {
  const PhysicsTables raw = fixtures::MakeTables();
  for (float energy : {20.0f, 60.0f}) {
    SCOPED_TRACE(energy);
    // x = (E / 12.4) sin(theta / 2), so dx = (E / 12.4) / (4 sin(theta / 2)) dmu.
    const auto [mean, variance] = CosineMoments([&](double mu) {
      const double v = std::sqrt((1.0 - mu) / 2.0);
      if (v == 0) return 0.0;
      const double x = v * energy / 12.4;
      return TableCoherentDensity(raw, x) * (energy / 12.4) / (4.0 * v) * (1.0 + mu * mu) / 2.0;
    });
    RandomGenerator random;
    const int n = 200000;
    double sum = 0;
    for (int i = 0; i < n; ++i) sum += SampleCoherent(Tables(), energy, random).CosTheta;
    EXPECT_NEAR(sum / n, mean, 5.0 * std::sqrt(variance / n));
  }
}

// --- Direction change ---------------------------------------------------

TEST(Interactions, DirectionChangeTurnsByThetaAndKeepsAUnitVector) {
  struct Case {
    const char* what;
    float cosZ, sinZ, cosPhi, sinPhi;
    float theta;
    float u;  // azimuth draw
  } cases[] = {
      {"oblique", 0.8f, 0.6f, 0.6f, 0.8f, 1.0f, 0.3f},
      {"oblique, backscatter", -0.28f, 0.96f, -1.0f, 0.0f, 3.0f, 0.77f},
      {"along +Z", 1.0f, 0.0f, 1.0f, 0.0f, 0.7f, 0.6f},
      {"along -Z", -1.0f, 0.0f, 1.0f, 0.0f, 2.0f, 0.1f},
      {"turning over", 0.6f, 0.8f, 0.0f, 1.0f, std::acos(0.6f), 0.5f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PhotonState p;
    p.DirCosZ = c.cosZ;
    p.DirSinZ = c.sinZ;
    p.DirCosPhi = c.cosPhi;
    p.DirSinPhi = c.sinPhi;
    const double before[3] = {c.sinZ * c.cosPhi, c.sinZ * c.sinPhi, c.cosZ};
    ScriptedUniforms random({c.u});
    ChangeDirection(p, std::cos(c.theta), std::sin(c.theta), random);
    EXPECT_EQ(random.drawn(), 1u);
    const double after[3] = {p.DirSinZ * p.DirCosPhi, p.DirSinZ * p.DirSinPhi, p.DirCosZ};
    const double dot = before[0] * after[0] + before[1] * after[1] + before[2] * after[2];
    const double norm = std::sqrt(after[0] * after[0] + after[1] * after[1] + after[2] * after[2]);
    EXPECT_NEAR(norm, 1.0, 1e-5);
    EXPECT_NEAR(dot, std::cos(c.theta), 1e-4);
    EXPECT_GE(p.DirSinZ, 0.0f);
    EXPECT_NEAR(p.DirCosPhi * p.DirCosPhi + p.DirSinPhi * p.DirSinPhi, 1.0, 1e-4);
  }
}

TEST(Interactions, DirectionLimitsKeepSquareRootsReal) {
  // A cosine rounded past -1 still gives a real sine and a unit direction.
  PhotonState p;
  p.DirCosZ = -1.0f;
  p.DirSinZ = 0.0f;
  ScriptedUniforms random({0.25f});
  ChangeDirection(p, -1.0000001f, 0.0f, random);
  EXPECT_FLOAT_EQ(p.DirCosZ, 1.0f);
  EXPECT_EQ(p.DirSinZ, 0.0f);
  EXPECT_EQ(p.DirCosPhi, 1.0f);  // straight along Z: azimuth 0
  EXPECT_EQ(p.DirSinPhi, 0.0f);
  EXPECT_EQ(LimitCosine(-1.0000001f), -1.0f);
  EXPECT_EQ(LimitCosine(1.0000001f), 1.0f);
}

// --- Histories -----------------------------------------------------------

PhantomGeometry TestPhantom() {
  PhantomGeometry g;
  g.PhantomA = 20;
  g.HalfPhantomA = 10;
  g.HalfPhantomB = 10;
  return g;
}

// A photon at (1, 1, -9.9) moving along (0.36, 0.48, 0.8): a flight of
// 2.2 cm ends in cell (18, 5, 82), a second one in cell (26, 7, 64).
PhotonState ObliquePhoton(float energy) {
  PhotonState p;
  p.PosX = 1;
  p.PosY = 1;
  p.PosZ = -9.9f;
  p.DirCosZ = 0.8f;
  p.DirSinZ = 0.6f;
  p.DirCosPhi = 0.6f;
  p.DirSinPhi = 0.8f;
  p.PhotonEnergy = energy;
  p.PhotonWeight = 0.75f;
  return p;
}

float UniformForStep(float energy, float length) {
  return static_cast<float>(std::exp(-Tables().CoefficientsAt(energy).MuTotal * length));
}

double TallyTotal(const DoseTally& tally, int component) {
  double sum = 0;
  for (std::size_t i = static_cast<std::size_t>(component - 1); i < tally.values.size(); i += 2)
    sum += tally.values[i];
  return sum;
}

TEST(Transport, HistoriesEndAsTheyShould) {
  const float s60 = UniformForStep(60, 2.2f);
  const FlightCoefficients c60 = Tables().CoefficientsAt(60);
  const float e90 = 60.0f / (60.0f / 511.0f + 1.0f);  // after 90 degrees
  struct Case {
    const char* what;
    float energy;
    std::vector<float> script;
    HistoryEnd end;
    std::size_t drawn;
    double primary;  // expected sums per component (keV, weighted)
    double scattered;
    int cellZ;  // where the first component's deposit lies (0: none)
  } cases[] = {
      {"photoelectric first", 60, {s60, 0.0f}, HistoryEnd::Absorbed, 2, 60 * 0.75, 0, 82},
      {"u2 equal to P1 scatters coherently, then absorbed as scattered dose",
       60,
       {s60, c60.P1, 0.0f, 0.0f, 0.0f, s60, 0.0f},
       HistoryEnd::Absorbed,
       7,
       0,
       60 * 0.75,
       0},
      {"incoherent first scores primary, then escapes",
       60,
       {s60, 0.99f, 0.0f, 0.5f, 0.0f, 0.0f, 0.3f},
       HistoryEnd::Escaped,
       9,
       (60 - e90) * 0.75,
       0,
       82},
      {"4.99 keV ends at once", 4.99f, {}, HistoryEnd::BelowCutoff, 0, 0, 0, 0},
      {"5 keV is transported",
       5.0f,
       {UniformForStep(5, 0.05f), 0.0f},
       HistoryEnd::Absorbed,
       2,
       5 * 0.75,
       0,
       100},
      {"incoherent below 5 keV deposits E - E' and ends",
       5.01f,
       {UniformForStep(5.01f, 0.05f), 0.999f, 0.0f, 0.5f, 0.0f, 0.0f},
       HistoryEnd::BelowCutoff,
       6,
       (5.01 - 5.01 / (5.01 / 511.0 + 1.0)) * 0.75,
       0,
       100},
      {"escape", 60, {1e-20f, 0.0f}, HistoryEnd::Escaped, 2, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PhotonState p = ObliquePhoton(c.energy);
    DoseTally tally;
    ScriptedUniforms random(c.script);
    EXPECT_EQ(TransportPhoton(p, Tables(), TestPhantom(), random, tally), c.end);
    EXPECT_EQ(random.drawn(), c.drawn);
    EXPECT_NEAR(TallyTotal(tally, 1), c.primary, 1e-3);
    EXPECT_NEAR(TallyTotal(tally, 2), c.scattered, 1e-3);
    if (c.cellZ == 82) {
      EXPECT_GT(tally.at(1, 18, 5, 82), 0.0);
    } else if (c.cellZ == 100) {
      EXPECT_GT(tally.at(1, 11, 3, 99), 0.0);  // 0.05 cm on: (1.018, 1.024, -9.86)
    }
    if (c.scattered > 0) {
      EXPECT_GT(tally.at(2, 26, 7, 64), 0.0);
    }
  }
}

TEST(Transport, FlightAlongAnAxisEndsTheHistory) {
  PhotonState p = ObliquePhoton(60);
  p.DirCosZ = 1;
  p.DirSinZ = 0;
  DoseTally tally;
  ScriptedUniforms random({0.5f, 0.0f});
  EXPECT_EQ(TransportPhoton(p, Tables(), TestPhantom(), random, tally),
            HistoryEnd::CoordinateUnchanged);
  EXPECT_EQ(random.drawn(), 2u);
  EXPECT_EQ(TallyTotal(tally, 1), 0.0);
}

TEST(Transport, ZeroUniformForTheFlightIsRedrawnInPairs) {
  PhotonState p = ObliquePhoton(60);
  DoseTally tally;
  ScriptedUniforms random({0.0f, 0.7f, UniformForStep(60, 2.2f), 0.0f});
  EXPECT_EQ(TransportPhoton(p, Tables(), TestPhantom(), random, tally), HistoryEnd::Absorbed);
  EXPECT_EQ(random.drawn(), 4u);
  EXPECT_NEAR(tally.at(1, 18, 5, 82), 45.0, 1e-4);
}

}  // namespace
}  // namespace tsl2
