#include "platform/clock.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimeZone>
#include <QTimer>

#include <limits>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

class QtClockTimer final : public ClockTimer {
public:
    explicit QtClockTimer(std::function<void()> fire) {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, std::move(fire));
    }
    void Start(int ms) override { timer_.start(qMax(0, ms)); }
    void Stop() override { timer_.stop(); }
    bool IsActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

// The clock cannot take back what was scheduled: a start or stop makes the earlier callbacks
// stale, and the shared generation lets them see that even after the timer is gone.
class VirtualClockTimer final : public ClockTimer {
public:
    VirtualClockTimer(VirtualClock& clock, std::function<void()> fire)
        : clock_(clock), fire_(std::move(fire)), generation_(std::make_shared<quint64>(0)) {}
    void Start(int ms) override {
        const quint64 mine = ++*generation_;
        active_ = true;
        clock_.ScheduleIn(quint32(qMax(0, ms)),
                          [this, alive = std::weak_ptr<quint64>(generation_), mine] {
                              const auto generation = alive.lock();
                              if (!generation || *generation != mine) return;
                              active_ = false;
                              fire_();
                          });
    }
    void Stop() override {
        ++*generation_;
        active_ = false;
    }
    bool IsActive() const override { return active_; }

private:
    VirtualClock& clock_;
    std::function<void()> fire_;
    std::shared_ptr<quint64> generation_;
    bool active_ = false;
};

} // namespace

void WaitFor(Clock& clock, quint32 ms, bool* cancel) {
    if (cancel) *cancel = false;
    const quint32 start = clock.TickCount();
    for (;;) {
        const quint32 passed = clock.TickCount() - start;
        if (passed >= ms || (cancel && *cancel)) return;
        clock.ProcessEvents(int(ms - passed));
    }
}

SystemClock::SystemClock() : start_(QDateTime::currentMSecsSinceEpoch()) {}

quint32 SystemClock::TickCount() const {
    // A monotonic count: wall-clock jumps must not stretch or cut waits.
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return quint32(timer.elapsed());
}

QDateTime SystemClock::Now() const {
    const qint64 utcMs = QDateTime::currentMSecsSinceEpoch();
    if (!zoneNotices_) {
        zoneNotices_ = std::make_unique<FileNotices>();
        // /etc/localtime is replaced, not written, when the zone is set.
        if (zoneNotices_->WatchFolder(u"/etc"_s) < 0) offsetUntilMs_ = 0;
    }
    if (zoneNotices_->Pending()) {
        for (const FileNotices::Notice& n : zoneNotices_->Take())
            if (n.overflow || n.name.isEmpty() || n.name == u"localtime" || n.name == u"timezone")
                offsetUntilMs_ = 0;
    }
    if (utcMs >= offsetUntilMs_) {
        const QDateTime local = QDateTime::currentDateTime();
        offsetSeconds_ = local.offsetFromUtc();
        const QTimeZone::OffsetData next =
            QTimeZone::systemTimeZone().nextTransition(local.toUTC());
        // Without notices the zone is looked at again every minute.
        const qint64 fallback =
            zoneNotices_->Ok() ? std::numeric_limits<qint64>::max() : utcMs - utcMs % 60000 + 60000;
        offsetUntilMs_ =
            next.atUtc.isValid() ? qMin(next.atUtc.toMSecsSinceEpoch(), fallback) : fallback;
    }
    return QDateTime::fromMSecsSinceEpoch(utcMs, Qt::OffsetFromUTC, offsetSeconds_);
}

void SystemClock::ProcessEvents(int maxMs) {
    if (!QCoreApplication::instance()) return;
    // A precise timer wakes the dispatcher at the deadline; any other event wakes it sooner.
    QTimer wake;
    wake.setTimerType(Qt::PreciseTimer);
    wake.setSingleShot(true);
    wake.start(qMax(0, maxMs));
    QEventLoop loop;
    loop.processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
}

std::unique_ptr<ClockTimer> SystemClock::NewTimer(std::function<void()> fire) {
    return std::make_unique<QtClockTimer>(std::move(fire));
}

VirtualClock::VirtualClock(QDateTime start, quint32 startTick)
    : start_(std::move(start)), tick_(startTick) {}

QDateTime VirtualClock::Now() const {
    return start_.addMSecs(elapsed_);
}

void VirtualClock::ScheduleAt(quint32 atTick, std::function<void()> fn) {
    const qint64 at = elapsed_ + qint64(quint32(atTick - tick_));
    due_.emplace(std::make_pair(at, seq_++), std::move(fn));
}

void VirtualClock::ProcessEvents(int maxMs) {
    const qint64 limit = elapsed_ + qMax(0, maxMs);
    if (!due_.empty() && due_.begin()->first.first <= limit) {
        auto it = due_.begin();
        const qint64 at = qMax(elapsed_, it->first.first);
        auto fn = std::move(it->second);
        due_.erase(it);
        tick_ += quint32(at - elapsed_);
        elapsed_ = at;
        fn();
        return;
    }
    tick_ += quint32(limit - elapsed_);
    elapsed_ = limit;
}

void VirtualClock::Advance(quint32 ms) {
    const qint64 target = elapsed_ + ms;
    while (!due_.empty() && due_.begin()->first.first <= target)
        ProcessEvents(int(target - elapsed_));
    tick_ += quint32(target - elapsed_);
    elapsed_ = target;
}

void VirtualClock::Stall(quint32 ms) {
    tick_ += ms;
    elapsed_ += ms;
}

std::unique_ptr<ClockTimer> VirtualClock::NewTimer(std::function<void()> fire) {
    return std::make_unique<VirtualClockTimer>(*this, std::move(fire));
}

void VirtualClock::SetNow(const QDateTime& now) {
    start_ = now.addMSecs(-elapsed_);
}

} // namespace orvanel
