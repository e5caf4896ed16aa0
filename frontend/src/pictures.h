// The front end's pictures, drawn as vector graphics into any rectangle.
#pragma once

#include <QRect>

class QPainter;

namespace tessalin {

void DrawProgramIcon(QPainter& painter, const QRect& rect);    // "CT" in blue on a white disc
void DrawScannerGantry(QPainter& painter, const QRect& rect);  // CT gantry with its patient couch
void DrawExitSign(QPainter& painter, const QRect& rect);       // green EXIT sign, arrow up-left
void DrawDogIcon(QPainter& painter, const QRect& rect);        // small decorative dog
void DrawGreyArrow(QPainter& painter, const QRect& rect);      // grey arrow pointing right
// The phantom in perspective with its dimensions "a", "b", "b/2", "Length"
// and the heading "Racetrack model" below it.
void DrawRacetrackModel(QPainter& painter, const QRect& rect);

}  // namespace tessalin
