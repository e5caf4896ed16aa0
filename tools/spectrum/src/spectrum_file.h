// The spectrum file the setup window loads: ASCII, CR LF line ends, no
// trailing commas.
//   line 1      comment
//   line 2      N, the last direction index
//   line 3      Position(cm),x0,...,xN
//   line 4      FanAngle(deg),a0,...,aN        (read and not used)
//   line 5      Filtration(mmAl),F0,...,FN
//   lines 6-305 E,phi0,...,phiN for E = 0.5, 1.0, ..., 150.0 keV
#pragma once

#include <filesystem>
#include <string>

#include "spectrum_generator.h"

namespace tessalin::spectrum {

// The whole file as text.
std::string FormatSpectrumFile(const GeneratedSpectra& spectra);

// Writes the file; throws SpectrumError when it cannot be written.
void WriteSpectrumFile(const std::filesystem::path& file, const GeneratedSpectra& spectra);

// A position in the fewest decimals (at least one) that keep its value to
// 1e-9 cm: 0.0, 12.5, 0.25.
std::string FormatPosition(double position);

}  // namespace tessalin::spectrum
