// Form1, the start window: the hub between setup, viewer and the end.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tessalin {

class TessalinApp;

class Form1 : public QWidget {
  Q_OBJECT
 public:
  explicit Form1(TessalinApp& app);

  QPushButton* Command3;  // "新規計算": new calculation
  QPushButton* Command1;  // "結果検索": search results
  QPushButton* Command2;  // exit sign: ends the program

 protected:
  // Closing the start window through its frame ends the program.
  void closeEvent(QCloseEvent* event) override;

 private:
  void OnCommand3Click();
  void OnCommand1Click();
  void OnCommand2Click();

  TessalinApp& app_;
};

}  // namespace tessalin
