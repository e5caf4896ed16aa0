// The engine reads what the front end writes: joken.dat from a loaded
// spectrum file through the engine's own reader.
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

#include "conditions.h"
#include "setup_conditions.h"
#include "spectrum_file.h"

using namespace tessalin;

class ConditionsRoundTripTest : public QObject {
  Q_OBJECT
 private slots:
  void engineReadsTheWrittenConditions() {
    const SpectrumVariables spectrum =
        ReadSpectrumFile(QDir(TESSALIN_TEST_DATA_DIR).filePath("example_W120kV_body_21dir.csv"));
    SetupInputs inputs;
    inputs.ResultName = "round";
    inputs.SourceAxisDistance = 60;
    inputs.BeamWidthRotation = 40;
    inputs.BeamWidthAxial = 10;
    inputs.PhantomA = 12.5;
    inputs.PhantomB = 20;
    inputs.HistoryCount = 900000000;
    QTemporaryDir dir;
    WriteConditionsFile(dir.path(), BuildConditionsText(inputs, spectrum));

    const tsl2::Conditions c =
        tsl2::ReadConditions(QDir(dir.path()).filePath("joken.dat").toStdString());
    QCOMPARE(QString::fromStdString(c.ResultName()), QString("round.tsl2"));
    QVERIFY(QString::fromStdString(c.Comment()).startsWith("example_W120kV_body_21dir.csv"));
    QCOMPARE(c.SourceAxisDistance, 60.0f);
    QCOMPARE(c.BeamWidthRotation, 40.0f);
    QCOMPARE(c.BeamWidthAxial, 10.0f);
    QCOMPARE(c.PhantomA, 12.5f);
    QCOMPARE(c.HalfPhantomB, 10.0f);
    QCOMPARE(c.HistoryCount, 900000000.0f);
    QCOMPARE(c.FilterRowCount, 20);
    // Rows 1..21 from the file (mm written as cm), row 22 continues 5 cm flat.
    QCOMPARE(c.FilterPosition[1], 0.0f);
    QCOMPARE(c.FilterThickness[1], 0.9358f);
    QCOMPARE(c.FilterPosition[21], 20.0f);
    QCOMPARE(c.FilterThickness[21], 4.1632f);
    QCOMPARE(c.FilterPosition[22], 25.0f);
    QCOMPARE(c.FilterThickness[22], c.FilterThickness[21]);
    // The central spectrum, normalised by the engine: the top bin follows
    // the last positive fluence of the file.
    int lastPositive = 0;
    double sum = 0;
    for (int k = 1; k <= SPECTRUM_BINS; ++k) {
      if (spectrum.DirectionFluence[0][k] > 0)
        lastPositive = k;  // exponent form keeps any positive value
      sum += spectrum.DirectionFluence[0][k];
    }
    QCOMPARE(c.TopEnergyBin, lastPositive + 1);
    for (int k : {60, 120, 200}) {
      QVERIFY2(std::fabs(c.Spectrum[k] - spectrum.DirectionFluence[0][k] / sum) <
                   1e-3 * spectrum.DirectionFluence[0][k] / sum + 1e-9,
               qPrintable(QString("bin %1").arg(k)));
    }
    QCOMPARE(c.FanAngle, static_cast<float>(2 * std::atan(20.0f / 60.0f)));
    QCOMPARE(c.ConeHalfAngle, std::atan(5.0f / 60.0f));
  }
};

QTEST_APPLESS_MAIN(ConditionsRoundTripTest)
#include "conditions_roundtrip_test.moc"
