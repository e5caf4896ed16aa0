// The canvas: its coordinate mapping, its kept drawing, its line controls and
// its mouse reports.
#include <QSignalSpy>
#include <QtTest>

#include "canvas.h"
#include "canvas_scale.h"

using tessalin::Canvas;
using tessalin::CanvasLine;
using tessalin::CanvasScale;

class CanvasTest : public QObject {
  Q_OBJECT
 private slots:
  void mapsUserPointsToPixels_data() {
    QTest::addColumn<QRectF>("edges");  // left, top, right - left, bottom - top
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<QPointF>("user");
    QTest::addColumn<QPointF>("pixel");
    // The spectrum plot: 6000 x 2500 units over 417 x 361 pixels, y down.
    const QRectF spectrum(0, 0, 6000, 2500);
    QTest::newRow("spectrum origin")
        << spectrum << QSize(417, 361) << QPointF(0, 0) << QPointF(0, 0);
    QTest::newRow("spectrum far corner")
        << spectrum << QSize(417, 361) << QPointF(6000, 2500) << QPointF(417, 361);
    QTest::newRow("spectrum box corner")
        << spectrum << QSize(417, 361) << QPointF(1000, 2100) << QPointF(69.5, 303.24);
    // The filtration plot: y grows upwards, 82 at the top, -8 at the bottom.
    const QRectF filtration(-1.8, 82, 22, -90);
    QTest::newRow("filtration top left")
        << filtration << QSize(329, 361) << QPointF(-1.8, 82) << QPointF(0, 0);
    QTest::newRow("filtration bottom right")
        << filtration << QSize(329, 361) << QPointF(20.2, -8) << QPointF(329, 361);
    QTest::newRow("filtration origin")
        << filtration << QSize(330, 360) << QPointF(0, 0) << QPointF(27, 328);
  }
  void mapsUserPointsToPixels() {
    QFETCH(QRectF, edges);
    QFETCH(QSize, pixels);
    QFETCH(QPointF, user);
    QFETCH(QPointF, pixel);
    CanvasScale scale(pixels.width(), pixels.height());
    scale.SetEdges(edges.left(), edges.top(), edges.left() + edges.width(),
                   edges.top() + edges.height());
    const QPointF mapped = scale.ToPixel(user.x(), user.y());
    QVERIFY2(qAbs(mapped.x() - pixel.x()) < 0.01 && qAbs(mapped.y() - pixel.y()) < 0.01,
             qPrintable(QString("got %1, %2").arg(mapped.x()).arg(mapped.y())));
    const QPointF back = scale.ToUser(mapped.x(), mapped.y());
    QVERIFY(qAbs(back.x() - user.x()) < 1e-9 && qAbs(back.y() - user.y()) < 1e-9);
  }

  void keepsSaneScaleOnDegenerateInput() {
    CanvasScale scale(0, 0);  // no zero division later
    QCOMPARE(scale.PixelWidth(), 1);
    scale.SetPixelSize(100, 50);
    QCOMPARE(scale.ToPixel(100, 50), QPointF(100, 50));  // plain pixels by default
    scale.SetEdges(0, 10, 0, -10);                       // no width: refused
    QCOMPARE(scale.Right(), 100.0);
    scale.SetEdges(-50, 25, 50, -25);
    scale.SetPixelSize(200, 100);  // edges stay, scale follows
    QCOMPARE(scale.ToPixel(0, 0), QPointF(100, 50));
    QCOMPARE(scale.LengthToPixelsX(-5), 10.0);
    QVERIFY(scale.UnitsPerPixelY() < 0);
  }

  void keepsDrawingAndLinesAcrossClear() {
    Canvas canvas;
    canvas.resize(100, 50);
    canvas.SetScale(0, 0, 100, 50);
    canvas.SetLineWidth(2);
    canvas.SetPixel(10, 10);
    canvas.LineTo(60, 10, Qt::red);
    QCOMPARE(canvas.PenPosition(), QPointF(60, 10));
    QCOMPARE(canvas.Image().pixelColor(40, 10), QColor(Qt::red));
    canvas.Rectangle(5, 20, 30, 40, Qt::blue);
    QCOMPARE(canvas.Image().pixelColor(5, 30), QColor(Qt::blue));
    QCOMPARE(canvas.Image().pixelColor(15, 30), QColor(Qt::white));  // outline only
    canvas.Circle(70, 30, 10, Qt::green);
    QCOMPARE(canvas.Image().pixelColor(80, 30), QColor(Qt::green));

    CanvasLine* marker = canvas.AddLine("Line10");
    marker->SetPoints(50, 0, 50, 50);
    marker->SetColor(Qt::red);
    QCOMPARE(canvas.findChild<CanvasLine*>("Line10"), marker);

    canvas.Clear();
    QCOMPARE(canvas.Image().pixelColor(40, 10), QColor(Qt::white));
    QCOMPARE(canvas.PenPosition(), QPointF(0, 0));
    // The line control survives and shows above the (cleared) drawing.
    QCOMPARE(canvas.findChild<CanvasLine*>("Line10"), marker);
    QImage shown = canvas.grab().toImage();
    QCOMPARE(shown.pixelColor(50, 25), QColor(Qt::red));
    marker->SetVisible(false);
    shown = canvas.grab().toImage();
    QCOMPARE(shown.pixelColor(50, 25), QColor(Qt::white));
  }

  void drawsTextAndImages() {
    Canvas canvas;
    canvas.resize(120, 60);
    canvas.SetScale(-1.8, 82, 20.2, -8);  // y up: a text hangs below its point
    canvas.Text(0, 80, "80");
    const QImage& image = canvas.Image();
    const QPoint at = canvas.Scale().ToPixel(0, 80).toPoint();
    bool inkBelow = false, inkAbove = false;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, y) == QColor(Qt::white)) continue;
        (y >= at.y() ? inkBelow : inkAbove) = true;
      }
    }
    QVERIFY(inkBelow);
    QVERIFY(!inkAbove);

    QImage block(canvas.Image().size(), canvas.Image().format());
    block.fill(Qt::yellow);
    canvas.DrawImage(block);
    QCOMPARE(canvas.Image().pixelColor(119, 59), QColor(Qt::yellow));
    QImage small(10, 10, QImage::Format_RGB32);
    small.fill(Qt::black);
    canvas.DrawImage(small, 5, 5);
    QCOMPARE(canvas.Image().pixelColor(14, 14), QColor(Qt::black));
    QCOMPARE(canvas.Image().pixelColor(15, 15), QColor(Qt::yellow));
  }

  void reportsMouseInUserCoordinates() {
    QWidget window;
    auto* canvas = new Canvas(&window);
    canvas->setGeometry(10, 10, 200, 100);
    canvas->SetBorderWidth(2);  // drawing area 196 x 96
    canvas->SetScale(-98, 48, 98, -48);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy moves(canvas, &Canvas::mouseMoved);
    QSignalSpy presses(canvas, &Canvas::mousePressed);
    QTest::mouseMove(canvas, QPoint(2 + 98 + 10, 2 + 48 - 20));
    QTRY_COMPARE(moves.size(), 1);
    QCOMPARE(moves[0][1].toDouble(), 10.0);
    QCOMPARE(moves[0][2].toDouble(), 20.0);
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(presses.size(), 1);
    QCOMPARE(presses[0][0].value<Qt::MouseButton>(), Qt::LeftButton);
    QCOMPARE(presses[0][1].toDouble(), -98.0);
    QCOMPARE(presses[0][2].toDouble(), 48.0);
  }
};

QTEST_MAIN(CanvasTest)
#include "canvas_test.moc"
