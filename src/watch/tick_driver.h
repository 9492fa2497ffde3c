#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>

namespace orvanel {

class Clock;
class ClockTimer;

// Drives the main timer at 64 ticks a second of the clock (tick n falls due at n × 15.625 ms)
// without waking 64 times a second while nothing happens. Before it sleeps it asks how many of
// the coming ticks are quiet — ticks that change nothing anyone can see, only counters — and
// wakes at the first tick that may change something; the quiet ticks it slept through run
// then, in order, just before it. So every tick runs, with its counting and its random draws,
// and whatever shows on screen shows at the tick it belongs to.
//
// Ticks go on inside a Wait that a tick starts (the skin reload waits 500 ms). After a long
// stall (a suspended machine) at most one second of ticks is made up.
class TickDriver {
public:
    static constexpr int kTicksPerSecond = 64;
    // The longest sleep, in ticks: one second, the longest stall made up in full. Whatever
    // makes a tick due sooner (a script started, the user's input) calls Reschedule.
    static constexpr int kMaxQuietTicks = kTicksPerSecond;

    // `quietTicks` says how many of the coming ticks are quiet (MainTimer::QuietTicks).
    TickDriver(Clock& clock, std::function<void()> tick, std::function<int()> quietTicks);
    ~TickDriver();

    void Start();
    void Stop();
    bool IsActive() const { return active_; }
    // Something changed that the coming ticks may act on: the next tick comes at its time.
    void Reschedule();
    // Ticks run so far, and wakes taken to run them.
    qint64 Ticks() const { return next_; }
    qint64 Wakes() const { return wakes_; }

    // Milliseconds from the start to tick n.
    static qint64 DueAt(qint64 tick) { return tick * 1000 / kTicksPerSecond; }
    // The last tick due after `elapsedMs`.
    static qint64 LatestDue(qint64 elapsedMs) {
        return ((elapsedMs + 1) * kTicksPerSecond - 1) / 1000;
    }

private:
    void Fire();
    void WakeAt(qint64 tick);
    qint64 Elapsed();

    Clock& clock_;
    std::function<void()> tick_;
    std::function<int()> quietTicks_;
    std::unique_ptr<ClockTimer> timer_;
    quint32 last_ = 0;   // the clock's count when last read
    qint64 elapsed_ = 0; // milliseconds since Start, past the count's wrap
    qint64 next_ = 0;
    qint64 wakes_ = 0;
    bool active_ = false;
};

} // namespace orvanel
