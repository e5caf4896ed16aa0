#include "pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <cmath>

namespace tessalin {
namespace {

// Draws in a 100 x 100 (or given) design space scaled into rect.
void MapInto(QPainter& painter, const QRect& rect, double designWidth, double designHeight) {
  painter.translate(rect.topLeft());
  painter.scale(rect.width() / designWidth, rect.height() / designHeight);
}

void Arrowhead(QPainter& painter, QPointF tip, QPointF from, double size) {
  const QPointF d = tip - from;
  const double length = std::hypot(d.x(), d.y());
  if (length == 0) return;
  const QPointF u = d / length;
  const QPointF n(-u.y(), u.x());
  const QPointF head[] = {tip, tip - u * size + n * size * 0.4, tip - u * size - n * size * 0.4};
  painter.save();
  painter.setBrush(painter.pen().color());
  painter.drawPolygon(head, 3);
  painter.restore();
}

void DimensionArrow(QPainter& painter, QPointF a, QPointF b, bool bothEnds = true) {
  painter.drawLine(a, b);
  Arrowhead(painter, b, a, 7);
  if (bothEnds) Arrowhead(painter, a, b, 7);
}

// The outline of a racetrack: half-discs of radius r around (cx -+ half, cy).
QPainterPath RacetrackPath(QPointF centre, double half, double r) {
  QPainterPath path;
  const double cx = centre.x(), cy = centre.y();
  path.moveTo(cx - half, cy - r);
  path.lineTo(cx + half, cy - r);
  path.arcTo(QRectF(cx + half - r, cy - r, 2 * r, 2 * r), 90, -180);
  path.lineTo(cx - half, cy + r);
  path.arcTo(QRectF(cx - half - r, cy - r, 2 * r, 2 * r), 270, -180);
  path.closeSubpath();
  return path;
}

}  // namespace

void DrawProgramIcon(QPainter& painter, const QRect& rect) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  MapInto(painter, rect, 100, 100);
  painter.setPen(QPen(QColor(0, 0, 160), 4));
  painter.setBrush(Qt::white);
  painter.drawEllipse(QRectF(4, 4, 92, 92));
  QFont font(QStringLiteral("DejaVu Serif"));
  font.setBold(true);
  font.setPixelSize(46);
  painter.setFont(font);
  painter.setPen(QColor(0, 0, 255));
  painter.drawText(QRectF(0, 0, 100, 100), Qt::AlignCenter, QStringLiteral("CT"));
  painter.restore();
}

void DrawScannerGantry(QPainter& painter, const QRect& rect) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  MapInto(painter, rect, 265, 210);
  // Floor shadow.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 0, 35));
  painter.drawEllipse(QRectF(10, 178, 245, 26));

  // Gantry: a front face and its depth to the right.
  const QPen outline(QColor(90, 95, 105), 1.5);
  painter.setPen(outline);
  painter.setBrush(QColor(196, 202, 210));
  painter.drawPolygon(QPolygonF({{140, 22}, {162, 34}, {162, 186}, {140, 190}}));
  QLinearGradient face(0, 20, 0, 190);
  face.setColorAt(0, QColor(246, 247, 249));
  face.setColorAt(1, QColor(214, 218, 224));
  painter.setBrush(face);
  painter.drawRoundedRect(QRectF(18, 18, 124, 172), 18, 18);
  // The bore and its ring.
  const QPointF boreCentre(80, 96);
  painter.setBrush(QColor(170, 178, 190));
  painter.drawEllipse(boreCentre, 50, 50);
  QRadialGradient bore(boreCentre, 40);
  bore.setColorAt(0, QColor(40, 44, 56));
  bore.setColorAt(1, QColor(84, 90, 104));
  painter.setBrush(bore);
  painter.drawEllipse(boreCentre, 40, 40);
  // Status lights and a panel on the face.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 160, 80));
  painter.drawEllipse(QPointF(36, 32), 3, 3);
  painter.setBrush(QColor(240, 160, 0));
  painter.drawEllipse(QPointF(46, 32), 3, 3);
  painter.setBrush(QColor(120, 150, 200));
  painter.drawRoundedRect(QRectF(96, 160, 30, 12), 2, 2);

  // Couch: pedestal, then the table top running into the bore.
  painter.setPen(outline);
  painter.setBrush(QColor(200, 206, 214));
  painter.drawPolygon(QPolygonF({{180, 140}, {222, 140}, {232, 190}, {170, 190}}));
  painter.setBrush(QColor(232, 236, 240));
  painter.drawPolygon(QPolygonF({{62, 110}, {250, 118}, {258, 128}, {70, 122}}));
  painter.setBrush(QColor(150, 160, 176));
  painter.drawPolygon(QPolygonF({{70, 122}, {258, 128}, {258, 138}, {150, 136}, {150, 128}}));
  // A mattress on the table.
  painter.setBrush(QColor(120, 170, 220));
  painter.drawPolygon(QPolygonF({{150, 109}, {246, 113}, {252, 120}, {156, 116}}));
  painter.restore();
}

void DrawExitSign(QPainter& painter, const QRect& rect) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  MapInto(painter, rect, 100, 100);
  painter.setPen(QPen(QColor(0, 90, 40), 3));
  painter.setBrush(QColor(0, 150, 70));
  painter.drawRoundedRect(QRectF(4, 4, 92, 92), 10, 10);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  font.setPixelSize(28);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRectF(4, 8, 92, 32), Qt::AlignCenter, QStringLiteral("EXIT"));
  // Arrow pointing up and to the left.
  painter.setPen(QPen(Qt::white, 9, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(74, 86), QPointF(38, 52));
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::white);
  const QPointF head[] = {QPointF(24, 40), QPointF(56, 44), QPointF(30, 70)};
  painter.drawPolygon(head, 3);
  painter.restore();
}

void DrawDogIcon(QPainter& painter, const QRect& rect) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  MapInto(painter, rect, 32, 32);
  const QColor fur(214, 160, 96), ear(120, 72, 36);
  painter.setPen(QPen(QColor(90, 55, 25), 0.8));
  painter.setBrush(ear);
  painter.drawEllipse(QRectF(2.5, 5, 8, 15));
  painter.drawEllipse(QRectF(21.5, 5, 8, 15));
  painter.setBrush(fur);
  painter.drawEllipse(QRectF(6, 4, 20, 22));
  painter.setBrush(QColor(250, 236, 214));
  painter.drawEllipse(QRectF(10, 15, 12, 10));
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  painter.drawEllipse(QPointF(12.5, 12.5), 1.6, 1.8);
  painter.drawEllipse(QPointF(19.5, 12.5), 1.6, 1.8);
  painter.drawEllipse(QRectF(14, 16, 4, 3));
  painter.setPen(QPen(Qt::black, 0.8));
  painter.setBrush(Qt::NoBrush);
  painter.drawArc(QRectF(12.5, 18, 3.5, 3.5), 180 * 16, 180 * 16);
  painter.drawArc(QRectF(16, 18, 3.5, 3.5), 180 * 16, 180 * 16);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(230, 80, 90));
  painter.drawEllipse(QRectF(14.7, 21.5, 2.6, 3));
  painter.restore();
}

void DrawGreyArrow(QPainter& painter, const QRect& rect) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  MapInto(painter, rect, 32, 32);
  painter.setPen(QPen(QColor(96, 96, 96), 1));
  painter.setBrush(QColor(160, 160, 160));
  const QPointF arrow[] = {QPointF(3, 11),  QPointF(17, 11), QPointF(17, 4), QPointF(29, 16),
                           QPointF(17, 28), QPointF(17, 21), QPointF(3, 21)};
  painter.drawPolygon(arrow, 7);
  painter.restore();
}

void DrawRacetrackModel(QPainter& painter, const QRect& rect) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  MapInto(painter, rect, 340, 250);

  // A frame with tick marks around the drawing.
  const QRectF frame(8, 8, 324, 206);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(frame);
  for (double x = frame.left() + 12; x < frame.right(); x += 12) {
    painter.drawLine(QPointF(x, frame.top()), QPointF(x, frame.top() + 4));
    painter.drawLine(QPointF(x, frame.bottom()), QPointF(x, frame.bottom() - 4));
  }
  for (double y = frame.top() + 12; y < frame.bottom(); y += 12) {
    painter.drawLine(QPointF(frame.left(), y), QPointF(frame.left() + 4, y));
    painter.drawLine(QPointF(frame.right(), y), QPointF(frame.right() - 4, y));
  }

  // Front cross-section and its copy set back along the body axis.
  const double half = 52, r = 40;
  const QPointF front(140, 140), depth(64, -58);
  const QPointF rear = front + depth;
  painter.setPen(QPen(QColor(120, 120, 120), 1, Qt::DashLine));
  painter.drawPath(RacetrackPath(rear, half, r));
  // Silhouette edges joining the two outlines: the tops of the half-discs'
  // tangents along the depth direction.
  const double angle = std::atan2(-depth.y(), depth.x());  // direction of depth on screen, y up
  const QPointF tangent(-std::sin(angle) * r, -std::cos(angle) * r);
  painter.setPen(QPen(Qt::black, 1.4));
  painter.drawLine(front + QPointF(-half, 0) + tangent, rear + QPointF(-half, 0) + tangent);
  painter.drawLine(front + QPointF(half, 0) - tangent, rear + QPointF(half, 0) - tangent);
  painter.setBrush(QColor(255, 236, 220));
  painter.drawPath(RacetrackPath(front, half, r));
  painter.setBrush(Qt::NoBrush);

  QFont font(QStringLiteral("DejaVu Serif"));
  font.setPixelSize(14);
  font.setItalic(true);
  painter.setFont(font);
  const QPen dimension(QColor(0, 0, 200), 1.2);
  painter.setPen(dimension);

  // a: between the centres of the half-discs, on the front face.
  const QPointF leftCentre = front + QPointF(-half, 0), rightCentre = front + QPointF(half, 0);
  painter.drawEllipse(leftCentre, 1.8, 1.8);
  painter.drawEllipse(rightCentre, 1.8, 1.8);
  DimensionArrow(painter, leftCentre + QPointF(3, 0), rightCentre - QPointF(3, 0));
  painter.drawText(QRectF(front.x() - 10, front.y() - 18, 20, 16), Qt::AlignCenter,
                   QStringLiteral("a"));

  // b: the full height, left of the front outline.
  const double bx = front.x() - half - r - 14;
  painter.drawLine(QPointF(bx - 4, front.y() - r), QPointF(front.x() - half, front.y() - r));
  painter.drawLine(QPointF(bx - 4, front.y() + r), QPointF(front.x() - half, front.y() + r));
  DimensionArrow(painter, QPointF(bx, front.y() - r + 1), QPointF(bx, front.y() + r - 1));
  painter.drawText(QRectF(bx - 22, front.y() - 8, 18, 16), Qt::AlignCenter, QStringLiteral("b"));

  // b/2: a radius in the front right half-disc and in the rear left one.
  const double diagonal = r * std::sqrt(0.5);
  const QPointF frontRimPoint = rightCentre + QPointF(diagonal, diagonal);
  DimensionArrow(painter, rightCentre, frontRimPoint, false);
  painter.drawText(QRectF(rightCentre.x() - 16, rightCentre.y() + 14, 30, 16), Qt::AlignCenter,
                   QStringLiteral("b/2"));
  const QPointF rearLeftCentre = rear + QPointF(-half, 0);
  const QPointF rearRimPoint = rearLeftCentre + QPointF(-diagonal, -diagonal);
  painter.drawEllipse(rearLeftCentre, 1.8, 1.8);
  DimensionArrow(painter, rearLeftCentre, rearRimPoint, false);
  painter.drawText(QRectF(rearRimPoint.x() + 4, rearRimPoint.y() - 4, 30, 16), Qt::AlignCenter,
                   QStringLiteral("b/2"));

  // Length: along the body axis, beside the right end.
  const QPointF lengthStart = front + QPointF(half + r + 12, 6);
  const QPointF lengthEnd = lengthStart + depth;
  DimensionArrow(painter, lengthStart, lengthEnd);
  painter.drawText(QRectF(lengthEnd.x() - 36, lengthEnd.y() + 22, 60, 16), Qt::AlignCenter,
                   QStringLiteral("Length"));

  // The heading below the drawing.
  QFont heading(QStringLiteral("DejaVu Serif"));
  heading.setPixelSize(16);
  painter.setFont(heading);
  painter.setPen(Qt::black);
  painter.drawText(QRectF(8, 220, 220, 24), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Racetrack model"));
  painter.restore();
}

}  // namespace tessalin
