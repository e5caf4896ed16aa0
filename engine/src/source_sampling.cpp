#include "source_sampling.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <string>

#include "engine_error.h"

namespace tsl2 {
namespace {

constexpr float COUNT_LIMIT = 2147483648.0f;  // 2^31

int LastEnergyBinRun(const Conditions& conditions) {
  return std::min(conditions.TopEnergyBin, ENERGY_BINS);
}

int LastFilterRow(const Conditions& conditions) {
  return std::clamp(conditions.FilterRowCount + 2, 1,
                    static_cast<int>(conditions.FilterPosition.size()) - 1);
}

}  // namespace

void CheckConditionsForSimulation(const Conditions& c) {
  // Every point of the racetrack lies within A + B of the centre, so a focal
  // spot farther out is outside it at every projection angle.
  const float reach = c.HalfPhantomA + c.HalfPhantomB;
  if (!(c.SourceAxisDistance > reach)) {
    char reason[200];
    std::snprintf(reason, sizeof reason,
                  "the focal spot lies inside the phantom: SourceAxisDistance %g cm is not "
                  "greater than (a + b) / 2 = %g cm",
                  static_cast<double>(c.SourceAxisDistance), static_cast<double>(reach));
    throw EngineError(FailedOperation::Input, "joken.dat", reason);
  }
  for (int bin = FIRST_ENERGY_BIN; bin <= LastEnergyBinRun(c); ++bin) {
    // The product is checked in double first: in single precision it could
    // overflow, which the floating-point traps would turn into a stop.
    const double product = static_cast<double>(c.Spectrum[bin]) * c.HistoryCount;
    bool tooLarge = !(std::fabs(product) <= FLT_MAX);
    if (!tooLarge) tooLarge = !(c.Spectrum[bin] * c.HistoryCount / 9.0f < COUNT_LIMIT);
    if (tooLarge) {
      char reason[200];
      std::snprintf(reason, sizeof reason,
                    "energy bin %d would run %.4g histories per projection step, more than "
                    "a 32-bit count holds (HistoryCount %.4g)",
                    bin, product / 9.0, static_cast<double>(c.HistoryCount));
      throw EngineError(FailedOperation::Input, "joken.dat", reason);
    }
  }
}

std::int32_t BinHistories(const Conditions& c, int energyBin) {
  if (energyBin > ENERGY_BINS) return 0;
  const float share = c.Spectrum[energyBin] * c.HistoryCount / 9.0f;
  if (!(share >= 1.0f)) return 0;
  return static_cast<std::int32_t>(share);
}

float RayFiltration(const Conditions& c, float lateralOffset) {
  const int last = LastFilterRow(c);
  const auto& position = c.FilterPosition;
  const auto& thickness = c.FilterThickness;
  int j = 1;
  while (j <= last && !(position[j] >= lateralOffset)) ++j;
  if (j > last) return thickness[last];
  // Only an offset of 0 on a first row at position 0 meets a zero-width
  // interval (0 / 0); it is that row's direction.
  if (position[j] == position[j - 1]) return thickness[j];
  return (thickness[j] - thickness[j - 1]) * (lateralOffset - position[j - 1]) /
             (position[j] - position[j - 1]) +
         thickness[j - 1];
}

}  // namespace tsl2
