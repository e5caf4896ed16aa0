#include "start_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "appearance.h"
#include "message_box.h"
#include "picture_widget.h"
#include "pictures.h"
#include "tessalin_app.h"

namespace tessalin {

Form1::Form1(TessalinApp& app) : QWidget(nullptr), app_(app) {
  setObjectName("Form1");
  setWindowTitle(PROGRAM_TITLE);
  setWindowIcon(ProgramIcon());
  setFixedSize(Twips(11010), Twips(5940));

  // Shapes first, so that the labels they frame lie above them.
  MakeShape(this, "Shape1", TwipsRect(360, 840, 3615, 855), TEXT_RED, true);

  MakeLabel(this, "Label2", "Tessalin", 720, 120, 2475, 645, TEXT_RED, SerifFont(28));
  MakeLabel(this, "Label1", "Ｘ線CT撮影時の被写体内線量分布計算", 5160, 600, 4995, 285, TEXT_BLUE);
  MakeLabel(this, "Label8", "（モンテカルロシミュレーション）", 5400, 1080, 4560, 285, TEXT_BLUE);
  MakeLabel(this, "Label11", "レーストラック形断面の", 600, 960, 3135, 285, TEXT_BLUE);
  MakeLabel(this, "Label12", "軟部組織ファントム", 840, 1320, 2565, 285, TEXT_BLUE);

  auto* picture1 = new PictureWidget(this, "Picture1", DrawScannerGantry);
  picture1->setGeometry(TwipsRect(240, 2040, 3975, 3135));

  MakeLabel(this, "Label3", "以下のデータが必要です", 4920, 2040, 3135, 285);
  MakeLabel(this, "Label4", "１．別ソフト Orvessa で作成された", 4440, 2640, 5325, 285);
  MakeLabel(this, "Label6", "線束内のＸ線スペクトル分布データファイル", 5040, 3000, 5700, 285);
  MakeLabel(this, "Label9", "２．焦点 - 回転中心間距離", 4440, 3480, 3465, 285);
  MakeLabel(this, "Label5", "３．線束の大きさ（回転方向、体軸方向）", 4440, 3960, 5415, 285);
  MakeLabel(this, "Label10", "（ノンヘリカル・コーンビーム CT を想定）", 4920, 4320, 4845, 240,
            Qt::black, RoundedGothicFont(12));

  Command3 = MakeButton(this, "Command3", "新規計算", QRect(5040, 5040, 1815, 615));
  Command1 = MakeButton(this, "Command1", "結果検索", QRect(7200, 5040, 1815, 615));
  Command2 = MakeButton(this, "Command2", QString(), QRect(10080, 5040, 520, 520));
  Command2->setToolTip(" bye bye ");
  {
    QPixmap sign(Command2->size() - QSize(6, 6));
    sign.fill(Qt::transparent);
    QPainter painter(&sign);
    DrawExitSign(painter, sign.rect());
    painter.end();
    Command2->setIcon(QIcon(sign));
    Command2->setIconSize(sign.size());
  }

  auto* picture8 = new PictureWidget(this, "Picture8", DrawDogIcon);
  picture8->setGeometry(TwipsRect(9360, 5160, 480, 480));

  connect(Command3, &QPushButton::clicked, this, &Form1::OnCommand3Click);
  connect(Command1, &QPushButton::clicked, this, &Form1::OnCommand1Click);
  connect(Command2, &QPushButton::clicked, this, &Form1::OnCommand2Click);
}

void Form1::OnCommand3Click() { app_.OpenSetup(); }
void Form1::OnCommand1Click() { app_.OpenViewer(); }
void Form1::OnCommand2Click() { app_.EndProgram(); }

void Form1::closeEvent(QCloseEvent* event) {
  event->accept();
  app_.EndProgram();
}

}  // namespace tessalin
