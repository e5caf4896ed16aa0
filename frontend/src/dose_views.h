// Drawing of the viewer's dose views on its canvases: the three axial maps
// with the phantom outline, the sagittal map, the profile graph and the
// colour legend. The window and the headless picture share this code.
#pragma once

#include <string>

#include "result_file.h"

namespace tessalin {

class Canvas;

// User coordinate systems of the canvases (left, top, right, bottom) for the
// canvas sizes of the viewer: one unit per pixel, 1 mm per pixel.
struct CanvasEdges {
  double Left, Top, Right, Bottom;
};
inline constexpr CanvasEdges AXIAL_MAP_EDGES{-203, -178, 202, 179};
inline constexpr CanvasEdges SAGITTAL_MAP_EDGES{-206, -178, 207, 179};
inline constexpr CanvasEdges PROFILE_EDGES{-203, 220, 202, -33};
inline constexpr CanvasEdges LEGEND_EDGES{0, 262, 10, -7};

// Step (a) of DrawAxialViews: the dose of plane axialPlane (CellY 1..40) on the
// total, primary and scattered maps, each built off screen and shown whole,
// then the outline of the racetrack of a x b cm on each. The caller clears.
void DrawAxialMaps(Canvas& total, Canvas& primary, Canvas& scattered, const ViewerDose& dose,
                   int axialPlane, double phantomA, double phantomB);

// Step (b) of DrawAxialViews: the profile at Z = 0 across the phantom for
// plane axialPlane. Returns ProfileHalfWidth, 5 (a + b) mm. The caller clears.
double DrawProfile(Canvas& profile, const ViewerDose& dose, int axialPlane, double phantomA,
                   double phantomB);

// The profile's end text for half-width w mm: the plain number between two
// blanks (" 150 ", " 127.5 ").
std::string ProfileWidthText(double profileHalfWidth);

// The sagittal map of the total dose next to X = 0 with the phantom's 40 cm
// outline for thickness b cm. The caller clears.
void DrawSagittalMap(Canvas& sagittal, const ViewerDose& dose, double phantomB);

// The colour bar with its eleven ticks. The caller clears.
void DrawLegend(Canvas& legend);

}  // namespace tessalin
