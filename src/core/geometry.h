#pragma once

#include "platform/numbers.h"

#include <QPoint>
#include <QRect>
#include <QSize>

namespace orvanel {

// Window geometry, balloon offsets and hit areas are given in twips, 15 to the pixel on the
// 96-dpi display they were made for; pictures, the cursor and the screen are in pixels.
inline constexpr int kTwipsPerPixel = 15;

inline int TwipsToPixels(int twips) {
    return RoundHalfEven(double(twips) / kTwipsPerPixel);
}
inline QRect TwipsToPixels(const QRect& t) {
    return QRect(TwipsToPixels(t.left()), TwipsToPixels(t.top()), TwipsToPixels(t.width()),
                 TwipsToPixels(t.height()));
}
inline QPoint TwipsToPixels(QPoint t) {
    return QPoint(TwipsToPixels(t.x()), TwipsToPixels(t.y()));
}

// A balloon's top-left corner in pixels: with zero offsets its lower-right corner touches the
// character window's upper-left corner; the skin's offsets (twips) move it from there.
inline QPoint BalloonPosition(QPoint characterTopLeft, QSize balloonSize, QPoint offsetTwips) {
    return characterTopLeft - QPoint(balloonSize.width(), balloonSize.height()) +
           TwipsToPixels(offsetTwips);
}

// The top-left corner that keeps a window of `size` inside `area`, moved as little as
// possible (a window larger than the area keeps its top-left corner inside).
inline QPoint KeepInside(QPoint topLeft, QSize size, const QRect& area) {
    const int x = qMax(area.left(), qMin(topLeft.x(), area.right() + 1 - size.width()));
    const int y = qMax(area.top(), qMin(topLeft.y(), area.bottom() + 1 - size.height()));
    return QPoint(x, y);
}

} // namespace orvanel
