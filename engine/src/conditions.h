// The job read from joken.dat and the quantities derived from it.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace tsl2 {

inline constexpr int MAX_FILTER_ROWS = 26;  // rows 1..N+1 from the file, N <= 25
inline constexpr int ENERGY_BINS = 300;     // bin i is 0.5 * i keV

struct Conditions {
  std::array<char, 30> ConditionComment{};  // bytes, blank padded
  std::array<char, 30> ResultFileName{};    // bytes, blank padded
  float SourceAxisDistance = 0;             // cm
  float BeamWidthRotation = 0;              // cm, at the rotation centre
  float BeamWidthAxial = 0;                 // cm, at the rotation centre
  float PhantomA = 0;                       // cm, straight part of the racetrack
  float PhantomB = 0;                       // cm, thickness = half-disc diameter
  float HistoryCount = 0;                   // histories (stored as a single, as read)
  std::int32_t FilterRowCount = 0;          // N: the table has N + 1 rows
  // Rows 0..27: row 0 is (0, 0), rows 1..N+1 from the file, row N+2 appended.
  std::array<float, 28> FilterPosition{};   // cm at the source-axis distance
  std::array<float, 28> FilterThickness{};  // cm of filter material
  // Bins 1..300 normalised to sum 1; entry 301 stays 0 so that TopEnergyBin
  // 301 can be indexed safely.
  std::array<float, 302> Spectrum{};

  // Derived right after reading.
  float HalfPhantomA = 0;         // cm
  float HalfPhantomB = 0;         // cm
  std::int32_t TopEnergyBin = 0;  // one above the highest positive bin
  float SpectrumSum = 0;          // sum of the weights as read
  float HalfBeamRotation = 0;     // cm
  float HalfBeamAxial = 0;        // cm
  float FanAngle = 0;             // rad, full fan
  float ConeHalfAngle = 0;        // rad
  float PhantomHalfLength = 20;   // cm, the phantom is always 40 cm long

  // The result file's name: the 30 bytes with trailing blanks removed.
  std::string ResultName() const;
  std::string Comment() const;  // ConditionComment as a string (30 bytes)
};

// Reads joken.dat (or another path) completely and derives the quantities.
// Throws EngineError naming the file and line on any failure.
Conditions ReadConditions(const std::filesystem::path& file);

// Computes the derived quantities from the values as read. Runs under the
// floating-point traps: an all-zero spectrum is a division by zero.
void DeriveQuantities(Conditions& conditions);

}  // namespace tsl2
