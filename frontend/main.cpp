// Tessalin: the front end's entry point.
#include <QApplication>
#include <QDir>
#include <QtGlobal>

#include "render_picture.h"
#include "tessalin_app.h"

int main(int argc, char* argv[]) {
  // One logical pixel must stay one screen pixel: the layouts are in pixels.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  qputenv("QT_FONT_DPI", "96");
  qunsetenv("QT_SCALE_FACTOR");
  qunsetenv("QT_SCREEN_SCALE_FACTORS");
  // The headless picture makes its own application object and opens no window.
  if (tessalin::IsRenderRequest(argc, argv)) return tessalin::RunRender(argc, argv);
  QApplication application(argc, argv);
  application.setStyle(QStringLiteral("Fusion"));
  // The program ends only through its own exits, never because the last
  // visible window went away for a moment.
  application.setQuitOnLastWindowClosed(false);

  tessalin::TessalinApp tessalin(QDir::currentPath());
  tessalin.Run();
  return application.exec();
}
