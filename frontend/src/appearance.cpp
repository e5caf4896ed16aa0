#include "appearance.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <cmath>

#include "pictures.h"

namespace tessalin {

QRect TwipsRect(int left, int top, int width, int height) {
  return {Twips(left), Twips(top), Twips(width), Twips(height)};
}

namespace {
QFont FontOf(const QStringList& families, double points) {
  QFont font;
  font.setFamilies(families);
  font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
  return font;
}
}  // namespace

QFont RoundedGothicFont(double points) {
  return FontOf(
      {QStringLiteral("MotoyaLMaru"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")},
      points);
}

QFont GothicFont(double points) {
  return FontOf({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")}, points);
}

QFont FixedGothicFont(double points) {
  return FontOf({QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")}, points);
}

QFont SerifFont(double points) {
  return FontOf(
      {QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho"), QStringLiteral("DejaVu Serif")},
      points);
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, int left, int top,
                  int width, int height, const QColor& color, const QFont& font) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  const QSize fit = label->sizeHint();
  // A text never gets cut: the place's size is a minimum.
  const int w = width < 0 ? fit.width() : std::max(Twips(width), fit.width());
  const int h = height < 0 ? fit.height() : std::max(Twips(height), fit.height());
  label->setGeometry(Twips(left), Twips(top), w, h);
  return label;
}

void ApplyButtonFace(QPushButton* button) {
  QPalette palette = button->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Button, BUTTON_FACE);
  }
  palette.setColor(QPalette::Active, QPalette::ButtonText, Qt::black);
  palette.setColor(QPalette::Inactive, QPalette::ButtonText, Qt::black);
  button->setPalette(palette);
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& text,
                        const QRect& twipsRect, const QFont& font) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setFont(font);
  button->setGeometry(
      TwipsRect(twipsRect.x(), twipsRect.y(), twipsRect.width(), twipsRect.height()));
  ApplyButtonFace(button);
  return button;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    DrawProgramIcon(painter, QRect(0, 0, size, size));
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace tessalin
