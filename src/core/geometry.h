#pragma once

#include "platform/numbers.h"

#include <QList>
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

// The top-left corner that keeps a window of `size` inside `area`, moved as little as
// possible (a window larger than the area keeps its top-left corner inside).
inline QPoint KeepInside(QPoint topLeft, QSize size, const QRect& area) {
    const int x = qMax(area.left(), qMin(topLeft.x(), area.right() + 1 - size.width()));
    const int y = qMax(area.top(), qMin(topLeft.y(), area.bottom() + 1 - size.height()));
    return QPoint(x, y);
}

// A balloon's top-left corner in pixels: with zero offsets its lower-right corner touches the
// character window's upper-left corner; the skin's offsets (twips) move it from there. A
// balloon that would leave `screen` is kept inside it; it still stands over her side, so
// its tail points toward her.
inline QPoint BalloonPosition(QPoint characterTopLeft, QSize balloonSize, QPoint offsetTwips,
                              const QRect& screen = QRect()) {
    const QPoint at = characterTopLeft - QPoint(balloonSize.width(), balloonSize.height()) +
                      TwipsToPixels(offsetTwips);
    return screen.isValid() ? KeepInside(at, balloonSize, screen) : at;
}

// The screen that holds the largest part of `window`; the one nearest to its centre when none
// holds any of it (an empty rectangle without screens).
inline QRect ScreenOf(const QList<QRect>& screens, const QRect& window) {
    QRect best;
    qint64 bestArea = -1;
    qint64 bestDistance = -1;
    for (const QRect& s : screens) {
        const QRect common = s.intersected(window);
        const qint64 area = common.isEmpty() ? 0 : qint64(common.width()) * common.height();
        const qint64 distance = (s.center() - window.center()).manhattanLength();
        if (area > bestArea || (area == bestArea && distance < bestDistance)) {
            best = s;
            bestArea = area;
            bestDistance = distance;
        }
    }
    return best;
}

// Where a character window of `size` stands: on the bottom edge of `work`, at `x` (only her
// horizontal place remains; she may stand partly beyond the side of the screen).
inline QPoint StandingPosition(int x, QSize size, const QRect& work) {
    return QPoint(x, work.bottom() + 1 - size.height());
}

// True when `p` lies on an edge of `screen` beyond which no screen continues: an edge of the
// desktop, not the seam between two screens.
inline bool AtOuterEdge(QPoint p, const QRect& screen, const QList<QRect>& screens) {
    if (!screen.contains(p)) return false;
    const auto outside = [&screens](QPoint q) {
        for (const QRect& s : screens)
            if (s.contains(q)) return false;
        return true;
    };
    return (p.x() == screen.left() && outside(p - QPoint(1, 0))) ||
           (p.x() == screen.right() && outside(p + QPoint(1, 0))) ||
           (p.y() == screen.top() && outside(p - QPoint(0, 1))) ||
           (p.y() == screen.bottom() && outside(p + QPoint(0, 1)));
}

} // namespace orvanel
