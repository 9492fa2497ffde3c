// The TickDriver on the virtual clock: every tick, in order, never early; late only when it
// was called quiet; at most one second made up after a stall; ticks inside a tick's wait.
#include "platform/clock.h"
#include "watch/tick_driver.h"

#include <QTest>

#include <random>

using namespace orvanel;

class TestTickDriver : public QObject {
    Q_OBJECT

    VirtualClock clock_;
    QList<std::pair<qint64, qint64>> ran_; // (tick, virtual ms), in the order they ran
    std::unique_ptr<TickDriver> driver_;
    std::function<int()> quiet_;
    std::function<void(qint64)> onTick_;

    void Build() {
        driver_ = std::make_unique<TickDriver>(
            clock_,
            [this] {
                ran_.append({driver_->Ticks() - 1, clock_.ElapsedMs()});
                if (onTick_) onTick_(ran_.last().first);
            },
            [this] { return quiet_ ? quiet_() : 0; });
        driver_->Start();
    }
    // The ticks ran one after another, with no gap since the first one numbered `from`.
    bool InOrder(qint64 from) const {
        for (qsizetype i = 0; i < ran_.size(); ++i)
            if (ran_[i].first != from + i) return false;
        return true;
    }

private Q_SLOTS:
    void init() {
        clock_ = VirtualClock();
        ran_.clear();
        quiet_ = {};
        onTick_ = {};
    }
    void cleanup() { driver_.reset(); }

    // Random answers (some past the longest sleep) and random reschedules: a tick runs late
    // only if the last answer before it called it quiet and no reschedule came after its time.
    void everyTickInOrderAndLateOnlyWhenQuiet() {
        std::mt19937 g(3);
        qint64 lateBelow = 0; // ticks before this one may run late
        quiet_ = [&] {
            const int quiet = std::uniform_int_distribution<int>(0, 20)(g);
            lateBelow = driver_->Ticks() + std::min(quiet, TickDriver::kMaxQuietTicks);
            return quiet;
        };
        Build();
        for (int at = 37; at < 10000; at += std::uniform_int_distribution<int>(50, 900)(g)) {
            clock_.ScheduleAt(quint32(at), [&, at] {
                driver_->Reschedule();
                lateBelow = std::min(lateBelow, TickDriver::LatestDue(at) + 1);
            });
        }
        QList<qint64> late;
        onTick_ = [&](qint64 tick) {
            const qint64 due = TickDriver::DueAt(tick);
            if (clock_.ElapsedMs() < due || (clock_.ElapsedMs() > due && tick >= lateBelow))
                late.append(tick);
        };
        clock_.Advance(10000);
        QVERIFY(InOrder(0));
        QCOMPARE(late, QList<qint64>{});
        QVERIFY(ran_.size() > TickDriver::LatestDue(10000) - TickDriver::kMaxQuietTicks);
        QVERIFY(driver_->Wakes() * 4 < ran_.size());
    }

    // A suspended machine: one second of ticks is made up at once, then they go on the grid.
    void atMostOneSecondMadeUpAfterAStall() {
        Build();
        clock_.Advance(1000);
        clock_.Stall(10000);
        clock_.Advance(500);
        QList<qint64> madeUp;
        for (const auto& [tick, ms] : std::as_const(ran_))
            if (ms == 11000) madeUp.append(tick);
        QCOMPARE(madeUp.size(), TickDriver::kTicksPerSecond);
        QCOMPARE(madeUp.last(), TickDriver::LatestDue(11000));
        ran_.remove(0, ran_.indexOf(std::pair{madeUp.first(), qint64(11000)}));
        QVERIFY(InOrder(madeUp.first()));
        QCOMPARE(ran_.last(), std::pair(TickDriver::LatestDue(11500), qint64(11500)));
    }

    // The skin reload waits 500 ms inside a tick: the ticks due meanwhile run inside the
    // wait, on time.
    void ticksGoOnInsideAWaitOfATick() {
        onTick_ = [this](qint64 tick) {
            if (tick == 10) WaitFor(clock_, 500, nullptr);
        };
        Build();
        clock_.Advance(1000);
        QVERIFY(InOrder(0));
        for (const auto& [tick, ms] : std::as_const(ran_))
            QCOMPARE(ms, TickDriver::DueAt(tick));
    }
};

QTEST_GUILESS_MAIN(TestTickDriver)
#include "test_tick_driver.moc"
