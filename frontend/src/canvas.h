// A drawing canvas that keeps its drawing until it is cleared: every drawing
// call paints into a cached image, and the widget only shows that image.
#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPointF>
#include <QWidget>

#include "canvas_scale.h"

namespace tessalin {

class Canvas;

// A line control on a canvas: two end points in the canvas's user
// coordinates, shown above the drawing and untouched by Clear(). Its object
// name is its control name (e.g. "Line27"), so canvas->findChild finds it.
class CanvasLine : public QObject {
  Q_OBJECT
 public:
  CanvasLine(Canvas* canvas, const QString& name);

  // Moves both end points (user coordinates).
  void SetPoints(double x1, double y1, double x2, double y2);
  void SetVisible(bool visible);
  void SetColor(const QColor& color);
  void SetWidth(int pixels);

  bool IsVisible() const { return visible_; }
  double X1() const { return x1_; }
  double Y1() const { return y1_; }
  double X2() const { return x2_; }
  double Y2() const { return y2_; }
  QColor Color() const { return color_; }
  int Width() const { return width_; }

 private:
  Canvas* canvas_;
  double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
  QColor color_ = Qt::black;
  int width_ = 1;
  bool visible_ = true;
};

// The canvas. Coordinates of every drawing call are user coordinates of the
// canvas's scale (SetScale); lengths of line widths are pixels (1 or 2).
// Each call draws in the given colour, or in the foreground colour (black
// unless set) when the colour is invalid. Texts use the widget's font.
// Mouse tracking is on: moving over the canvas reports mouseMoved even with
// no button held.
class Canvas : public QWidget {
  Q_OBJECT
 public:
  explicit Canvas(QWidget* parent = nullptr);

  // The user coordinate system: values of the left, top, right and bottom
  // edges of the drawing area (bottom < top: y grows upwards).
  void SetScale(double left, double top, double right, double bottom);
  const CanvasScale& Scale() const;

  // A sunken frame of this many pixels inside the widget; the drawing area
  // (and so the scale and the mouse positions) lies within it. Default 0.
  void SetBorderWidth(int pixels);
  int BorderWidth() const { return border_; }

  void SetBackground(const QColor& color);  // the colour Clear() fills with
  QColor Background() const { return background_; }
  void SetForeground(const QColor& color);  // default colour of drawing calls
  void SetLineWidth(int pixels);            // 1 or 2
  int LineWidth() const { return lineWidth_; }

  // Erases the drawing (not the line controls) and puts the pen position at
  // the top-left corner (Left, Top).
  void Clear();

  // Sets the pixel at (x, y) (a square of the line width) and makes the
  // point the pen position.
  void SetPixel(double x, double y, const QColor& color = QColor());
  // Draws from the pen position to (x, y), which becomes the pen position.
  void LineTo(double x, double y, const QColor& color = QColor());
  // Draws from (x1, y1) to (x2, y2), which becomes the pen position.
  void Line(double x1, double y1, double x2, double y2, const QColor& color = QColor());
  // The outline of the box with corners (x1, y1) and (x2, y2).
  void Rectangle(double x1, double y1, double x2, double y2, const QColor& color = QColor());
  // The box with corners (x1, y1) and (x2, y2), filled, no outline.
  void FillRectangle(double x1, double y1, double x2, double y2, const QColor& color);
  // A circle around (x, y); the radius is in units of x.
  void Circle(double x, double y, double radius, const QColor& color = QColor());
  // An arc of that circle from startAngle to endAngle (radians, counter-
  // clockwise on the screen from the direction of growing pixel x).
  void Arc(double x, double y, double radius, double startAngle, double endAngle,
           const QColor& color = QColor());
  // A text whose top-left corner lies at (x, y).
  void Text(double x, double y, const QString& text, const QColor& color = QColor());
  // Copies a whole image into the drawing with its top-left corner at the
  // pixel (px, py) of the drawing area; a full-size image at (0, 0) of the
  // drawing's format is taken over without painting.
  void DrawImage(const QImage& image, int px = 0, int py = 0);

  QPointF PenPosition() const { return pen_; }
  // The cached drawing (pixels of the drawing area, border excluded).
  const QImage& Image() const;

  // Line controls belong to the canvas; named, e.g. "Line27".
  CanvasLine* AddLine(const QString& name);

  QSize sizeHint() const override;

 signals:
  // A mouse button went down over the drawing area, at user point (x, y).
  void mousePressed(Qt::MouseButton button, double x, double y);
  // The mouse moved over the drawing area, at user point (x, y).
  void mouseMoved(Qt::MouseButtons buttons, double x, double y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  friend class CanvasLine;
  QColor ColorOr(const QColor& color) const;
  QPoint PixelOf(double x, double y) const;
  QPointF UserOf(const QPointF& widgetPosition) const;
  // A hidden widget gets its resize event only when shown, so every use of
  // the image first brings it to the widget's current size.
  void ResizeImage() const;

  mutable CanvasScale scale_;
  mutable QImage image_;
  QColor background_ = Qt::white;
  QColor foreground_ = Qt::black;
  int lineWidth_ = 1;
  int border_ = 0;
  QPointF pen_;
};

}  // namespace tessalin
