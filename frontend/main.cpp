// Tessalin: the front end's entry point.
#include <QApplication>
#include <QDir>
#include <QtGlobal>

#include "tessalin_app.h"

int main(int argc, char* argv[]) {
  // One logical pixel must stay one screen pixel: the layouts are in pixels.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  qputenv("QT_FONT_DPI", "96");
  qunsetenv("QT_SCALE_FACTOR");
  qunsetenv("QT_SCREEN_SCALE_FACTORS");
  QApplication application(argc, argv);
  application.setStyle(QStringLiteral("Fusion"));
  // The program ends only through its own exits, never because the last
  // visible window went away for a moment.
  application.setQuitOnLastWindowClosed(false);

  tessalin::TessalinApp tessalin(QDir::currentPath());
  tessalin.Run();
  return application.exec();
}
