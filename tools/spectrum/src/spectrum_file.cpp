#include "spectrum_file.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "spectrum_error.h"

namespace tessalin::spectrum {

namespace {

constexpr const char* LINE_END = "\r\n";

void AppendRow(std::string& text, const std::string& head, const std::vector<double>& values,
               const char* pattern) {
  text += head;
  char field[64];
  for (double value : values) {
    std::snprintf(field, sizeof field, pattern, value);
    text += ',';
    text += field;
  }
  text += LINE_END;
}

}  // namespace

std::string FormatPosition(double position) {
  char text[64];
  for (int decimals = 1; decimals < 9; ++decimals) {
    std::snprintf(text, sizeof text, "%.*f", decimals, position);
    if (std::fabs(std::strtod(text, nullptr) - position) < 1e-9) break;
  }
  return text;
}

std::string FormatSpectrumFile(const GeneratedSpectra& spectra) {
  std::string text;
  text += spectra.Comment + LINE_END;
  text += std::to_string(spectra.Positions.size() - 1) + LINE_END;
  text += "Position(cm)";
  for (double x : spectra.Positions) text += "," + FormatPosition(x);
  text += LINE_END;
  AppendRow(text, "FanAngle(deg)", spectra.FanAngles, "%.3f");
  AppendRow(text, "Filtration(mmAl)", spectra.Filtrations, "%.3f");
  std::vector<double> row(spectra.Fluence.size());
  char energy[16];
  for (int i = 0; i < BIN_COUNT; ++i) {
    for (std::size_t j = 0; j < row.size(); ++j) row[j] = spectra.Fluence[j][i];
    std::snprintf(energy, sizeof energy, "%.1f", BinEnergy(i));
    AppendRow(text, energy, row, "%.8f");
  }
  return text;
}

void WriteSpectrumFile(const std::filesystem::path& file, const GeneratedSpectra& spectra) {
  const std::string text = FormatSpectrumFile(spectra);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) throw SpectrumError(file.string() + ": cannot be created");
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) throw SpectrumError(file.string() + ": could not be written completely");
}

}  // namespace tessalin::spectrum
