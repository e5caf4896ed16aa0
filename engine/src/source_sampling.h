// The X-ray source: focal spot of each projection step, the histories of an
// energy bin, and the start of one history (ray sampling, entry point,
// direction, filtration weight and the air-kerma reference contribution).
#pragma once

#include <cmath>
#include <cstdint>

#include "conditions.h"
#include "dose_scoring.h"
#include "dose_tally.h"
#include "phantom_geometry.h"
#include "photon_transport.h"
#include "random_generator.h"
#include "transport_tables.h"

namespace tsl2 {

inline constexpr int PROJECTION_STEPS = 9;   // 5, 15, ..., 85 degrees
inline constexpr int FIRST_ENERGY_BIN = 10;  // 5 keV: lower bins never run

// Refuses, before the first prompt, the jobs the simulation cannot run
// soundly: a focal spot inside the phantom's cross-section, and an energy bin
// whose share of the histories does not fit a 32-bit count. Throws
// EngineError (Input, "joken.dat").
void CheckConditionsForSimulation(const Conditions& conditions);

// Histories of one (step, bin) pair: the bin's share of a ninth of the run,
// truncated. 0 for bins past the 300-bin tables and for shares below 1.
// Assumes CheckConditionsForSimulation has passed.
std::int32_t BinHistories(const Conditions& conditions, int energyBin);

// The source angle of a projection step (rad).
inline float ProjectionAngleOf(int angleStep) {
  return static_cast<float>(10 * angleStep - 5) * Pi / 180.0f;
}

struct FocalSpot {
  float SourceX = 0;  // cm
  float SourceZ = 0;  // cm (SourceY is always 0)
};

inline FocalSpot FocalSpotAt(float projectionAngle, float sourceAxisDistance) {
  return {std::sin(projectionAngle) * sourceAxisDistance,
          -(std::cos(projectionAngle) * sourceAxisDistance)};
}

// Filtration thickness (cm of filter material) on a ray passing the centre at
// lateralOffset (cm at the source-axis distance), interpolated in the table
// whose row 0 is (0, 0). Past the last row the last thickness holds; an
// offset on a row's position takes that row's thickness.
float RayFiltration(const Conditions& conditions, float lateralOffset);

// The per-history quantities a test may want to look at.
struct HistoryStart {
  bool entered = false;
  float FanOffsetAngle = 0;  // rad
  float ConeAngle = 0;       // rad
  float RayAngle = 0;        // rad
  float RaySlope = 0;
  float LateralOffset = 0;  // cm
  float AxialOffset = 0;    // cm
  bool addedAirKerma = false;
};

// Run-wide source data derived once from the conditions.
struct BeamSource {
  explicit BeamSource(const Conditions& c)
      : conditions(c), geometry(PhantomGeometry::FromConditions(c)) {}
  const Conditions& conditions;
  PhantomGeometry geometry;
};

// Starts one history of energyBin from the focal spot: two draws, the ray, its
// entry point and, when it enters, the photon state, its weight and the
// reference contribution. photon is ready for transport when entered is true.
template <class Uniforms>
HistoryStart StartHistory(const BeamSource& source, const TransportTables& tables,
                          float projectionAngle, FocalSpot focal, int energyBin, Uniforms& random,
                          PhotonState& photon, DoseTally& tally) {
  const Conditions& c = source.conditions;
  HistoryStart h;
  photon.PhotonEnergy = static_cast<float>(energyBin) * 0.5f;
  const float u1 = random.NextUniform();
  const float u2 = random.NextUniform();
  h.FanOffsetAngle = (u1 - 0.5f) * c.FanAngle;
  h.ConeAngle = u2 * c.ConeHalfAngle;
  h.RayAngle = -projectionAngle + h.FanOffsetAngle;
  h.RaySlope = std::tan(h.RayAngle);
  const float tanCone = std::tan(h.ConeAngle);

  SourceRay ray;
  ray.SourceX = focal.SourceX;
  ray.SourceZ = focal.SourceZ;
  ray.RayAngle = h.RayAngle;
  ray.RaySlope = h.RaySlope;
  ray.TanConeAngle = tanCone;
  const RayEntry entry = FindEntryPoint(source.geometry, ray);
  if (!entry.hit) return h;
  h.entered = true;
  photon.PosX = entry.X;
  photon.PosY = entry.Y;
  photon.PosZ = entry.Z;

  const float dX = photon.PosX - focal.SourceX;
  const float dY = photon.PosY;
  const float dZ = photon.PosZ - focal.SourceZ;
  const float lxy = std::sqrt(dY * dY + dX * dX);
  const float l = std::sqrt(dY * dY + dZ * dZ + dX * dX);
  photon.DirCosZ = dZ / l;
  photon.DirSinZ = lxy / l;
  if (lxy == 0.0f) {
    // A ray along Z has no azimuth of its own.
    photon.DirCosPhi = 1.0f;
    photon.DirSinPhi = 0.0f;
  } else {
    photon.DirCosPhi = dX / lxy;
    photon.DirSinPhi = dY / lxy;
  }

  h.LateralOffset = std::fabs(std::tan(h.FanOffsetAngle) * c.SourceAxisDistance);
  h.AxialOffset = tanCone * c.SourceAxisDistance;
  const float extraFiltration = RayFiltration(c, h.LateralOffset) - c.FilterThickness[1];
  photon.PhotonWeight = std::exp(-(extraFiltration * tables.FilterMu[energyBin]));
  if (InReferenceWindow(h.LateralOffset, h.AxialOffset)) {
    AddAirKerma(tally, tables.AirMuTr[energyBin], photon.PhotonEnergy, photon.PhotonWeight);
    h.addedAirKerma = true;
  }
  photon.DoseComponent = 1;
  return h;
}

}  // namespace tsl2
