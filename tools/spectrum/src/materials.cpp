#include "materials.h"

#include <cctype>
#include <string>

#include "csv_table.h"
#include "embedded_data.h"
#include "spectrum_error.h"

namespace tessalin::spectrum {

namespace {

struct MaterialInfo {
  Material Kind;
  std::string_view Name;
  std::string_view Column;
  double Density;  // g/cm^3
};

// Densities as used with the table in the research note (data/README.md).
constexpr MaterialInfo MATERIALS[] = {
    {Material::Al, "Al", "mu_rho_Al_cm2g", 2.699},
    {Material::Cu, "Cu", "mu_rho_Cu_cm2g", 8.96},
    {Material::Sn, "Sn", "mu_rho_Sn_cm2g", 7.31},
    {Material::Be, "Be", "mu_rho_Be_cm2g", 1.848},
    {Material::C, "C", "mu_rho_C_cm2g", 1.70},
    {Material::PTFE, "PTFE", "mu_rho_PTFE_cm2g", 2.20},
    {Material::Water, "water", "mu_rho_Water_cm2g", 1.00},
};

const MaterialInfo& Info(Material material) { return MATERIALS[static_cast<int>(material)]; }

const CsvTable& AttenuationTable() {
  static const CsvTable table = [] {
    CsvTable csv = ParseCsv("mu_rho_0p5keV_bins.csv", EmbeddedText(EmbeddedFile::Attenuation));
    if (csv.Rows.size() != BIN_COUNT) throw SpectrumError(csv.Name + ": expected 300 rows");
    return csv;
  }();
  return table;
}

BinArray ColumnTimes(std::string_view heading, double factor) {
  const CsvTable& table = AttenuationTable();
  const int column = table.Column(heading);
  BinArray values{};
  for (int i = 0; i < BIN_COUNT; ++i) values[i] = table.Rows[i][column] * factor;
  return values;
}

std::string Lower(std::string_view text) {
  std::string lower;
  for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

}  // namespace

std::string_view MaterialName(Material material) { return Info(material).Name; }

std::optional<Material> ParseMaterial(std::string_view text) {
  const std::string lower = Lower(text);
  if (lower == "graphite") return Material::C;
  for (const auto& info : MATERIALS) {
    if (lower == Lower(info.Name)) return info.Kind;
  }
  return std::nullopt;
}

double MaterialDensity(Material material) { return Info(material).Density; }

BinArray TableLinearMu(Material material) {
  return ColumnTimes(Info(material).Column, Info(material).Density);
}

BinArray TableAirMuTr() { return ColumnTimes("mutr_rho_Air_cm2g", 1.0); }

}  // namespace tessalin::spectrum
