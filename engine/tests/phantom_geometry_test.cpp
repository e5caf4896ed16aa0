#include "phantom_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tsl2 {
namespace {

PhantomGeometry Racetrack(float a, float b) {
  PhantomGeometry g;
  g.PhantomA = a;
  g.HalfPhantomA = a * 0.5f;
  g.HalfPhantomB = b * 0.5f;
  return g;
}

// A ray from (xs, zs) travelling along (sin psi, cos psi) in (X, Z).
SourceRay Ray(float xs, float zs, double psi, float tanCone = 0) {
  SourceRay r;
  r.SourceX = xs;
  r.SourceZ = zs;
  r.RayAngle = static_cast<float>(psi);
  r.RaySlope = std::tan(r.RayAngle);
  r.TanConeAngle = tanCone;
  return r;
}

// The ray angle from (xs, zs) towards (x, z).
double Towards(float xs, float zs, double x, double z) { return std::atan2(x - xs, z - zs); }

TEST(PhantomGeometry, InsideTest) {
  const PhantomGeometry g = Racetrack(20, 20);  // A = 10, B = 10
  struct Case {
    float x, y, z;
    bool inside;
  } cases[] = {
      {0, 0, 0, true},
      {10, 0, 10, true},  // |Z| = B above the straight part
      {-10, 0, -10, true},
      {0, 20, 0, true},  // |Y| = 20 is inside
      {0, 20.001f, 0, false},
      {0, 0, 10.001f, false},
      {20, 0, 0, true},
      {20.001f, 0, 0, false},  // tip of the half-disc
      {17.07f, 0, 7.07f, true},
      {17.08f, 0, 7.08f, false},  // near 45 degrees on the disc
      {-17.08f, -3, -7.08f, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y << ", " << c.z);
    EXPECT_EQ(g.Inside(c.x, c.y, c.z), c.inside);
  }
  // a = 0: a circle of diameter b.
  const PhantomGeometry circle = Racetrack(0, 20);
  EXPECT_TRUE(circle.Inside(7.07f, 0, -7.07f));
  EXPECT_FALSE(circle.Inside(7.08f, 0, -7.08f));
  EXPECT_FALSE(circle.Inside(10.001f, 0, 0));
}

TEST(PhantomGeometry, CellIndices) {
  struct Case {
    float x, y, z;
    bool onGrid;
    int cx, cy, cz;
  } cases[] = {
      {-3.27f, 7.9f, -0.05f, true, 33, 16, 1},
      {-0.05f, -19.9f, 0.05f, true, 1, 40, 1},
      {0, 0, 0, true, 1, 1, 1},
      {19.99f, 19.99f, 9.99f, true, 200, 40, 100},
      {0, 20, 0, false, 0, 0, 0},     // index 41
      {20, 0, 0, false, 0, 0, 0},     // index 201
      {0, 0, -10, false, 0, 0, 0},    // index 101
      {3e30f, 0, 0, false, 0, 0, 0},  // far beyond any integer
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y << ", " << c.z);
    const CellIndex cell = CellOf(c.x, c.y, c.z);
    EXPECT_EQ(cell.onGrid, c.onGrid);
    if (c.onGrid) {
      EXPECT_EQ(cell.CellX, c.cx);
      EXPECT_EQ(cell.CellY, c.cy);
      EXPECT_EQ(cell.CellZ, c.cz);
    }
  }
}

TEST(PhantomGeometry, EntryPoints) {
  struct Case {
    const char* what;
    float a, b;     // phantom
    float xs, zs;   // focal spot
    double tx, tz;  // a point the ray aims at
    bool hit;
    double xe, ze;  // expected entry
  } cases[] = {
      // Circle (a = 0), ray through the centre from below: 10 cm before it.
      {"circle, central ray", 0, 20, 5.2293f, -59.7717f, 0, 0, true, 5.2293 / 6, -59.7717 / 6},
      {"bottom face", 20, 20, 5.2293f, -59.7717f, 3, 0, true, 5.2293 - 2.2293 * 49.7717 / 59.7717,
       -10},
      {"left half-disc from below", 20, 20, 5.2293f, -59.7717f, -14, 0, true, 0, 0},
      {"right half-disc from below, ray towards -X", 20, 20, 40, -50, 10, 0, true, 0, 0},
      {"right half-disc from below, ray towards +X", 20, 20, 5, -50, 16, 0, true, 0, 0},
      {"side case", 20, 20, 59.772f, -5.229f, 10, 0, true, 0, 0},
      {"side case, spot on Z = -B", 20, 20, 30, -10, 10, 0, true, 10 + 10 * 20 / std::sqrt(500.0),
       -10 * 10 / std::sqrt(500.0)},
      {"miss beside the right disc", 20, 20, 5.2293f, -59.7717f, 26, 0, false, 0, 0},
      {"miss beside the left disc", 20, 20, 5.2293f, -59.7717f, -30, 10, false, 0, 0},
      {"side case, ray away from the phantom", 20, 20, 59.772f, -5.229f, 109.544, -10.458, false, 0,
       0},
      {"side case, ray passing above", 20, 20, 59.772f, -5.229f, 0, 18, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PhantomGeometry g = Racetrack(c.a, c.b);
    const double psi = Towards(c.xs, c.zs, c.tx, c.tz);
    const RayEntry e = FindEntryPoint(g, Ray(c.xs, c.zs, psi, 0.1f));
    ASSERT_EQ(e.hit, c.hit);
    if (!c.hit) continue;
    if (c.xe != 0 || c.ze != 0) {
      EXPECT_NEAR(e.X, c.xe, 2e-4);
      EXPECT_NEAR(e.Z, c.ze, 2e-4);
    }
    // On the surface: a step on is inside, a step back is outside.
    for (double step : {1e-3, -1e-3}) {
      const float px = static_cast<float>(e.X + step * std::sin(psi));
      const float pz = static_cast<float>(e.Z + step * std::cos(psi));
      EXPECT_EQ(g.Inside(px, 0, pz), step > 0) << step;
    }
    // On the ray, and Y from the in-plane distance travelled.
    EXPECT_NEAR(std::atan2(e.X - c.xs, e.Z - c.zs), psi, 1e-5);
    EXPECT_NEAR(e.Y, 0.1 * std::hypot(e.X - c.xs, e.Z - c.zs), 1e-4);
  }
}

TEST(PhantomGeometry, BottomCrossingAtTheCornersEntersTheBottomFace) {
  const PhantomGeometry g = Racetrack(20, 20);
  // Slope -0.5 (towards -X): from Z = -60 to Z = -10 X falls by 25.
  for (float xs : {35.0f, 15.0f}) {
    SCOPED_TRACE(xs);
    SourceRay ray;
    ray.SourceX = xs;
    ray.SourceZ = -60;
    ray.RaySlope = -0.5f;
    ray.RayAngle = std::atan(-0.5f);
    const RayEntry e = FindEntryPoint(g, ray);
    ASSERT_TRUE(e.hit);
    EXPECT_EQ(e.X, xs - 25.0f);
    EXPECT_EQ(e.Z, -10.0f);
  }
}

TEST(PhantomGeometry, TangentRaysMiss) {
  const PhantomGeometry circle = Racetrack(0, 20);
  // A ray parallel to Z touching the circle at X = B (slope 0, no formula
  // divides by it).
  SourceRay vertical;
  vertical.SourceX = 10;
  vertical.SourceZ = -60;
  EXPECT_FALSE(FindEntryPoint(circle, vertical).hit);
  vertical.SourceX = 9.99f;
  EXPECT_TRUE(FindEntryPoint(circle, vertical).hit);
  // A slanted ray whose distance from the centre is B: it misses (up to the
  // rounding of the angle), while one a hair inside hits.
  const float xs = 20, zs = -40;
  const double distance = std::hypot(xs, zs);
  const double central = Towards(xs, zs, 0, 0);
  const double tangent = central + std::asin(10 / distance);
  EXPECT_FALSE(FindEntryPoint(circle, Ray(xs, zs, tangent + 1e-6)).hit);
  EXPECT_TRUE(FindEntryPoint(circle, Ray(xs, zs, tangent - 1e-4)).hit);
}

TEST(PhantomGeometry, RayParallelToZEntersDirectly) {
  const PhantomGeometry g = Racetrack(20, 20);
  struct Case {
    float xs;
    bool hit;
    float ze;
  } cases[] = {{5, true, -10}, {10, true, -10}, {15, true, -std::sqrt(75.0f)}, {25, false, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xs);
    SourceRay ray;
    ray.SourceX = c.xs;
    ray.SourceZ = -60;
    ray.TanConeAngle = 0.05f;
    const RayEntry e = FindEntryPoint(g, ray);
    ASSERT_EQ(e.hit, c.hit);
    if (!c.hit) continue;
    EXPECT_EQ(e.X, c.xs);
    EXPECT_FLOAT_EQ(e.Z, c.ze);
    EXPECT_FLOAT_EQ(e.Y, 0.05f * (c.ze + 60));
  }
}

}  // namespace
}  // namespace tsl2
