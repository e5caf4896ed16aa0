// What a history adds to the tallies: deposits by folded cell and component,
// and the one air-kerma reference contribution of a ray through the window.
#pragma once

#include "dose_tally.h"
#include "phantom_geometry.h"

namespace tsl2 {

// Adds energy (keV) times weight to the cell of (x, y, z) under component (1
// primary, 2 scattered); a position off the grid scores nothing.
inline void Deposit(DoseTally& tally, float x, float y, float z, float energy, float weight,
                    int component) {
  const CellIndex cell = CellOf(x, y, z);
  if (!cell.onGrid) return;
  // The amount is formed in single precision; only the running sum is double.
  const float amount = energy * weight;
  tally.at(component, cell.CellX, cell.CellY, cell.CellZ) += static_cast<double>(amount);
}

// Rays passing the rotation centre within 0.5 cm laterally and 0..0.5 cm
// axially (measured at the source-axis distance) form the reference window.
inline bool InReferenceWindow(float lateralOffset, float axialOffset) {
  return lateralOffset <= 0.5f && axialOffset <= 0.5f;
}

// Adds the free-in-air kerma contribution of one history: the starting
// energy (keV) times its filtration weight times the air energy-transfer
// coefficient of its bin.
inline void AddAirKerma(DoseTally& tally, float airMuTr, float photonEnergy, float weight) {
  const float amount = airMuTr * photonEnergy * weight;
  tally.AirKermaReference += static_cast<double>(amount);
}

}  // namespace tsl2
