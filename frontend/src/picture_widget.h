// A window control that shows a drawing made by a function: the pictures,
// shapes and the phantom illustration.
#pragma once

#include <QWidget>
#include <functional>

namespace tessalin {

class PictureWidget : public QWidget {
  Q_OBJECT
 public:
  using Painter = std::function<void(QPainter&, const QRect&)>;
  PictureWidget(QWidget* parent, const QString& name, Painter painter);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Painter painter_;
};

// A shape control: a rectangle outline (rounded or not) that lets the mouse
// through to what lies below.
PictureWidget* MakeShape(QWidget* parent, const QString& name, const QRect& pixels,
                         const QColor& color, bool rounded);

}  // namespace tessalin
