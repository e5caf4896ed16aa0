// Number patterns of conditions lines, summaries and read-outs.
#include <QtTest>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "number_pattern.h"

using tessalin::FormatNumber;
using tessalin::PlainNumberText;

class NumberPatternTest : public QObject {
  Q_OBJECT
 private slots:
  void formatsByPattern_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    // Conditions lines.
    QTest::newRow("distance") << "000.0" << 60.0 << "060.0";
    QTest::newRow("half rounds away") << "000.0" << 12.25 << "012.3";
    QTest::newRow("negative half") << "000.0" << -12.25 << "-012.3";
    QTest::newRow("integer overflow") << "000.0" << 1234.56 << "1234.6";
    QTest::newRow("carry into new digit") << "000.0" << 999.96 << "1000.0";
    QTest::newRow("negative rounding to zero") << "000.0" << -0.04 << "000.0";
    QTest::newRow("non-number reads 0") << "000.0" << 0.0 << "000.0";
    QTest::newRow("decimal half, not binary") << "0.00" << 2.675 << "2.68";
    QTest::newRow("histories") << "0.000E+00" << 900000000.0 << "9.000E+08";
    QTest::newRow("exponent zero") << "0.000E+00" << 0.0 << "0.000E+00";
    QTest::newRow("negative exponent") << "0.000E+00" << 0.5 << "5.000E-01";
    QTest::newRow("mantissa carry") << "0.000E+00" << 999960.0 << "1.000E+06";
    QTest::newRow("negative mantissa") << "0.000E+00" << -1234.0 << "-1.234E+03";
    QTest::newRow("three exponent digits") << "0.000E+00" << 1e100 << "1.000E+100";
    QTest::newRow("last direction") << "000" << 15.0 << "015";
    QTest::newRow("integer half") << "000" << 2.5 << "003";
    QTest::newRow("integer negative half") << "000" << -2.5 << "-003";
    QTest::newRow("integer overflow 3") << "000" << 1234.0 << "1234";
    QTest::newRow("thickness") << "  00.0000" << 0.235 << "  00.2350";
    QTest::newRow("thickness overflow") << "  00.0000" << 123.45678 << "  123.4568";
    QTest::newRow("thickness negative") << "  00.0000" << -1.5 << "-  01.5000";
    QTest::newRow("energy") << "0000.0" << 0.5 << "0000.5";
    QTest::newRow("top energy") << "0000.0" << 150.0 << "0150.0";
    QTest::newRow("weight") << "  0.000E+00" << 0.0123456 << "  1.235E-02";
    QTest::newRow("weight zero") << "  0.000E+00" << 0.0 << "  0.000E+00";
    // Viewer summary and read-outs.
    QTest::newRow("sad") << "#0.0" << 60.0 << "60.0";
    QTest::newRow("sad small") << "#0.0" << 0.05 << "0.1";
    QTest::newRow("sad zero") << "#0.0" << 0.0 << "0.0";
    QTest::newRow("field") << "     #0.0" << 40.0 << "     40.0";
    QTest::newRow("dimension") << "##" << 20.0 << "20";
    QTest::newRow("dimension half") << "##" << 12.5 << "13";
    QTest::newRow("dimension negative half") << "##" << -12.5 << "-13";
    QTest::newRow("dimension zero writes nothing") << "##" << 0.0 << "";
    QTest::newRow("dimension rounding to zero") << "##" << 0.4 << "";
    QTest::newRow("dimension half of one") << "##" << 0.5 << "1";
    QTest::newRow("history short") << "0.0E+00" << 900000000.0 << "9.0E+08";
    QTest::newRow("half short") << "0.0E+00" << 0.5 << "5.0E-01";
    QTest::newRow("short mantissa carry") << "0.0E+00" << 9.96e8 << "1.0E+09";
    QTest::newRow("percent") << "##0.0" << 5.25 << "5.3";
    QTest::newRow("percent large") << "##0.0" << 1234.5 << "1234.5";
    QTest::newRow("percent zero") << "##0.0" << 0.0 << "0.0";
    QTest::newRow("literal suffix") << "0.0 cm" << 2.0 << "2.0 cm";
  }
  void formatsByPattern() {
    QFETCH(QString, pattern);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(FormatNumber(value, pattern.toStdString())), expected);
  }

  void refusesNonFiniteValues() {
    QVERIFY_THROWS_EXCEPTION(std::domain_error,
                             FormatNumber(std::numeric_limits<double>::infinity(), "000.0"));
    QVERIFY_THROWS_EXCEPTION(std::domain_error, FormatNumber(std::nan(""), "0.000E+00"));
  }

  void plainNumberText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("half") << 12.5 << "12.5";
    QTest::newRow("whole negative") << -3.0 << "-3";
    QTest::newRow("binary noise hidden") << 0.1 + 0.2 << "0.3";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("small, no exponent") << 1e-7 << "0.0000001";
    QTest::newRow("negative fraction") << -2.5 << "-2.5";
    QTest::newRow("large") << 1234567.25 << "1234567.25";
  }
  void plainNumberText() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(PlainNumberText(value)), expected);
  }
};

QTEST_APPLESS_MAIN(NumberPatternTest)
#include "number_pattern_test.moc"
