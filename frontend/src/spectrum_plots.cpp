#include "spectrum_plots.h"

#include "canvas.h"

namespace tessalin {
namespace {
const QColor GRID(128, 128, 128);
const QColor TRACE(255, 0, 0);
}  // namespace

void SetSpectrumPlotScale(Canvas& canvas) { canvas.SetScale(0, 0, 6000, 2500); }
void SetFiltrationPlotScale(Canvas& canvas) { canvas.SetScale(-1.8, 82, 20.2, -8); }

void DrawSpectrumPlot(Canvas& canvas, const SpectrumVariables& spectrum) {
  canvas.Clear();
  canvas.SetLineWidth(1);
  for (int x = 1300; x <= 5200; x += 300) canvas.Line(x, 100, x, 2100, GRID);
  for (int y = 300; y <= 1900; y += 200) canvas.Line(1000, y, 5500, y, GRID);
  const struct {
    const char* text;
    double x, y;
  } texts[] = {{"0", 1000, 2120},
               {"50", 2400, 2120},
               {"100", 3800, 2120},
               {"150", 5300, 2120},
               {"Photon energy in keV", 3350, 2250},
               {"Relative", 100, 500},
               {"Photon", 100, 700},
               {"Fluence", 100, 900}};
  for (const auto& t : texts) canvas.Text(t.x, t.y, QString::fromLatin1(t.text), Qt::black);

  canvas.SetLineWidth(2);
  // The loader refuses a spectrum without a positive maximum; guard anyway.
  const double scale = spectrum.CentralFluenceMax > 0 ? 2000 / spectrum.CentralFluenceMax : 0;
  for (int j = 0; j <= spectrum.LastDirection; ++j) {
    canvas.SetPixel(1000, 2100, Qt::black);
    // Bin 1 is not drawn: each trace starts with a slant from the origin.
    for (int k = 2; k <= SPECTRUM_BINS; ++k) {
      const double y = 2100 - scale * spectrum.DirectionFluence[j][k];
      canvas.LineTo(1000 + 15.0 * (k - 1) + 7.5, y, TRACE);
      canvas.LineTo(1000 + 15.0 * k + 7.5, y, TRACE);
    }
  }
  canvas.Rectangle(1000, 100, 5500, 2100, Qt::black);
}

void DrawFiltrationPlot(Canvas& canvas, const SpectrumVariables& spectrum) {
  canvas.Clear();
  canvas.SetLineWidth(1);
  for (int x = 0; x <= 20; ++x) canvas.Line(x, 0, x, 80, GRID);
  for (int y = 0; y <= 80; y += 10) canvas.Line(0, y, 20, y, GRID);
  const struct {
    const char* text;
    double x, y;
  } texts[] = {{"80", -1.5, 81.5},    {"60", -1.5, 61.5},
               {"40", -1.5, 41.5},    {"20", -1.5, 21.5},
               {"0", -1, 1.5},        {"mm", -1.8, 72},
               {"Al", -1.5, 68},      {"0", -0.2, -0.5},
               {"5", 4.7, -0.5},      {"10", 9.5, -0.5},
               {"15 cm", 14.5, -0.5}, {"Direction (distance from center at SAD)", -0.2, -4}};
  for (const auto& t : texts) canvas.Text(t.x, t.y, QString::fromLatin1(t.text), Qt::black);

  canvas.SetLineWidth(2);
  const int last = spectrum.LastDirection;
  for (int j = 0; j <= last; ++j) {
    canvas.Circle(spectrum.DirectionPosition[j], spectrum.DirectionFiltration[j], 0.15, TRACE);
  }
  canvas.SetPixel(spectrum.DirectionPosition[0], spectrum.DirectionFiltration[0], TRACE);
  for (int j = 1; j <= last; ++j)
    canvas.LineTo(spectrum.DirectionPosition[j], spectrum.DirectionFiltration[j], TRACE);
  canvas.Rectangle(0, 0, 20, 80, Qt::black);
}

}  // namespace tessalin
