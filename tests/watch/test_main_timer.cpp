#include "timer_rig.h"

#include <QTest>

#include <tuple>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

namespace {

// Ticks until `balloon` is hidden; the number of that tick, or -1 within `limit` ticks.
int TickThatHides(TimerRig& rig, FakeBalloon& balloon, int limit) {
    for (int t = 1; t <= limit; ++t) {
        rig.TickOnce();
        if (!balloon.visible) return t;
    }
    return -1;
}

} // namespace

class TestMainTimer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void balloonsStandAboveAndLeftOfTheirCharacters_data() {
        QTest::addColumn<QPoint>("offsetTwips");
        QTest::addColumn<QPoint>("mainAt");
        // character (700, 528), balloon 300 x 150: corner to corner at (400, 378)
        QTest::newRow("no offset") << QPoint() << QPoint(400, 378);
        QTest::newRow("whole pixels") << QPoint(150, -300) << QPoint(410, 358);
        QTest::newRow("7 twips round down") << QPoint(7, -7) << QPoint(400, 378);
        QTest::newRow("8 twips round up") << QPoint(8, -8) << QPoint(401, 377);
        QTest::newRow("23 twips") << QPoint(23, 22) << QPoint(402, 379);
    }
    void balloonsStandAboveAndLeftOfTheirCharacters() {
        QFETCH(QPoint, offsetTwips);
        QFETCH(QPoint, mainAt);
        TimerRig rig;
        rig.host.balloonOffset[0] = offsetTwips;
        rig.host.balloonOffset[1] = offsetTwips;
        rig.Ticks(1);
        QCOMPARE(rig.host.balloonAt[0], mainAt);
        // fellow (560, 588), balloon 200 x 100: the same offsets from (360, 488)
        QCOMPARE(rig.host.balloonAt[1], mainAt - QPoint(400, 378) + QPoint(360, 488));
    }

    void balloonsCloseAfterTheDisplayLimit_data() {
        QTest::addColumn<int>("limit");
        QTest::addColumn<bool>("hold");
        QTest::addColumn<int>("hoverAt"); // the mouse moves over the main balloon before this tick
        QTest::addColumn<int>("mainHides");
        QTest::addColumn<int>("fellowHides");
        QTest::newRow("300") << 300 << false << -1 << 300 << 300;
        QTest::newRow("1") << 1 << false << -1 << 1 << 1;
        QTest::newRow("hover keeps the main one") << 300 << false << 200 << 499 << 300;
        QTest::newRow("held") << 300 << true << -1 << -1 << -1;
        QTest::newRow("negative never closes") << -7 << false << -1 << -1 << -1;
    }
    void balloonsCloseAfterTheDisplayLimit() {
        QFETCH(int, limit);
        QFETCH(bool, hold);
        QFETCH(int, hoverAt);
        QFETCH(int, mainHides);
        QFETCH(int, fellowHides);
        TimerRig rig;
        rig.ctx.profile.MsgDispLimit = limit;
        rig.ctx.profile.TOMULimitTime = 1000000;
        rig.mainBalloon.visible = rig.fellowBalloon.visible = true;
        rig.ctx.flags.balloonHold = hold;
        for (int t = 1; t <= 800; ++t) {
            if (t == hoverAt) rig.ctx.flags.mainBalloonCounter = 0;
            rig.TickOnce();
        }
        QCOMPARE(rig.TickOf(u"main.Hide"_s), mainHides);
        QCOMPARE(rig.TickOf(u"fellow.Hide"_s), fellowHides);
        if (hold) QCOMPARE(rig.ctx.flags.mainBalloonCounter, 0);
    }

    void idleTalk_data() {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<double>("r");
        QTest::addColumn<QString>("talk"); // the journal entry of the talk, "" for none
        QTest::newRow("random talk at 0.97") << false << 0.97 << u"host.RandomTalk"_s;
        QTest::newRow("window remark above 0.97") << false << 0.975 << u"host.WindowRemark"_s;
        QTest::newRow("silent") << true << 0.99 << QString();
    }
    void idleTalk() {
        QFETCH(bool, silent);
        QFETCH(double, r);
        QFETCH(QString, talk);
        TimerRig rig;
        rig.ctx.profile.TOMULimitTime = 10;
        rig.ctx.flags.silent = silent;
        rig.random.Push(r);
        rig.Ticks(10);
        QCOMPARE(rig.timer.State().murmur, 10);
        QVERIFY(rig.journal.isEmpty());
        rig.Ticks(1);
        QCOMPARE(rig.timer.State().murmur, 0);
        QCOMPARE(rig.ctx.flags.mainBalloonCounter, -100);
        if (talk.isEmpty()) {
            QVERIFY(rig.journal.isEmpty());
            QCOMPARE(rig.random.Remaining(), 1);
            return;
        }
        QCOMPARE(rig.journal.first(), u"main.Show"_s);
        QCOMPARE(rig.TickOf(talk), 11);
        if (talk == u"host.WindowRemark") QCOMPARE(rig.player.Buffer(), u"\\hremark"_s);
        QCOMPARE(rig.random.Remaining(), 0);
    }

    void idleTalkKeepsItsBalloon100TicksLonger() {
        TimerRig rig;
        rig.ctx.profile.TOMULimitTime = 10;
        rig.random.Push(0.5);
        rig.Ticks(11);
        QVERIFY(rig.mainBalloon.visible);
        QCOMPARE(TickThatHides(rig, rig.mainBalloon, 1000), 400);
    }

    void anOpenBalloonPutsIdleTalkOffAndEndsTheTick() {
        TimerRig rig;
        rig.ctx.profile.TOMULimitTime = 10;
        rig.ctx.profile.MsgDispLimit = 1000;
        rig.mainBalloon.visible = true;
        rig.ctx.flags.exitRequest = true;
        rig.Ticks(11);
        QCOMPARE(rig.timer.State().murmur, 0);
        QVERIFY(!rig.journal.contains(u"host.RandomTalk"_s));
        QCOMPARE(rig.ctx.flags.exitIdleTicks, 10); // tick 11 ended before the exit step
        rig.Ticks(11);
        QCOMPARE(rig.ctx.flags.exitIdleTicks, 20);
    }

    void timeSignalOnceInTheFirstMinuteOfEachHour() {
        TimerRig rig;
        rig.ctx.flags.silent = true;
        const auto at = [&](int h, int m, int s, int ms = 0) {
            rig.clock.SetNow(QDateTime(QDate(2026, 3, 5), QTime(h, m, s, ms)));
            rig.Ticks(1);
            return rig.ctx.flags.talkCount;
        };
        QCOMPARE(at(11, 59, 59, 990), 0);
        rig.ctx.flags.balloonHold = true;
        QCOMPARE(at(12, 0, 0), 1);
        QVERIFY(!rig.ctx.flags.balloonHold);
        QCOMPARE(rig.player.Buffer(),
                 u"\\h12時だよ～。\\w8\\n常識からすると昼飯の時間っす。\\w8"_s);
        QCOMPARE(at(12, 0, 0, 16), 1);
        QCOMPARE(at(12, 0, 59, 999), 1);
        QCOMPARE(at(12, 1, 0), 1);
        QCOMPARE(at(12, 59, 59), 1);
        QCOMPARE(at(13, 0, 0, 500), 2);
        QCOMPARE(rig.player.Buffer(), u"\\h1時だよ～。\\w8\\n"_s);
        QCOMPARE(at(12, 0, 10), 2); // the clock set back into the same minute: no repeat
    }

    void timeSignalTexts_data() {
        QTest::addColumn<int>("hour");
        QTest::addColumn<QString>("text");
        QTest::newRow("0 tells the date")
            << 0 << u"今から%year年、\\w5%month月%day日ですよ～。\\w8"_s;
        QTest::newRow("7") << 7 << u"7時だよ～。\\w8\\n"_s;
        QTest::newRow("19 as 7") << 19 << u"7時だよ～。\\w8\\n"_s;
        QTest::newRow("22") << 22 << u"あﾞ、\\w510時だ。\\w8\\n"_s;
        QTest::newRow("23") << 23 << u"11時です。\\w8テレホタイム開始！"_s;
        QTest::newRow("24") << 24 << QString();
        QTest::newRow("-1") << -1 << QString();
    }
    void timeSignalTexts() {
        QFETCH(int, hour);
        QFETCH(QString, text);
        QCOMPARE(TimeSignalText(hour), text);
    }

    void nextBlinkInterval_data() {
        QTest::addColumn<QList<double>>("draws");
        QTest::addColumn<bool>("afterQuick");
        QTest::addColumn<int>("interval");
        QTest::addColumn<bool>("quick");
        QTest::newRow("quick") << QList<double>{0.76} << false << 6 << true;
        QTest::newRow("0.75 is not quick")
            << QList<double>{0.75, 0.61, 0.0} << false << 100 << false;
        QTest::newRow("longest of 100") << QList<double>{0.1, 0.9, 0.9999} << false << 199 << false;
        QTest::newRow("0.6 gives 80") << QList<double>{0.1, 0.6, 0.9999} << false << 159 << false;
        QTest::newRow("after quick, long") << QList<double>{0.61, 0.9999} << true << 279 << false;
        QTest::newRow("after quick, short") << QList<double>{0.6, 0.0} << true << 110 << false;
    }
    void nextBlinkInterval() {
        QFETCH(QList<double>, draws);
        QFETCH(bool, afterQuick);
        QFETCH(int, interval);
        QFETCH(bool, quick);
        TimerRig rig;
        if (afterQuick) {
            rig.random.Push(0.9);
            QCOMPARE(rig.timer.NextBlinkInterval(), 6);
        }
        for (double r : draws)
            rig.random.Push(r);
        QCOMPARE(rig.timer.NextBlinkInterval(), interval);
        QCOMPARE(rig.timer.State().quickBlink, quick);
        QCOMPARE(rig.random.Remaining(), 0);
    }

    void blinksLastSevenTicksAndTheQuickOneComesSixLater() {
        TimerRig rig;
        rig.ctx.flags.blinkHold = false;
        rig.random.Push({0.5, 0.5, 0.0}); // 80
        rig.timer.DrawFirstBlinkInterval();
        rig.random.Push({0.9});      // then a quick one: 6
        rig.random.Push({0.7, 0.0}); // then 140
        rig.Ticks(79);
        rig.ctx.touch.strokeTicks = 30;
        rig.Ticks(170); // the blink after next may be a quick one at 253
        QCOMPARE(rig.TicksOf(u"kanami.EyesClosed"_s), (QList<int>{80, 93, 240}));
        QCOMPARE(rig.TicksOf(u"kanami.EyesOpen"_s), (QList<int>{87, 100, 247}));
        QCOMPARE(rig.ctx.touch.strokeTicks, 0);                      // a blink ends a stroke
        QVERIFY(!rig.journal.join(u' ').contains(u"ShowSurface"_s)); // the outline stays
    }

    void blinkHoldStopsTheCount() {
        TimerRig rig;
        rig.random.Push({0.5, 0.5, 0.0});
        rig.timer.DrawFirstBlinkInterval();
        rig.Ticks(500);
        QCOMPARE(rig.timer.State().blinkCount, 0);
        rig.ctx.flags.blinkHold = false;
        rig.Ticks(80);
        QCOMPARE(rig.TickOf(u"kanami.EyesClosed"_s), 580);
    }

    void touchesWearOff_data() {
        QTest::addColumn<QString>("area");
        QTest::addColumn<int>("quietFrom");
        QTest::addColumn<int>("faceAt"); // tick of surface 1; -1: none
        QTest::addColumn<int>("calmAt");
        QTest::newRow("eye") << u"eye"_s << 0 << 3 << 50;
        QTest::newRow("eye angry") << u"eye"_s << -50 << 53 << 100;
        QTest::newRow("eye furious") << u"eye"_s << -100 << 103 << 150;
        QTest::newRow("mouth") << u"mouth"_s << 0 << 10 << 50;
        QTest::newRow("mouth angry") << u"mouth"_s << -50 << 60 << 100;
        QTest::newRow("body") << u"body"_s << 0 << -1 << 50;
        QTest::newRow("body angry") << u"body"_s << -50 << -1 << 100;
    }
    void touchesWearOff() {
        QFETCH(QString, area);
        QFETCH(int, quietFrom);
        QFETCH(int, faceAt);
        QFETCH(int, calmAt);
        TimerRig rig;
        TouchState& t = rig.ctx.touch;
        const auto fields = [&]() -> std::tuple<qint32&, qint32&, bool&> {
            if (area == u"eye") return {t.eyeCount, t.eyeQuietTicks, t.eyeTouched};
            if (area == u"mouth") return {t.mouthCount, t.mouthQuietTicks, t.mouthTouched};
            return {t.bodyCount, t.bodyQuietTicks, t.bodyTouched};
        };
        auto [count, quiet, touched] = fields();
        count = 12;
        quiet = quietFrom;
        touched = true;
        rig.Ticks(calmAt - 1);
        QVERIFY(touched);
        QCOMPARE(count, 12);
        rig.Ticks(1);
        QVERIFY(!touched);
        QCOMPARE(count, 0);
        QCOMPARE(quiet, 0);
        QCOMPARE(rig.TicksOf(u"kanami.ShowSurface 1 free"_s),
                 faceAt < 0 ? QList<int>{} : QList<int>{faceAt});
        rig.Ticks(100);
        QCOMPARE(quiet, 0); // no longer counted
    }

    void strokesCount_data() {
        QTest::addColumn<bool>("stroking");
        QTest::addColumn<int>("ticksBefore");
        QTest::addColumn<double>("r");
        QTest::addColumn<int>("ticksAfter");
        QTest::newRow("counts") << true << 0 << 0.1 << 1;
        QTest::newRow("36 and lucky drops") << true << 35 << 0.19 << 0;
        QTest::newRow("35 is not above") << true << 34 << 0.1 << 35;
        QTest::newRow("0.2 is not lucky") << true << 40 << 0.2 << 41;
        QTest::newRow("still mouse") << false << 20 << 0.1 << 20;
    }
    void strokesCount() {
        QFETCH(bool, stroking);
        QFETCH(int, ticksBefore);
        QFETCH(double, r);
        QFETCH(int, ticksAfter);
        TimerRig rig;
        rig.ctx.touch.stroking = stroking;
        rig.ctx.touch.strokeTicks = ticksBefore;
        rig.random.Push(r);
        rig.Ticks(1);
        QCOMPARE(rig.ctx.touch.strokeTicks, ticksAfter);
        QVERIFY(!rig.ctx.touch.stroking);
        QCOMPARE(rig.random.Remaining(), stroking ? 0 : 1); // drawn on every stroking tick
    }

    void edgesHideAndShowOncePerVisit() {
        TimerRig rig;
        rig.ctx.flags.hide = true;
        rig.mainBalloon.visible = rig.fellowBalloon.visible = true;
        rig.ctx.profile.MsgDispLimit = 100000;
        const auto moveTo = [&](int x, int y) {
            rig.host.cursor = {x, y};
            rig.journal.clear();
            rig.Ticks(1);
            return rig.journal;
        };
        QVERIFY(moveTo(0, 300).isEmpty()); // not armed before the cursor was elsewhere
        QVERIFY(moveTo(400, 300).isEmpty());
        const int talks = rig.ctx.flags.talkCount;
        const QStringList hidden = moveTo(1023, 767);
        QCOMPARE(hidden.mid(0, 5),
                 (QStringList{u"host.CloseDebugWindow"_s, u"kanami.Hide"_s, u"fellowWindow.Hide"_s,
                              u"main.Hide"_s, u"fellow.Hide"_s}));
        QCOMPARE(rig.ctx.flags.talkCount, talks + 1); // the talk stopped
        QVERIFY(rig.player.Buffer().isEmpty());
        QVERIFY(!rig.character.visible);
        QVERIFY(moveTo(1023, 400).isEmpty());
        QVERIFY(moveTo(500, 767).isEmpty());
        QVERIFY(moveTo(500, 766).isEmpty());
        QCOMPARE(moveTo(500, 0), (QStringList{u"host.CloseDebugWindow"_s, u"kanami.Show"_s,
                                              u"fellowWindow.Show"_s, u"kanami.Foreground"_s}));
        QVERIFY(rig.character.visible);
        QVERIFY(moveTo(1024, 300).isEmpty()); // past the screen is no edge
        QCOMPARE(rig.timer.State().cursor, QPoint(1024, 300));
        QVERIFY(moveTo(-1, 300).isEmpty());
        QVERIFY(moveTo(1023, 300).contains(u"kanami.Hide"_s));
    }

    void edgesAreNotWatchedWithoutHide() {
        TimerRig rig;
        rig.host.cursor = {400, 300};
        rig.Ticks(1);
        rig.host.cursor = {0, 0};
        rig.Ticks(5);
        QCOMPARE(rig.host.cursorReads, 0);
        QVERIFY(rig.journal.isEmpty());
    }

    void foregroundFiveTicksAfterTheRequest() {
        TimerRig rig;
        rig.Ticks(3);
        rig.ctx.flags.foregroundRequest = true;
        rig.Ticks(10);
        QCOMPARE(rig.timeline, (QList<std::pair<int, QString>>{{8, u"kanami.Foreground"_s},
                                                               {8, u"main.Activate"_s}}));
        QVERIFY(!rig.ctx.flags.foregroundRequest);
    }

    void exitAndSkinChangeWaitThirtyTicksAfterTheTalk_data() {
        QTest::addColumn<bool>("skin");
        QTest::addColumn<QString>("farewell");
        QTest::newRow("exit, short") << false << u"\\hA"_s;
        QTest::newRow("exit, long") << false << u"\\hさようなら\\w9\\w9\\w9\\w9\\w9\\w9\\w9\\w9"_s;
        QTest::newRow("skin, short") << true << u"\\hA"_s;
        QTest::newRow("skin, long") << true << u"\\hまたね\\w9\\w9\\w9\\w9\\w9\\w9\\w9\\w9"_s;
    }
    void exitAndSkinChangeWaitThirtyTicksAfterTheTalk() {
        QFETCH(bool, skin);
        QFETCH(QString, farewell);
        TimerRig rig;
        rig.player.PlayScript(farewell);
        (skin ? rig.ctx.flags.skinChangeRequest : rig.ctx.flags.exitRequest) = true;
        int endedAt = -1;
        bool alwaysHeld = true;
        const QString done = skin ? u"host.ReloadSkin"_s : u"host.CloseCharacterWindow"_s;
        QVERIFY(rig.RunUntil([&] {
            if (endedAt < 0 && !rig.player.IsRunning()) endedAt = rig.ticks;
            if (rig.ticks > 0 && !rig.journal.contains(done))
                alwaysHeld = alwaysHeld && rig.ctx.flags.balloonHold && !rig.character.enabled;
            return rig.journal.contains(done);
        }));
        QVERIFY(alwaysHeld);
        QCOMPARE(rig.TickOf(done) - endedAt, 30);
        rig.Run(1000);
        QCOMPARE(rig.journal.count(done), 1);
        if (skin) {
            QVERIFY(!rig.ctx.flags.skinChangeRequest);
            QVERIFY(rig.character.enabled);
        }
    }

    void skinChangeReloadsOnceAndGreets_data() {
        QTest::addColumn<double>("r");
        QTest::addColumn<QString>("greeting");
        QTest::newRow("1") << 0.0 << u"\\h起動時#1"_s;
        QTest::newRow("2")
            << 0.3 << u"\\hDATEです。\\w5\\n\\n今日は%gdの日%en\\w8\\w8\\u勝手に記念日作るなよ。"_s;
        QTest::newRow("3")
            << 0.6
            << u"\\h3月5日 9時7分です。\\w8\\n%usernameのこれからの予定は・・・\\w8\\n\\n"
               "%hour時から%msと%vsすることになってます。\\w8\\w8\\u･･･%vs1？"_s;
        QTest::newRow("4") << 0.9
                           << u"\\hDATEです。\\w5\\n\\n今日は「ANNIV」\\w5%en\\w8\\w8\\uマジか｡"_s;
    }
    void skinChangeReloadsOnceAndGreets() {
        QFETCH(double, r);
        QFETCH(QString, greeting);
        TimerRig rig;
        rig.host.work = {0, 40, 1024, 700}; // a panel at the top
        rig.random.Push(r);
        int ticksInside = 0;
        rig.host.reload = [&] {
            // The reload's 500 ms wait lets 32 ticks run; they only hold and disable.
            rig.Ticks(32);
            ticksInside = 32;
            return rig.ctx.flags.balloonHold && !rig.character.enabled;
        };
        rig.ctx.flags.skinChangeRequest = true;
        rig.Ticks(29);
        QVERIFY(!rig.journal.contains(u"host.ReloadSkin"_s));
        rig.Ticks(1);
        QCOMPARE(ticksInside, 32);
        QCOMPARE(rig.journal.count(u"host.ReloadSkin"_s), 1);
        const qsizetype reload = rig.journal.indexOf(u"host.ReloadSkin"_s);
        QCOMPARE(rig.journal.mid(reload - 2, 3),
                 (QStringList{u"kanami.Hide"_s, u"main.Hide"_s, u"host.ReloadSkin"_s}));
        QCOMPARE(rig.journal.mid(reload + 1, 3),
                 (QStringList{u"kanami.Show"_s, u"main.Show"_s, u"host.MoveCharacter 768,540"_s}));
        QCOMPARE(rig.player.Buffer(), greeting);
        QVERIFY(!rig.ctx.flags.skinChangeRequest);
        QVERIFY(!rig.ctx.flags.balloonHold);
        QVERIFY(rig.character.enabled);
        QVERIFY(rig.log.Text().contains(u"Character Change Complete"_s));
    }

    void failedSkinReloadGoesNoFurther() {
        TimerRig rig;
        rig.host.reload = [] { return false; };
        rig.ctx.flags.skinChangeRequest = true;
        const int talks = rig.ctx.flags.talkCount;
        rig.Ticks(30);
        QCOMPARE(rig.journal.last(), u"host.ReloadSkin"_s);
        QCOMPARE(rig.ctx.flags.talkCount, talks);
        QVERIFY(rig.ctx.flags.skinChangeRequest);
        QVERIFY(!rig.log.Text().contains(u"Character Change Complete"_s));
    }
};

QTEST_GUILESS_MAIN(TestMainTimer)
#include "test_main_timer.moc"
