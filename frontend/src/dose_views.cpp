#include "dose_views.h"

#include <QColor>
#include <QImage>
#include <algorithm>
#include <cmath>

#include "canvas.h"
#include "dose_shade.h"
#include "number_pattern.h"

namespace tessalin {
namespace {

constexpr double PI = 3.14159;  // the value the outline's arcs have always used

// Header values are not checked when a file is read, so a coordinate may be
// anything finite; far beyond the canvases it draws the same, and it must
// stay well inside what the pixel arithmetic can hold.
constexpr double DRAW_LIMIT = 100000;
double Tame(double value) { return std::clamp(value, -DRAW_LIMIT, DRAW_LIMIT); }

QRgb MapColor(double fraction) {
  const int s = DoseShade(fraction);
  return qRgb(255, s, s);
}

// The pixel column (or row) of a user coordinate, as the canvas rounds it.
int PixelX(const Canvas& canvas, double x) {
  return static_cast<int>(std::floor(canvas.Scale().ToPixel(x, 0).x() + 0.5));
}
int PixelY(const Canvas& canvas, double y) {
  return static_cast<int>(std::floor(canvas.Scale().ToPixel(0, y).y() + 0.5));
}

// Writes one map pixel into an RGB32 image, ignoring pixels off the image.
inline void Put(QImage& image, int px, int py, QRgb color) {
  if (px < 0 || py < 0 || px >= image.width() || py >= image.height()) return;
  reinterpret_cast<QRgb*>(image.scanLine(py))[px] = color;
}

// The canvas's current drawing as a detached RGB32 image to draw into.
QImage Backdrop(const Canvas& canvas) {
  QImage image = canvas.Image().convertToFormat(QImage::Format_RGB32);
  image.detach();
  return image;
}

void DrawAxialMap(Canvas& canvas, const ViewerDose& dose, int component, int plane) {
  QImage image = Backdrop(canvas);
  int columnPlus[ViewerDose::CELLS_X + 1], columnMinus[ViewerDose::CELLS_X + 1];
  for (int ix = 1; ix <= ViewerDose::CELLS_X; ++ix) {
    columnPlus[ix] = PixelX(canvas, ix);
    columnMinus[ix] = PixelX(canvas, -ix);
  }
  for (int iz = 1; iz <= ViewerDose::CELLS_Z; ++iz) {
    // Height Z is drawn upwards and y grows downwards: Z = +iz is row y = -iz.
    const int rowUp = PixelY(canvas, -iz);
    const int rowDown = PixelY(canvas, iz);
    const double* row = dose.Row(component, plane, iz);
    for (int ix = 1; ix <= ViewerDose::CELLS_X; ++ix) {
      const QRgb color = MapColor(row[ix]);
      Put(image, columnPlus[ix], rowUp, color);
      Put(image, columnMinus[ix], rowUp, color);
      Put(image, columnPlus[ix], rowDown, color);
      Put(image, columnMinus[ix], rowDown, color);
    }
  }
  canvas.DrawImage(image);
}

void DrawOutline(Canvas& canvas, double phantomA, double phantomB) {
  const double a = Tame(5 * phantomA);  // mm, half the straight part
  const double b = Tame(5 * phantomB);  // mm, radius of the half-discs
  const QColor black(0, 0, 0);
  canvas.Line(-a, b, a, b, black);
  canvas.Line(-a, -b, a, -b, black);
  canvas.Arc(-a, 0, b, PI / 2, 3 * PI / 2, black);
  canvas.Arc(a, 0, b, 0, PI / 2, black);
  canvas.Arc(a, 0, b, 3 * PI / 2, 2 * PI, black);
}

}  // namespace

void DrawAxialMaps(Canvas& total, Canvas& primary, Canvas& scattered, const ViewerDose& dose,
                   int axialPlane, double phantomA, double phantomB) {
  const int plane = std::clamp(axialPlane, 1, ViewerDose::CELLS_Y);
  DrawAxialMap(total, dose, 0, plane);
  DrawAxialMap(primary, dose, 1, plane);
  DrawAxialMap(scattered, dose, 2, plane);
  for (Canvas* canvas : {&primary, &scattered, &total}) DrawOutline(*canvas, phantomA, phantomB);
}

double DrawProfile(Canvas& profile, const ViewerDose& dose, int axialPlane, double phantomA,
                   double phantomB) {
  const int plane = std::clamp(axialPlane, 1, ViewerDose::CELLS_Y);
  const QColor black(0, 0, 0), grey(128, 128, 128), blue(0, 0, 255), red(255, 0, 0);
  const double w = 5 * (phantomA + phantomB);  // ProfileHalfWidth, mm
  const double wd = Tame(w);

  profile.SetLineWidth(1);
  profile.Rectangle(-wd, 0, wd, 200, black);
  // Grid lines past the canvas's edge would not show; stopping there keeps a
  // huge width from drawing for ever.
  const double gridEnd = std::min(wd, 220.0);
  for (double x = 0; x <= gridEnd; x += 10) {
    profile.Line(x, 0, x, 200, grey);
    profile.Line(-x, 0, -x, 200, grey);
  }
  profile.Line(0, 0, 0, 200, black);
  for (int y = 20; y <= 180; y += 20) profile.Line(-wd, y, wd, y, grey);
  profile.Line(-wd, 100, wd, 100, black);

  const QString width = QString::fromStdString(ProfileWidthText(w));
  const QString widthUnsigned = QString::fromStdString(ProfileWidthText(std::fabs(w)));
  profile.Text(-3, -5, "0", black);
  profile.Text(wd - 20, -5, width, black);
  profile.Text(-wd - 10, -5, widthUnsigned, black);
  profile.Text(wd + 2, 210, "100", black);
  profile.Text(wd + 2, 110, " 50", black);
  profile.Text(wd + 5, 10, "0", black);

  profile.SetLineWidth(2);
  // The grid holds 200 cells across: the curves stop there however wide the
  // phantom claims to be.
  const int lastCell = static_cast<int>(std::min(w, double(ViewerDose::CELLS_X)));
  const QColor colors[] = {black, red, blue};
  for (const double side : {1.0, -1.0}) {
    for (int c = 2; c >= 0; --c) {
      const double* row = dose.Row(c, plane, 1);
      profile.SetPixel(side, Tame(200 * row[1]), colors[c]);
      for (int ix = 2; ix <= lastCell; ++ix)
        profile.LineTo(side * ix, Tame(200 * row[ix]), colors[c]);
    }
  }
  profile.Rectangle(-wd, 0, wd, 200, black);
  profile.SetLineWidth(1);
  return w;
}

std::string ProfileWidthText(double profileHalfWidth) {
  return " " + PlainNumberText(profileHalfWidth) + " ";
}

void DrawSagittalMap(Canvas& sagittal, const ViewerDose& dose, double phantomB) {
  QImage image = Backdrop(sagittal);
  for (int iy = 1; iy <= ViewerDose::CELLS_Y; ++iy) {
    // Each 5 mm cell fills five pixels on each side of the centre, from
    // 5 iy - 5 up to but not including 5 iy.
    int columns[10];
    for (int k = 0; k < 5; ++k) {
      columns[k] = PixelX(sagittal, 5 * iy - 5 + k);
      columns[5 + k] = PixelX(sagittal, 5 - 5 * iy - k);
    }
    for (int iz = 1; iz <= ViewerDose::CELLS_Z; ++iz) {
      const QRgb color = MapColor(dose(0, 1, iy, iz));
      const int rowDown = PixelY(sagittal, iz);
      const int rowUp = PixelY(sagittal, -iz);
      for (const int px : columns) {
        Put(image, px, rowDown, color);
        Put(image, px, rowUp, color);
      }
    }
  }
  sagittal.DrawImage(image);
  const double b = Tame(5 * phantomB);
  sagittal.SetLineWidth(1);
  sagittal.Rectangle(-201, b + 1, 201, -b - 1, QColor(0, 0, 0));
}

void DrawLegend(Canvas& legend) {
  legend.SetLineWidth(1);
  for (int v = 0; v <= 255; ++v) legend.Line(0, v, 5, v, QColor(255, 255 - v, 255 - v));
  for (int tick = 0; tick <= 10; ++tick)
    legend.Line(4, 25.5 * tick, 6, 25.5 * tick, QColor(0, 0, 0));
}

}  // namespace tessalin
