// The energy binning of spectrum files and of the engine: bin k = 1..300
// stands for the photon energy 0.5 k keV and is 0.5 keV wide.
#pragma once

#include <array>

namespace tessalin::spectrum {

inline constexpr int BIN_COUNT = 300;
inline constexpr double BIN_WIDTH = 0.5;  // keV

// One value per bin; element i holds bin k = i + 1.
using BinArray = std::array<double, BIN_COUNT>;

// Energy of the element i of a BinArray, keV.
constexpr double BinEnergy(int i) { return BIN_WIDTH * (i + 1); }

}  // namespace tessalin::spectrum
