// A smooth, plausible dose for a 20 x 20 cm racetrack: primary falling off
// with depth and along the body axis, scatter broad and flat. Only for the
// benchmark and for looking at the viewer before an engine result exists.
#pragma once

#include <algorithm>
#include <cmath>

namespace tessalin::bench {

inline double SyntheticDose(int c, int ix, int iy, int iz) {
  const double x = ix - 0.5, z = iz - 0.5;  // mm from the centre
  const double a = 100, b = 100;            // half straight part, radius (mm)
  double depth;                             // mm below the surface, negative outside
  if (x <= a) {
    depth = b - z;
  } else {
    depth = b - std::hypot(x - a, z);
  }
  if (depth < 0) return 0;
  const double y = 5.0 * iy - 2.5;                              // mm along the body axis
  const double beam = y < 50 ? 1.0 : std::exp(-(y - 50) / 25);  // 10 cm wide beam
  if (c == 1) return 1.15 * std::exp(-depth / 45) * beam;
  const double centre = std::hypot(x, z) / 200;
  return 0.35 * (1 - 0.4 * centre) * std::max(beam, std::exp(-y / 120)) *
         (1 - std::exp(-(depth + 2) / 8));
}

}  // namespace tessalin::bench
