#include "source_sampling.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine_error.h"
#include "transport_fixtures.h"

namespace tsl2 {
namespace {

using fixtures::MakeExampleConditions;
using fixtures::ScriptedUniforms;

const TransportTables& Tables() {
  static const TransportTables tables = PrepareTransportTables(fixtures::MakeTables());
  return tables;
}

TEST(SourceSampling, WorkedExampleOfTheFirstHistory) {
  const Conditions c = MakeExampleConditions(9e8f);
  const BeamSource source(c);
  const float angle = ProjectionAngleOf(1);
  const FocalSpot focal = FocalSpotAt(angle, c.SourceAxisDistance);
  EXPECT_NEAR(focal.SourceX, 5.2293, 1e-3);
  EXPECT_NEAR(focal.SourceZ, -59.7717, 1e-3);

  RandomGenerator random;
  PhotonState photon;
  DoseTally tally;
  const HistoryStart h = StartHistory(source, Tables(), angle, focal, 120, random, photon, tally);
  ASSERT_TRUE(h.entered);
  EXPECT_NEAR(photon.PosX, 6.99, 0.005);
  EXPECT_NEAR(photon.PosY, 0.2722, 0.0001);
  EXPECT_EQ(photon.PosZ, -10.0f);
  EXPECT_NEAR(photon.DirCosZ, 0.999, 0.0005);
  EXPECT_GT(photon.DirCosZ, 0.0f);
  EXPECT_NEAR(h.LateralOffset, 7.39, 0.005);
  EXPECT_NEAR(h.AxialOffset, 0.328, 0.0005);
  EXPECT_FALSE(h.addedAirKerma);
  EXPECT_EQ(tally.AirKermaReference, 0.0);
  EXPECT_EQ(photon.PhotonEnergy, 60.0f);
  EXPECT_EQ(photon.DoseComponent, 1);
  // 7.39 lies between the rows at 5 and 10 cm: 0.3 + 0.3 * 2.39 / 5 = 0.4434
  // cm, i.e. 0.1934 cm more than the central ray.
  EXPECT_NEAR(photon.PhotonWeight, std::exp(-0.1934 * Tables().FilterMu[120]), 1e-3);
}

// Every entry point lies on the ray that was sampled, for rays of all nine
// projection steps (the last one puts the focal spot beside the phantom).
TEST(SourceSampling, EntryPointLiesOnTheSampledRay) {
  const Conditions c = MakeExampleConditions(9e8f);
  const BeamSource source(c);
  RandomGenerator random;
  DoseTally tally;
  for (int step = 1; step <= PROJECTION_STEPS; ++step) {
    SCOPED_TRACE(step);
    const float angle = ProjectionAngleOf(step);
    const FocalSpot focal = FocalSpotAt(angle, c.SourceAxisDistance);
    int entered = 0;
    for (int i = 0; i < 2000; ++i) {
      PhotonState photon;
      const HistoryStart h =
          StartHistory(source, Tables(), angle, focal, 100, random, photon, tally);
      if (!h.entered) continue;
      ++entered;
      const double dx = photon.PosX - focal.SourceX;
      const double dy = photon.PosY;
      const double dz = photon.PosZ - focal.SourceZ;
      const double inPlane = std::hypot(dx, dz);
      ASSERT_NEAR(std::atan2(dx, dz), h.RayAngle, 2e-5);
      ASSERT_NEAR(std::atan2(dy, inPlane), h.ConeAngle, 2e-5);
      // The initial direction points from the focal spot to the entry point.
      const double l = std::sqrt(dx * dx + dy * dy + dz * dz);
      ASSERT_NEAR(photon.DirCosZ, dz / l, 1e-5);
      ASSERT_NEAR(photon.DirSinZ * photon.DirCosPhi, dx / l, 1e-5);
      ASSERT_NEAR(photon.DirSinZ * photon.DirSinPhi, dy / l, 1e-5);
      // On the surface: a millimetre back along the ray is outside.
      ASSERT_FALSE(source.geometry.Inside(static_cast<float>(photon.PosX - 0.1 * dx / l),
                                          static_cast<float>(photon.PosY - 0.1 * dy / l),
                                          static_cast<float>(photon.PosZ - 0.1 * dz / l)));
      ASSERT_TRUE(source.geometry.Inside(static_cast<float>(photon.PosX + 0.1 * dx / l),
                                         static_cast<float>(photon.PosY + 0.1 * dy / l),
                                         static_cast<float>(photon.PosZ + 0.1 * dz / l)));
    }
    // A 40 cm beam on a 40 cm wide phantom: most rays enter at every step.
    EXPECT_GT(entered, 1000);
  }
}

TEST(SourceSampling, RayParallelToZWithoutConeHasAzimuthZero) {
  Conditions c = MakeExampleConditions(9e8f);
  const float angle = ProjectionAngleOf(1);
  c.FanAngle = 2.0f * angle;  // u1 = 1 then gives a fan offset equal to the angle
  c.ConeHalfAngle = 0;
  const BeamSource source(c);
  const FocalSpot focal = FocalSpotAt(angle, c.SourceAxisDistance);
  ScriptedUniforms random({1.0f, 0.0f});
  PhotonState photon;
  DoseTally tally;
  const HistoryStart h = StartHistory(source, Tables(), angle, focal, 100, random, photon, tally);
  EXPECT_EQ(h.RaySlope, 0.0f);
  ASSERT_TRUE(h.entered);
  EXPECT_EQ(photon.PosX, focal.SourceX);
  EXPECT_EQ(photon.PosZ, -10.0f);
  EXPECT_EQ(photon.DirCosZ, 1.0f);
  EXPECT_EQ(photon.DirSinZ, 0.0f);
  EXPECT_EQ(photon.DirCosPhi, 1.0f);
  EXPECT_EQ(photon.DirSinPhi, 0.0f);
}

TEST(SourceSampling, FiltrationTableLookup) {
  Conditions c =
      MakeExampleConditions(9e8f);  // rows (0, .25) (5, .3) (10, .6) (15, 1) (20, 1.5) (25, 1.5)
  struct Case {
    float offset;
    float thickness;
  } cases[] = {
      {0.0f, 0.25f},  // on the first row at position 0: no 0 / 0
      {5.0f, 0.3f},   // on a row: that row's thickness
      {7.5f, 0.45f},  // halfway
      {25.0f, 1.5f},  // the appended row
      {40.0f, 1.5f},  // past the table: the last row holds
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.offset);
    EXPECT_NEAR(RayFiltration(c, k.offset), k.thickness, 1e-6);
  }
  // A first row above position 0 interpolates from (0, 0): thinner than the
  // central ray, so the weight exceeds 1.
  c.FilterPosition[1] = 2;
  EXPECT_NEAR(RayFiltration(c, 1.0f), 0.125f, 1e-6);
}

TEST(SourceSampling, ReferenceWindowIncludesItsEdges) {
  EXPECT_TRUE(InReferenceWindow(0.5f, 0.5f));
  EXPECT_TRUE(InReferenceWindow(0.0f, 0.0f));
  EXPECT_FALSE(InReferenceWindow(std::nextafter(0.5f, 1.0f), 0.0f));
  EXPECT_FALSE(InReferenceWindow(0.0f, std::nextafter(0.5f, 1.0f)));
}

TEST(SourceSampling, CentralRayGetsWeightOneAndAddsToTheReference) {
  const Conditions c = MakeExampleConditions(9e8f);
  const BeamSource source(c);
  const float angle = ProjectionAngleOf(3);
  const FocalSpot focal = FocalSpotAt(angle, c.SourceAxisDistance);
  // u1 = 0.5 is no generator value, but a test may ask for the central ray.
  ScriptedUniforms random({0.5f, 0.0f});
  PhotonState photon;
  DoseTally tally;
  const HistoryStart h = StartHistory(source, Tables(), angle, focal, 80, random, photon, tally);
  ASSERT_TRUE(h.entered);
  EXPECT_EQ(h.LateralOffset, 0.0f);
  EXPECT_EQ(photon.PhotonWeight, 1.0f);
  EXPECT_TRUE(h.addedAirKerma);
  EXPECT_FLOAT_EQ(static_cast<float>(tally.AirKermaReference), Tables().AirMuTr[80] * 40.0f);
}

TEST(SourceSampling, BinHistories) {
  Conditions c = MakeExampleConditions(9);
  c.Spectrum.fill(0);
  c.Spectrum[100] = 1;
  EXPECT_EQ(BinHistories(c, 100), 1);
  EXPECT_EQ(BinHistories(c, 99), 0);
  c.HistoryCount = 9e8f;
  c.Spectrum[100] = 0.3f;
  EXPECT_EQ(BinHistories(c, 100), static_cast<std::int32_t>(0.3f * 9e8f / 9.0f));
  c.Spectrum[101] = 1e-9f;  // a share below 1 runs nothing
  EXPECT_EQ(BinHistories(c, 101), 0);
  c.Spectrum[301] = 1;  // never read: bin 301 lies past the 300-bin tables
  EXPECT_EQ(BinHistories(c, 301), 0);
}

TEST(SourceSampling, ConditionsTheSimulationRefuses) {
  EXPECT_NO_THROW(CheckConditionsForSimulation(MakeExampleConditions(9e8f)));
  struct Case {
    const char* what;
    float sourceAxisDistance;
    float historyCount;
    bool refused;
  } cases[] = {
      {"focal spot on the racetrack's reach", 20, 9e8f, true},
      {"focal spot inside", 15, 9e8f, true},
      {"focal spot just outside", 20.001f, 9e8f, false},
      {"a bin share beyond 2^31", 60, 1e13f, true},
      {"a product beyond the single range", 60, 3e38f, true},
      {"the largest count that fits", 60, 9e10f, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    Conditions c = MakeExampleConditions(k.historyCount);
    c.SourceAxisDistance = k.sourceAxisDistance;
    if (k.refused) {
      try {
        CheckConditionsForSimulation(c);
        ADD_FAILURE() << "not refused";
      } catch (const EngineError& e) {
        EXPECT_EQ(e.operation(), FailedOperation::Input);
        EXPECT_EQ(e.file(), "joken.dat");
      }
    } else {
      EXPECT_NO_THROW(CheckConditionsForSimulation(c));
    }
  }
}

}  // namespace
}  // namespace tsl2
