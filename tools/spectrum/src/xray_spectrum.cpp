#include "xray_spectrum.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>

#include "csv_table.h"
#include "embedded_data.h"
#include "spectrum_error.h"

namespace tessalin::spectrum {

namespace {

// One model's spectra at whole kV values, per 1 keV interval.
struct ModelTable {
  std::vector<double> Low;   // keV
  std::vector<double> High;  // keV
  // Fluence(kV) for whole kV from the model's low end.
  std::vector<std::vector<double>> ByKv;
  int FirstKv = 0;
};

ModelTable LoadTasmics() {
  const CsvTable csv =
      ParseCsv("tasmics_W_unfiltered_20-150kV_1keV.csv", EmbeddedText(EmbeddedFile::Tasmics));
  ModelTable table;
  table.FirstKv = 20;
  const int lowColumn = csv.Column("E_low_keV");
  const int highColumn = csv.Column("E_high_keV");
  for (const auto& row : csv.Rows) {
    table.Low.push_back(row[lowColumn]);
    table.High.push_back(row[highColumn]);
  }
  for (int kv = 20; kv <= 150; ++kv) {
    const int column = csv.Column("kV" + std::to_string(kv));
    std::vector<double> fluence;
    for (const auto& row : csv.Rows) fluence.push_back(row[column]);
    table.ByKv.push_back(std::move(fluence));
  }
  return table;
}

ModelTable LoadTasmip() {
  const CsvTable csv = ParseCsv("tasmip_W_coefficients.csv", EmbeddedText(EmbeddedFile::Tasmip));
  ModelTable table;
  table.FirstKv = 30;
  const int energyColumn = csv.Column("row_E_keV");
  const int a0 = csv.Column("a0"), a1 = csv.Column("a1"), a2 = csv.Column("a2"),
            a3 = csv.Column("a3");
  // Row E is the 1 keV interval [E - 1, E]: only so does the polynomial
  // reach zero at E = kV (see data/README.md).
  for (const auto& row : csv.Rows) {
    table.Low.push_back(row[energyColumn] - 1.0);
    table.High.push_back(row[energyColumn]);
  }
  for (int kv = 30; kv <= 140; ++kv) {
    std::vector<double> fluence;
    const double v = kv;
    for (const auto& row : csv.Rows) {
      double value = row[a0] + row[a1] * v + row[a2] * v * v + row[a3] * v * v * v;
      if (row[energyColumn] > v || value < 0.0) value = 0.0;
      fluence.push_back(value);
    }
    table.ByKv.push_back(std::move(fluence));
  }
  return table;
}

const ModelTable& Table(TubeModel model) {
  static const ModelTable tasmics = LoadTasmics();
  static const ModelTable tasmip = LoadTasmip();
  return model == TubeModel::Tasmics ? tasmics : tasmip;
}

}  // namespace

KvRange ModelKvRange(TubeModel model) {
  return model == TubeModel::Tasmics ? KvRange{20.0, 150.0} : KvRange{30.0, 140.0};
}

std::string_view ModelName(TubeModel model) {
  return model == TubeModel::Tasmics ? "TASMICS" : "TASMIP";
}

std::optional<TubeModel> ParseModel(std::string_view text) {
  std::string lower;
  for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "tasmics") return TubeModel::Tasmics;
  if (lower == "tasmip") return TubeModel::Tasmip;
  return std::nullopt;
}

BinArray RebinToHalfKeV(const std::vector<double>& low, const std::vector<double>& high,
                        const std::vector<double>& fluence) {
  BinArray bins{};
  for (std::size_t n = 0; n < fluence.size(); ++n) {
    const double width = high[n] - low[n];
    if (fluence[n] == 0.0 || width <= 0.0) continue;
    for (int i = 0; i < BIN_COUNT; ++i) {
      const double binLow = BinEnergy(i) - 0.5 * BIN_WIDTH;
      const double binHigh = BinEnergy(i) + 0.5 * BIN_WIDTH;
      const double overlap = std::min(high[n], binHigh) - std::max(low[n], binLow);
      if (overlap > 0.0) bins[i] += fluence[n] * overlap / width;
    }
  }
  return bins;
}

BinArray UnfilteredSpectrum(TubeModel model, double kv) {
  const KvRange range = ModelKvRange(model);
  if (!std::isfinite(kv) || kv < range.Low || kv > range.High) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "tube voltage %g kV is outside the %s model's range of %g to %g kV", kv,
                  std::string(ModelName(model)).c_str(), range.Low, range.High);
    throw SpectrumError(text);
  }
  const ModelTable& table = Table(model);
  const int lowKv = static_cast<int>(std::floor(kv));
  const int highKv = std::min(lowKv + 1, static_cast<int>(range.High));
  const double weight = kv - lowKv;
  const auto& lower = table.ByKv[lowKv - table.FirstKv];
  const auto& upper = table.ByKv[highKv - table.FirstKv];
  std::vector<double> blended(lower.size());
  for (std::size_t n = 0; n < lower.size(); ++n)
    blended[n] = (1.0 - weight) * lower[n] + weight * upper[n];
  return RebinToHalfKeV(table.Low, table.High, blended);
}

}  // namespace tessalin::spectrum
