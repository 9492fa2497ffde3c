#pragma once

#include <QDateTime>

#include <functional>
#include <map>

namespace orvanel {

// Time and the event pump. Everything that waits or reads the time goes through this, so
// tests can drive a virtual clock and schedule events instead of sleeping.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start, wrapping at 32 bits (GetTickCount/timeGetTime).
    virtual quint32 TickCount() const = 0;
    // Local wall-clock time.
    virtual QDateTime Now() const = 0;
    // Lets pending events run; returns after some ran or after `maxMs` milliseconds.
    virtual void ProcessEvents(int maxMs) = 0;
};

// Lets events run until `ms` milliseconds have passed or `*cancel` becomes true. The flag is
// cleared first. Re-entrant: a handler that runs inside may wait again.
void WaitFor(Clock& clock, quint32 ms, bool* cancel);

// The real clock over Qt's event loop.
class SystemClock final : public Clock {
public:
    SystemClock();
    quint32 TickCount() const override;
    QDateTime Now() const override;
    void ProcessEvents(int maxMs) override;

private:
    qint64 start_;
};

// A clock that moves only when told. Scheduled callbacks run from ProcessEvents (and from
// Advance) when their time comes, as events would.
class VirtualClock final : public Clock {
public:
    explicit VirtualClock(QDateTime start = QDateTime(QDate(2026, 1, 1), QTime(12, 0)),
                          quint32 startTick = 0);
    quint32 TickCount() const override { return tick_; }
    QDateTime Now() const override;
    void ProcessEvents(int maxMs) override;

    // Runs `fn` when the clock reaches `atTick` (absolute) or `delayMs` from now.
    void ScheduleAt(quint32 atTick, std::function<void()> fn);
    void ScheduleIn(quint32 delayMs, std::function<void()> fn) {
        ScheduleAt(tick_ + delayMs, std::move(fn));
    }
    // Moves the clock forward by `ms`, running everything due on the way.
    void Advance(quint32 ms);
    void SetNow(const QDateTime& now);
    qint64 ElapsedMs() const { return elapsed_; }

private:
    QDateTime start_;
    quint32 tick_;
    qint64 elapsed_ = 0;
    quint64 seq_ = 0;
    std::map<std::pair<qint64, quint64>, std::function<void()>> due_; // (elapsed, seq) -> fn
};

} // namespace orvanel
