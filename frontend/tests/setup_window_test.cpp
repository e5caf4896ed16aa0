// The start, setup and illustration windows: the flow between them with its
// resets, the spectrum panel, and the start of a run.
#include <QApplication>
#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "canvas.h"
#include "file_lists.h"
#include "illustration_window.h"
#include "message_box.h"
#include "setup_window.h"
#include "start_window.h"
#include "tessalin_app.h"
#include "viewer_window.h"

using namespace tessalin;

namespace {

const QString INPUT_ERROR = QStringLiteral("*** 入力に誤りがあります ***");
const QString PLEASE_WAIT = QStringLiteral("*** 計算終了までしばらくお待ちください。 ***");

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteScript(const QString& path, const QByteArray& text) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(text);
  file.close();
  QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

bool IsBlank(const Canvas& canvas) {
  QImage white(canvas.Image().size(), canvas.Image().format());
  white.fill(Qt::white);
  return canvas.Image() == white;
}

int CountWindows(const QString& name) {
  int count = 0;
  for (QWidget* widget : QApplication::topLevelWidgets()) count += widget->objectName() == name;
  return count;
}

}  // namespace

class SetupWindowTest : public QObject {
  Q_OBJECT

  struct Message {
    QString text;
    MessageIcon icon;
  };
  QList<Message> messages_;
  int endRequests_ = 0;
  std::unique_ptr<QTemporaryDir> work_;
  std::unique_ptr<TessalinApp> app_;

  Form4& Setup() { return app_->SetupWindow(); }

  // The user's way in: "新規計算" on the start window.
  Form4& EnterSetup() {
    QTest::mouseClick(app_->StartWindow().Command3, Qt::LeftButton);
    return Setup();
  }

  void ClickFile(const QString& name) {
    FileList* list = Setup().File1;
    const QList<QListWidgetItem*> items = list->findItems(name, Qt::MatchExactly);
    QVERIFY2(items.size() == 1, qPrintable(name));
    list->scrollToItem(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items.first()).center());
    QCOMPARE(list->FileName(), name);
  }

  void LoadFixture(const QString& name) {
    Setup().Dir1->SetPath(TESSALIN_TEST_DATA_DIR);
    ClickFile(name);
    QTest::mouseClick(Setup().Command1, Qt::LeftButton);
  }

  // A working folder with a fake engine that records its start and then
  // waits for the file "release" (at most 10 s), and a fake terminal.
  void PrepareFakeEngine() {
    WriteScript(work_->filePath("TSL2-calc"),
                "#!/bin/sh\npwd > engine-ran.txt\nn=0\n"
                "while [ ! -f release ] && [ $n -lt 200 ]; do sleep 0.05; n=$((n+1)); done\n"
                "echo done > engine-finished.txt\n");
    WriteScript(work_->filePath("fake-terminal"),
                "#!/bin/sh\necho \"$@\" > terminal-args.txt\n"
                "while [ $# -gt 0 ]; do if [ \"$1\" = -e ]; then shift; exec \"$@\"; fi; shift; "
                "done\nexit 1\n");
    qputenv("TESSALIN_TERMINAL", work_->filePath("fake-terminal").toLocal8Bit());
  }

 private slots:
  void init() {
    messages_.clear();
    endRequests_ = 0;
    SetMessageHandler([this](const QString& text, MessageIcon icon) {
      messages_.append({text, icon});
    });
    work_ = std::make_unique<QTemporaryDir>();
    app_ = std::make_unique<TessalinApp>(work_->path());
    app_->SetEndProgramAction([this] { ++endRequests_; });
    app_->Run();
  }

  void cleanup() {
    QFile release(work_->filePath("release"));
    release.open(QIODevice::WriteOnly);
    release.close();
    app_.reset();
    SetMessageHandler({});
    qunsetenv("TESSALIN_TERMINAL");
  }

  // Controls keep their names, captions and places (twips / 15 = pixels).
  void layoutKeepsNamesCaptionsAndPlaces_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");  // width 0: a label sized by its text
    QTest::newRow("Form1 new") << "Form1"
                               << "Command3"
                               << "新規計算" << QRect(5040, 5040, 1815, 615);
    QTest::newRow("Form1 results") << "Form1"
                                   << "Command1"
                                   << "結果検索" << QRect(7200, 5040, 1815, 615);
    QTest::newRow("Form1 exit") << "Form1"
                                << "Command2"
                                << "" << QRect(10080, 5040, 520, 520);
    QTest::newRow("Form1 name") << "Form1"
                                << "Label2"
                                << "Tessalin" << QRect(720, 120, 0, 0);
    QTest::newRow("Form1 title") << "Form1"
                                 << "Label1"
                                 << "Ｘ線CT撮影時の被写体内線量分布計算" << QRect(5160, 600, 0, 0);
    QTest::newRow("Form1 assumption")
        << "Form1"
        << "Label10"
        << "（ノンヘリカル・コーンビーム CT を想定）" << QRect(4920, 4320, 0, 0);
    QTest::newRow("Form4 load") << "Form4"
                                << "Command1"
                                << "OK,  グラフ表示" << QRect(840, 5640, 2415, 495);
    QTest::newRow("Form4 start") << "Form4"
                                 << "Command3"
                                 << "シミュレーション スタート" << QRect(11400, 8760, 3975, 495);
    QTest::newRow("Form4 see") << "Form4"
                               << "Command4"
                               << "参 照" << QRect(9120, 6600, 975, 375);
    QTest::newRow("Form4 back") << "Form4"
                                << "Command2"
                                << "前画面へ戻る" << QRect(360, 8760, 2415, 495);
    QTest::newRow("Form4 histories") << "Form4"
                                     << "Text5"
                                     << "900000000" << QRect(12960, 7080, 2415, 495);
    QTest::newRow("Form4 result name") << "Form4"
                                       << "Text7"
                                       << "" << QRect(11280, 8190, 3735, 345);
    QTest::newRow("Form4 spectrum plot") << "Form4"
                                         << "Picture3"
                                         << "" << QRect(4080, 720, 6255, 5415);
    QTest::newRow("Form4 filtration plot") << "Form4"
                                           << "Picture4"
                                           << "" << QRect(10440, 720, 4935, 5415);
    QTest::newRow("Form4 files") << "Form4"
                                 << "File1"
                                 << "" << QRect(360, 2640, 3495, 2340);
    QTest::newRow("Form4 length") << "Form4"
                                  << "Label17"
                                  << "長さ (length) ＝            一定" << QRect(6240, 7560, 0, 0);
    QTest::newRow("Form4 result label")
        << "Form4"
        << "Label27"
        << "結果保存ファイル名 (拡張子なし)" << QRect(10920, 7800, 0, 0);
    QTest::newRow("Form3 close") << "Form3"
                                 << "Command1"
                                 << "Close" << QRect(4560, 3960, 855, 375);
  }
  void layoutKeepsNamesCaptionsAndPlaces() {
    QFETCH(QString, window);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    QWidget* form = window == "Form1"   ? static_cast<QWidget*>(&app_->StartWindow())
                    : window == "Form4" ? static_cast<QWidget*>(&EnterSetup())
                                        : static_cast<QWidget*>(&app_->IllustrationWindow());
    QCOMPARE(form->objectName(), window);
    QWidget* control = form->findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    QString text;
    if (auto* button = qobject_cast<QAbstractButton*>(control)) text = button->text();
    if (auto* label = qobject_cast<QLabel*>(control)) text = label->text();
    if (auto* box = qobject_cast<QLineEdit*>(control)) text = box->text();
    QCOMPARE(text, caption);
    const QRect pixels((twips.x() + 7) / 15, (twips.y() + 7) / 15, (twips.width() + 7) / 15,
                       (twips.height() + 7) / 15);
    if (twips.width() == 0)
      QCOMPARE(control->pos(), pixels.topLeft());
    else
      QCOMPARE(control->geometry(), pixels);
  }

  void windowsHaveTheirSizesAndTitles() {
    QCOMPARE(app_->StartWindow().size(), QSize(734, 396));
    QCOMPARE(app_->StartWindow().windowTitle(), QString("Tessalin"));
    QCOMPARE(EnterSetup().size(), QSize(1056, 623));
    QCOMPARE(Setup().windowTitle(), QString("Tessalin"));
    QCOMPARE(app_->IllustrationWindow().size(), QSize(366, 292));
    QCOMPARE(app_->IllustrationWindow().windowTitle(), QString("Phantom"));
    QCOMPARE(app_->StartWindow().Command2->toolTip(), QString(" bye bye "));
  }

  void newCalculationStartsFromTheDefaults() {
    QVERIFY(app_->StartWindow().isVisible());
    QCOMPARE(CountWindows("Form4"), 0);  // created when first needed
    Form4& setup = EnterSetup();
    QVERIFY(setup.isVisible());
    QVERIFY(!app_->StartWindow().isVisible());

    LoadFixture("spectrum_16dir.csv");
    QVERIFY(setup.Command3->isEnabled());
    QVERIFY(!IsBlank(*setup.Picture3));
    for (QLineEdit* box : {setup.Text1, setup.Text8, setup.Text2, setup.Text3, setup.Text4,
                           setup.Text5, setup.Text7})
      box->setText("7");

    QTest::mouseClick(setup.Command2, Qt::LeftButton);  // "前画面へ戻る"
    QVERIFY(app_->StartWindow().isVisible());
    QVERIFY(!setup.isVisible());

    EnterSetup();
    QCOMPARE(CountWindows("Form4"), 1);
    QCOMPARE(setup.Text1->text(), QString("20"));
    QCOMPARE(setup.Text8->text(), QString("20"));
    QCOMPARE(setup.Text2->text(), QString("60"));
    QCOMPARE(setup.Text3->text(), QString("40"));
    QCOMPARE(setup.Text4->text(), QString("10"));
    QCOMPARE(setup.Text5->text(), QString("900000000"));
    QVERIFY(setup.Text6->text().isEmpty());
    QVERIFY(setup.Text7->text().isEmpty());
    QVERIFY(IsBlank(*setup.Picture3));
    QVERIFY(IsBlank(*setup.Picture4));
    QVERIFY(!setup.Command1->isEnabled());
    QVERIFY(!setup.Command3->isEnabled());
    // The file list is back at the drive's current folder, with no selection.
    QCOMPARE(setup.Dir1->Path(), QString(TESSALIN_TEST_DATA_DIR));
    QVERIFY(setup.File1->FileName().isEmpty());
    QVERIFY(!setup.File1->findItems("spectrum_16dir.csv", Qt::MatchExactly).isEmpty());
  }

  void illustrationExistsOnceAndOutlivesTheSetup() {
    Form4& setup = EnterSetup();
    QTest::mouseClick(setup.Command4, Qt::LeftButton);
    QTest::mouseClick(setup.Command4, Qt::LeftButton);
    QCOMPARE(CountWindows("Form3"), 1);
    Form3& illustration = app_->IllustrationWindow();
    QVERIFY(illustration.isVisible());
    QVERIFY(setup.isVisible());  // modeless: the setup stays
    QTest::mouseClick(setup.Command2, Qt::LeftButton);
    QVERIFY(illustration.isVisible());
    QTest::mouseClick(illustration.Command1, Qt::LeftButton);  // "Close"
    QVERIFY(!illustration.isVisible());
    QTest::mouseClick(setup.Command4, Qt::LeftButton);
    QVERIFY(illustration.isVisible());
    illustration.close();  // the frame closes the illustration only
    QVERIFY(!illustration.isVisible());
    QCOMPARE(endRequests_, 0);
  }

  void framesAndExitEndTheProgram() {
    QTest::mouseClick(app_->StartWindow().Command2, Qt::LeftButton);  // the exit sign
    QCOMPARE(endRequests_, 1);
    app_->StartWindow().close();
    QCOMPARE(endRequests_, 2);
    EnterSetup().close();
    QCOMPARE(endRequests_, 3);
  }

  void viewerReturnsAndIsCreatedAnewAfterItsFrameCloses() {
    QTest::mouseClick(app_->StartWindow().Command1, Qt::LeftButton);  // "結果検索"
    QPointer<Form2> viewer = &app_->ViewerWindow();
    QVERIFY(viewer->isVisible());
    QVERIFY(!app_->StartWindow().isVisible());
    viewer->close();
    QVERIFY(app_->StartWindow().isVisible());
    QTRY_VERIFY(viewer.isNull());
    QTest::mouseClick(app_->StartWindow().Command1, Qt::LeftButton);
    QCOMPARE(CountWindows("Form2"), 1);
    QVERIFY(app_->ViewerWindow().isVisible());
  }

  void listsFollowDriveAndFolder() {
    QTemporaryDir other;
    QVERIFY(QDir(other.path()).mkpath("inner"));
    QFile::copy(QString(TESSALIN_TEST_DATA_DIR) + "/spectrum_16dir.csv",
                other.filePath("inner/UPPER.CSV"));
    Form4& setup = EnterSetup();
    setup.Drive1->SetVolumes({"/", other.path()}, work_->path());
    setup.Dir1->SetPath(TESSALIN_TEST_DATA_DIR);
    QCOMPARE(setup.File1->Folder(), QString(TESSALIN_TEST_DATA_DIR));
    QCOMPARE(setup.File1->count(), 3);  // the .csv files only
    setup.Drive1->setCurrentIndex(1);
    QCOMPARE(setup.Dir1->Path(), other.path());
    QCOMPARE(setup.File1->count(), 0);
    setup.Dir1->SetPath(other.filePath("inner"));
    QCOMPARE(setup.File1->count(), 1);  // patterns ignore case
    setup.Drive1->setCurrentIndex(0);   // each drive keeps its current folder
    QCOMPARE(setup.Dir1->Path(), QString(TESSALIN_TEST_DATA_DIR));
    setup.Drive1->setCurrentIndex(1);
    QCOMPARE(setup.Dir1->Path(), other.filePath("inner"));
  }

  void spectrumPanelShowsLoadsAndKeepsOldDataOnErrors() {
    Form4& setup = EnterSetup();
    QTest::mouseClick(setup.Command1, Qt::LeftButton);  // disabled: nothing happens
    QVERIFY(messages_.isEmpty());
    setup.Dir1->SetPath(TESSALIN_TEST_DATA_DIR);
    ClickFile("spectrum_16dir.csv");
    QCOMPARE(setup.Text6->text(), QString::fromUtf8("試験用スペクトル 120kV ～ 16方向 (C:\\data)"));
    QVERIFY(setup.Command1->isEnabled());
    QVERIFY(IsBlank(*setup.Picture3));  // a click only shows the comment
    QTest::mouseClick(setup.Command1, Qt::LeftButton);
    QVERIFY(messages_.isEmpty());
    QCOMPARE(app_->Spectrum().LastDirection, 15);
    QCOMPARE(setup.Text7->text(), QString("spectrum_16dir"));
    QVERIFY(setup.Command3->isEnabled());
    const QImage spectrumPlot = setup.Picture3->Image();
    const QImage filtrationPlot = setup.Picture4->Image();

    // A bad file: the message, and everything of the last load stays.
    QTemporaryDir bad;
    QFile file(bad.filePath("broken.csv"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("broken\r\n30\r\n");
    file.close();
    setup.Text7->setText("mine");
    setup.Dir1->SetPath(bad.path());
    ClickFile("broken.csv");
    QCOMPARE(setup.Text6->text(), QString("broken"));
    QTest::mouseClick(setup.Command1, Qt::LeftButton);
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_[0].text.contains("broken.csv"));
    QCOMPARE(messages_[0].icon, MessageIcon::Exclamation);
    QCOMPARE(app_->Spectrum().LastDirection, 15);
    QCOMPARE(app_->Spectrum().LoadedFileName, QString("spectrum_16dir.csv"));
    QCOMPARE(setup.Picture3->Image(), spectrumPlot);
    QCOMPARE(setup.Picture4->Image(), filtrationPlot);
    QCOMPARE(setup.Text7->text(), QString("mine"));
    QVERIFY(setup.Command3->isEnabled());

    // A folder change leaves no selection: the load says so.
    setup.Dir1->SetPath(TESSALIN_TEST_DATA_DIR);
    QTest::mouseClick(setup.Command1, Qt::LeftButton);
    QCOMPARE(messages_.size(), 2);
    QCOMPARE(messages_[1].text, QString("ファイルが選択されていません"));
  }

  void startWritesConditionsAndStartsTheEngineWithoutWaiting() {
    PrepareFakeEngine();
    Form4& setup = EnterSetup();
    LoadFixture("spectrum_16dir.csv");
    ClickFile("example_W120kV_body_21dir.csv");  // clicked after the load, not loaded
    setup.Text7->setText("run1");
    QTest::mouseClick(setup.Command3, Qt::LeftButton);

    // Returned at once, with the engine still running.
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].text, PLEASE_WAIT);
    QCOMPARE(messages_[0].icon, MessageIcon::None);
    QVERIFY(app_->StartWindow().isVisible());
    QVERIFY(!setup.isVisible());
    // The conditions name the spectrum they carry: the loaded one.
    QCOMPARE(ReadAll(work_->filePath("joken.dat")),
             ReadAll(QString(TESSALIN_TEST_DATA_DIR) + "/joken_16dir_expected.dat"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(work_->filePath("engine-ran.txt")), 10000);
    QTRY_COMPARE(ReadAll(work_->filePath("engine-ran.txt")).trimmed(),
                 QDir(work_->path()).canonicalPath().toLocal8Bit());
    QVERIFY(ReadAll(work_->filePath("terminal-args.txt")).startsWith("-T TSL2-calc -e "));
    QVERIFY(!QFile::exists(work_->filePath("engine-finished.txt")));
    QFile release(work_->filePath("release"));
    QVERIFY(release.open(QIODevice::WriteOnly));
    release.close();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(work_->filePath("engine-finished.txt")), 10000);
  }

  void startChecksItsInputs_data() {
    QTest::addColumn<QString>("axial");     // Text4
    QTest::addColumn<QString>("rotation");  // Text3
    QTest::addColumn<QString>("result");    // Text7
    QTest::addColumn<bool>("accepted");
    QTest::newRow("axial 0.5") << "0.5"
                               << "40"
                               << "run" << false;
    QTest::newRow("axial 1") << "1"
                             << "40"
                             << "run" << true;
    QTest::newRow("rotation 9.9") << "10"
                                  << "9.9"
                                  << "run" << false;
    QTest::newRow("rotation 10") << "10"
                                 << "10"
                                 << "run" << true;
    QTest::newRow("axial not a number") << "abc"
                                        << "40"
                                        << "run" << false;
    QTest::newRow("too large for the engine") << "1e999"
                                              << "40"
                                              << "run" << false;
    QTest::newRow("folder in the name") << "10"
                                        << "40"
                                        << "../run" << false;
    QTest::newRow("control character") << "10"
                                       << "40"
                                       << "run\x01" << false;
    QTest::newRow("26 bytes") << "10"
                              << "40" << QString(26, 'r') << false;
    QTest::newRow("empty name") << "10"
                                << "40"
                                << "" << true;
  }
  void startChecksItsInputs() {
    QFETCH(QString, axial);
    QFETCH(QString, rotation);
    QFETCH(QString, result);
    QFETCH(bool, accepted);
    PrepareFakeEngine();
    QFile release(work_->filePath("release"));  // let the fake engine end at once
    QVERIFY(release.open(QIODevice::WriteOnly));
    release.close();
    Form4& setup = EnterSetup();
    LoadFixture("spectrum_16dir.csv");
    setup.Text4->setText(axial);
    setup.Text3->setText(rotation);
    setup.Text7->setText(result);
    setup.Text2->setText("abc");  // not refused: written as 0
    QTest::mouseClick(setup.Command3, Qt::LeftButton);
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].text, accepted ? PLEASE_WAIT : INPUT_ERROR);
    QCOMPARE(QFile::exists(work_->filePath("joken.dat")), accepted);
    QCOMPARE(setup.isVisible(), !accepted);
    if (accepted) {
      const QList<QByteArray> lines = ReadAll(work_->filePath("joken.dat")).split('\n');
      QCOMPARE(lines[1], (result + ".tsl2\r").toLatin1());
      QCOMPARE(lines[2], QByteArray("000.0\r"));
      QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(work_->filePath("engine-finished.txt")), 10000);
    }
  }

  void missingEngineIsAnInputErrorAfterWriting() {
    PrepareFakeEngine();
    QFile::remove(work_->filePath("TSL2-calc"));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/usr/bin:/bin");
    Form4& setup = EnterSetup();
    LoadFixture("spectrum_16dir.csv");
    QTest::mouseClick(setup.Command3, Qt::LeftButton);
    qputenv("PATH", path);
    QCOMPARE(messages_.size(), 1);
    QCOMPARE(messages_[0].text, INPUT_ERROR);
    QCOMPARE(messages_[0].icon, MessageIcon::Exclamation);
    QVERIFY(QFile::exists(work_->filePath("joken.dat")));
    QVERIFY(setup.isVisible());
  }
};

QTEST_MAIN(SetupWindowTest)
#include "setup_window_test.moc"
