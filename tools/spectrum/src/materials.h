// Flat filter materials and their attenuation from the built-in table.
#pragma once

#include <optional>
#include <string_view>

#include "energy_grid.h"

namespace tessalin::spectrum {

enum class Material { Al, Cu, Sn, Be, C, PTFE, Water };

// "Al", "Cu", "Sn", "Be", "C", "PTFE", "water".
std::string_view MaterialName(Material material);
// Accepts the names above in any case, and "graphite" for C.
std::optional<Material> ParseMaterial(std::string_view text);
// Density used with the table, g/cm^3.
double MaterialDensity(Material material);

// Linear attenuation coefficient per bin from the built-in table
// (coherent scattering included), 1/cm.
BinArray TableLinearMu(Material material);
// Mass energy-transfer coefficient of dry air per bin from the built-in
// table, cm^2/g.
BinArray TableAirMuTr();

}  // namespace tessalin::spectrum
