#include "viewer_geometry.h"

#include <cmath>

#include "result_file.h"

namespace tessalin {
namespace {

// Index of a distance from the centre, or -1 past `limit`; the exact centre
// reads the first cell, as the centre lies on the border of four cells.
int CellIndex(double distance, int limit) {
  if (distance == 0) distance = 1;
  distance = std::fabs(distance);
  if (!(distance <= limit + 1)) return -1;  // also keeps the int conversion safe
  const int index = RoundHalfEven(distance);
  return index <= limit ? index : -1;
}

}  // namespace

int RoundHalfEven(double value) {
  const double below = std::floor(value);
  const double fraction = value - below;
  double result = below;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) result = below + 1;
  return static_cast<int>(result);
}

std::optional<PlaneChoice> ChoosePlane(double x) {
  if (!(x >= -200 && x <= 200)) return std::nullopt;
  if (x == 0) x = 1;
  PlaneChoice choice;
  choice.MarkerX = x;
  const double plane = std::floor(std::fabs(x) / 5) + 1;
  choice.AxialPlane = plane > ViewerDose::CELLS_Y ? ViewerDose::CELLS_Y : static_cast<int>(plane);
  return choice;
}

std::optional<PlaneCell> MapReadoutCell(double x, double y, double phantomA, double phantomB) {
  const double halfWidth = 5 * (phantomA + phantomB);
  const double halfHeight = 5 * phantomB;
  if (!(x >= -halfWidth && x <= halfWidth && y >= -halfHeight && y <= halfHeight)) {
    return std::nullopt;
  }
  const int ix = CellIndex(x, ViewerDose::CELLS_X);
  const int iz = CellIndex(y, ViewerDose::CELLS_Z);
  if (ix < 0 || iz < 0) return std::nullopt;
  return PlaneCell{ix, iz};
}

std::optional<int> ProfileReadoutCell(double x, double profileHalfWidth) {
  if (!(x >= -profileHalfWidth && x <= profileHalfWidth)) return std::nullopt;
  const int ix = CellIndex(x, ViewerDose::CELLS_X);
  if (ix < 0) return std::nullopt;
  return ix;
}

}  // namespace tessalin
