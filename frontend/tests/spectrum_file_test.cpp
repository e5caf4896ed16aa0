// Reading spectrum files, text-box numbers, result names and Shift_JIS text.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "setup_conditions.h"
#include "spectrum_file.h"
#include "text_codec.h"

using namespace tessalin;

namespace {

QString Fixture(const char* name) { return QDir(TESSALIN_TEST_DATA_DIR).filePath(name); }

// A small well-formed file with N = last, laid out as the example files are.
QByteArray SpectrumText(int last, const QByteArray& comment = "comment") {
  QByteArray text = comment + "\r\n" + QByteArray::number(last) + "\r\nPosition(cm)";
  for (int j = 0; j <= last; ++j) text += "," + QByteArray::number(j);
  text += "\r\nFanAngle(deg)";
  for (int j = 0; j <= last; ++j) text += ",0.5";
  text += "\r\nFiltration(mmAl)";
  for (int j = 0; j <= last; ++j) text += "," + QByteArray::number(10 + j);
  text += "\r\n";
  for (int k = 1; k <= SPECTRUM_BINS; ++k) {
    text += QByteArray::number(0.5 * k);
    for (int j = 0; j <= last; ++j)
      text += "," + QByteArray::number(k == 100 ? 2.0 / (j + 1) : 0.25);
    text += "\r\n";
  }
  return text;
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  const QString path = dir.filePath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
    qFatal("cannot write %s", qPrintable(path));
  return path;
}

}  // namespace

class SpectrumFileTest : public QObject {
  Q_OBJECT
 private slots:
  void loadsExampleFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("last");
    QTest::newRow("120 kV, 21 directions") << "example_W120kV_body_21dir.csv" << 20;
    QTest::newRow("80 kV, 26 directions") << "example_W80kV_body_26dir.csv" << 25;
  }
  void loadsExampleFiles() {
    QFETCH(QString, name);
    QFETCH(int, last);
    const SpectrumVariables s = ReadSpectrumFile(Fixture(name.toUtf8().constData()));
    QCOMPARE(s.LastDirection, last);
    QCOMPARE(s.LoadedFileName, name);
    QVERIFY(s.SpectrumComment.startsWith("Example: W anode TASMICS"));
    QVERIFY(!s.SpectrumComment.endsWith('\r'));
    for (int j = 0; j <= last; ++j) QCOMPARE(s.DirectionPosition[j], double(j));
    QCOMPARE(s.DirectionFiltration[0], 9.358);
    QVERIFY(s.DirectionFiltration[last] > 40);
    QCOMPARE(s.CentralFluenceMax, 1.0);  // the files are normalised to a central maximum of 1
    QCOMPARE(s.DirectionFluence[0][1], 0.0);
    QVERIFY(s.DirectionFluence[last][120] < s.DirectionFluence[0][120]);  // more filtered
  }

  void readsQuotesBlanksAndShiftJis() {
    const SpectrumVariables s = ReadSpectrumFile(Fixture("spectrum_16dir.csv"));
    QCOMPARE(s.LastDirection, 15);
    QCOMPARE(s.DirectionPosition[1], 1.0);      // " 1.0" after a comma
    QCOMPARE(s.DirectionFiltration[0], 9.358);  // "\"9.358\""
    // Code page 932: the wave dash comes back as U+FF5E, the backslash stays.
    QCOMPARE(s.SpectrumComment, QString::fromUtf8("試験用スペクトル 120kV ～ 16方向 (C:\\data)"));
    QCOMPARE(ReadSpectrumComment(Fixture("spectrum_16dir.csv")), s.SpectrumComment);
  }

  void ignoresHowFieldsAreSpreadOverLines() {
    QTemporaryDir dir;
    // The same fields, one per line, with a trailing comma and blank lines.
    QByteArray spread = "one per line\n0\nheading\n 3.5 \n\n\"h\"\n\"x\"\nh,\n12\n";
    for (int k = 1; k <= SPECTRUM_BINS; ++k)
      spread += QByteArray::number(0.5 * k) + ",\n" + (k == 7 ? "4" : "1") + "\n";
    const SpectrumVariables s = ReadSpectrumFile(WriteFile(dir, "spread.csv", spread));
    QCOMPARE(s.SpectrumComment, QString("one per line"));
    QCOMPARE(s.LastDirection, 0);
    QCOMPARE(s.DirectionPosition[0], 3.5);
    QCOMPARE(s.DirectionFiltration[0], 12.0);
    QCOMPARE(s.DirectionFluence[0][7], 4.0);
    QCOMPARE(s.DirectionFluence[0][300], 1.0);
    QCOMPARE(s.CentralFluenceMax, 4.0);
  }

  void refusesBadFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QByteArray good = SpectrumText(2);
    QTest::newRow("empty") << QByteArray() << "ファイルが空です";
    QTest::newRow("comment only") << QByteArray("only a comment\r\n") << "途中で終わっています";
    QTest::newRow("cut in the spectrum") << good.left(good.size() / 2) << "途中で終わっています";
    QTest::newRow("N above 25") << SpectrumText(26) << "N = 26";
    QTest::newRow("N negative") << SpectrumText(2).replace("\r\n2\r\n", "\r\n-1\r\n") << "N = -1";
    QTest::newRow("N not whole") << SpectrumText(2).replace("\r\n2\r\n", "\r\n2.5\r\n")
                                 << "N = 2.5";
    QTest::newRow("N text") << SpectrumText(2).replace("\r\n2\r\n", "\r\nabc\r\n") << "2 行目";
    QTest::newRow("text for a position")
        << SpectrumText(2).replace("Position(cm),0,", "Position(cm),zero,")
        << "3 行目：数値であるべき所に「zero」";
    QTest::newRow("empty fluence") << SpectrumText(2).replace("\r\n1,0.25,", "\r\n1,,") << "7 行目";
    QTest::newRow("infinite fluence")
        << SpectrumText(2).replace("\r\n1,0.25,", "\r\n1,1e999,") << "1e999";
    QByteArray zero = "zero\r\n0\r\nP,0\r\nF,0\r\nT,5\r\n";
    for (int k = 1; k <= SPECTRUM_BINS; ++k) zero += "0.5,0\r\n";
    QTest::newRow("all-zero central spectrum") << zero << "正の値がありません";
  }
  void refusesBadFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "bad.csv", bytes);
    try {
      ReadSpectrumFile(path);
      QFAIL("the file was accepted");
    } catch (const SpectrumFileError& error) {
      QVERIFY2(error.Message().contains(reason), qPrintable(error.Message()));
      QVERIFY(error.Message().contains("bad.csv"));
    }
  }

  void refusesMissingFile() {
    QVERIFY_THROWS_EXCEPTION(SpectrumFileError, ReadSpectrumFile("/nonexistent/folder/x.csv"));
    QVERIFY_THROWS_EXCEPTION(SpectrumFileError, ReadSpectrumComment("/nonexistent/folder/x.csv"));
  }

  void readsTextBoxNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("whole") << "60" << 60.0;
    QTest::newRow("decimal") << "0.5" << 0.5;
    QTest::newRow("blanks anywhere") << " 1 2.5 cm" << 12.5;
    QTest::newRow("trailing text") << "9.9cm" << 9.9;
    QTest::newRow("exponent") << "9E8" << 9e8;
    QTest::newRow("dangling exponent") << "3e" << 3.0;
    QTest::newRow("negative") << "-3e2" << -300.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("text") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("full-width digits are no number") << "１０" << 0.0;
  }
  void readsTextBoxNumbers() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(ReadTextNumber(text), expected);
  }

  void judgesResultNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("usable");
    QTest::newRow("plain") << "run1" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("japanese") << "結果〜１" << true;
    QTest::newRow("25 bytes") << QString(25, 'a') << true;
    QTest::newRow("26 bytes") << QString(26, 'a') << false;
    QTest::newRow("13 double-byte characters") << QString(13, QChar(0x7D50)) << false;
    QTest::newRow("folder separator") << "a/b" << false;
    QTest::newRow("backslash") << "a\\b" << false;
    QTest::newRow("control character") << "a\tb" << false;
    QTest::newRow("no Shift_JIS code") << QString::fromUtf8("run\xF0\x9F\x98\x80") << false;
  }
  void judgesResultNames() {
    QFETCH(QString, name);
    QFETCH(bool, usable);
    QCOMPARE(IsUsableResultName(name), usable);
  }

  void convertsCodePage932() {
    // Wave dash and full-width tilde both go to 81 60; a backslash stays 5C.
    QCOMPARE(ToCp932(QString::fromUtf8("〜～\\")).value(), std::string("\x81\x60\x81\x60\x5C"));
    QCOMPARE(FromCp932("\x81\x60\x5C\x01"), QString::fromUtf8("～\\\x01"));
    QCOMPARE(FromCp932("a\x81"), QString::fromUtf8("a\xEF\xBF\xBD"));  // cut-off pair
    QVERIFY(!ToCp932(QString::fromUtf8("\xF0\x9F\x98\x80")).has_value());
  }
};

QTEST_APPLESS_MAIN(SpectrumFileTest)
#include "spectrum_file_test.moc"
