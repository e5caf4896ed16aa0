// Form4, the setup window: the spectrum file (panel 1), the scan geometry
// (2), the phantom (3), the run (4) and the start of the engine.
#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace tessalin {

class Canvas;
class DriveList;
class FileList;
class FolderList;
class TessalinApp;

class Form4 : public QWidget {
  Q_OBJECT
 public:
  explicit Form4(TessalinApp& app);

  // The start window's reset before every entry: blank plots, default texts,
  // both action buttons disabled, the lists at the selected drive's folder.
  void PrepareForEntry();

  DriveList* Drive1;
  FolderList* Dir1;
  FileList* File1;
  QLineEdit* Text6;       // comment of the clicked spectrum file
  QPushButton* Command1;  // "OK,  グラフ表示": load and plot
  Canvas* Picture3;       // spectrum plot
  Canvas* Picture4;       // filtration plot
  QLineEdit* Text2;       // focus to rotation-centre distance, cm
  QLineEdit* Text3;       // beam size in the rotation direction, cm
  QLineEdit* Text4;       // beam size along the body axis, cm
  QLineEdit* Text1;       // phantom dimension a, cm
  QLineEdit* Text8;       // phantom dimension b, cm
  QLineEdit* Text5;       // number of photon histories
  QLineEdit* Text7;       // result name without ".tsl2"
  QPushButton* Command4;  // "参 照": phantom illustration
  QPushButton* Command3;  // "シミュレーション スタート"
  QPushButton* Command2;  // "前画面へ戻る"

 protected:
  // Closing the setup window through its frame ends the program.
  void closeEvent(QCloseEvent* event) override;

 private:
  void OnDrive1Change();
  void OnDir1Change();
  void OnFile1Click();
  void OnCommand1Click();
  void OnCommand3Click();
  void OnCommand4Click();
  void OnCommand2Click();
  void ShowInputError();

  TessalinApp& app_;
};

}  // namespace tessalin
