// From tube, filtration and bow-tie to the spectra of every beam direction.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "beam_quality.h"
#include "bowtie.h"
#include "energy_grid.h"
#include "engine_coefficients.h"
#include "materials.h"
#include "xray_spectrum.h"

namespace tessalin::spectrum {

// The setup window holds at most 26 directions (indices 0 to 25).
inline constexpr int MAX_DIRECTIONS = 26;

struct FlatFilter {
  Material Kind = Material::Al;
  double Thickness = 0;  // mm
};

struct GeneratorOptions {
  TubeModel Model = TubeModel::Tasmics;
  double Kv = 120;                  // kV
  std::vector<FlatFilter> Filters;  // flat filtration, any order
  // When set, aluminium is added to Filters until the central beam's first
  // half-value layer is this, mm Al.
  std::optional<double> TargetHvl1;
  BowtieProfile Bowtie = BuiltinBowtie("body");
  std::vector<double> Positions = DefaultPositions();  // cm at the rotation centre, first 0
  double SourceAxisDistance = 60;                      // cm; only for the fan-angle field
  std::string Comment;                                 // empty: one describing the beam is made

  static std::vector<double> DefaultPositions();  // 0, 1, ..., 20 cm
};

struct GeneratedSpectra {
  std::string Comment;
  std::vector<double> Positions;  // cm
  std::vector<double> FanAngles;  // degrees, atan(position / SourceAxisDistance)
  std::vector<double>
      Filtrations;  // mm Al, flat (aluminium-equivalent) plus bow-tie, rounded to 0.001
  std::vector<BinArray> Fluence;  // per direction; the central maximum is 1

  double AddedAluminium = 0;  // mm, solved for TargetHvl1 (0 without it)
  double FlatEquivalent =
      0;                // mm Al: the flat filtration as aluminium of equal air-kerma attenuation
  BeamQuality Central;  // of direction 0
  double OutermostKerma = 1;  // air kerma of the last direction relative to direction 0
};

// Checks every option and throws SpectrumError for the first one that cannot
// make a valid file: kV outside the model, no or more than 26 directions, a
// first position other than 0, positions not increasing or not on the
// 0.1 cm grid of the conditions file, negative or non-finite thicknesses, a
// non-positive distance or target, a comment that is not one line of ASCII.
void ValidateOptions(const GeneratorOptions& options);

// Validates, then computes the central spectrum through the flat filtration
// and the bow-tie's central path, and every other direction as the central
// one times exp(-mu_Al (F_j - F_0)), the rule the engine applies, with the
// engine's own aluminium coefficients.
GeneratedSpectra GenerateSpectra(const GeneratorOptions& options,
                                 const EngineCoefficients& coefficients);

}  // namespace tessalin::spectrum
