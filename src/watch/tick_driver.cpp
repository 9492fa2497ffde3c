#include "watch/tick_driver.h"

#include "platform/clock.h"

#include <algorithm>

namespace orvanel {

TickDriver::TickDriver(Clock& clock, std::function<void()> tick, std::function<int()> quietTicks)
    : clock_(clock), tick_(std::move(tick)), quietTicks_(std::move(quietTicks)),
      timer_(clock.NewTimer([this] { Fire(); })) {}

TickDriver::~TickDriver() = default;

void TickDriver::Start() {
    last_ = clock_.TickCount();
    elapsed_ = 0;
    next_ = 0;
    active_ = true;
    timer_->Start(0);
}

void TickDriver::Stop() {
    active_ = false;
    timer_->Stop();
}

void TickDriver::Reschedule() {
    if (active_) WakeAt(next_);
}

qint64 TickDriver::Elapsed() {
    const quint32 now = clock_.TickCount();
    elapsed_ += quint32(now - last_);
    last_ = now;
    return elapsed_;
}

void TickDriver::WakeAt(qint64 tick) {
    const qint64 ms = DueAt(tick) - Elapsed();
    timer_->Start(int(std::clamp<qint64>(ms, 0, 1000)));
}

void TickDriver::Fire() {
    if (!active_) return;
    const qint64 due = LatestDue(Elapsed());
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

} // namespace orvanel
