// The racetrack phantom: where a source ray enters it, whether a point lies in
// it, and the folded dose cell a point scores into.
#pragma once

#include <cmath>

#include "conditions.h"
#include "dose_tally.h"

namespace tsl2 {

struct PhantomGeometry {
  float HalfPhantomA = 0;        // cm, A: half the straight part
  float HalfPhantomB = 0;        // cm, B: half-disc radius
  float PhantomA = 0;            // cm, a = 2A
  float PhantomHalfLength = 20;  // cm

  static PhantomGeometry FromConditions(const Conditions& conditions) {
    PhantomGeometry geometry;
    geometry.HalfPhantomA = conditions.HalfPhantomA;
    geometry.HalfPhantomB = conditions.HalfPhantomB;
    geometry.PhantomA = conditions.PhantomA;
    geometry.PhantomHalfLength = conditions.PhantomHalfLength;
    return geometry;
  }

  // True when (x, y, z) (cm) lies in the phantom; the surface counts as inside.
  // The tests compare stored singles, in this order, so that a point exactly
  // on a face decides the same way on every build.
  bool Inside(float x, float y, float z) const {
    if (std::fabs(y) > PhantomHalfLength) return false;
    if (std::fabs(z) > HalfPhantomB) return false;
    const float ax = std::fabs(x);
    if (ax <= HalfPhantomA) return true;
    const float dx = ax - HalfPhantomA;
    return std::sqrt(dx * dx + z * z) <= HalfPhantomB;
  }
};

// Where a ray from the focal spot first meets the phantom surface.
struct RayEntry {
  bool hit = false;
  float X = 0;  // cm
  float Y = 0;  // cm
  float Z = 0;  // cm
};

// The ray, in the plane of rotation, as the projection loop samples it.
struct SourceRay {
  float SourceX = 0;       // cm, focal spot (SourceY is always 0)
  float SourceZ = 0;       // cm
  float RayAngle = 0;      // rad; the ray travels along (sin, cos) in (X, Z)
  float RaySlope = 0;      // tan(RayAngle): change of X per unit change of Z
  float TanConeAngle = 0;  // tan of the angle towards +Y, never negative
};

// First crossing of the ray with the phantom surface, or a miss. The entry's Y
// is tan(cone angle) times the in-plane distance from the focal spot, so that
// the point lies on the sampled ray whatever its fan angle.
RayEntry FindEntryPoint(const PhantomGeometry& geometry, const SourceRay& ray);

// Folded cell indices (1-based) of a position, valid only when onGrid.
struct CellIndex {
  bool onGrid = false;
  int CellX = 0;
  int CellY = 0;
  int CellZ = 0;
};

// Cells by the absolute coordinates: 1 mm in X and Z, 5 mm in Y. The products
// are compared as singles before any conversion, so a point far off the grid
// never reaches an out-of-range float-to-integer conversion.
inline CellIndex CellOf(float x, float y, float z) {
  CellIndex cell;
  const float py = std::fabs(y) * 2.0f;
  if (!(py < static_cast<float>(CELLS_Y))) return cell;
  const float px = std::fabs(x) * 10.0f;
  const float pz = std::fabs(z) * 10.0f;
  if (!(px < static_cast<float>(CELLS_X)) || !(pz < static_cast<float>(CELLS_Z))) return cell;
  cell.onGrid = true;
  cell.CellX = static_cast<int>(px) + 1;
  cell.CellY = static_cast<int>(py) + 1;
  cell.CellZ = static_cast<int>(pz) + 1;
  return cell;
}

}  // namespace tsl2
