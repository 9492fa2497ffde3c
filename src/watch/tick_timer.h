#pragma once

#include <QtGlobal>

namespace orvanel {

// Paces 64 ticks a second on a millisecond count: tick n falls due at n × 15.625 ms (rounded
// down) after the start, so the intervals run 15, 16, 15, 16, 16, ... and average 15.625 ms.
// A tick that comes late does not bring back the ones it missed: like a window timer, the
// ticks never come in a burst.
class TickPacer {
public:
    static constexpr int kTicksPerSecond = 64;

    // Tick 0 falls due at `nowMs`.
    void Start(qint64 nowMs);
    // Whether a tick is due at `nowMs`; if so it is taken, with every earlier one missed.
    bool TakeDue(qint64 nowMs);
    // Milliseconds from `nowMs` until the next tick falls due; 0 when one is due.
    qint64 MsUntilDue(qint64 nowMs) const;
    // The number of the next tick.
    qint64 Next() const { return next_; }

private:
    static qint64 DueAt(qint64 tick) { return tick * 1000 / kTicksPerSecond; }

    qint64 start_ = 0;
    qint64 next_ = 0;
};

} // namespace orvanel
