#include "spectrum_generator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "spectrum_error.h"

namespace tessalin::spectrum {

namespace {

constexpr double PI = 3.14159265358979323846;

std::string Format(const char* pattern, double value) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

double RoundTo(double value, double step) { return std::round(value / step) * step; }

// The central spectrum behind the flat filters only; aluminium with the
// engine's coefficients, the other materials from the built-in table.
BinArray FlatFiltered(const BinArray& unfiltered, const std::vector<FlatFilter>& filters,
                      const EngineCoefficients& coefficients) {
  BinArray fluence = unfiltered;
  for (const FlatFilter& filter : filters) {
    const BinArray mu =
        filter.Kind == Material::Al ? coefficients.AluminiumMu : TableLinearMu(filter.Kind);
    fluence = Attenuate(fluence, mu, 0.1 * filter.Thickness);
  }
  return fluence;
}

std::string MakeComment(const GeneratorOptions& options, const GeneratedSpectra& spectra) {
  std::string comment = "W anode " + std::string(ModelName(options.Model)) + " " +
                        Format("%g", options.Kv) + " kV; flat";
  if (options.Filters.empty() && spectra.AddedAluminium == 0.0) comment += " none";
  for (const FlatFilter& filter : options.Filters) {
    comment += " " + Format("%g", filter.Thickness) + " mm " +
               std::string(MaterialName(filter.Kind)) + " +";
  }
  if (spectra.AddedAluminium > 0.0)
    comment += " " + Format("%.3f", spectra.AddedAluminium) + " mm Al +";
  if (!comment.empty() && comment.back() == '+') comment.pop_back();
  if (comment.back() == ' ') comment.pop_back();
  comment += "; bow-tie " + options.Bowtie.Name + "; HVL1 " + Format("%.2f", spectra.Central.Hvl1) +
             " mm Al; SAD " + Format("%g", options.SourceAxisDistance) + " cm";
  return comment;
}

}  // namespace

std::vector<double> GeneratorOptions::DefaultPositions() {
  std::vector<double> positions;
  for (int i = 0; i <= 20; ++i) positions.push_back(i);
  return positions;
}

void ValidateOptions(const GeneratorOptions& options) {
  const KvRange range = ModelKvRange(options.Model);
  if (!std::isfinite(options.Kv) || options.Kv < range.Low || options.Kv > range.High) {
    throw SpectrumError("tube voltage " + Format("%g", options.Kv) + " kV is outside the " +
                        std::string(ModelName(options.Model)) + " model's range of " +
                        Format("%g", range.Low) + " to " + Format("%g", range.High) + " kV");
  }
  const auto& positions = options.Positions;
  if (positions.empty()) throw SpectrumError("no beam direction given");
  if (positions.size() > static_cast<std::size_t>(MAX_DIRECTIONS)) {
    throw SpectrumError(std::to_string(positions.size()) +
                        " directions given; the setup window takes at most 26");
  }
  for (std::size_t j = 0; j < positions.size(); ++j) {
    const double x = positions[j];
    const std::string which =
        "direction " + std::to_string(j) + " (position " + Format("%g", x) + " cm)";
    if (!std::isfinite(x)) throw SpectrumError(which + ": not a number");
    if (j == 0 && x != 0.0)
      throw SpectrumError("the first direction must be the central one, at position 0 cm");
    if (j > 0 && x <= positions[j - 1]) throw SpectrumError(which + ": positions must increase");
    // The conditions file keeps one decimal of a position in five columns.
    if (std::fabs(x * 10.0 - std::round(x * 10.0)) > 1e-6) {
      throw SpectrumError(which + ": positions must be whole multiples of 0.1 cm");
    }
    if (x > 999.9) throw SpectrumError(which + ": positions must stay below 1000 cm");
  }
  for (const FlatFilter& filter : options.Filters) {
    if (!std::isfinite(filter.Thickness) || filter.Thickness < 0.0) {
      throw SpectrumError("flat filter " + std::string(MaterialName(filter.Kind)) + ": thickness " +
                          Format("%g", filter.Thickness) + " mm is not a non-negative number");
    }
  }
  for (std::size_t i = 0; i < options.Bowtie.Thickness.size(); ++i) {
    if (!std::isfinite(options.Bowtie.Thickness[i]) || options.Bowtie.Thickness[i] < 0.0) {
      throw SpectrumError("bow-tie " + options.Bowtie.Name + ": negative thickness at " +
                          Format("%g", options.Bowtie.Position[i]) + " cm");
    }
  }
  for (double x : positions) options.Bowtie.ThicknessAt(x);  // throws beyond the profile
  if (options.TargetHvl1 && !(std::isfinite(*options.TargetHvl1) && *options.TargetHvl1 > 0.0)) {
    throw SpectrumError("the target HVL1 must be a positive number of mm Al");
  }
  if (!(std::isfinite(options.SourceAxisDistance) && options.SourceAxisDistance > 0.0)) {
    throw SpectrumError("the focus-to-centre distance must be a positive number of cm");
  }
  for (char c : options.Comment) {
    // The setup window reads the first line in a Japanese code page: plain
    // ASCII reads the same there.
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e) {
      throw SpectrumError("the comment must be one line of printable ASCII characters");
    }
  }
}

GeneratedSpectra GenerateSpectra(const GeneratorOptions& options,
                                 const EngineCoefficients& coefficients) {
  ValidateOptions(options);
  const BinArray& muAl = coefficients.AluminiumMu;
  const BinArray unfiltered = UnfilteredSpectrum(options.Model, options.Kv);
  const BinArray flat = FlatFiltered(unfiltered, options.Filters, coefficients);
  if (!(AirKerma(flat, coefficients.AirMuTr) > 0.0)) {
    throw SpectrumError("the flat filtration leaves no photons; it is too thick");
  }
  const double bowtieCentre = options.Bowtie.ThicknessAt(0.0);  // mm Al

  GeneratedSpectra spectra;
  if (options.TargetHvl1) {
    auto hvlWith = [&](double added) {  // mm Al added
      return MeasureBeamQuality(Attenuate(flat, muAl, 0.1 * (added + bowtieCentre)), muAl,
                                coefficients.AirMuTr)
          .Hvl1;
    };
    const double target = *options.TargetHvl1;
    const double without = hvlWith(0.0);
    if (target < without) {
      throw SpectrumError("target HVL1 " + Format("%g", target) + " mm Al is below the " +
                          Format("%.3f", without) +
                          " mm Al that the beam has without added aluminium");
    }
    double low = 0.0, high = 200.0;  // mm
    if (hvlWith(high) < target) {
      throw SpectrumError("target HVL1 " + Format("%g", target) +
                          " mm Al needs more than 200 mm of added aluminium");
    }
    while (high - low > 1e-6) {
      const double middle = 0.5 * (low + high);
      (hvlWith(middle) < target ? low : high) = middle;
    }
    spectra.AddedAluminium = RoundTo(0.5 * (low + high), 0.001);
  }

  // The flat filtration as the aluminium thickness of equal air-kerma
  // attenuation: exactly the sum when all of it is aluminium.
  double flatAluminium = spectra.AddedAluminium;
  bool allAluminium = true;
  for (const FlatFilter& filter : options.Filters) {
    if (filter.Kind == Material::Al)
      flatAluminium += filter.Thickness;
    else if (filter.Thickness > 0.0)
      allAluminium = false;
  }
  BinArray central = Attenuate(flat, muAl, 0.1 * (spectra.AddedAluminium + bowtieCentre));
  if (allAluminium) {
    spectra.FlatEquivalent = flatAluminium;
  } else {
    const double fraction =
        AirKerma(Attenuate(flat, muAl, 0.1 * spectra.AddedAluminium), coefficients.AirMuTr) /
        AirKerma(unfiltered, coefficients.AirMuTr);
    spectra.FlatEquivalent =
        10.0 * AluminiumForKermaFraction(unfiltered, muAl, coefficients.AirMuTr, fraction);
  }

  double centralMax = 0.0;
  for (double value : central) centralMax = std::max(centralMax, value);
  if (!(centralMax > 0.0))
    throw SpectrumError("the filtration leaves no photons in the central beam");
  for (double& value : central) value /= centralMax;

  spectra.Positions = options.Positions;
  for (double x : options.Positions) {
    spectra.FanAngles.push_back(std::atan(x / options.SourceAxisDistance) * 180.0 / PI);
    const double filtration =
        RoundTo(spectra.FlatEquivalent + options.Bowtie.ThicknessAt(x), 0.001);
    // The conditions file writes the filtration in cm as 00.0000.
    if (filtration >= 999.9995) {
      throw SpectrumError("the filtration at " + Format("%g", x) + " cm, " +
                          Format("%.3f", filtration) +
                          " mm Al, does not fit the conditions file (below 1000 mm)");
    }
    spectra.Filtrations.push_back(filtration);
  }
  // The engine weights an off-centre ray by exp(-mu_Al (F_j - F_0)) with the
  // thicknesses as written; doing the same keeps file and engine in step.
  for (std::size_t j = 0; j < options.Positions.size(); ++j) {
    spectra.Fluence.push_back(
        j == 0 ? central
               : Attenuate(central, muAl, 0.1 * (spectra.Filtrations[j] - spectra.Filtrations[0])));
  }

  spectra.Central = MeasureBeamQuality(spectra.Fluence.front(), muAl, coefficients.AirMuTr);
  spectra.OutermostKerma = AirKerma(spectra.Fluence.back(), coefficients.AirMuTr) /
                           AirKerma(spectra.Fluence.front(), coefficients.AirMuTr);
  spectra.Comment = options.Comment.empty() ? MakeComment(options, spectra) : options.Comment;
  return spectra;
}

}  // namespace tessalin::spectrum
