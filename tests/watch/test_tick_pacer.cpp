#include "watch/tick_timer.h"

#include <QTest>

using namespace orvanel;

class TestTickPacer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Woken exactly when told, the pacer gives 64 ticks a second in 15 and 16 ms steps.
    void sixtyFourASecondInFifteenAndSixteenMs() {
        TickPacer pacer;
        pacer.Start(1000);
        qint64 now = 1000;
        QList<qint64> intervals;
        qint64 last = now;
        for (int i = 0; i <= 128; ++i) {
            now += pacer.MsUntilDue(now);
            QVERIFY(pacer.TakeDue(now));
            if (i > 0) intervals.append(now - last);
            last = now;
        }
        QCOMPARE(now - 1000, 2000);
        QCOMPARE(intervals.mid(0, 8), (QList<qint64>{15, 16, 15, 16, 16, 15, 16, 16}));
        for (qint64 ms : intervals)
            QVERIFY(ms == 15 || ms == 16);
    }

    void noTickBeforeItsTime() {
        TickPacer pacer;
        pacer.Start(0);
        QVERIFY(pacer.TakeDue(0));
        QVERIFY(!pacer.TakeDue(0));
        QVERIFY(!pacer.TakeDue(14));
        QCOMPARE(pacer.MsUntilDue(14), 1);
        QVERIFY(pacer.TakeDue(15));
        QCOMPARE(pacer.MsUntilDue(15), 16);
    }

    // After a long handler (or a blocked loop) one tick comes, not a burst of the missed ones,
    // and the pace goes on from the original grid.
    void aLateWakeGivesOneTick_data() {
        QTest::addColumn<qint64>("wake");
        QTest::addColumn<qint64>("next");     // number of the following tick
        QTest::addColumn<qint64>("waitNext"); // ms from the wake to it
        QTest::newRow("just late") << qint64(16) << qint64(2) << qint64(15);
        QTest::newRow("on the grid") << qint64(31) << qint64(3) << qint64(15);
        QTest::newRow("a second late") << qint64(1000) << qint64(65) << qint64(15);
        QTest::newRow("between") << qint64(100) << qint64(7) << qint64(9);
    }
    void aLateWakeGivesOneTick() {
        QFETCH(qint64, wake);
        QFETCH(qint64, next);
        QFETCH(qint64, waitNext);
        TickPacer pacer;
        pacer.Start(0);
        QVERIFY(pacer.TakeDue(0));
        QVERIFY(pacer.TakeDue(wake));
        QVERIFY(!pacer.TakeDue(wake));
        QCOMPARE(pacer.Next(), next);
        QCOMPARE(pacer.MsUntilDue(wake), waitNext);
    }
};

QTEST_GUILESS_MAIN(TestTickPacer)
#include "test_tick_pacer.moc"
