// The value <-> pixel mapping of a drawing canvas, apart from any window so
// that it can be tested on its own.
#pragma once

#include <QPointF>

namespace tessalin {

// A user coordinate system over a drawing area of PixelWidth x PixelHeight
// pixels: Left/Top are the user values of the area's left and top edges,
// Right/Bottom those of its right and bottom edges. Bottom < Top makes y grow
// upwards. Pixel (0, 0) is the top-left pixel; user (Left, Top) maps onto its
// top-left corner, so pixel px covers user x from Left + px * UnitsPerPixelX().
class CanvasScale {
 public:
  CanvasScale() = default;
  CanvasScale(int pixelWidth, int pixelHeight);

  // The area in pixels; the user edges stay, so the scale follows the size.
  void SetPixelSize(int pixelWidth, int pixelHeight);
  // User values of the four edges; equal edges are refused (kept as they were).
  void SetEdges(double left, double top, double right, double bottom);
  // Back to plain pixels: (0, 0) top left, one unit per pixel, y down.
  void SetPixelEdges();

  double Left() const { return left_; }
  double Top() const { return top_; }
  double Right() const { return right_; }
  double Bottom() const { return bottom_; }
  int PixelWidth() const { return pixelWidth_; }
  int PixelHeight() const { return pixelHeight_; }

  // Signed user units per pixel (negative along y when y grows upwards).
  double UnitsPerPixelX() const;
  double UnitsPerPixelY() const;

  // User point -> pixel position (fractional; callers round as they draw).
  QPointF ToPixel(double x, double y) const;
  // A user length along x -> pixels (absolute), as circle radii are given.
  double LengthToPixelsX(double length) const;
  // Pixel position -> user point (the exact inverse of ToPixel).
  QPointF ToUser(double px, double py) const;

 private:
  int pixelWidth_ = 1;
  int pixelHeight_ = 1;
  double left_ = 0, top_ = 0, right_ = 1, bottom_ = 1;
  bool pixelEdges_ = true;  // edges follow the pixel size until set
};

}  // namespace tessalin
