// The look shared by the front end's windows: places in twips, typefaces,
// colours, and makers of labels and buttons that keep the controls' names.
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace tessalin {

inline const QColor BUTTON_FACE(255, 255, 192);  // light yellow
inline const QColor TEXT_BLUE(0, 0, 255);
inline const QColor TEXT_RED(255, 0, 0);

// 15 twips are one pixel at 96 dots per inch; the program keeps one logical
// pixel per screen pixel, so layouts in twips become pixels this way.
constexpr int Twips(int twips) { return (twips + 7) / 15; }
QRect TwipsRect(int left, int top, int width, int height);

// A rounded gothic typeface for Japanese texts (sizes in points at 96 dpi,
// set in pixels so that the layout does not depend on the screen's dpi).
QFont RoundedGothicFont(double points);
// A plain gothic typeface (file names, the result name box).
QFont GothicFont(double points);
// Fixed pitch: every ideographic blank is one em wide, so blanks can hold a place.
QFont FixedGothicFont(double points);
// A serif typeface for the program name, English texts and numbers.
QFont SerifFont(double points);

// A label named name, its text at left/top (twips) with its top-left corner
// there; width and height in twips, or -1 to fit the text.
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, int left, int top,
                  int width = -1, int height = -1, const QColor& color = Qt::black,
                  const QFont& font = RoundedGothicFont(14));

// A command button named name with the light-yellow face, placed in twips.
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& text,
                        const QRect& twipsRect, const QFont& font = RoundedGothicFont(14));
void ApplyButtonFace(QPushButton* button);

// The window icon of the start and setup windows: "CT" in blue on a white disc.
QIcon ProgramIcon();

}  // namespace tessalin
