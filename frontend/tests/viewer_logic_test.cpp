// The viewer's window-free logic: result file reading, the colour shade, the
// summary lines and the pointer-to-cell mappings.
#include <QTemporaryDir>
#include <QtTest>

#include "dose_shade.h"
#include "result_file.h"
#include "viewer_fixture.h"
#include "viewer_geometry.h"
#include "viewer_summary.h"

using namespace tessalin;

class ViewerLogicTest : public QObject {
  Q_OBJECT

 private slots:
  void doseShade_data() {
    QTest::addColumn<double>("fraction");
    QTest::addColumn<int>("shade");
    QTest::newRow("0 %") << 0.0 << 255;
    QTest::newRow("25 %") << 0.25 << 191;
    QTest::newRow("50 %") << 0.5 << 127;
    QTest::newRow("75 %") << 0.75 << 63;
    QTest::newRow("100 %") << 1.0 << 0;
    QTest::newRow("120 %") << 1.2 << 0;
    QTest::newRow("0.4 %") << 0.004 << 253;
    QTest::newRow("negative stays white") << -0.5 << 255;
  }
  void doseShade() {
    QFETCH(double, fraction);
    QFETCH(int, shade);
    QCOMPARE(DoseShade(fraction), shade);
  }

  void summaryLines_data() {
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<QString>("lineA");
    QTest::addColumn<QString>("lineB");
    QTest::newRow("example") << 20.0 << 20.0 << "      a = 20 cm "
                             << "      b = 20 cm";
    QTest::newRow("circular section") << 0.0 << 20.0 << "      a =  cm "
                                      << "      b = 20 cm";
    QTest::newRow("half rounds away") << 12.5 << 12.5 << "      a = 13 cm "
                                      << "      b = 13 cm";
  }
  void summaryLines() {
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(QString, lineA);
    QFETCH(QString, lineB);
    ResultHeader header;
    header.SourceAxisDistance = 60;
    header.BeamWidthRotation = 40;
    header.BeamWidthAxial = 10;
    header.PhantomA = a;
    header.PhantomB = b;
    header.HistoryCount = 900000000;
    const auto lines = SummaryLines(header, "W120kV.csv");
    QCOMPARE(QString::fromStdString(lines[0]), QString());
    QCOMPARE(QString::fromStdString(lines[1]), QString("    Spectrum data"));
    QCOMPARE(QString::fromStdString(lines[2]), QString("     W120kV.csv"));
    QCOMPARE(QString::fromStdString(lines[3]), QString("    SAD = 60.0 cm"));
    QCOMPARE(QString::fromStdString(lines[4]), QString("    Field size at SAD"));
    QCOMPARE(QString::fromStdString(lines[5]), QString::fromUtf8("     40.0 \u00d7 10.0 cm"));
    QCOMPARE(QString::fromStdString(lines[6]), QString("    Phantom size"));
    QCOMPARE(QString::fromStdString(lines[7]), lineA);
    QCOMPARE(QString::fromStdString(lines[8]), lineB);
    QCOMPARE(QString::fromStdString(lines[9]), QString("    History = 9.0E+08"));
  }

  // Every value lands where the engine wrote it, and the total is formed.
  void parseResultFile() {
    fixture::FixtureHeader fh;
    fh.PhantomA = 15;
    fh.PhantomB = 10;
    const std::string text = fixture::ResultFileText(fh, fixture::PatternDose);
    QCOMPARE(text.size(), std::size_t{14416077});
    ResultHeader header;
    const auto dose = ParseResultFile(text, "pattern.tsl2", header);
    QCOMPARE(header.ConditionComment, std::string("spectrum_120kV.csv            "));
    QCOMPARE(header.SourceAxisDistance, 60.0);
    QCOMPARE(header.BeamWidthRotation, 40.0);
    QCOMPARE(header.BeamWidthAxial, 10.0);
    QCOMPARE(header.PhantomA, 15.0);
    QCOMPARE(header.PhantomB, 10.0);
    QCOMPARE(header.HistoryCount, 900000000.0);
    struct Cell {
      int ix, iy, iz;
    };
    for (const Cell cell : {Cell{1, 1, 1}, Cell{200, 40, 100}, Cell{37, 3, 12}, Cell{200, 1, 1},
                            Cell{1, 40, 1}, Cell{1, 1, 100}}) {
      const double primary = fixture::PatternDose(1, cell.ix, cell.iy, cell.iz);
      const double scattered = fixture::PatternDose(2, cell.ix, cell.iy, cell.iz);
      QCOMPARE((*dose)(1, cell.ix, cell.iy, cell.iz), primary);
      QCOMPARE((*dose)(2, cell.ix, cell.iy, cell.iz), scattered);
      QCOMPARE((*dose)(0, cell.ix, cell.iy, cell.iz), primary + scattered);
    }
    // Index 0 of a position axis holds no cell.
    for (int c = 0; c <= 2; ++c) {
      QCOMPARE((*dose)(c, 0, 1, 1), 0.0);
      QCOMPARE((*dose)(c, 1, 0, 1), 0.0);
      QCOMPARE((*dose)(c, 1, 1, 0), 0.0);
    }
  }

  // Blanks, commas and line ends all separate values; the row structure
  // plays no part, and values may be written in any free form.
  void parseFreeForm() {
    std::string text = "name\r\n60,40 10\n+20\r\n2E1 9e8\r\n";
    text += "1.5E-01,";
    for (int i = 1; i < 1600000; ++i) text += " .500E+00";
    ResultHeader header;
    const auto dose = ParseResultFile(text, "free.tsl2", header);
    QCOMPARE(header.ConditionComment, std::string("name"));
    QCOMPARE(header.PhantomA, 20.0);
    QCOMPARE(header.PhantomB, 20.0);
    QCOMPARE(header.HistoryCount, 9e8);
    QCOMPARE((*dose)(1, 1, 1, 1), 0.15);
    QCOMPARE((*dose)(2, 200, 40, 100), 0.5);
    QCOMPARE((*dose)(0, 1, 1, 1), 0.65);
  }

  void parseErrors_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expected");  // part of the message
    const std::string good = fixture::ResultFileText({}, fixture::PatternDose);
    QTest::newRow("empty") << QByteArray() << "line 1: the file ends within its first line";
    QTest::newRow("header cut short")
        << QByteArray("name\r\n 60.0\r\n 40.0\r\n") << "the file ends where BeamWidthAxial is due";
    QTest::newRow("text in the header") << QByteArray("name\r\n 60.0\r\n 40.0\r\n 10.0\r\n abc\r\n")
                                        << "line 5: \"abc\" is not a number (PhantomA)";
    QTest::newRow("one value short")
        << QByteArray::fromStdString(fixture::ResultFileText({}, fixture::PatternDose, 1599999))
        << "line 8007: the file ends where a dose value is due";
    std::string stars = good;
    // An overflowing E9.3 field is nine asterisks, glued to the value before.
    stars.replace(32 + 5 * 7 + 10 + 1802 * 3 + 9 * 4, 9, "*********");
    QTest::newRow("asterisks") << QByteArray::fromStdString(stars)
                               << "*********\" is not a number (a dose value)";
    std::string glued = good;
    glued[32 + 5 * 7 + 10 + 9] = '-';  // a sign glued to the next value
    QTest::newRow("glued values") << QByteArray::fromStdString(glued) << "line 8: \".";
    std::string nan = good;
    nan.replace(32 + 5 * 7 + 10 + 1802 * 5000, 9, "      nan");
    QTest::newRow("not finite") << QByteArray::fromStdString(nan) << "line 5008: \"nan\"";
  }
  void parseErrors() {
    QFETCH(QByteArray, text);
    QFETCH(QString, expected);
    ResultHeader header;
    header.PhantomA = 7;
    try {
      ParseResultFile(std::string_view(text.constData(), std::size_t(text.size())), "bad.tsl2",
                      header);
      QFAIL("no error reported");
    } catch (const ResultFileError& error) {
      const QString message = QString::fromStdString(error.what());
      QVERIFY2(message.startsWith("bad.tsl2, "), qPrintable(message));
      QVERIFY2(message.contains(expected), qPrintable(message));
    }
    QCOMPARE(header.PhantomA, 7.0);  // a failed read leaves the caller's header alone
  }

  void readFromDisk() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::string path = dir.filePath("run.tsl2").toStdString();
    fixture::FixtureHeader fh;
    fh.PhantomA = 12.5;
    QVERIFY(fixture::WriteText(path, fixture::ResultFileText(fh, fixture::PatternDose)));
    ResultHeader header = ReadResultHeader(path);
    QCOMPARE(header.PhantomA, 12.5);
    QCOMPARE(header.HistoryCount, 9e8);
    ResultHeader full;
    const auto dose = ReadResultFile(path, full);
    QCOMPARE(full.PhantomA, 12.5);
    QCOMPARE((*dose)(1, 200, 40, 100), fixture::PatternDose(1, 200, 40, 100));

    // The summary needs only the header; a missing file is an error.
    const std::string headerOnly = dir.filePath("header.tsl2").toStdString();
    QVERIFY(
        fixture::WriteText(headerOnly, "x\r\n 1.0\r\n 2.0\r\n 3.0\r\n 4.0\r\n 5.0\r\n .60E+01"));
    QCOMPARE(ReadResultHeader(headerOnly).HistoryCount, 6.0);
    QVERIFY_THROWS_EXCEPTION(ResultFileError, ReadResultFile(headerOnly, full));
    QVERIFY_THROWS_EXCEPTION(ResultFileError,
                             ReadResultHeader(dir.filePath("gone.tsl2").toStdString()));

    // A huge file is refused before it is read into memory (sparse: no disk used).
    QFile huge(dir.filePath("huge.tsl2"));
    QVERIFY(huge.open(QIODevice::WriteOnly));
    QVERIFY(huge.resize(qint64{300} << 20));
    huge.close();
    try {
      ReadResultFile(huge.fileName().toStdString(), full);
      QFAIL("no error reported");
    } catch (const ResultFileError& error) {
      QVERIFY2(QString(error.what()).contains("too large"), error.what());
    }
  }

  void roundHalfEven_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("rounded");
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("1.5") << 1.5 << 2;
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("2.51") << 2.51 << 3;
    QTest::newRow("37") << 37.0 << 37;
    QTest::newRow("0.49") << 0.49 << 0;
  }
  void roundHalfEven() {
    QFETCH(double, value);
    QFETCH(int, rounded);
    QCOMPARE(RoundHalfEven(value), rounded);
  }

  void choosePlane_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("plane");  // 0: no plane
    QTest::addColumn<double>("marker");
    QTest::newRow("centre") << 0.0 << 1 << 1.0;
    QTest::newRow("3") << 3.0 << 1 << 3.0;
    QTest::newRow("-3") << -3.0 << 1 << -3.0;
    QTest::newRow("5") << 5.0 << 2 << 5.0;
    QTest::newRow("-5") << -5.0 << 2 << -5.0;
    QTest::newRow("4.99") << 4.99 << 1 << 4.99;
    QTest::newRow("199") << 199.0 << 40 << 199.0;
    QTest::newRow("200") << 200.0 << 40 << 200.0;
    QTest::newRow("-200") << -200.0 << 40 << -200.0;
    QTest::newRow("203") << 203.0 << 0 << 0.0;
    QTest::newRow("-200.5") << -200.5 << 0 << 0.0;
  }
  void choosePlane() {
    QFETCH(double, x);
    QFETCH(int, plane);
    QFETCH(double, marker);
    const auto choice = ChoosePlane(x);
    QCOMPARE(choice.has_value(), plane != 0);
    if (choice) {
      QCOMPARE(choice->AxialPlane, plane);
      QCOMPARE(choice->MarkerX, marker);
    }
  }

  void mapReadoutCell_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<int>("cellX");  // -1: outside
    QTest::addColumn<int>("cellZ");
    QTest::newRow("(-37, 12)") << -37.0 << 12.0 << 20.0 << 20.0 << 37 << 12;
    QTest::newRow("centre") << 0.0 << 0.0 << 20.0 << 20.0 << 1 << 1;
    QTest::newRow("right edge") << 125.0 << -50.0 << 15.0 << 10.0 << 125 << 50;
    QTest::newRow("past right edge") << 126.0 << 0.0 << 15.0 << 10.0 << -1 << -1;
    QTest::newRow("past lower edge") << 0.0 << 51.0 << 15.0 << 10.0 << -1 << -1;
    QTest::newRow("corner outside racetrack") << -124.0 << 49.0 << 15.0 << 10.0 << 124 << 49;
    QTest::newRow("halves to even") << 2.5 << -3.5 << 20.0 << 20.0 << 2 << 4;
    QTest::newRow("near centre reads cell 0") << 0.4 << 0.5 << 20.0 << 20.0 << 0 << 0;
    QTest::newRow("beyond grid along X") << 210.0 << 0.0 << 30.0 << 20.0 << -1 << -1;
    QTest::newRow("grid end along X") << 200.0 << 0.0 << 30.0 << 20.0 << 200 << 1;
    QTest::newRow("beyond grid along Z") << 0.0 << 101.0 << 0.0 << 30.0 << -1 << -1;
  }
  void mapReadoutCell() {
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(int, cellX);
    QFETCH(int, cellZ);
    const auto cell = MapReadoutCell(x, y, a, b);
    QCOMPARE(cell.has_value(), cellX >= 0);
    if (cell) {
      QCOMPARE(cell->CellX, cellX);
      QCOMPARE(cell->CellZ, cellZ);
    }
  }

  void profileReadoutCell_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("w");
    QTest::addColumn<int>("cellX");  // -1: outside
    QTest::newRow("-40") << -40.0 << 200.0 << 40;
    QTest::newRow("centre") << 0.0 << 200.0 << 1;
    QTest::newRow("edge") << -125.0 << 125.0 << 125;
    QTest::newRow("past edge") << 126.0 << 125.0 << -1;
    QTest::newRow("beyond grid") << 201.0 << 250.0 << -1;
  }
  void profileReadoutCell() {
    QFETCH(double, x);
    QFETCH(double, w);
    QFETCH(int, cellX);
    const auto cell = ProfileReadoutCell(x, w);
    QCOMPARE(cell.has_value(), cellX >= 0);
    if (cell) QCOMPARE(*cell, cellX);
  }
};

QTEST_GUILESS_MAIN(ViewerLogicTest)
#include "viewer_logic_test.moc"
