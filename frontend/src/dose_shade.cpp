#include "dose_shade.h"

#include <cmath>

namespace tessalin {

int DoseShade(double d) {
  const double p = 100.0 * d;  // per cent
  // Multiply before dividing, in this order: 0.5 must give 127, not 128.
  const double s = std::floor(((100.0 - p) * 255.0) / 100.0);
  if (!(s > 0.0)) return 0;  // above 100 % (and a NaN) is pure red
  // A negative dose would go past white; a colour level cannot.
  return s >= 255.0 ? 255 : static_cast<int>(s);
}

}  // namespace tessalin
