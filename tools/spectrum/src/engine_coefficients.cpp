#include "engine_coefficients.h"

#include <fstream>

#include "fixed_format.h"
#include "spectrum_error.h"

namespace tessalin::spectrum {

namespace {

// Reads column `field` of every one of the 300 lines of file.
BinArray ReadColumn(const std::filesystem::path& file, int column, int width, int decimals) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw SpectrumError(file.string() + ": cannot be opened");
  BinArray values{};
  std::string line;
  for (int i = 0; i < BIN_COUNT; ++i) {
    if (!std::getline(in, line)) {
      throw SpectrumError(file.string() + ": ends at line " + std::to_string(i) +
                          "; 300 lines are needed");
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string field =
        line.size() >= static_cast<std::size_t>(column - 1) ? line.substr(column - 1, width) : "";
    // The engine's own field parser, so that every value is the single the
    // engine stores.
    float value = 0.0f;
    tsl2::fixed_format::FieldError fieldError;
    if (!tsl2::fixed_format::ParseFixedReal(field, decimals, value, fieldError) || value < 0.0f) {
      throw SpectrumError(file.string() + ", line " + std::to_string(i + 1) + ", columns " +
                          std::to_string(column) + "-" + std::to_string(column + width - 1) +
                          ": \"" + field + "\" is not a non-negative number");
    }
    values[i] = value;
  }
  return values;
}

}  // namespace

EngineCoefficients ReadEngineCoefficients(const std::filesystem::path& folder) {
  EngineCoefficients coefficients;
  coefficients.AluminiumMu = ReadColumn(folder / "Mus.dat", 24, 13, 5);
  coefficients.AirMuTr = ReadColumn(folder / "AirMUtr.dat", 10, 12, 4);
  for (int i = 0; i < BIN_COUNT; ++i) {
    if (coefficients.AluminiumMu[i] <= 0.0) {
      throw SpectrumError((folder / "Mus.dat").string() + ", line " + std::to_string(i + 1) +
                          ": the aluminium coefficient must be positive");
    }
  }
  coefficients.Source = "Mus.dat and AirMUtr.dat in " + folder.string();
  return coefficients;
}

std::optional<std::filesystem::path> FindEngineDataFolder(const std::filesystem::path& toolFolder) {
  namespace fs = std::filesystem;
  auto holdsBoth = [](const fs::path& folder) {
    std::error_code error;
    return fs::is_regular_file(folder / "Mus.dat", error) &&
           fs::is_regular_file(folder / "AirMUtr.dat", error);
  };
  if (holdsBoth(toolFolder)) return toolFolder;
  for (fs::path folder = toolFolder;; folder = folder.parent_path()) {
    if (holdsBoth(folder / "data")) return folder / "data";
    if (folder == folder.parent_path() || folder.empty()) break;
  }
  return std::nullopt;
}

}  // namespace tessalin::spectrum
