// The command line of tessalin-spectrum and its console report.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "spectrum_generator.h"

namespace tessalin::spectrum {

struct CommandLine {
  GeneratorOptions Options;
  std::filesystem::path Output;                     // the spectrum file to write
  std::optional<std::filesystem::path> DataFolder;  // --data
  bool Help = false;
};

// Parses the arguments after the program name. Throws SpectrumError naming
// the option at fault. Without --filter and --hvl the flat filtration is
// DEFAULT_FLAT_ALUMINIUM of aluminium.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// 6.81 mm Al: with the body bow-tie's 2.548 mm at the centre, 9.358 mm Al in
// all, which gives HVL1 about 7.6 mm Al at 120 kV, a current body CT beam.
inline constexpr double DEFAULT_FLAT_ALUMINIUM = 6.81;  // mm

// "W120kV_body.csv", "W80.5kV_none_tasmip.csv".
std::string DefaultOutputName(const GeneratorOptions& options);

// The --help text.
std::string UsageText();

// The console report: file, beam, HVL1, HVL2, mean energy, outermost
// direction's relative air kerma, where the coefficients came from.
std::string FormatReport(const GeneratedSpectra& spectra, const GeneratorOptions& options,
                         const std::filesystem::path& output, const std::string& coefficientSource);

}  // namespace tessalin::spectrum
