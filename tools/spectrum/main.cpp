// tessalin-spectrum: writes a spectrum file for the setup window and reports
// the beam quality. All work is done by the library; failures end with a
// message on standard error and exit status 1.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "command_line.h"
#include "engine_coefficients.h"
#include "spectrum_error.h"
#include "spectrum_file.h"

namespace {

std::filesystem::path ToolFolder(const char* argv0) {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) return self.parent_path();
  return std::filesystem::absolute(argv0, error).parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tessalin::spectrum;
  try {
    const CommandLine line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (line.Help) {
      std::cout << UsageText();
      return 0;
    }
    std::filesystem::path folder;
    if (line.DataFolder) {
      folder = *line.DataFolder;
    } else if (const auto found = FindEngineDataFolder(ToolFolder(argv[0]))) {
      folder = *found;
    } else {
      throw SpectrumError(
          "Mus.dat and AirMUtr.dat were found neither beside the tool nor in a data/ folder above "
          "it; "
          "name their folder with --data");
    }
    const EngineCoefficients coefficients = ReadEngineCoefficients(folder);
    const GeneratedSpectra spectra = GenerateSpectra(line.Options, coefficients);
    WriteSpectrumFile(line.Output, spectra);
    std::cout << FormatReport(spectra, line.Options, line.Output, coefficients.Source);
    return 0;
  } catch (const SpectrumError& error) {
    std::cerr << "tessalin-spectrum: " << error.what()
              << "\n(tessalin-spectrum --help shows the options)\n";
    return 1;
  } catch (const std::exception& error) {
    std::cerr << "tessalin-spectrum: " << error.what() << "\n";
    return 1;
  }
}
