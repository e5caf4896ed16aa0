// The two plots of a loaded spectrum on the setup window's canvases.
#pragma once

#include "spectrum_file.h"

namespace tessalin {

class Canvas;

// The canvases' user coordinates.
void SetSpectrumPlotScale(Canvas& canvas);    // x 0..6000, y 0 (top)..2500
void SetFiltrationPlotScale(Canvas& canvas);  // x -1.8..20.2, y 82 (top)..-8

// The spectra of all directions as steps, 0..150 keV against the fluence
// relative to CentralFluenceMax (which must be positive).
void DrawSpectrumPlot(Canvas& canvas, const SpectrumVariables& spectrum);
// The filtration (mm Al) of each direction against its position (cm).
void DrawFiltrationPlot(Canvas& canvas, const SpectrumVariables& spectrum);

}  // namespace tessalin
