// Form2, the result viewer, driven as a user would: pick, load, click the
// sagittal map, move over the maps and the profile, reset, leave.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <memory>

#include "canvas.h"
#include "dose_shade.h"
#include "dose_views.h"
#include "message_box.h"
#include "number_pattern.h"
#include "render_picture.h"
#include "viewer_fixture.h"
#include "viewer_window.h"

using namespace tessalin;
using fixture::PatternDose;

namespace {

QColor MapColor(double fraction) {
  const int s = DoseShade(fraction);
  return QColor(255, s, s);
}

QColor At(const Canvas* canvas, double x, double y) {
  const QPointF p = canvas->Scale().ToPixel(x, y);
  return canvas->Image().pixelColor(int(std::floor(p.x() + 0.5)), int(std::floor(p.y() + 0.5)));
}

bool IsBlank(const Canvas* canvas) {
  const QImage& image = canvas->Image();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != canvas->Background().rgb()) return false;
    }
  }
  return true;
}

QString Percent(double fraction) {
  return QString::fromStdString(FormatNumber(100 * fraction, "##0.0"));
}

}  // namespace

class ViewerWindowTest : public QObject {
  Q_OBJECT

 public:
  QTemporaryDir dir;
  QStringList messages;
  std::unique_ptr<Form2> viewer;

  template <typename T>
  T* Get(const char* name) {
    T* child = viewer->findChild<T*>(name);
    if (child == nullptr) qFatal("no control %s", name);
    return child;
  }
  QString TextOf(const char* name) { return Get<QLineEdit>(name)->text(); }
  CanvasLine* LineOf(const char* name) { return Get<CanvasLine>(name); }

  void Pick(const QString& fileName) {
    auto* list = Get<QListWidget>("File1");
    const auto items = list->findItems(fileName, Qt::MatchExactly);
    QVERIFY2(!items.isEmpty(), qPrintable(fileName));
    // A pick by mouse: the row moves on the press, the summary comes with the click.
    list->scrollToItem(items.first());
    const QPoint at = list->visualItemRect(items.first()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(list->currentItem(), items.first());
  }
  void LoadFile(const QString& fileName) {
    Pick(fileName);
    QVERIFY(Get<QPushButton>("Command14")->isEnabled());
    Get<QPushButton>("Command14")->click();
  }
  void MoveOn(const char* canvas, double x, double y) {
    emit Get<Canvas>(canvas)->mouseMoved(Qt::NoButton, x, y);
  }
  void ClickOn(const char* canvas, double x, double y) {
    emit Get<Canvas>(canvas)->mousePressed(Qt::LeftButton, x, y);
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir.isValid());
    SetMessageHandler([this](const QString& text, MessageIcon) { messages << text; });
    auto write = [this](const char* name, const fixture::FixtureHeader& header, long values = -1) {
      QVERIFY(fixture::WriteText(dir.filePath(name).toStdString(),
                                 fixture::ResultFileText(header, PatternDose, values)));
    };
    write("pattern.tsl2", {});
    fixture::FixtureHeader narrow;
    narrow.PhantomA = 15;
    narrow.PhantomB = 10;
    write("narrow.tsl2", narrow);
    fixture::FixtureHeader wide;  // beyond what the grid covers
    wide.PhantomA = 30;
    wide.PhantomB = 25;
    // Also a dose no per cent text can hold (first in its row, so still
    // separated from its neighbours).
    QVERIFY(fixture::WriteText(dir.filePath("wide.tsl2").toStdString(),
                               fixture::ResultFileText(wide, [](int c, int ix, int iy, int iz) {
                                 return c == 1 && ix == 1 && iy == 1 && iz == 1
                                            ? 1.7e308
                                            : PatternDose(c, ix, iy, iz);
                               })));
    write("truncated.tsl2", {}, 5000);
    QVERIFY(fixture::WriteText(dir.filePath("corrupt.tsl2").toStdString(),
                               "x\r\n 60.0\r\n 40.0\r\n 10.0\r\n abc\r\n 20.0\r\n .90E+09\r\n"));
    QVERIFY(fixture::WriteText(dir.filePath("notes.txt").toStdString(), "not a result"));
    QVERIFY(QDir::setCurrent(dir.path()));
  }

  void init() {
    messages.clear();
    viewer = std::make_unique<Form2>();
    viewer->setAttribute(Qt::WA_DeleteOnClose, false);  // the test owns it
    viewer->prepareForShow();
    viewer->show();
    QVERIFY(QTest::qWaitForWindowExposed(viewer.get()));
  }
  void cleanup() { viewer.reset(); }

  void creation() {
    QCOMPARE(viewer->windowTitle(), QString("  Dose distribution"));
    QCOMPARE(viewer->size(), QSize(1467, 771));
    QStringList names;
    auto* list = Get<QListWidget>("File1");
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    QCOMPARE(names, QStringList({"corrupt.tsl2", "narrow.tsl2", "pattern.tsl2", "truncated.tsl2",
                                 "wide.tsl2"}));
    QVERIFY(!Get<QPushButton>("Command14")->isEnabled());
    QVERIFY(!viewer->ResultLoaded());
    for (const char* line :
         {"Line10", "Line27", "Line28", "Line29", "Line30", "Line31", "Line32", "Line33"}) {
      QVERIFY2(!LineOf(line)->IsVisible(), line);
    }
    for (const char* hint : {"Label32", "Label33", "Label35", "Label36"}) {
      QVERIFY2(!Get<QLabel>(hint)->isVisible(), hint);
    }
    // The legend: white at its foot, pure red at its top, black ticks.
    const auto* legend = Get<Canvas>("Picture7");
    QCOMPARE(At(legend, 2, 0), QColor(255, 255, 255));
    QCOMPARE(At(legend, 2, 255), QColor(255, 0, 0));
    QCOMPARE(At(legend, 2, 128), QColor(255, 127, 127));
    QCOMPARE(At(legend, 5.5, 127.5), QColor(0, 0, 0));
  }

  void summaryEnablesOk() {
    QVERIFY(IsBlank(Get<Canvas>("Picture4")));
    Pick("pattern.tsl2");
    QVERIFY(!IsBlank(Get<Canvas>("Picture4")));
    QVERIFY(Get<QPushButton>("Command14")->isEnabled());
    QVERIFY(!viewer->ResultLoaded());  // the summary alone loads nothing
    QVERIFY(messages.isEmpty());
  }

  void loadDrawsEveryView() {
    LoadFile("pattern.tsl2");
    QVERIFY(messages.isEmpty());
    QVERIFY(viewer->ResultLoaded());
    QCOMPARE(viewer->AxialPlane(), 1);
    QCOMPARE(viewer->ProfileHalfWidth(), 200.0);
    QCOMPARE(TextOf("Text4"), QString(" 0 -  5"));
    QVERIFY(!Get<QPushButton>("Command14")->isEnabled());
    QVERIFY(LineOf("Line10")->IsVisible());
    QCOMPARE(LineOf("Line10")->X1(), 0.0);
    for (const char* hint : {"Label32", "Label33", "Label35", "Label36"}) {
      QVERIFY2(Get<QLabel>(hint)->isVisible(), hint);
    }

    // Each cell (ix, iz) of plane 1 fills the four pixels (+-ix, +-iz).
    struct Map {
      const char* canvas;
      int component;
    };
    for (const Map map : {Map{"Picture1", 1}, Map{"Picture2", 2}, Map{"Picture3", 0}}) {
      const auto* canvas = Get<Canvas>(map.canvas);
      auto dose = [&](int ix, int iz) {
        return map.component == 0 ? PatternDose(1, ix, 1, iz) + PatternDose(2, ix, 1, iz)
                                  : PatternDose(map.component, ix, 1, iz);
      };
      for (const auto& [ix, iz] :
           {std::pair{37, 12}, std::pair{1, 1}, std::pair{199, 60}, std::pair{150, 99}}) {
        for (const double sx : {1.0, -1.0}) {
          for (const double sz : {1.0, -1.0}) {
            QCOMPARE(At(canvas, sx * ix, sz * iz), MapColor(dose(ix, iz)));
          }
        }
      }
      // The row y = 0 and the column x = 0 carry no cell.
      QCOMPARE(At(canvas, 50, 0), QColor(Qt::white));
      QCOMPARE(At(canvas, 0, -50), QColor(Qt::white));
      // The outline: straight edges at y = +-100 from x -100 to 100.
      QCOMPARE(At(canvas, 50, 100), QColor(Qt::black));
      QCOMPARE(At(canvas, -50, -100), QColor(Qt::black));
    }

    // The sagittal map: 5 mm cells, five pixels on each side of the centre.
    const auto* sagittal = Get<Canvas>("Picture6");
    const QColor cell = MapColor(PatternDose(1, 1, 3, 12) + PatternDose(2, 1, 3, 12));
    for (const int x : {10, 14, -10, -14}) {
      QCOMPARE(At(sagittal, x, 12), cell);
      QCOMPARE(At(sagittal, x, -12), cell);
    }
    QCOMPARE(At(sagittal, 15, 12), MapColor(PatternDose(1, 1, 4, 12) + PatternDose(2, 1, 4, 12)));
    QCOMPARE(At(sagittal, 199, 40),
             MapColor(PatternDose(1, 1, 40, 40) + PatternDose(2, 1, 40, 40)));
    QCOMPARE(At(sagittal, 30, 0), QColor(Qt::white));
    QCOMPARE(At(sagittal, 30, -101), QColor(Qt::black));  // the 40 cm outline
    QCOMPARE(At(sagittal, 201, 50), QColor(Qt::black));

    // The profile: the 50 % line, and the total curve drawn last.
    const auto* profile = Get<Canvas>("Picture5");
    QCOMPARE(At(profile, 5, 100), QColor(Qt::black));
    QCOMPARE(At(profile, 60, 200 * (PatternDose(1, 60, 1, 1) + PatternDose(2, 60, 1, 1))),
             QColor(Qt::black));
    QCOMPARE(At(profile, 190, 30), QColor(128, 128, 128));  // the grid spans the whole width
    QCOMPARE(At(profile, -190, 30), QColor(128, 128, 128));
    QCOMPARE(At(profile, 200, 30), QColor(Qt::black));  // the frame
  }

  void profileOfNarrowPhantom() {
    LoadFile("narrow.tsl2");
    QCOMPARE(viewer->ProfileHalfWidth(), 125.0);
    const auto* profile = Get<Canvas>("Picture5");
    QCOMPARE(At(profile, 120, 30), QColor(128, 128, 128));
    QCOMPARE(At(profile, -120, 30), QColor(128, 128, 128));
    QCOMPARE(At(profile, 135, 30), QColor(Qt::white));  // no grid past the frame
    QCOMPARE(At(profile, -135, 30), QColor(Qt::white));
    QCOMPARE(At(profile, 125, 30), QColor(Qt::black));  // frame
    // The end text " 125 " stands below the frame's right end, none where
    // the text of a 200 mm half-width would stand.
    auto inkIn = [profile](double x1, double x2) {
      for (double x = x1; x <= x2; ++x) {
        for (double y = -8; y >= -22; --y) {
          if (At(profile, x, y) != QColor(Qt::white)) return true;
        }
      }
      return false;
    };
    QVERIFY(inkIn(105, 135));
    QVERIFY(inkIn(-135, -105));
    QVERIFY(!inkIn(160, 200));
    // The outline's straight edges run from x -75 to 75 at y +-50.
    const auto* map = Get<Canvas>("Picture1");
    QCOMPARE(At(map, 70, 50), QColor(Qt::black));
    QCOMPARE(At(map, -70, -50), QColor(Qt::black));
  }

  void profileWidthText_data() {
    QTest::addColumn<double>("w");
    QTest::addColumn<QString>("text");
    QTest::newRow("200") << 200.0 << " 200 ";
    QTest::newRow("125") << 125.0 << " 125 ";
    QTest::newRow("127.5") << 127.5 << " 127.5 ";
  }
  void profileWidthText() {
    QFETCH(double, w);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(ProfileWidthText(w)), text);
  }

  void planeSelection_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("plane");
    QTest::addColumn<QString>("range");
    QTest::addColumn<double>("marker");
    QTest::newRow("0") << 0.0 << 1 << "0 - 5" << 1.0;
    QTest::newRow("3") << 3.0 << 1 << "0 - 5" << 3.0;
    QTest::newRow("-3") << -3.0 << 1 << "0 - 5" << -3.0;
    QTest::newRow("5") << 5.0 << 2 << "5 - 10" << 5.0;
    QTest::newRow("-5") << -5.0 << 2 << "5 - 10" << -5.0;
    QTest::newRow("199") << 199.0 << 40 << "195 - 200" << 199.0;
    QTest::newRow("200") << 200.0 << 40 << "195 - 200" << 200.0;
    QTest::newRow("-200") << -200.0 << 40 << "195 - 200" << -200.0;
  }
  void planeSelection() {
    QFETCH(double, x);
    QFETCH(int, plane);
    QFETCH(QString, range);
    QFETCH(double, marker);
    LoadFile("pattern.tsl2");
    ClickOn("Picture6", x, -150);  // the height of the click plays no part
    QCOMPARE(viewer->AxialPlane(), plane);
    QCOMPARE(TextOf("Text4"), range);
    QCOMPARE(LineOf("Line10")->X1(), marker);
    QCOMPARE(LineOf("Line10")->X2(), marker);
    QVERIFY(LineOf("Line10")->IsVisible());
    const double total = PatternDose(1, 37, plane, 12) + PatternDose(2, 37, plane, 12);
    QCOMPARE(At(Get<Canvas>("Picture3"), -37, 12), MapColor(total));
    QCOMPARE(At(Get<Canvas>("Picture1"), 37, -12), MapColor(PatternDose(1, 37, plane, 12)));
    // The read-outs follow the new plane.
    MoveOn("Picture2", -37, 12);
    QCOMPARE(TextOf("Text2"), Percent(PatternDose(2, 37, plane, 12)));
  }

  void clickBeyondThePhantom() {
    LoadFile("pattern.tsl2");
    ClickOn("Picture6", -7, 0);
    const QImage sagittal = Get<Canvas>("Picture6")->Image();
    ClickOn("Picture6", 203, 0);
    for (const char* canvas : {"Picture1", "Picture2", "Picture3", "Picture5"}) {
      QVERIFY2(IsBlank(Get<Canvas>(canvas)), canvas);
    }
    QCOMPARE(Get<Canvas>("Picture6")->Image(), sagittal);
    QCOMPARE(viewer->AxialPlane(), 2);
    QCOMPARE(TextOf("Text4"), QString("5 - 10"));
    QCOMPARE(LineOf("Line10")->X1(), -7.0);
    ClickOn("Picture6", 20, 0);
    QVERIFY(!IsBlank(Get<Canvas>("Picture1")));
    QCOMPARE(viewer->AxialPlane(), 5);
  }

  void distanceReadout() {
    LoadFile("pattern.tsl2");
    MoveOn("Picture6", -37, 5);
    QCOMPARE(TextOf("Text6"), QString("-37"));
    MoveOn("Picture6", 204, 5);
    QCOMPARE(TextOf("Text6"), QString("1"));
  }

  void mapReadout_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<int>("cellX");  // -1: outside
    QTest::addColumn<int>("cellZ");
    QTest::addColumn<QString>("textX");
    QTest::addColumn<QString>("textZ");
    QTest::newRow("(-37, 12)") << -37.0 << 12.0 << 37 << 12 << "-37"
                               << "-12";
    QTest::newRow("centre") << 0.0 << 0.0 << 1 << 1 << "0"
                            << "0";
    QTest::newRow("right edge") << 200.0 << -100.0 << 200 << 100 << "200"
                                << "100";
    QTest::newRow("past right edge") << 201.0 << 0.0 << -1 << -1 << ""
                                     << "";
    QTest::newRow("past upper edge") << 0.0 << -101.0 << -1 << -1 << ""
                                     << "";
    QTest::newRow("corner outside racetrack") << 190.0 << 90.0 << 190 << 90 << "190"
                                              << "-90";
  }
  void mapReadout() {
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(int, cellX);
    QFETCH(int, cellZ);
    QFETCH(QString, textX);
    QFETCH(QString, textZ);
    LoadFile("pattern.tsl2");
    ClickOn("Picture6", 12, 0);  // plane 3
    MoveOn("Picture1", 10, 10);  // cross-hairs shown and texts filled first
    for (const char* canvas : {"Picture1", "Picture2", "Picture3"}) {
      MoveOn(canvas, x, y);
      const bool inside = cellX >= 0;
      QCOMPARE(TextOf("Text5"), textX);
      QCOMPARE(TextOf("Text7"), textZ);
      for (const char* line :
           {"Line27", "Line28", "Line29", "Line30", "Line31", "Line32", "Line33"}) {
        QCOMPARE(LineOf(line)->IsVisible(), inside);
      }
      if (!inside) {
        for (const char* box : {"Text1", "Text2", "Text3"}) QCOMPARE(TextOf(box), QString());
        continue;
      }
      QCOMPARE(TextOf("Text1"), Percent(PatternDose(1, cellX, 3, cellZ)));
      QCOMPARE(TextOf("Text2"), Percent(PatternDose(2, cellX, 3, cellZ)));
      QCOMPARE(TextOf("Text3"),
               Percent(PatternDose(1, cellX, 3, cellZ) + PatternDose(2, cellX, 3, cellZ)));
      QCOMPARE(LineOf("Line27")->Y1(), y);
      QCOMPARE(LineOf("Line27")->X1(), -200.0);
      QCOMPARE(LineOf("Line28")->Y2(), y);
      QCOMPARE(LineOf("Line28")->X2(), 197.0);
      QCOMPARE(LineOf("Line33")->X1(), x);
      QCOMPARE(LineOf("Line30")->X2(), x);
      QCOMPARE(LineOf("Line30")->Y2(), 200.0);
    }
  }

  void profileReadout() {
    LoadFile("pattern.tsl2");
    MoveOn("Picture1", 10, 20);
    MoveOn("Picture5", -40, 150);
    QCOMPARE(TextOf("Text5"), QString("40"));
    QCOMPARE(TextOf("Text7"), QString("0"));
    QCOMPARE(TextOf("Text1"), Percent(PatternDose(1, 40, 1, 1)));
    QCOMPARE(TextOf("Text2"), Percent(PatternDose(2, 40, 1, 1)));
    QCOMPARE(TextOf("Text3"), Percent(PatternDose(1, 40, 1, 1) + PatternDose(2, 40, 1, 1)));
    for (const char* line : {"Line30", "Line31", "Line32", "Line33"}) {
      QCOMPARE(LineOf(line)->X1(), -40.0);
      QVERIFY(LineOf(line)->IsVisible());
    }
    QCOMPARE(LineOf("Line27")->Y1(), 20.0);  // the horizontal cross-hairs stay
    // Leaving sideways hides the vertical lines and keeps the texts.
    MoveOn("Picture5", -201, 150);
    for (const char* line : {"Line30", "Line31", "Line32", "Line33"})
      QVERIFY(!LineOf(line)->IsVisible());
    QVERIFY(LineOf("Line27")->IsVisible());
    QCOMPARE(TextOf("Text5"), QString("40"));
  }

  // Real pointer events reach the read-out in the canvas's coordinates.
  void pointerEvents() {
    LoadFile("pattern.tsl2");
    auto* map = Get<Canvas>("Picture2");
    const QPointF pixel =
        map->Scale().ToPixel(-37, 12) + QPointF(map->BorderWidth(), map->BorderWidth());
    QMouseEvent move(QEvent::MouseMove, pixel, map->mapToGlobal(pixel), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(map, &move);
    QCOMPARE(TextOf("Text5"), QString("-37"));
    QCOMPARE(TextOf("Text7"), QString("-12"));
    auto* sagittal = Get<Canvas>("Picture6");
    const QPoint click = (sagittal->Scale().ToPixel(52, 0) +
                          QPointF(sagittal->BorderWidth(), sagittal->BorderWidth()))
                             .toPoint();
    QTest::mouseClick(sagittal, Qt::RightButton, {}, click);
    QCOMPARE(viewer->AxialPlane(), 11);
  }

  void nothingAnswersBeforeLoadOrAfterReset() {
    for (const bool loadFirst : {false, true}) {
      if (loadFirst) {
        LoadFile("pattern.tsl2");
        Get<QPushButton>("Command1")->click();
        QVERIFY(!viewer->ResultLoaded());
        QVERIFY(!Get<QPushButton>("Command14")->isEnabled());
        QCOMPARE(LineOf("Line10")->X1(), 0.0);
        QVERIFY(Get<QLabel>("Label32")->isVisible());  // Reset leaves the hints
        for (const char* canvas :
             {"Picture1", "Picture2", "Picture3", "Picture4", "Picture5", "Picture6"}) {
          QVERIFY2(IsBlank(Get<Canvas>(canvas)), canvas);
        }
        QCOMPARE(Get<QListWidget>("File1")->currentItem()->text(), QString("pattern.tsl2"));
      }
      MoveOn("Picture1", -37, 12);
      MoveOn("Picture5", -40, 0);
      MoveOn("Picture6", 20, 0);
      ClickOn("Picture6", 20, 0);
      for (const char* box : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7"}) {
        QCOMPARE(TextOf(box), QString());
      }
      for (const char* line : {"Line10", "Line27", "Line30", "Line31"})
        QVERIFY(!LineOf(line)->IsVisible());
      QVERIFY(IsBlank(Get<Canvas>("Picture1")));
    }
  }

  // A file that cannot be read: a message, and the viewer stays as it was.
  void badFileLeavesViewerUnchanged_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("summaryFails");
    QTest::newRow("truncated") << "truncated.tsl2" << false;
    QTest::newRow("text in the header") << "corrupt.tsl2" << true;
    QTest::newRow("vanished") << "vanished.tsl2" << true;
  }
  void badFileLeavesViewerUnchanged() {
    QFETCH(QString, file);
    QFETCH(bool, summaryFails);
    const QString vanished = dir.filePath("vanished.tsl2");
    QVERIFY(QFile::copy(dir.filePath("narrow.tsl2"), vanished));
    viewer->prepareForShow();  // lists it
    LoadFile("pattern.tsl2");
    ClickOn("Picture6", -12, 0);
    MoveOn("Picture1", -37, 12);
    const QString doseText = TextOf("Text1");
    QVERIFY(QFile::remove(vanished));

    const QStringList canvases = {"Picture1", "Picture2", "Picture3",
                                  "Picture4", "Picture5", "Picture6"};
    std::vector<QImage> before;
    for (const QString& name : canvases) before.push_back(Get<Canvas>(qPrintable(name))->Image());

    Pick(file);
    QCOMPARE(messages.size(), summaryFails ? 1 : 0);
    QCOMPARE(Get<QPushButton>("Command14")->isEnabled(), !summaryFails);
    if (!summaryFails) {
      before[3] = Get<Canvas>("Picture4")->Image();  // the summary of the picked file
      Get<QPushButton>("Command14")->click();
      QCOMPARE(messages.size(), 1);
      QVERIFY2(messages.first().contains(file), qPrintable(messages.first()));
    }
    for (int i = 0; i < canvases.size(); ++i) {
      QVERIFY2(Get<Canvas>(qPrintable(canvases[i]))->Image() == before[std::size_t(i)],
               qPrintable(canvases[i]));
    }
    QVERIFY(viewer->ResultLoaded());
    QCOMPARE(viewer->AxialPlane(), 3);
    QCOMPARE(viewer->ProfileHalfWidth(), 200.0);
    QCOMPARE(TextOf("Text4"), QString("10 - 15"));
    QCOMPARE(LineOf("Line10")->X1(), -12.0);
    // The loaded data still answer.
    MoveOn("Picture1", 10, 10);
    MoveOn("Picture1", -37, 12);
    QCOMPARE(TextOf("Text1"), doseText);
  }

  void secondOkDuringLoadIsIgnored() {
    Pick("pattern.tsl2");
    // Fires while the first load yields to the event loop.
    QTimer::singleShot(0, this, [this] {
      Get<QListWidget>("File1")->setCurrentRow(3);  // truncated.tsl2: its header reads fine
      Get<QPushButton>("Command14")->click();
    });
    Get<QPushButton>("Command14")->click();
    QTRY_VERIFY(viewer->ResultLoaded());
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join("; ")));
    MoveOn("Picture1", -37, 12);
    QCOMPARE(TextOf("Text1"), Percent(PatternDose(1, 37, 1, 12)));
  }

  void loadingAgainStartsAfresh() {
    LoadFile("pattern.tsl2");
    ClickOn("Picture6", 150, 0);
    LoadFile("narrow.tsl2");
    QCOMPARE(viewer->AxialPlane(), 1);
    QCOMPARE(LineOf("Line10")->X1(), 0.0);
    QCOMPARE(TextOf("Text4"), QString(" 0 -  5"));
    QCOMPARE(At(Get<Canvas>("Picture6"), 160, 0), QColor(Qt::white));
    QCOMPARE(At(Get<Canvas>("Picture6"), 30, -51), QColor(Qt::black));  // outline for b = 10
  }

  // A picked second file shows its summary; the loaded one keeps answering.
  void summaryOfAnotherFileKeepsLoadedData() {
    LoadFile("narrow.tsl2");
    Pick("pattern.tsl2");
    QVERIFY(Get<QPushButton>("Command14")->isEnabled());
    MoveOn("Picture1", 130, 0);  // inside for a = b = 20, outside for the loaded 15, 10
    QCOMPARE(TextOf("Text5"), QString());
    MoveOn("Picture1", 120, 0);
    QCOMPARE(TextOf("Text5"), QString("120"));
  }

  void phantomBeyondTheGrid() {
    LoadFile("wide.tsl2");
    QCOMPARE(viewer->ProfileHalfWidth(), 275.0);
    MoveOn("Picture1", 200, 0);
    QCOMPARE(TextOf("Text5"), QString("200"));
    MoveOn("Picture1", 201, 0);  // inside the rectangle, past the grid
    QCOMPARE(TextOf("Text5"), QString());
    QVERIFY(!LineOf("Line31")->IsVisible());
    MoveOn("Picture1", 0, 101);
    QCOMPARE(TextOf("Text7"), QString());
    MoveOn("Picture5", 200, 0);
    QVERIFY(LineOf("Line30")->IsVisible());
    MoveOn("Picture5", -260, 0);
    QVERIFY(!LineOf("Line30")->IsVisible());
    QCOMPARE(TextOf("Text5"), QString("200"));
    MoveOn("Picture1", 0, 0);
    QCOMPARE(TextOf("Text1"), QString("*****"));
    QCOMPARE(TextOf("Text2"), Percent(PatternDose(2, 1, 1, 1)));
    QCOMPARE(TextOf("Text3"), QString("*****"));
  }

  void backThenReopenStartsEmpty() {
    LoadFile("pattern.tsl2");
    MoveOn("Picture1", -37, 12);
    QSignalSpy left(viewer.get(), &Form2::startWindowRequested);
    Get<QPushButton>("Command6")->click();
    QCOMPARE(left.count(), 1);
    QVERIFY(viewer->isHidden());
    viewer->prepareForShow();
    viewer->show();
    QVERIFY(!viewer->ResultLoaded());
    QVERIFY(!Get<QPushButton>("Command14")->isEnabled());
    for (const char* line : {"Line10", "Line27", "Line30", "Line33"})
      QVERIFY(!LineOf(line)->IsVisible());
    for (const char* hint : {"Label32", "Label33", "Label35", "Label36"})
      QVERIFY(!Get<QLabel>(hint)->isVisible());
    MoveOn("Picture1", -37, 12);
    ClickOn("Picture6", 50, 0);
    QCOMPARE(TextOf("Text5"), QString());
    QCOMPARE(TextOf("Text4"), QString());
    QVERIFY(IsBlank(Get<Canvas>("Picture1")));
  }

  // The headless picture draws the chosen plane with the viewer's own code.
  void renderPicture() {
    const QString out = dir.filePath("plane3.png");
    QString error;
    QCOMPARE(RenderPicture({"--render", "pattern.tsl2", out, "--plane", "3"}, error), 0);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QImage picture(out);
    QVERIFY(!picture.isNull());
    // The picture starts 8 pixels left of and above the primary map; each
    // canvas draws inside a 2-pixel frame; the map's user origin is (-203, -178).
    const auto* map = Get<Canvas>("Picture1");
    const QPoint origin = QPoint(8, 8) + QPoint(map->BorderWidth(), map->BorderWidth());
    QCOMPARE(picture.pixelColor(origin + QPoint(-37 + 203, 12 + 178)),
             MapColor(PatternDose(1, 37, 3, 12)));
    QCOMPARE(picture.pixelColor(origin + QPoint(37 + 203, -12 + 178)),
             MapColor(PatternDose(1, 37, 3, 12)));
  }

  void renderPictureErrors_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");  // part of the error
    const QString out = dir.filePath("bad.png");
    QTest::newRow("missing file") << QStringList{"--render", "gone.tsl2", out} << "gone.tsl2";
    QTest::newRow("truncated file")
        << QStringList{"--render", "truncated.tsl2", out} << "truncated.tsl2";
    QTest::newRow("plane 0") << QStringList{"--render", "pattern.tsl2", out, "--plane", "0"}
                             << "\"0\"";
    QTest::newRow("plane 41") << QStringList{"--render", "pattern.tsl2", out, "--plane", "41"}
                              << "\"41\"";
    QTest::newRow("plane text") << QStringList{"--render", "pattern.tsl2", out, "--plane", "3x"}
                                << "\"3x\"";
    QTest::newRow("no picture name") << QStringList{"--render", "pattern.tsl2"} << "usage";
    QTest::newRow("unwritable picture")
        << QStringList{"--render", "pattern.tsl2", dir.filePath("no/such/folder.png")}
        << "cannot be written";
  }
  void renderPictureErrors() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    QString error;
    QCOMPARE(RenderPicture(arguments, error), 1);
    QVERIFY2(error.contains(expected), qPrintable(error));
    QVERIFY(!QFile::exists(dir.filePath("bad.png")));
    QVERIFY(messages.isEmpty());  // no dialog: the error goes back to the caller
  }

  void closeThroughFrameEndsTheViewer() {
    QPointer<Form2> form = new Form2;
    QSignalSpy left(form.data(), &Form2::startWindowRequested);
    form->show();
    form->close();
    QCOMPARE(left.count(), 1);
    QTRY_VERIFY(form.isNull());
  }
};

QTEST_MAIN(ViewerWindowTest)
#include "viewer_window_test.moc"
