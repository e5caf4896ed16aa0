// Form3, the phantom illustration: what the dimensions a and b mean.
#pragma once

#include <QWidget>

class QPushButton;

namespace tessalin {

class Form3 : public QWidget {
  Q_OBJECT
 public:
  explicit Form3(QWidget* parent = nullptr);

  QPushButton* Command1;  // "Close"

 private:
  void OnCommand1Click();
};

}  // namespace tessalin
