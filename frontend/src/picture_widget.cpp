#include "picture_widget.h"

#include <QPainter>

namespace tessalin {

PictureWidget::PictureWidget(QWidget* parent, const QString& name, Painter painter)
    : QWidget(parent), painter_(std::move(painter)) {
  setObjectName(name);
}

void PictureWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (painter_) painter_(painter, rect());
}

PictureWidget* MakeShape(QWidget* parent, const QString& name, const QRect& pixels,
                         const QColor& color, bool rounded) {
  auto* shape =
      new PictureWidget(parent, name, [color, rounded](QPainter& painter, const QRect& rect) {
        painter.setPen(QPen(color, 1));
        painter.setBrush(Qt::NoBrush);
        if (rounded) {
          painter.setRenderHint(QPainter::Antialiasing);
          painter.drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
        } else {
          painter.drawRect(rect.adjusted(0, 0, -1, -1));
        }
      });
  shape->setGeometry(pixels);
  shape->setAttribute(Qt::WA_TransparentForMouseEvents);
  return shape;
}

}  // namespace tessalin
