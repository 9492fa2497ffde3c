#pragma once

#include <QPoint>
#include <QtGlobal>

namespace orvanel {

// The touch reactions' counters: the mouse handlers count pokes and strokes, the main timer
// lets them wear off tick by tick. Quiet ticks start at 0, or below it after an angry poke so
// that the face stays longer.
struct TouchState {
    qint32 eyeCount = 0;
    qint32 eyeQuietTicks = 0;
    bool eyeTouched = false;
    qint32 mouthCount = 0;
    qint32 mouthQuietTicks = 0;
    bool mouthTouched = false;
    qint32 bodyCount = 0; // head clicks count as body clicks
    qint32 bodyQuietTicks = 0;
    bool bodyTouched = false;
    qint32 strokeTicks = 0; // ticks in which the head was stroked; a blink restarts them
    bool stroking = false;  // the mouse moved over the head since the last tick
    QPoint lastHead;        // where the mouse last moved over the head, and over the cheeks
    QPoint lastCheek;
};

} // namespace orvanel
