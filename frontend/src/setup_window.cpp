#include "setup_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtDebug>

#include "appearance.h"
#include "canvas.h"
#include "file_lists.h"
#include "message_box.h"
#include "picture_widget.h"
#include "pictures.h"
#include "platform.h"
#include "setup_conditions.h"
#include "spectrum_plots.h"
#include "tessalin_app.h"

namespace tessalin {
namespace {

const QString INPUT_ERROR = QStringLiteral("*** 入力に誤りがあります ***");
const QString PLEASE_WAIT = QStringLiteral("*** 計算終了までしばらくお待ちください。 ***");
const QString NO_FILE_SELECTED = QStringLiteral("ファイルが選択されていません");

QLineEdit* MakeTextBox(QWidget* parent, const QString& name, const QRect& twips,
                       const QFont& font) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setGeometry(TwipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
  box->setAlignment(Qt::AlignCenter);
  box->setFont(font);
  return box;
}

QLabel* MakePanelNumber(QWidget* parent, const QString& name, const QString& text, int left,
                        int top) {
  QFont font = RoundedGothicFont(12);
  font.setBold(true);
  return MakeLabel(parent, name, text, left, top, -1, -1, Qt::black, font);
}

Canvas* MakePlotCanvas(QWidget* parent, const QString& name, const QRect& twips) {
  auto* canvas = new Canvas(parent);
  canvas->setObjectName(name);
  canvas->setGeometry(TwipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
  canvas->SetBorderWidth(2);
  canvas->SetBackground(Qt::white);
  // Smaller than the 14.25 pt of the original layout: at that size the axis
  // captions run past the canvas edge.
  canvas->setFont(SerifFont(11));
  canvas->Clear();
  return canvas;
}

}  // namespace

Form4::Form4(TessalinApp& app) : QWidget(nullptr), app_(app) {
  setObjectName("Form4");
  setWindowTitle(PROGRAM_TITLE);
  setWindowIcon(ProgramIcon());
  setFixedSize(Twips(15840), Twips(9345));

  // Panel frames first, so that the controls they hold lie above them.
  MakeShape(this, "Shape3", TwipsRect(120, 120, 15495, 6255), Qt::black, false);
  MakeShape(this, "Shape1", TwipsRect(120, 6480, 5655, 2175), Qt::black, false);
  MakeShape(this, "Shape2", TwipsRect(6000, 6480, 4455, 2415), Qt::black, false);
  MakeShape(this, "Shape4", TwipsRect(10680, 6480, 4935, 2175), Qt::black, false);

  // Panel 1: the spectrum file.
  MakePanelNumber(this, "Label4", "①", 240, 240);
  MakeLabel(this, "Label7", "Orvessa で計算された", 720, 240, -1, -1, TEXT_BLUE,
            RoundedGothicFont(12));
  MakeLabel(this, "Label11", "Ｘ線スペクトル分布データ", 720, 600, -1, -1, TEXT_BLUE,
            RoundedGothicFont(12));
  MakeLabel(this, "Label8", "ファイルを選択して下さい", 720, 960, -1, -1, TEXT_BLUE,
            RoundedGothicFont(12));

  Drive1 = new DriveList(this);
  Drive1->setObjectName("Drive1");
  Drive1->setGeometry(TwipsRect(360, 1320, 3495, 345));
  Drive1->setFont(GothicFont(11));
  Dir1 = new FolderList(this);
  Dir1->setObjectName("Dir1");
  Dir1->setGeometry(TwipsRect(360, 1680, 3495, 990));
  Dir1->setFont(GothicFont(11));
  File1 = new FileList(this, QStringLiteral("*.csv"));
  File1->setObjectName("File1");
  File1->setGeometry(TwipsRect(360, 2640, 3495, 2340));
  File1->setFont(GothicFont(11));

  MakeLabel(this, "Label10", "このファイルのコメント", 840, 5040, -1, -1, TEXT_BLUE,
            RoundedGothicFont(11));
  Text6 = MakeTextBox(this, "Text6", QRect(360, 5280, 3495, 375), GothicFont(11));
  Command1 = MakeButton(this, "Command1", "OK,  グラフ表示", QRect(840, 5640, 2415, 495));
  auto* arrow = new PictureWidget(this, "Picture1", DrawGreyArrow);
  arrow->setGeometry(TwipsRect(3360, 5640, 480, 480));

  MakeLabel(this, "Label13", "Ｘ線スペクトル（方向別）", 5760, 360, -1, -1, TEXT_BLUE,
            RoundedGothicFont(12));
  Picture3 = MakePlotCanvas(this, "Picture3", QRect(4080, 720, 6255, 5415));
  SetSpectrumPlotScale(*Picture3);
  MakeLabel(this, "Label3", "総濾過 ＋ ボウタイフィルタ透過長", 11040, 360, -1, -1, TEXT_BLUE,
            RoundedGothicFont(12));
  Picture4 = MakePlotCanvas(this, "Picture4", QRect(10440, 720, 4935, 5415));
  SetFiltrationPlotScale(*Picture4);

  // Panel 2: the scan geometry.
  const QFont numbers = SerifFont(16);
  MakePanelNumber(this, "Label20", "②", 240, 6600);
  MakeLabel(this, "Label1", "焦点 - 回転中心間距離 ＝", 720, 6720, -1, -1, Qt::black,
            RoundedGothicFont(12));
  Text2 = MakeTextBox(this, "Text2", QRect(4080, 6600, 975, 495), numbers);
  MakeLabel(this, "Label6", "cm", 5160, 6720, -1, -1, Qt::black, SerifFont(14));
  MakeLabel(this, "Label12", "回転中心における線束の大きさ", 720, 7200, -1, -1, Qt::black,
            RoundedGothicFont(12));
  MakeLabel(this, "Label14", "回転方向 (10cm以上)＝", 840, 7680, -1, -1, Qt::black,
            RoundedGothicFont(12));
  Text3 = MakeTextBox(this, "Text3", QRect(4080, 7560, 975, 495), numbers);
  MakeLabel(this, "Label5", "cm", 5160, 7680, -1, -1, Qt::black, SerifFont(14));
  MakeLabel(this, "Label9", "体軸方向 (1cm以上)＝", 960, 8160, -1, -1, Qt::black,
            RoundedGothicFont(12));
  Text4 = MakeTextBox(this, "Text4", QRect(4080, 8040, 975, 495), numbers);
  MakeLabel(this, "Label15", "cm", 5160, 8160, -1, -1, Qt::black, SerifFont(14));

  // Panel 3: the phantom.
  MakePanelNumber(this, "Label21", "③", 6120, 6600);
  MakeLabel(this, "Label2", "被写体ファントム", 6600, 6600, -1, -1, Qt::black,
            RoundedGothicFont(12));
  Command4 =
      MakeButton(this, "Command4", "参 照", QRect(9120, 6600, 975, 375), RoundedGothicFont(12));
  MakeLabel(this, "Label16", "レーストラック形断面軟部組織", 6240, 7080, -1, -1, Qt::black,
            RoundedGothicFont(12));
  MakeLabel(this, "Label17", "長さ (length) ＝            一定", 6240, 7560, -1, -1, Qt::black,
            RoundedGothicFont(12));
  MakeLabel(this, "Label26", "40 cm", 8520, 7560, -1, -1, Qt::black, SerifFont(14));
  MakeLabel(this, "Label18", "a =", 6240, 8160, -1, -1, Qt::black, SerifFont(14));
  Text1 = MakeTextBox(this, "Text1", QRect(6720, 8040, 855, 495), numbers);
  MakeLabel(this, "Label19", "cm", 7620, 8160, -1, -1, Qt::black, SerifFont(14));
  MakeLabel(this, "Label29", "max : 20", 6720, 8550, -1, -1, Qt::black, SerifFont(11));
  MakeLabel(this, "Label25", "b =", 8400, 8160, -1, -1, Qt::black, SerifFont(14));
  Text8 = MakeTextBox(this, "Text8", QRect(8880, 8040, 855, 495), numbers);
  MakeLabel(this, "Label28", "cm", 9780, 8160, -1, -1, Qt::black, SerifFont(14));
  MakeLabel(this, "Label30", "max : 20", 8880, 8550, -1, -1, Qt::black, SerifFont(11));

  // Panel 4: the run.
  MakePanelNumber(this, "Label22", "④", 10800, 6600);
  MakeLabel(this, "Label23", "モンテカルロシミュレーション", 11280, 6600, -1, -1, Qt::black,
            RoundedGothicFont(12));
  MakeLabel(this, "Label24", "ヒストリー数 ＝", 10800, 7200, -1, -1, Qt::black,
            RoundedGothicFont(12));
  Text5 = MakeTextBox(this, "Text5", QRect(12960, 7080, 2415, 495), numbers);
  MakeLabel(this, "Label27", "結果保存ファイル名 (拡張子なし)", 10920, 7800, -1, -1, Qt::black,
            RoundedGothicFont(12));
  Text7 = MakeTextBox(this, "Text7", QRect(11280, 8190, 3735, 345), GothicFont(12));
  Command3 =
      MakeButton(this, "Command3", "シミュレーション スタート", QRect(11400, 8760, 3975, 495));
  Command2 = MakeButton(this, "Command2", "前画面へ戻る", QRect(360, 8760, 2415, 495));

  Drive1->SetVolumes(MountedVolumes(), app_.WorkingFolder());
  Dir1->SetPath(Drive1->CurrentFolder());
  File1->SetFolder(Dir1->Path());

  connect(Drive1, &DriveList::driveChanged, this, &Form4::OnDrive1Change);
  connect(Dir1, &FolderList::folderChanged, this, &Form4::OnDir1Change);
  connect(File1, &FileList::fileClicked, this, &Form4::OnFile1Click);
  connect(Command1, &QPushButton::clicked, this, &Form4::OnCommand1Click);
  connect(Command3, &QPushButton::clicked, this, &Form4::OnCommand3Click);
  connect(Command4, &QPushButton::clicked, this, &Form4::OnCommand4Click);
  connect(Command2, &QPushButton::clicked, this, &Form4::OnCommand2Click);
}

void Form4::PrepareForEntry() {
  Picture3->Clear();
  Picture4->Clear();
  Text1->setText("20");
  Text8->setText("20");
  Text2->setText("60");
  Text3->setText("40");
  Text4->setText("10");
  Text5->setText("900000000");
  Text6->clear();
  Text7->clear();
  Command3->setEnabled(false);
  Command1->setEnabled(false);
  Dir1->SetPath(Drive1->CurrentFolder());
  File1->SetFolder(Dir1->Path());
}

void Form4::OnDrive1Change() { Dir1->SetPath(Drive1->CurrentFolder()); }

void Form4::OnDir1Change() {
  Drive1->RememberFolder(Dir1->Path());
  File1->SetFolder(Dir1->Path());
}

void Form4::OnFile1Click() {
  const QString path = File1->FilePath();
  if (path.isEmpty()) return;
  try {
    app_.Spectrum().SpectrumComment = ReadSpectrumComment(path);
  } catch (const SpectrumFileError& error) {
    ShowMessage(this, error.Message(), MessageIcon::Exclamation);
    return;
  }
  Text6->setText(app_.Spectrum().SpectrumComment);
  Text6->setCursorPosition(0);  // a long comment shows its beginning
  Command1->setEnabled(true);
}

void Form4::OnCommand1Click() {
  const QString path = File1->FilePath();
  if (path.isEmpty()) {
    ShowMessage(this, NO_FILE_SELECTED, MessageIcon::Exclamation);
    return;
  }
  SpectrumVariables& spectrum = app_.Spectrum();
  try {
    spectrum = ReadSpectrumFile(path);
  } catch (const SpectrumFileError& error) {
    // The data, plots and buttons of the last good load stay as they were.
    ShowMessage(this, error.Message(), MessageIcon::Exclamation);
    return;
  }
  DrawSpectrumPlot(*Picture3, spectrum);
  DrawFiltrationPlot(*Picture4, spectrum);
  QString proposal = File1->FileName();
  proposal.chop(4);  // the name without ".csv"
  Text7->setText(proposal);
  Command3->setEnabled(true);
}

void Form4::ShowInputError() { ShowMessage(this, INPUT_ERROR, MessageIcon::Exclamation); }

void Form4::OnCommand3Click() {
  if (!PassesStartChecks(ReadTextNumber(Text4->text()), ReadTextNumber(Text3->text()))) {
    ShowInputError();
    return;
  }
  SetupInputs inputs;
  inputs.SourceAxisDistance = ReadTextNumber(Text2->text());
  inputs.BeamWidthRotation = ReadTextNumber(Text3->text());
  inputs.BeamWidthAxial = ReadTextNumber(Text4->text());
  inputs.PhantomA = ReadTextNumber(Text1->text());
  inputs.PhantomB = ReadTextNumber(Text8->text());
  inputs.HistoryCount = ReadTextNumber(Text5->text());
  inputs.ResultName = Text7->text();
  try {
    WriteConditionsFile(app_.WorkingFolder(), BuildConditionsText(inputs, app_.Spectrum()));
  } catch (const ConditionsError& error) {
    qWarning("joken.dat not written: %s", error.what());
    ShowInputError();
    return;
  }
  QCoreApplication::processEvents();

  const QString engine = FindEngine(app_.WorkingFolder());
  QString reason;
  if (engine.isEmpty()) {
    qWarning("%s not found in the working folder, beside Tessalin or on the PATH",
             qPrintable(ENGINE_PROGRAM));
    ShowInputError();
    return;
  }
  if (!StartInTerminal(engine, app_.WorkingFolder(), ENGINE_PROGRAM, &reason)) {
    qWarning("%s not started: %s", qPrintable(ENGINE_PROGRAM), qPrintable(reason));
    ShowInputError();
    return;
  }
  ShowMessage(this, PLEASE_WAIT, MessageIcon::None);
  app_.ReturnToStart(this);
}

void Form4::OnCommand4Click() { app_.ShowIllustration(); }

void Form4::OnCommand2Click() { app_.ReturnToStart(this); }

void Form4::closeEvent(QCloseEvent* event) {
  event->accept();
  app_.EndProgram();
}

}  // namespace tessalin
