// Interaction data read from ICRUSoft.dat, AirMUtr.dat and Mus.dat.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>

namespace tsl2 {

inline constexpr int MAX_SOFT_ROWS = 35;
inline constexpr int FORM_ROWS = 45;

struct PhysicsTables {
  std::int32_t SoftRowCount = 0;
  // Rows 1..SoftRowCount (index 0 unused).
  std::array<float, MAX_SOFT_ROWS + 1> SoftEnergy{};  // keV
  std::array<float, MAX_SOFT_ROWS + 1> SoftCoef1{};   // coherent, 1/cm
  std::array<float, MAX_SOFT_ROWS + 1> SoftCoef2{};   // incoherent, 1/cm
  std::array<float, MAX_SOFT_ROWS + 1> SoftCoef3{};   // photoelectric, 1/cm
  // Rows 1..45.
  std::array<float, FORM_ROWS + 1> FormX{};               // sin(theta/2)/lambda, 1/angstrom
  std::array<float, FORM_ROWS + 1> CoherentCumulative{};  // integral of F^2 d(x^2)
  std::array<float, FORM_ROWS + 1> IncoherentS{};         // S(x)
  float IncoherentSMax = 0;                               // IncoherentS(45)
  float CoherentTotal = 0;                                // CoherentCumulative(45)
  // Bins 1..300 (index 0 unused).
  std::array<float, 301> AirMuTr{};   // cm^2/g, energy-transfer coefficient of air
  std::array<float, 301> FilterMu{};  // 1/cm, filter material (aluminium)
};

// Reads the three files from folder in the fixed order. Throws EngineError.
PhysicsTables ReadPhysicsTables(const std::filesystem::path& folder);

}  // namespace tsl2
