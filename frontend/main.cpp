// Tessalin: the front end's entry point.
#include <QApplication>
#include <QtGlobal>

#include "viewer_window.h"

int main(int argc, char* argv[]) {
  // One logical pixel must stay one screen pixel: the layouts are in pixels.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  qputenv("QT_FONT_DPI", "96");
  qunsetenv("QT_SCALE_FACTOR");
  qunsetenv("QT_SCREEN_SCALE_FACTORS");
  QApplication app(argc, argv);
  tessalin::Form2 viewer;
  viewer.show();
  return app.exec();
}
