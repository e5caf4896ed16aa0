// The aluminium attenuation and air energy-transfer coefficients the engine
// uses, read from its own Mus.dat and AirMUtr.dat, so that the spectra and
// filtrations written here are attenuated exactly as the engine attenuates.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "energy_grid.h"

namespace tessalin::spectrum {

struct EngineCoefficients {
  BinArray AluminiumMu{};  // 1/cm, Mus.dat column 3 (the engine's FilterMu)
  BinArray AirMuTr{};      // cm^2/g, AirMUtr.dat column 2
  std::string Source;      // where they came from, for the report
};

// Reads folder/Mus.dat and folder/AirMUtr.dat in the engine's fixed columns
// (Mus.dat: field 3, columns 24-36, E13.5; AirMUtr.dat: field 2, columns
// 10-21, E12.4), keeping single precision as the engine does. Throws
// SpectrumError naming the file, line and field at fault.
EngineCoefficients ReadEngineCoefficients(const std::filesystem::path& folder);

// The first folder holding both files: toolFolder itself (the engine's
// working folder), then the data/ folder of toolFolder and of each folder
// above it.
std::optional<std::filesystem::path> FindEngineDataFolder(const std::filesystem::path& toolFolder);

}  // namespace tessalin::spectrum
