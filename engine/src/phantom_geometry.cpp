#include "phantom_geometry.h"

#include <cmath>

#include "random_generator.h"

namespace tsl2 {
namespace {

// The quadratic in X of the line X = Xs + (Z - Zs) * m with a half-disc circle
// (X -/+ A)^2 + Z^2 = B^2. The arithmetic is in double: for a nearly
// axis-parallel ray 1 / m is large and Z = X / m - c cancels heavily, which in
// single precision would put the entry point millimetres off the surface.
struct CircleCrossing {
  bool hit = false;
  double larger = 0;   // X of the larger root
  double smaller = 0;  // X of the smaller root
};

CircleCrossing CrossCircle(double qa, double qb, double qc) {
  CircleCrossing crossing;
  const double disc = qb * qb - qc * qa * 4.0;
  if (disc <= 0.0) return crossing;  // a tangent ray misses too
  const double root = std::sqrt(disc);
  crossing.hit = true;
  crossing.larger = (root - qb) / (qa * 2.0);
  crossing.smaller = (-qb - root) / (qa * 2.0);
  return crossing;
}

// The ray's entry for RaySlope = 0: it runs parallel to Z (upwards, since the
// projection loop never samples a downward ray with slope 0), at X = Xs.
RayEntry EntryParallelToZ(const PhantomGeometry& g, const SourceRay& ray) {
  RayEntry entry;
  const float ax = std::fabs(ray.SourceX);
  float z;
  if (ax <= g.HalfPhantomA) {
    z = -g.HalfPhantomB;
  } else {
    const float dx = ax - g.HalfPhantomA;
    if (!(dx < g.HalfPhantomB)) return entry;
    z = -std::sqrt(g.HalfPhantomB * g.HalfPhantomB - dx * dx);
  }
  if (z < ray.SourceZ) return entry;  // the crossing lies behind the focal spot
  entry.hit = true;
  entry.X = ray.SourceX;
  entry.Z = z;
  return entry;
}

}  // namespace

RayEntry FindEntryPoint(const PhantomGeometry& g, const SourceRay& ray) {
  if (ray.RaySlope == 0.0f) {
    RayEntry entry = EntryParallelToZ(g, ray);
    entry.Y = ray.TanConeAngle * (entry.Z - ray.SourceZ);
    return entry;
  }
  const double m = ray.RaySlope;
  const double xs = ray.SourceX;
  const double zs = ray.SourceZ;
  const double bigA = g.HalfPhantomA;
  const double bigB = g.HalfPhantomB;
  const double a = g.PhantomA;
  const double c = xs / m - zs;  // the ray is Z = X / m - c
  const double qa = 1.0 / (m * m) + 1.0;
  const double qcCommon = (bigA * bigA - bigB * bigB) + c * c;
  // The crossing reached first: the larger X when the ray runs towards -X.
  const bool towardsNegativeX = ray.RayAngle < 0.0f;

  double xe = 0;
  double ze = 0;
  if (ray.SourceZ >= -g.HalfPhantomB) {
    // Side case: only the half-disc on the +X side can be reached.
    const CircleCrossing crossing = CrossCircle(qa, -(c * (2.0 / m) + a), qcCommon);
    if (!crossing.hit) return {};
    xe = towardsNegativeX ? crossing.larger : crossing.smaller;
    ze = xe / m - c;
    // A crossing behind the focal spot is no entry (the focal spot is outside
    // the convex cross-section, so then both crossings lie behind it). In the
    // below case every crossing lies above the focal spot, hence ahead.
    if (towardsNegativeX ? xe > xs : xe < xs) return {};
  } else {
    if (ray.RayAngle <= -(Pi * 0.5f)) return {};  // not travelling up to the phantom
    const float bottomCrossingX = static_cast<float>(((-bigB - zs) + xs / m) * m);
    if (-g.HalfPhantomA <= bottomCrossingX && bottomCrossingX <= g.HalfPhantomA) {
      xe = bottomCrossingX;
      ze = -bigB;
    } else if (bottomCrossingX < -g.HalfPhantomA) {
      const CircleCrossing crossing = CrossCircle(qa, a - c * (2.0 / m), qcCommon);
      if (!crossing.hit) return {};
      xe = crossing.larger;
      ze = xe / m - c;
    } else {
      const CircleCrossing crossing = CrossCircle(qa, -(c * (2.0 / m) + a), qcCommon);
      if (!crossing.hit) return {};
      xe = towardsNegativeX ? crossing.larger : crossing.smaller;
      ze = xe / m - c;
    }
  }

  RayEntry entry;
  entry.hit = true;
  entry.X = static_cast<float>(xe);
  entry.Z = static_cast<float>(ze);
  const float dx = entry.X - ray.SourceX;
  const float dz = entry.Z - ray.SourceZ;
  entry.Y = ray.TanConeAngle * std::sqrt(dx * dx + dz * dz);
  return entry;
}

}  // namespace tsl2
