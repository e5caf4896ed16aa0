#include "canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace tessalin {

CanvasLine::CanvasLine(Canvas* canvas, const QString& name) : QObject(canvas), canvas_(canvas) {
  setObjectName(name);
}

void CanvasLine::SetPoints(double x1, double y1, double x2, double y2) {
  x1_ = x1;
  y1_ = y1;
  x2_ = x2;
  y2_ = y2;
  canvas_->update();
}

void CanvasLine::SetVisible(bool visible) {
  visible_ = visible;
  canvas_->update();
}

void CanvasLine::SetColor(const QColor& color) {
  color_ = color;
  canvas_->update();
}

void CanvasLine::SetWidth(int pixels) {
  width_ = pixels;
  canvas_->update();
}

Canvas::Canvas(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  ResizeImage();
}

QSize Canvas::sizeHint() const { return {200, 150}; }

void Canvas::SetScale(double left, double top, double right, double bottom) {
  ResizeImage();
  scale_.SetEdges(left, top, right, bottom);
  update();
}

void Canvas::SetBorderWidth(int pixels) {
  border_ = std::max(0, pixels);
  ResizeImage();
  update();
}

void Canvas::SetBackground(const QColor& color) { background_ = color; }
void Canvas::SetForeground(const QColor& color) { foreground_ = color; }
void Canvas::SetLineWidth(int pixels) { lineWidth_ = std::max(1, pixels); }

void Canvas::ResizeImage() const {
  const QSize area(std::max(1, width() - 2 * border_), std::max(1, height() - 2 * border_));
  if (image_.size() == area) return;
  QImage resized(area, QImage::Format_RGB32);
  resized.fill(background_);
  if (!image_.isNull()) {
    QPainter painter(&resized);
    painter.drawImage(0, 0, image_);
  }
  image_ = resized;
  scale_.SetPixelSize(area.width(), area.height());
}

const CanvasScale& Canvas::Scale() const {
  ResizeImage();
  return scale_;
}

const QImage& Canvas::Image() const {
  ResizeImage();
  return image_;
}

void Canvas::resizeEvent(QResizeEvent*) {
  ResizeImage();
  update();
}

void Canvas::Clear() {
  ResizeImage();
  image_.fill(background_);
  pen_ = QPointF(scale_.Left(), scale_.Top());
  update();
}

QColor Canvas::ColorOr(const QColor& color) const { return color.isValid() ? color : foreground_; }

QPoint Canvas::PixelOf(double x, double y) const {
  const QPointF p = scale_.ToPixel(x, y);
  return {static_cast<int>(std::floor(p.x() + 0.5)), static_cast<int>(std::floor(p.y() + 0.5))};
}

namespace {
// Aliased drawing: grids and steps must land on whole pixels, as on screen.
void PreparePainter(QPainter& painter, const QColor& color, int width) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  QPen pen(color, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
}
}  // namespace

void Canvas::SetPixel(double x, double y, const QColor& color) {
  ResizeImage();
  const QPoint p = PixelOf(x, y);
  QPainter painter(&image_);
  const int w = lineWidth_;
  painter.fillRect(QRect(p.x() - (w - 1) / 2, p.y() - (w - 1) / 2, w, w), ColorOr(color));
  pen_ = QPointF(x, y);
  update();
}

void Canvas::LineTo(double x, double y, const QColor& color) {
  Line(pen_.x(), pen_.y(), x, y, color);
}

void Canvas::Line(double x1, double y1, double x2, double y2, const QColor& color) {
  ResizeImage();
  QPainter painter(&image_);
  PreparePainter(painter, ColorOr(color), lineWidth_);
  painter.drawLine(PixelOf(x1, y1), PixelOf(x2, y2));
  pen_ = QPointF(x2, y2);
  update();
}

void Canvas::Rectangle(double x1, double y1, double x2, double y2, const QColor& color) {
  ResizeImage();
  QPainter painter(&image_);
  PreparePainter(painter, ColorOr(color), lineWidth_);
  const QPoint a = PixelOf(x1, y1);
  const QPoint b = PixelOf(x2, y2);
  const QPoint corners[] = {a, QPoint(b.x(), a.y()), b, QPoint(a.x(), b.y())};
  painter.drawPolygon(corners, 4);
  pen_ = QPointF(x2, y2);
  update();
}

void Canvas::FillRectangle(double x1, double y1, double x2, double y2, const QColor& color) {
  ResizeImage();
  const QPoint a = PixelOf(x1, y1);
  const QPoint b = PixelOf(x2, y2);
  QPainter painter(&image_);
  painter.fillRect(QRect(a, b).normalized(), ColorOr(color));
  update();
}

void Canvas::Circle(double x, double y, double radius, const QColor& color) {
  ResizeImage();
  QPainter painter(&image_);
  PreparePainter(painter, ColorOr(color), lineWidth_);
  const QPointF c = scale_.ToPixel(x, y);
  const double r = scale_.LengthToPixelsX(radius);
  painter.drawEllipse(c, r, r);
  pen_ = QPointF(x, y);
  update();
}

void Canvas::Arc(double x, double y, double radius, double startAngle, double endAngle,
                 const QColor& color) {
  ResizeImage();
  QPainter painter(&image_);
  PreparePainter(painter, ColorOr(color), lineWidth_);
  const QPointF c = scale_.ToPixel(x, y);
  const double r = scale_.LengthToPixelsX(radius);
  double span = endAngle - startAngle;
  while (span < 0) span += 2 * M_PI;  // an arc always runs counter-clockwise
  // QPainter's angles are counter-clockwise in 1/16 degree.
  const int start16 = static_cast<int>(std::lround(startAngle * 180 / M_PI * 16));
  const int span16 = static_cast<int>(std::lround(span * 180 / M_PI * 16));
  painter.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), start16, span16);
  pen_ = QPointF(x, y);
  update();
}

void Canvas::Text(double x, double y, const QString& text, const QColor& color) {
  ResizeImage();
  QPainter painter(&image_);
  painter.setFont(font());
  painter.setPen(ColorOr(color));
  const QPoint p = PixelOf(x, y);
  painter.drawText(QRect(p, QSize(image_.width() + 1000, image_.height() + 1000)),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
  update();
}

void Canvas::DrawImage(const QImage& image, int px, int py) {
  ResizeImage();
  if (px == 0 && py == 0 && image.size() == image_.size() && image.format() == image_.format()) {
    image_ = image;  // implicitly shared: no pixel is copied now
  } else {
    QPainter painter(&image_);
    painter.drawImage(px, py, image);
  }
  update();
}

CanvasLine* Canvas::AddLine(const QString& name) {
  auto* line = new CanvasLine(this, name);
  update();
  return line;
}

void Canvas::paintEvent(QPaintEvent*) {
  ResizeImage();
  QPainter painter(this);
  if (border_ > 0) {
    // A sunken frame: dark above and left, light below and right.
    painter.fillRect(rect(), palette().color(QPalette::Light));
    painter.fillRect(QRect(0, 0, width(), border_), QColor(128, 128, 128));
    painter.fillRect(QRect(0, 0, border_, height()), QColor(128, 128, 128));
  }
  painter.drawImage(border_, border_, image_);
  painter.translate(border_, border_);
  painter.setClipRect(QRect(QPoint(0, 0), image_.size()));
  for (const CanvasLine* line : findChildren<CanvasLine*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (!line->IsVisible()) continue;
    PreparePainter(painter, line->Color(), line->Width());
    painter.drawLine(PixelOf(line->X1(), line->Y1()), PixelOf(line->X2(), line->Y2()));
  }
}

QPointF Canvas::UserOf(const QPointF& widgetPosition) const {
  const double px = std::floor(widgetPosition.x()) - border_;
  const double py = std::floor(widgetPosition.y()) - border_;
  return scale_.ToUser(px, py);
}

void Canvas::mousePressEvent(QMouseEvent* event) {
  const QPointF p = UserOf(event->position());
  emit mousePressed(event->button(), p.x(), p.y());
}

void Canvas::mouseMoveEvent(QMouseEvent* event) {
  const QPointF p = UserOf(event->position());
  emit mouseMoved(event->buttons(), p.x(), p.y());
}

}  // namespace tessalin
