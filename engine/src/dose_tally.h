// The raw tallies of a run: deposited energy by component and folded cell,
// and the air-kerma reference sum.
#pragma once

#include <cstddef>
#include <vector>

namespace tsl2 {

inline constexpr int CELLS_X = 200;  // 1 mm
inline constexpr int CELLS_Y = 40;   // 5 mm
inline constexpr int CELLS_Z = 100;  // 1 mm

struct DoseTally {
  // Summed in double: every history of a bin adds the same amount to the
  // reference, so single-precision sums drift instead of averaging out.
  // Component fastest, then CellX, CellY, CellZ; indices from 1.
  std::vector<double> values = std::vector<double>(2 * CELLS_X * CELLS_Y * CELLS_Z, 0.0);
  double AirKermaReference = 0.0;

  static std::size_t Index(int component, int cellX, int cellY, int cellZ) {
    return static_cast<std::size_t>(component - 1) +
           2 * (static_cast<std::size_t>(cellX - 1) +
                CELLS_X * (static_cast<std::size_t>(cellY - 1) +
                           CELLS_Y * static_cast<std::size_t>(cellZ - 1)));
  }
  double& at(int component, int cellX, int cellY, int cellZ) {
    return values[Index(component, cellX, cellY, cellZ)];
  }
};

}  // namespace tsl2
