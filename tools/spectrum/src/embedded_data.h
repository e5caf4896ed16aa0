// The model tables of tools/spectrum/data, compiled into the tool as text.
#pragma once

#include <string>

namespace tessalin::spectrum {

enum class EmbeddedFile {
  Tasmics = 0,      // tasmics_W_unfiltered_20-150kV_1keV.csv
  Tasmip = 1,       // tasmip_W_coefficients.csv
  Attenuation = 2,  // mu_rho_0p5keV_bins.csv
  Bowtie = 3,       // bowtie_profiles_Al_vs_position.csv
};

// The file's text exactly as it is in the source tree.
const std::string& EmbeddedText(EmbeddedFile file);

}  // namespace tessalin::spectrum
