#pragma once

#include "platform/file_notices.h"

#include <QDateTime>

#include <functional>
#include <map>
#include <memory>

namespace orvanel {

// A single-shot timer on a clock's time.
class ClockTimer {
public:
    virtual ~ClockTimer() = default;
    // Fires once, `ms` from now (0: as soon as events run); replaces a start still pending.
    virtual void Start(int ms) = 0;
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
};

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
    // A timer that calls `fire` on this clock's time.
    virtual std::unique_ptr<ClockTimer> NewTimer(std::function<void()> fire) = 0;
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
    std::unique_ptr<ClockTimer> NewTimer(std::function<void()> fire) override;

private:
    qint64 start_;
    // The local time's offset from UTC, good until the zone's next transition or a change of
    // the system's zone: asking the C library for local time checks the zone file each time.
    mutable std::unique_ptr<FileNotices> zoneNotices_;
    mutable qint64 offsetUntilMs_ = 0;
    mutable int offsetSeconds_ = 0;
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
    std::unique_ptr<ClockTimer> NewTimer(std::function<void()> fire) override;

    // Runs `fn` when the clock reaches `atTick` (absolute) or `delayMs` from now.
    void ScheduleAt(quint32 atTick, std::function<void()> fn);
    void ScheduleIn(quint32 delayMs, std::function<void()> fn) {
        ScheduleAt(tick_ + delayMs, std::move(fn));
    }
    // Moves the clock forward by `ms`, running everything due on the way.
    void Advance(quint32 ms);
    // Moves the clock forward by `ms` with nothing running, as a suspended machine or a
    // blocked event loop does; what fell due meanwhile runs late, from the next events.
    void Stall(quint32 ms);
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
