#include "beam_quality.h"

#include <cmath>

#include "spectrum_error.h"

namespace tessalin::spectrum {

BinArray Attenuate(const BinArray& fluence, const BinArray& mu, double thickness) {
  BinArray out{};
  for (int i = 0; i < BIN_COUNT; ++i) out[i] = fluence[i] * std::exp(-mu[i] * thickness);
  return out;
}

double AirKerma(const BinArray& fluence, const BinArray& airMuTr) {
  double kerma = 0.0;
  for (int i = 0; i < BIN_COUNT; ++i) kerma += fluence[i] * BinEnergy(i) * airMuTr[i];
  return kerma;
}

double MeanEnergy(const BinArray& fluence) {
  double sum = 0.0, weighted = 0.0;
  for (int i = 0; i < BIN_COUNT; ++i) {
    sum += fluence[i];
    weighted += fluence[i] * BinEnergy(i);
  }
  if (!(sum > 0.0)) throw SpectrumError("the spectrum holds no photons");
  return weighted / sum;
}

double AluminiumForKermaFraction(const BinArray& fluence, const BinArray& aluminiumMu,
                                 const BinArray& airMuTr, double fraction) {
  const double target = fraction * AirKerma(fluence, airMuTr);
  if (!(target > 0.0)) throw SpectrumError("the spectrum gives no air kerma");
  auto kermaAt = [&](double t) { return AirKerma(Attenuate(fluence, aluminiumMu, t), airMuTr); };
  // The kerma falls strictly with thickness: bracket, then bisect to far
  // below the 0.001 mm shown anywhere.
  double low = 0.0, high = 0.1;  // cm
  while (kermaAt(high) > target) {
    low = high;
    high *= 2.0;
    if (high > 1.0e4) throw SpectrumError("the air kerma does not fall with aluminium");
  }
  while (high - low > 1.0e-9) {
    const double middle = 0.5 * (low + high);
    (kermaAt(middle) > target ? low : high) = middle;
  }
  return 0.5 * (low + high);
}

BeamQuality MeasureBeamQuality(const BinArray& fluence, const BinArray& aluminiumMu,
                               const BinArray& airMuTr) {
  BeamQuality quality;
  const double half = AluminiumForKermaFraction(fluence, aluminiumMu, airMuTr, 0.5);
  const double quarter = AluminiumForKermaFraction(fluence, aluminiumMu, airMuTr, 0.25);
  quality.Hvl1 = 10.0 * half;
  quality.Hvl2 = 10.0 * (quarter - half);
  quality.MeanEnergy = MeanEnergy(fluence);
  return quality;
}

}  // namespace tessalin::spectrum
