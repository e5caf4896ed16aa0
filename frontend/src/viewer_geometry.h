// Where the viewer's pointer lands in the dose grid: the plane chosen on the
// sagittal map and the cells read out on the axial maps and the profile.
// Positions are canvas coordinates in mm from the phantom's centre.
#pragma once

#include <optional>

namespace tessalin {

// Nearest whole number, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
int RoundHalfEven(double value);

// The axial plane picked by a click at x on the sagittal map; none beyond the
// phantom's 40 cm length (|x| > 200).
struct PlaneChoice {
  int AxialPlane = 1;  // CellY, 1..40
  double MarkerX = 0;  // where the plane marker goes (0 is moved to 1)
};
std::optional<PlaneChoice> ChoosePlane(double x);

// Lower and upper bound in mm of plane j along the body axis.
inline int PlaneLowerBound(int axialPlane) { return 5 * axialPlane - 5; }
inline int PlaneUpperBound(int axialPlane) { return 5 * axialPlane; }

// A cell of the axial plane: CellX and CellZ, both within the grid (0 reads 0).
struct PlaneCell {
  int CellX = 0;
  int CellZ = 0;
};

// The cell under the pointer on an axial map, phantom dimensions a and b in
// cm; none outside the rectangle around the cross-section or beyond the grid.
std::optional<PlaneCell> MapReadoutCell(double x, double y, double phantomA, double phantomB);

// The CellX under the pointer on the profile of half-width w (mm); none
// outside [-w, w] or beyond the grid.
std::optional<int> ProfileReadoutCell(double x, double profileHalfWidth);

// The half-width in mm of the profile: 5 * (a + b) with a and b in cm.
inline double ProfileHalfWidthOf(double phantomA, double phantomB) {
  return 5.0 * (phantomA + phantomB);
}

}  // namespace tessalin
