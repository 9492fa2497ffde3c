#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTime>
#include <QTimer>

#include <functional>

namespace orvanel {

// Drives the main timer at 64 ticks a second of the clock (tick n falls due at n × 15.625 ms)
// without waking 64 times a second while nothing happens. Before it sleeps it asks how many of
// the coming ticks are quiet — ticks that change nothing anyone can see, only counters — and
// wakes at the first tick that may change something; the quiet ticks it slept through run
// then, in order, just before it. So every tick runs, with its counting and its random draws,
// and whatever shows on screen shows at the tick it belongs to.
//
// Ticks go on inside a Wait that a tick starts (the skin reload waits 500 ms). After a long
// stall (a suspended machine) at most one second of ticks is made up.
class TickDriver : public QObject {
    Q_OBJECT
public:
    static constexpr int kTicksPerSecond = 64;
    // The longest sleep, in ticks: what nobody foresaw (a balloon shown by a click) is seen
    // by the timer within a quarter second.
    static constexpr int kMaxQuietTicks = 16;

    TickDriver(std::function<void()> tick, std::function<int()> quietTicks,
               QObject* parent = nullptr);

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

    std::function<void()> tick_;
    std::function<int()> quietTicks_;
    QTimer timer_;
    QElapsedTimer elapsed_;
    qint64 next_ = 0;
    qint64 wakes_ = 0;
    bool active_ = false;
};

// What decides how long the main timer may sleep (see TickDriver).
struct QuietFacts {
    bool busy = false;    // a script plays, a drag runs, an exit, skin change, foreground request
                          // or touch is pending, or the edges are watched: every tick counts
    bool blinking = true; // the blink hold flag is clear
    qint32 blinkCount = 0;
    qint32 blinkInterval = 0;
    bool mainBalloonCounting = false; // shown and not held
    qint32 mainBalloonCounter = 0;
    bool fellowBalloonCounting = false;
    qint32 fellowBalloonCounter = 0;
    qint32 msgDispLimit = 300;
    qint32 murmur = 0;
    qint32 talkLimit = 3000; // TOMULimitTime
    QTime now;               // for the hourly time signal
    bool timeSignalDone = false;
};

// How many of the coming ticks change nothing on screen, at most TickDriver::kMaxQuietTicks.
int QuietTicks(const QuietFacts& facts);

} // namespace orvanel
