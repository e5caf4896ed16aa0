// The spectrum and filtration plots of the setup window.
#include <QtTest>

#include "canvas.h"
#include "spectrum_plots.h"

using namespace tessalin;

namespace {

const QColor TRACE(255, 0, 0);

// Canvases the size of the setup window's, sunken frame included.
void MakePlotCanvas(Canvas& canvas, bool spectrum) {
  canvas.resize(spectrum ? 417 : 329, 361);
  canvas.SetBorderWidth(2);
  if (spectrum)
    SetSpectrumPlotScale(canvas);
  else
    SetFiltrationPlotScale(canvas);
}

// Runs of trace pixels down one pixel column.
int TraceRunsInColumn(const QImage& image, int x) {
  int runs = 0;
  bool inside = false;
  for (int y = 0; y < image.height(); ++y) {
    const bool trace = image.pixelColor(x, y) == TRACE;
    if (trace && !inside) ++runs;
    inside = trace;
  }
  return runs;
}

int TopmostTraceRow(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == TRACE) return y;
  return -1;
}

}  // namespace

class SpectrumPlotsTest : public QObject {
  Q_OBJECT
 private slots:
  void drawsOneTracePerDirection() {
    SpectrumVariables s;
    s.LastDirection = 25;
    for (int j = 0; j <= 25; ++j)
      for (int k = 1; k <= SPECTRUM_BINS; ++k) s.DirectionFluence[j][k] = 0.95 - 0.03 * j;
    s.CentralFluenceMax = 1;
    Canvas canvas;
    MakePlotCanvas(canvas, true);
    DrawSpectrumPlot(canvas, s);
    const int column = qRound(canvas.Scale().ToPixel(1000 + 15 * 150, 0).x());
    QCOMPARE(TraceRunsInColumn(canvas.Image(), column), 26);
    // The central trace at 0.95 of the scale: 2100 - 0.95 * 2000.
    QVERIFY(qAbs(TopmostTraceRow(canvas.Image()) - canvas.Scale().ToPixel(0, 200).y()) < 1.5);
  }

  void scalesByTheCentralMaximumEvenInBinOne() {
    SpectrumVariables s;
    s.LastDirection = 0;
    s.DirectionFluence[0][1] = 2;  // the maximum, in the bin that is not drawn
    for (int k = 2; k <= SPECTRUM_BINS; ++k) s.DirectionFluence[0][k] = 1;
    s.CentralFluenceMax = 2;
    Canvas canvas;
    MakePlotCanvas(canvas, true);
    DrawSpectrumPlot(canvas, s);
    QVERIFY(qAbs(TopmostTraceRow(canvas.Image()) - canvas.Scale().ToPixel(0, 1100).y()) <
            1.5);  // a 2-pixel line
    // Each trace starts at the box's origin with a slanted stroke.
    const QPoint origin = canvas.Scale().ToPixel(1000, 2100).toPoint();
    QCOMPARE(canvas.Image().pixelColor(origin), QColor(Qt::black));
  }

  void filtrationJoinsDirectionsOnlyWhenThereAreTwo() {
    SpectrumVariables s;
    s.LastDirection = 0;
    s.DirectionPosition[0] = 0;
    s.DirectionFiltration[0] = 10;
    s.DirectionPosition[1] = 10;  // a stale second direction is not drawn
    s.DirectionFiltration[1] = 50;
    Canvas canvas;
    MakePlotCanvas(canvas, false);
    DrawFiltrationPlot(canvas, s);
    const QPoint midway = canvas.Scale().ToPixel(5, 30).toPoint();
    QVERIFY(canvas.Image().pixelColor(midway) != TRACE);
    const QPoint rim = canvas.Scale().ToPixel(0.15, 10).toPoint();
    bool circle = false;
    for (int dx = -1; dx <= 1; ++dx)
      circle |= canvas.Image().pixelColor(rim + QPoint(dx, 0)) == TRACE;
    QVERIFY(circle);

    s.LastDirection = 1;
    DrawFiltrationPlot(canvas, s);
    bool line = false;
    for (int dy = -1; dy <= 1; ++dy)
      line |= canvas.Image().pixelColor(midway + QPoint(0, dy)) == TRACE;
    QVERIFY(line);
  }
};

QTEST_MAIN(SpectrumPlotsTest)
#include "spectrum_plots_test.moc"
