#include "canvas_scale.h"

#include <algorithm>
#include <cmath>

namespace tessalin {

CanvasScale::CanvasScale(int pixelWidth, int pixelHeight) { SetPixelSize(pixelWidth, pixelHeight); }

void CanvasScale::SetPixelSize(int pixelWidth, int pixelHeight) {
  // A zero-sized area would make every mapping divide by zero.
  pixelWidth_ = std::max(1, pixelWidth);
  pixelHeight_ = std::max(1, pixelHeight);
  if (pixelEdges_) SetPixelEdges();
}

void CanvasScale::SetEdges(double left, double top, double right, double bottom) {
  if (left == right || top == bottom) return;
  left_ = left;
  top_ = top;
  right_ = right;
  bottom_ = bottom;
  pixelEdges_ = false;
}

void CanvasScale::SetPixelEdges() {
  left_ = 0;
  top_ = 0;
  right_ = pixelWidth_;
  bottom_ = pixelHeight_;
  pixelEdges_ = true;
}

double CanvasScale::UnitsPerPixelX() const { return (right_ - left_) / pixelWidth_; }
double CanvasScale::UnitsPerPixelY() const { return (bottom_ - top_) / pixelHeight_; }

QPointF CanvasScale::ToPixel(double x, double y) const {
  return {(x - left_) / UnitsPerPixelX(), (y - top_) / UnitsPerPixelY()};
}

double CanvasScale::LengthToPixelsX(double length) const {
  return std::fabs(length / UnitsPerPixelX());
}

QPointF CanvasScale::ToUser(double px, double py) const {
  return {left_ + px * UnitsPerPixelX(), top_ + py * UnitsPerPixelY()};
}

}  // namespace tessalin
