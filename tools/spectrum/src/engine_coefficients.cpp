#include "engine_coefficients.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>

#include "spectrum_error.h"

namespace tessalin::spectrum {

namespace {

bool ParseDigits(std::string_view text, double& value) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.') return false;
  }
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

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
    double value = 0.0;
    if (!ParseFixedField(field, decimals, value) || !std::isfinite(value) || value < 0.0) {
      throw SpectrumError(file.string() + ", line " + std::to_string(i + 1) + ", columns " +
                          std::to_string(column) + "-" + std::to_string(column + width - 1) +
                          ": \"" + field + "\" is not a non-negative number");
    }
    // The engine stores its tables in single precision.
    values[i] = static_cast<float>(value);
  }
  return values;
}

}  // namespace

bool ParseFixedField(std::string_view field, int d, double& value) {
  std::string text;
  for (char c : field) {
    if (c != ' ') text += c;
  }
  if (text.empty()) {
    value = 0.0;
    return true;
  }
  double sign = 1.0;
  if (text[0] == '+' || text[0] == '-') {
    if (text[0] == '-') sign = -1.0;
    text.erase(0, 1);
  }
  // The exponent starts at E or D, or at a sign after the mantissa.
  std::size_t exponentAt = text.find_first_of("EeDd+-");
  std::string mantissa = text.substr(0, exponentAt);
  int exponent = 0;
  if (exponentAt != std::string::npos) {
    std::string_view rest(text);
    rest.remove_prefix(exponentAt);
    if (rest[0] != '+' && rest[0] != '-') rest.remove_prefix(1);
    if (!rest.empty() && rest[0] == '+') rest.remove_prefix(1);
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), exponent);
    if (rest.empty() || error != std::errc() || end != rest.data() + rest.size()) return false;
  }
  double magnitude = 0.0;
  if (!ParseDigits(mantissa, magnitude)) return false;
  if (mantissa.find('.') == std::string::npos) exponent -= d;
  value = sign * magnitude * std::pow(10.0, exponent);
  return std::isfinite(value);
}

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
