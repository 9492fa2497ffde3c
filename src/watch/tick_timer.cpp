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

TickTimer::TickTimer(QObject* parent) : QObject(parent) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &TickTimer::Fire);
}

void TickTimer::Start() {
    elapsed_.start();
    pacer_.Start(0);
    active_ = true;
    timer_.start(0);
}

void TickTimer::Stop() {
    active_ = false;
    timer_.stop();
}

void TickTimer::Fire() {
    if (!active_) return;
    const bool due = pacer_.TakeDue(elapsed_.elapsed());
    // Scheduled before the tick runs, so that ticks go on inside a Wait the tick starts.
    ScheduleNext();
    if (due) Q_EMIT Ticked();
}

void TickTimer::ScheduleNext() {
    timer_.start(int(qMin<qint64>(pacer_.MsUntilDue(elapsed_.elapsed()), 1000)));
}

} // namespace orvanel
