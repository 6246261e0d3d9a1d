#pragma once
#include <QPointF>
#include <QSize>

// Where a slide goes on the screen: shrunk to fit below the caption line,
// never enlarged, and centred.
namespace dovi::slideshow {

// Nearest whole number, halves going to the even neighbour (735.5 -> 736,
// 736.5 -> 736).
int roundHalfEven(double value);

// The height left for a picture: the screen's less two and a half caption
// lines (not rounded), so a height-limited slide keeps clear of the caption.
double availableHeight(QSize screen, int labelHeight);

// The size a picture of size image is shown at: its own when it fits the
// screen width and the available height, else shrunk with its proportions
// kept to the limiting side. Never larger than the picture.
QSize fitToScreen(QSize image, QSize screen, int labelHeight);

// The top-left corner that centres a picture of size shown on the screen;
// halves are kept (a larger picture starts at a negative position and is cut
// evenly on both sides).
QPointF slidePosition(QSize shown, QSize screen);

} // namespace dovi::slideshow
