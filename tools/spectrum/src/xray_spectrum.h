// Unfiltered tungsten-anode spectra from the two model tables, on the 0.5 keV
// bins of the spectrum file.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "energy_grid.h"

namespace tessalin::spectrum {

enum class TubeModel {
  Tasmics,  // Hernandez & Boone 2014, 20-150 kV, 0.8 mm Be inherent
  Tasmip,   // Boone & Seibert 1997, 30-140 kV, about 1.6 mm Al more inherent filtration
};

struct KvRange {
  double Low;   // kV
  double High;  // kV
};

KvRange ModelKvRange(TubeModel model);
std::string_view ModelName(TubeModel model);  // "TASMICS", "TASMIP"
// Accepts the names above in any case.
std::optional<TubeModel> ParseModel(std::string_view text);

// Photon fluence per 0.5 keV bin (photons / mm^2 / mAs at 100 cm) of the
// unfiltered beam at tube voltage kv. Between whole kV values the two
// neighbouring spectra are blended linearly. Throws SpectrumError when kv
// lies outside the model's range.
BinArray UnfilteredSpectrum(TubeModel model, double kv);

// Collects fluence given per energy interval [low[n], high[n]] keV into the
// file's bins: bin k covers [0.5 k - 0.25, 0.5 k + 0.25] keV and receives each
// interval's fluence in proportion to the overlap, as if the fluence were
// spread evenly over its interval. Total fluence is kept for intervals inside
// 0.25 to 150.25 keV.
BinArray RebinToHalfKeV(const std::vector<double>& low, const std::vector<double>& high,
                        const std::vector<double>& fluence);

}  // namespace tessalin::spectrum
