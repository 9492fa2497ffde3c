#include "talk/calendar_talk.h"
#include "timer_rig.h"

#include <QTest>

#include <random>
#include <tuple>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

namespace {

// A state the timer can be in, the same for the same seed: a history of ticks, then limits,
// balloons, touches and a time of day as the user and the talk may have left them.
void Randomise(TimerRig& rig, quint32 seed) {
    std::mt19937 g(seed);
    const auto pick = [&g](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(g);
    };
    const auto chance = [&](int percent) { return pick(0, 99) < percent; };
    RunFlags& f = rig.ctx.flags;
    Profile& p = rig.ctx.profile;
    TouchState& t = rig.ctx.touch;
    rig.random.Seed(seed);
    f.blinkHold = chance(15);
    p.TOMULimitTime = p.MsgDispLimit = 1000000;
    if (chance(90)) rig.timer.DrawFirstBlinkInterval();
    rig.Ticks(pick(0, 400));
    p.TOMULimitTime = rig.timer.State().murmur + pick(-2, 90);
    p.MsgDispLimit = chance(10) ? -1 : pick(1, 300);
    rig.mainBalloon.visible = chance(50);
    rig.fellowBalloon.visible = chance(50);
    f.mainBalloonCounter = pick(-100, 300);
    f.fellowBalloonCounter = pick(0, 300);
    f.balloonHold = chance(20);
    f.silent = chance(20);
    std::tie(t.eyeTouched, t.eyeQuietTicks) = std::pair(chance(20), pick(-100, 49));
    std::tie(t.mouthTouched, t.mouthQuietTicks) = std::pair(chance(20), pick(-50, 49));
    std::tie(t.bodyTouched, t.bodyQuietTicks) = std::pair(chance(20), pick(0, 49));
    std::tie(t.stroking, t.strokeTicks) = std::pair(chance(20), pick(0, 40));
    // Often across an hour; in minute 0 the signal of the hour is still to come.
    const QTime hour(10, 59, 58);
    const int ms = chance(40) ? pick(0, 4000) : pick(-3500000, 0);
    rig.clock.SetNow(QDateTime(QDate(2026, 3, 5), hour).addMSecs(ms));
}

// What each tick from `from` on showed, with the time it ran.
QList<std::tuple<int, qint64, QString>> Shown(const TimerRig& rig, int from) {
    QList<std::tuple<int, qint64, QString>> shown;
    for (const auto& [tick, what] : rig.timeline)
        if (tick > from) shown.append({tick, rig.tickAt[tick - 1], what});
    return shown;
}

} // namespace

class TestMainTimer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void balloonsStandAboveAndLeftOfTheirCharacters() {
        TimerRig rig;
        rig.host.balloonOffset = QPoint(8, -22); // twips, rounded to whole pixels
        rig.Ticks(1);
        // character (700, 528), balloon 300 x 150: corner to corner at (400, 378)
        QCOMPARE(rig.host.balloonAt[0], QPoint(401, 377));
        // fellow (560, 588), balloon 200 x 100: from (360, 488)
        QCOMPARE(rig.host.balloonAt[1], QPoint(361, 487));
        rig.host.character.moveTopLeft({100, 20}); // the balloon would leave the screen
        rig.Ticks(1);
        QCOMPARE(rig.host.balloonAt[0], QPoint(0, 0));
    }

    void balloonsCloseAfterTheDisplayLimit_data() {
        QTest::addColumn<int>("limit");
        QTest::addColumn<bool>("hold");
        QTest::addColumn<int>("hoverAt"); // the mouse moves over the main balloon before this tick
        QTest::addColumn<int>("mainHides");
        QTest::addColumn<int>("fellowHides");
        QTest::newRow("300") << 300 << false << -1 << 300 << 300;
        QTest::newRow("hover keeps the main one") << 300 << false << 200 << 499 << 300;
        QTest::newRow("held") << 300 << true << -1 << -1 << -1;
        QTest::newRow("negative never closes") << -7 << false << -1 << -1 << -1;
    }
    void balloonsCloseAfterTheDisplayLimit() {
        QFETCH(int, limit);
        QFETCH(bool, hold);
        QFETCH(int, hoverAt);
        TimerRig rig;
        rig.ctx.profile.MsgDispLimit = limit;
        rig.ctx.profile.TOMULimitTime = 1000000;
        rig.mainBalloon.visible = rig.fellowBalloon.visible = true;
        rig.ctx.flags.balloonHold = hold;
        for (int t = 1; t <= 800; ++t) {
            if (t == hoverAt) rig.ctx.flags.mainBalloonCounter = 0;
            rig.Ticks(1);
        }
        QTEST(rig.TickOf(u"main.Hide"_s), "mainHides");
        QTEST(rig.TickOf(u"fellow.Hide"_s), "fellowHides");
    }

    void idleTalk_data() {
        QTest::addColumn<bool>("silent");
        QTest::addColumn<double>("r");
        QTest::addColumn<QString>("talk"); // the journal entry of the talk, "" for none
        QTest::newRow("random talk at 0.97") << false << 0.97 << u"host.RandomTalk"_s;
        // k = 1 of the window remark: the window active when the talk began is minimised.
        QTest::newRow("window remark above 0.97")
            << false << 0.975 << u"SystemAction: MinimizeWindow 0x7"_s;
        QTest::newRow("silent") << true << 0.99 << QString();
    }
    void idleTalk() {
        QFETCH(bool, silent);
        QFETCH(double, r);
        QFETCH(QString, talk);
        TimerRig rig;
        rig.ctx.profile.TOMULimitTime = 10;
        rig.ctx.flags.silent = silent;
        rig.windows.active = 7;
        rig.windows.titleOf[7] = u"Editor"_s;
        rig.random.Push({r, 0.1});
        rig.Ticks(10);
        QVERIFY(rig.journal.isEmpty());
        rig.Ticks(1);
        QCOMPARE(rig.timer.State().murmur, 0);
        QCOMPARE(rig.ctx.flags.mainBalloonCounter, -100); // its balloon stays 100 ticks longer
        QCOMPARE(rig.journal.isEmpty(), talk.isEmpty());
        if (talk == u"host.RandomTalk") QCOMPARE(rig.TickOf(talk), 11);
        QCOMPARE(rig.actionLog.contains(talk), talk.startsWith(u"SystemAction"));
        QCOMPARE(rig.player.Buffer().contains(u"「 Editor 」"), talk.startsWith(u"SystemAction"));
        QCOMPARE(rig.random.Remaining(), silent ? 2 : talk.startsWith(u"SystemAction") ? 0 : 1);
    }

    void anOpenBalloonPutsIdleTalkOffAndEndsTheTick() {
        TimerRig rig;
        rig.ctx.profile.TOMULimitTime = 10;
        rig.ctx.profile.MsgDispLimit = 1000;
        rig.mainBalloon.visible = true;
        rig.ctx.flags.exitRequest = true;
        rig.Ticks(11);
        QVERIFY(!rig.journal.contains(u"host.RandomTalk"_s));
        QCOMPARE(rig.ctx.flags.exitIdleTicks, 10); // tick 11 ended before the exit step
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
        QCOMPARE(at(12, 0, 0), 1);
        QCOMPARE(rig.player.Buffer(), u"\\h"_s + CalendarTalk::HourlyTalk(12));
        QCOMPARE(at(12, 0, 59, 999), 1);
        QCOMPARE(at(12, 1, 0), 1);
        QCOMPARE(at(13, 0, 0, 500), 2);
        QCOMPARE(at(12, 0, 10), 2); // the clock set back into the same minute: no repeat
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
        rig.Ticks(170);
        QCOMPARE(rig.TicksOf(u"kanami.EyesClosed"_s), (QList<int>{80, 93, 240}));
        QCOMPARE(rig.TicksOf(u"kanami.EyesOpen"_s), (QList<int>{87, 100, 247}));
        QCOMPARE(rig.ctx.touch.strokeTicks, 0);                      // a blink ends a stroke
        QVERIFY(!rig.journal.join(u' ').contains(u"ShowSurface"_s)); // the outline stays
    }

    void strokesCount_data() {
        QTest::addColumn<bool>("stroking");
        QTest::addColumn<int>("ticksBefore");
        QTest::addColumn<double>("r");
        QTest::addColumn<int>("ticksAfter");
        QTest::newRow("36 and lucky drops") << true << 35 << 0.19 << 0;
        QTest::newRow("35 is not above") << true << 34 << 0.1 << 35;
        QTest::newRow("still mouse") << false << 20 << 0.1 << 20;
    }
    void strokesCount() {
        QFETCH(bool, stroking);
        QFETCH(int, ticksBefore);
        QFETCH(double, r);
        TimerRig rig;
        rig.ctx.touch.stroking = stroking;
        rig.ctx.touch.strokeTicks = ticksBefore;
        rig.random.Push(r);
        rig.Ticks(1);
        QTEST(rig.ctx.touch.strokeTicks, "ticksAfter");
        QVERIFY(!rig.ctx.touch.stroking);
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
        QCOMPARE(moveTo(1023, 767).mid(0, 5),
                 (QStringList{u"host.CloseDebugWindow"_s, u"kanami.Hide"_s, u"fellowWindow.Hide"_s,
                              u"main.Hide"_s, u"fellow.Hide"_s}));
        QVERIFY(moveTo(500, 767).isEmpty()); // still on an edge
        QVERIFY(moveTo(500, 766).isEmpty());
        QCOMPARE(moveTo(500, 0), (QStringList{u"host.CloseDebugWindow"_s, u"kanami.Show"_s,
                                              u"fellowWindow.Show"_s, u"kanami.Foreground"_s}));
        QVERIFY(moveTo(1024, 300).isEmpty()); // past the screen is no edge
        QVERIFY(moveTo(1023, 300).contains(u"kanami.Hide"_s));
        rig.host.screens.append({1024, 0, 800, 600}); // the desktop goes on to the right
        QVERIFY(moveTo(400, 300).isEmpty());
        QVERIFY(moveTo(1023, 300).isEmpty());                  // the seam between the screens
        QVERIFY(moveTo(1023, 700).contains(u"kanami.Show"_s)); // beside it no screen goes on
    }

    // The edge toggle hides her during a click wait, her balloon half off the screen: the wait
    // shows its balloon again, inside the screen, so a click can still answer it.
    void aClickWaitKeepsItsBalloonShownOnScreen() {
        TimerRig rig;
        rig.ctx.flags.hide = true;
        rig.host.character.moveTopLeft({100, 528}); // the balloon would start at x = -200
        rig.player.PlayScript(u"\\hA\\x"_s);
        rig.clock.ScheduleAt(500, [&] { rig.host.cursor = {0, 300}; });
        bool hidden = false, shown = false;
        QPoint at;
        rig.clock.ScheduleAt(600,
                             [&] { hidden = !rig.mainBalloon.visible && !rig.character.visible; });
        rig.clock.ScheduleAt(2000, [&] {
            shown = rig.mainBalloon.visible;
            at = rig.host.balloonAt[0];
            rig.player.Click();
        });
        QVERIFY(rig.RunUntil([&] { return !rig.player.IsRunning(); }));
        QVERIFY(hidden && shown);
        QCOMPARE(at, QPoint(0, 378));
    }

    void foregroundFiveTicksAfterTheRequest() {
        TimerRig rig;
        rig.Ticks(3);
        rig.ctx.flags.foregroundRequest = true;
        rig.Ticks(10);
        QCOMPARE(rig.timeline, (QList<std::pair<int, QString>>{{8, u"kanami.Foreground"_s},
                                                               {8, u"main.Activate"_s}}));
    }

    void exitAndSkinChangeWaitThirtyTicksAfterTheTalk_data() {
        QTest::addColumn<bool>("skin");
        QTest::newRow("exit") << false;
        QTest::newRow("skin") << true;
    }
    void exitAndSkinChangeWaitThirtyTicksAfterTheTalk() {
        QFETCH(bool, skin);
        TimerRig rig;
        rig.player.PlayScript(u"\\hさようなら\\w9\\w9\\w9\\w9\\w9\\w9\\w9\\w9"_s);
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
        const int then = rig.ticks;
        QVERIFY(rig.RunUntil([&] { return rig.ticks > then + 64; }));
        QCOMPARE(rig.journal.count(done), 1);
        QCOMPARE(rig.character.enabled, skin);
    }

    void skinChangeReloadsOnceAndGreets() {
        TimerRig rig;
        rig.host.work = {0, 40, 1024, 700}; // a panel at the top
        rig.random.Push(0.9);
        rig.host.reload = [&] {
            rig.Ticks(32); // the reload's 500 ms wait: these ticks only hold and disable
            return rig.ctx.flags.balloonHold && !rig.character.enabled;
        };
        rig.ctx.flags.skinChangeRequest = true;
        rig.Ticks(30);
        QCOMPARE(rig.journal.count(u"host.ReloadSkin"_s), 1);
        const qsizetype reload = rig.journal.indexOf(u"host.ReloadSkin"_s);
        QCOMPARE(rig.journal.mid(reload - 2, 6),
                 (QStringList{u"kanami.Hide"_s, u"main.Hide"_s, u"host.ReloadSkin"_s,
                              u"kanami.Show"_s, u"main.Show"_s, u"host.MoveCharacter 768,540"_s}));
        // The greeting of the day, with the talk's date and anniversary.
        QVERIFY(rig.player.Buffer().startsWith(u"\\hDATE"_s));
        QVERIFY(rig.player.Buffer().contains(u"ANNIV"_s));
        QVERIFY(!rig.ctx.flags.skinChangeRequest && !rig.ctx.flags.balloonHold);
        QVERIFY(rig.character.enabled);
        QVERIFY(rig.log.Text().contains(u"Character Change Complete"_s));
    }

    void failedSkinReloadGoesNoFurther() {
        TimerRig rig;
        rig.host.reload = [] { return false; };
        rig.ctx.flags.skinChangeRequest = true;
        rig.Ticks(30);
        QCOMPARE(rig.journal.last(), u"host.ReloadSkin"_s);
        QVERIFY(rig.ctx.flags.skinChangeRequest);
        QVERIFY(!rig.log.Text().contains(u"Character Change Complete"_s));
    }

    // The forecast after every tick of many random runs: nothing shows on the ticks it calls
    // quiet, and unless the hour is near (where it stays on the safe side) or every tick
    // counts (0), something shows on the tick after them. A driver that sleeps through the quiet
    // ticks shows the same things at the same times as one that wakes for every tick.
    void quietTicksForetellWhatShows() {
        qint64 ticks = 0, wakes = 0;
        for (quint32 seed = 1; seed <= 100; ++seed) {
            TimerRig awake, asleep;
            Randomise(awake, seed);
            Randomise(asleep, seed);
            const int from = awake.ticks;
            awake.sleep = false;
            for (TimerRig* rig : {&awake, &asleep}) {
                rig->driver.Start();
                rig->clock.Advance(1500);
            }
            QList<int> showing;
            for (const auto& [tick, what] : awake.timeline)
                if (tick > from && !showing.contains(tick)) showing.append(tick);
            for (const TimerRig::Forecast& f : awake.forecasts) {
                const auto next = std::upper_bound(showing.begin(), showing.end(), f.afterTick);
                const int shows = next == showing.end() ? INT_MAX : *next;
                const QByteArray where =
                    u"seed %1, %2 quiet after tick %3, tick %4 shows"_s.arg(seed)
                        .arg(f.quiet)
                        .arg(f.afterTick)
                        .arg(shows)
                        .toUtf8();
                QVERIFY2(shows > f.afterTick + f.quiet, where.constData());
                const bool nearHour = f.now.minute() == 0 || f.now >= QTime(10, 59, 58);
                const bool ranOn = f.afterTick + f.quiet + 1 <= awake.ticks;
                if (f.quiet > 0 && f.quiet < TickDriver::kMaxQuietTicks && !nearHour && ranOn)
                    QVERIFY2(shows == f.afterTick + f.quiet + 1, where.constData());
            }
            QList<std::tuple<int, qint64, QString>> shown = Shown(awake, from);
            shown.removeIf([&](const auto& e) { return std::get<0>(e) > asleep.ticks; });
            QCOMPARE(Shown(asleep, from), shown);
            ticks += asleep.driver.Ticks();
            wakes += asleep.driver.Wakes();
        }
        QVERIFY(wakes * 2 < ticks); // and it does sleep
    }

    // The first tick at or after the full hour gives the signal, also when the ticks before it
    // were slept through; one that finds it still to come in minute 0 is not slept through.
    void hourSignalOnTheFirstTickOfTheHour_data() {
        QTest::addColumn<int>("msBefore"); // the driver starts this long before the hour
        QTest::addColumn<int>("signalAt"); // ms from the start, of the tick that gives it
        QTest::newRow("a second before") << 1000 << 1000;
        QTest::newRow("between two ticks") << 50 << 62;
        QTest::newRow("already in minute 0") << -300 << 0;
    }
    void hourSignalOnTheFirstTickOfTheHour() {
        QFETCH(int, msBefore);
        TimerRig rig;
        rig.Ticks(1); // at 9:07: no signal given this hour
        rig.clock.SetNow(QDateTime(QDate(2026, 3, 5), QTime(10, 0)).addMSecs(-msBefore));
        if (msBefore < 0) QCOMPARE(rig.timer.QuietTicks(TickDriver::kMaxQuietTicks), 0);
        const qint64 start = rig.clock.ElapsedMs();
        rig.driver.Start();
        rig.clock.Advance(2000);
        QCOMPARE(rig.ctx.flags.talkCount, 1);
        const int tick = rig.TickOf(u"main.Activate"_s); // the speaker's balloon
        QTEST(int(rig.tickAt[tick - 1] - start), "signalAt");
    }
};

QTEST_GUILESS_MAIN(TestMainTimer)
#include "test_main_timer.moc"
