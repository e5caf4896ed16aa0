#include "viewer_window.h"

#include <QCloseEvent>

namespace tessalin {

Form2::Form2(QWidget* parent) : QWidget(parent) {
  setObjectName("Form2");
  setWindowTitle("  Dose distribution");
  setFixedSize(22005 / 15, 11565 / 15);
  // Closing through the frame ends the viewer; the next entry starts anew.
  setAttribute(Qt::WA_DeleteOnClose);
}

void Form2::prepareForShow() {}

void Form2::closeEvent(QCloseEvent* event) {
  emit startWindowRequested();
  event->accept();
}

}  // namespace tessalin
