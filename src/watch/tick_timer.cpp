#include "watch/tick_timer.h"

namespace orvanel {

void TickPacer::Start(qint64 nowMs) {
    start_ = nowMs;
    next_ = 0;
}

bool TickPacer::TakeDue(qint64 nowMs) {
    const qint64 elapsed = nowMs - start_;
    if (elapsed < DueAt(next_)) return false;
    // The latest tick whose due time has come: DueAt(n) <= elapsed.
    const qint64 latest = ((elapsed + 1) * kTicksPerSecond - 1) / 1000;
    next_ = qMax(next_, latest) + 1;
    return true;
}

qint64 TickPacer::MsUntilDue(qint64 nowMs) const {
    return qMax<qint64>(0, start_ + DueAt(next_) - nowMs);
}

} // namespace orvanel
