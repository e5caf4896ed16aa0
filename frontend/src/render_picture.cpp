#include "render_picture.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QtGlobal>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "message_box.h"
#include "viewer_window.h"

namespace tessalin {
namespace {

struct RenderArguments {
  QString ResultFile;
  QString Picture;
  int AxialPlane = 1;
};

bool ParseArguments(const QStringList& argv, RenderArguments& arguments, QString& error) {
  const QString usage = "usage: Tessalin --render <result.tsl2> <out.png> [--plane N]";
  if ((argv.size() != 3 && argv.size() != 5) || argv[0] != "--render") {
    error = usage;
    return false;
  }
  arguments.ResultFile = argv[1];
  arguments.Picture = argv[2];
  if (argv.size() == 5) {
    if (argv[3] != "--plane") {
      error = usage;
      return false;
    }
    const std::string text = argv[4].toStdString();
    int plane = 0;
    const auto [stop, ec] = std::from_chars(text.data(), text.data() + text.size(), plane);
    if (ec != std::errc() || stop != text.data() + text.size() || plane < 1 ||
        plane > ViewerDose::CELLS_Y) {
      error = "--plane: \"" + argv[4] + "\" is not a plane number from 1 to 40";
      return false;
    }
    arguments.AxialPlane = plane;
  }
  return true;
}

// The views of the picture, placed as they stand in the viewer window.
const char* const PICTURE_CONTROLS[] = {"Picture1", "Picture2", "Picture3", "Picture6", "Picture7",
                                        "Label24",  "Picture5", "Label29",  "Text4",    "Label30"};

QImage Compose(const Form2& viewer) {
  QRect bounds;
  for (const char* name : PICTURE_CONTROLS) {
    if (const auto* control = viewer.findChild<QWidget*>(name)) bounds |= control->geometry();
  }
  bounds.adjust(-8, -8, 8, 8);
  QImage picture(bounds.size(), QImage::Format_RGB32);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  for (const char* name : PICTURE_CONTROLS) {
    auto* control = viewer.findChild<QWidget*>(name);
    if (control == nullptr) continue;
    control->render(&painter, control->geometry().topLeft() - bounds.topLeft(), QRegion(),
                    QWidget::DrawChildren);
  }
  return picture;
}

}  // namespace

bool IsRenderRequest(int argc, char* argv[]) {
  return argc >= 2 && std::strcmp(argv[1], "--render") == 0;
}

int RunRender(int argc, char* argv[]) {
  // No window is shown: without a platform named, draw off screen, so that
  // the picture needs no display. One logical pixel per pixel, as on screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  qputenv("QT_FONT_DPI", "96");
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  app.setStyle(QStringLiteral("Fusion"));  // as the program's windows
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QString error;
  const int status = RenderPicture(arguments, error);
  if (status != 0) std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
  return status;
}

int RenderPicture(const QStringList& argv, QString& error) {
  RenderArguments arguments;
  if (!ParseArguments(argv, arguments, error)) return 1;
  // The viewer's messages become the error text instead of dialogs.
  QString message;
  const MessageHandler previous =
      SetMessageHandler([&message](const QString& text, MessageIcon) { message = text; });
  int status = 0;
  {
    Form2 viewer;
    viewer.setAttribute(Qt::WA_DeleteOnClose, false);
    viewer.setAttribute(Qt::WA_DontShowOnScreen);
    viewer.show();
    if (!viewer.LoadResult(arguments.ResultFile)) {
      error = message;
      status = 1;
    } else {
      if (arguments.AxialPlane != 1) viewer.ShowPlane(arguments.AxialPlane);
      if (!Compose(viewer).save(arguments.Picture, "PNG")) {
        error = arguments.Picture + ": the picture cannot be written";
        status = 1;
      }
    }
  }
  SetMessageHandler(previous);
  return status;
}

}  // namespace tessalin
