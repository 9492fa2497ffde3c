#include "app/tick_driver.h"

#include <algorithm>

namespace orvanel {

TickDriver::TickDriver(std::function<void()> tick, std::function<int()> quietTicks, QObject* parent)
    : QObject(parent), tick_(std::move(tick)), quietTicks_(std::move(quietTicks)) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &TickDriver::Fire);
}

void TickDriver::Start() {
    elapsed_.start();
    next_ = 0;
    active_ = true;
    timer_.start(0);
}

void TickDriver::Stop() {
    active_ = false;
    timer_.stop();
}

void TickDriver::Reschedule() {
    if (active_) WakeAt(next_);
}

void TickDriver::WakeAt(qint64 tick) {
    const qint64 ms = DueAt(tick) - elapsed_.elapsed();
    timer_.start(int(std::clamp<qint64>(ms, 0, 1000)));
}

void TickDriver::Fire() {
    if (!active_) return;
    const qint64 due = LatestDue(elapsed_.elapsed());
    if (due < next_) {
        WakeAt(next_);
        return;
    }
    ++wakes_;
    next_ = std::max(next_, due - kTicksPerSecond + 1);
    // Set before the ticks run, so that a Wait inside one of them still gets ticks.
    WakeAt(due + 1);
    while (active_ && next_ <= due) {
        ++next_;
        tick_();
    }
    if (!active_) return;
    const int quiet = quietTicks_ ? std::clamp(quietTicks_(), 0, kMaxQuietTicks) : 0;
    WakeAt(next_ + quiet);
}

int QuietTicks(const QuietFacts& f) {
    if (f.busy) return 0;
    qint64 quiet = TickDriver::kMaxQuietTicks;
    const auto before = [&quiet](qint64 ticksToEvent) {
        // The event falls on tick `ticksToEvent` from now; the ones before it are quiet.
        quiet = std::min(quiet, std::max<qint64>(0, ticksToEvent - 1));
    };
    if (f.blinking) {
        if (f.blinkCount < f.blinkInterval)
            before(f.blinkInterval - f.blinkCount); // the eyes close
        else
            before(qint64(f.blinkInterval) + 7 - f.blinkCount); // they open again
    }
    if (f.mainBalloonCounting && f.mainBalloonCounter < f.msgDispLimit)
        before(f.msgDispLimit - f.mainBalloonCounter);
    if (f.fellowBalloonCounting && f.fellowBalloonCounter < f.msgDispLimit)
        before(f.msgDispLimit - f.fellowBalloonCounter);
    before(qint64(f.talkLimit) - f.murmur + 1); // idle talk when the counter passes the limit
    if (f.now.isValid()) {
        if (f.now.minute() == 0 && !f.timeSignalDone) return 0;
        const qint64 msToHour =
            qint64(60 - f.now.minute()) * 60000 - qint64(f.now.second()) * 1000 - f.now.msec();
        before(msToHour * TickDriver::kTicksPerSecond / 1000);
    }
    return int(quiet);
}

} // namespace orvanel
