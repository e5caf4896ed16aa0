#include "command_line.h"

#include <cmath>
#include <cstdio>

#include "csv_table.h"
#include "spectrum_error.h"

namespace tessalin::spectrum {

namespace {

double Number(const std::string& option, std::string_view text) {
  double value = 0.0;
  if (!ParseNumber(text, value)) {
    throw SpectrumError(option + ": \"" + std::string(text) + "\" is not a number");
  }
  return value;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    const auto at = text.find(separator, start);
    parts.push_back(
        text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
    if (at == std::string_view::npos) return parts;
    start = at + 1;
  }
}

std::vector<FlatFilter> ParseFilters(std::string_view text) {
  std::vector<FlatFilter> filters;
  for (std::string_view item : Split(text, ',')) {
    const auto colon = item.find(':');
    if (colon == std::string_view::npos) {
      throw SpectrumError("--filter: \"" + std::string(item) +
                          "\" is not MATERIAL:MM (for example Al:6.81)");
    }
    const auto material = ParseMaterial(item.substr(0, colon));
    if (!material) {
      throw SpectrumError("--filter: unknown material \"" + std::string(item.substr(0, colon)) +
                          "\" (Al, Cu, Sn, Be, C, PTFE, water)");
    }
    const double thickness = Number("--filter", item.substr(colon + 1));
    if (thickness < 0.0)
      throw SpectrumError("--filter: negative thickness in \"" + std::string(item) + "\"");
    filters.push_back({*material, thickness});
  }
  return filters;
}

std::vector<double> ParsePositions(std::string_view text) {
  const auto range = Split(text, ':');
  if (range.size() == 3) {
    const double first = Number("--positions", range[0]);
    const double last = Number("--positions", range[1]);
    const double step = Number("--positions", range[2]);
    if (!(step > 0.0) || last < first) {
      throw SpectrumError("--positions: a range FIRST:LAST:STEP needs FIRST <= LAST and STEP > 0");
    }
    const double count = (last - first) / step;
    if (std::fabs(count - std::round(count)) > 1e-9 || count > 1000) {
      throw SpectrumError("--positions: the range does not end on LAST in whole steps");
    }
    std::vector<double> positions;
    for (int i = 0; i <= static_cast<int>(std::round(count)); ++i) {
      positions.push_back(std::round((first + i * step) * 1e9) / 1e9);
    }
    return positions;
  }
  if (range.size() != 1)
    throw SpectrumError("--positions: expected a list x0,x1,... or a range FIRST:LAST:STEP");
  std::vector<double> positions;
  for (std::string_view item : Split(text, ',')) positions.push_back(Number("--positions", item));
  return positions;
}

std::string Format(const char* pattern, double value) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  GeneratorOptions& options = line.Options;
  bool filtersGiven = false;
  std::optional<std::filesystem::path> output;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "-h" || option == "--help") {
      line.Help = true;
      return line;
    }
    auto value = [&]() -> const std::string& {
      if (i + 1 >= arguments.size()) throw SpectrumError(option + ": a value is missing");
      return arguments[++i];
    };
    if (option == "--kv") {
      options.Kv = Number(option, value());
    } else if (option == "--model") {
      const auto model = ParseModel(value());
      if (!model)
        throw SpectrumError("--model: \"" + arguments[i] + "\" is neither tasmics nor tasmip");
      options.Model = *model;
    } else if (option == "--filter") {
      for (const FlatFilter& filter : ParseFilters(value())) options.Filters.push_back(filter);
      filtersGiven = true;
    } else if (option == "--hvl") {
      options.TargetHvl1 = Number(option, value());
    } else if (option == "--bowtie") {
      const std::string& name = value();
      if (name == "body" || name == "head" || name == "none") {
        options.Bowtie = BuiltinBowtie(name);
      } else {
        std::error_code error;
        if (!std::filesystem::is_regular_file(name, error)) {
          throw SpectrumError("--bowtie: \"" + name +
                              "\" is neither body, head, none nor a table file");
        }
        options.Bowtie = ReadBowtieTable(name);
        options.Bowtie.Name = std::filesystem::path(name).stem().string();
      }
    } else if (option == "--positions") {
      options.Positions = ParsePositions(value());
    } else if (option == "--sad") {
      options.SourceAxisDistance = Number(option, value());
    } else if (option == "--comment") {
      options.Comment = value();
    } else if (option == "--data") {
      line.DataFolder = value();
    } else if (option == "-o" || option == "--output") {
      output = value();
    } else {
      throw SpectrumError("unknown option \"" + option + "\"");
    }
  }
  if (!filtersGiven && !options.TargetHvl1)
    options.Filters.push_back({Material::Al, DEFAULT_FLAT_ALUMINIUM});
  ValidateOptions(options);
  line.Output = output ? *output : std::filesystem::path(DefaultOutputName(options));
  return line;
}

std::string DefaultOutputName(const GeneratorOptions& options) {
  std::string name = "W" + Format("%g", options.Kv) + "kV_" + options.Bowtie.Name;
  if (options.Model == TubeModel::Tasmip) name += "_tasmip";
  return name + ".csv";
}

std::string UsageText() {
  return R"(Usage: tessalin-spectrum [options]

Writes an X-ray spectrum file for the setup window of Tessalin: the photon
spectra of up to 26 beam directions of a tungsten-anode CT tube, behind a flat
filtration and a bow-tie filter, with each direction's filtration in mm Al.

Options:
  --kv KV            tube voltage in kV (default 120); TASMICS 20-150 kV,
                     TASMIP 30-140 kV; between whole kV the two neighbouring
                     spectra are blended linearly
  --model NAME       tasmics (default; Hernandez & Boone 2014, 0.8 mm Be
                     inherent) or tasmip (Boone & Seibert 1997)
  --filter LIST      flat filtration, MATERIAL:MM[,MATERIAL:MM...]; may be
                     repeated; materials Al, Cu, Sn, Be, C, PTFE, water.
                     Default: Al:6.81 unless --filter or --hvl is given
  --hvl MM           target first half-value layer of the central beam in
                     mm Al: solves the aluminium added to the flat filtration
  --bowtie NAME      body (default), head, none, or a table file of lines
                     "position_cm, mm_Al" (increasing positions; # comments)
  --positions LIST   beam directions as distances from the centre at the
                     rotation centre, cm: x0,x1,... or FIRST:LAST:STEP;
                     the first is 0, increasing, multiples of 0.1 cm, at
                     most 26 (default 0:20:1)
  --sad CM           focus-to-centre distance for the fan-angle row, which
                     the setup window does not use (default 60)
  --comment TEXT     first line of the file (ASCII; default: a description)
  --data DIR         folder holding the engine's Mus.dat and AirMUtr.dat
                     (default: beside the tool, else the data/ folder of the
                     tool's folder or of one above it)
  -o, --output FILE  file to write (default W<kV>kV_<bowtie>.csv here)
  -h, --help         show this text

Each off-centre spectrum is the central one times exp(-mu_Al (F_j - F_0)),
the rule the engine applies, with the aluminium coefficients of Mus.dat.
The report gives HVL1, HVL2 and mean energy of the central beam and the air
kerma of the outermost direction relative to the centre.

Example:
  tessalin-spectrum --kv 80 --positions 0:25:1 -o W80kV_body.csv
)";
}

std::string FormatReport(const GeneratedSpectra& spectra, const GeneratorOptions& options,
                         const std::filesystem::path& output,
                         const std::string& coefficientSource) {
  std::string report;
  report += "Spectrum file:        " + output.string() + "\n";
  report += "Comment:              " + spectra.Comment + "\n";
  report += "Model:                " + std::string(ModelName(options.Model)) + ", " +
            Format("%g", options.Kv) + " kV\n";
  if (spectra.AddedAluminium > 0.0 || options.TargetHvl1) {
    report += "Added aluminium:      " + Format("%.3f", spectra.AddedAluminium) + " mm (for HVL1 " +
              Format("%g", *options.TargetHvl1) + " mm Al)\n";
  }
  report += "Bow-tie:              " + options.Bowtie.Name + "\n";
  report += "Directions:           " + std::to_string(spectra.Positions.size()) + ", 0 to " +
            Format("%g", spectra.Positions.back()) + " cm\n";
  report += "Central filtration:   " + Format("%.3f", spectra.Filtrations.front()) + " mm Al\n";
  report += "Central HVL1:         " + Format("%.2f", spectra.Central.Hvl1) + " mm Al\n";
  report += "Central HVL2:         " + Format("%.2f", spectra.Central.Hvl2) + " mm Al\n";
  report += "Central mean energy:  " + Format("%.1f", spectra.Central.MeanEnergy) + " keV\n";
  report += "Outermost direction:  " + Format("%g", spectra.Positions.back()) + " cm, " +
            Format("%.3f", spectra.Filtrations.back()) + " mm Al, air kerma " +
            Format("%.3f", spectra.OutermostKerma) + " of the centre\n";
  report += "Coefficients:         " + coefficientSource + "\n";
  return report;
}

}  // namespace tessalin::spectrum
