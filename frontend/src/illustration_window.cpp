#include "illustration_window.h"

#include <QPushButton>

#include "appearance.h"
#include "picture_widget.h"
#include "pictures.h"

namespace tessalin {

Form3::Form3(QWidget* parent) : QWidget(parent) {
  setObjectName("Form3");
  setWindowTitle("Phantom");
  setFixedSize(Twips(5490), Twips(4380));
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);

  auto* drawing = new PictureWidget(this, "PictureRacetrack", DrawRacetrackModel);
  drawing->setGeometry(4, 4, width() - 8, Twips(3960) - 4);

  Command1 = MakeButton(this, "Command1", "Close", QRect(4560, 3960, 855, 375), SerifFont(11));
  connect(Command1, &QPushButton::clicked, this, &Form3::OnCommand1Click);
}

void Form3::OnCommand1Click() { hide(); }

}  // namespace tessalin
