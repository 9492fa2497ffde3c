// The touch reactions on the virtual clock, with the real main timer letting them calm down:
// what each poke does as the counters grow, the tickles of the nose and the cheeks at their
// probability boundaries, stroking the head, and the double click.
#include "talk/talk_engine.h"
#include "timer_rig.h"

#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

namespace {

struct TouchRig : TimerRig {
    TouchRig() {
        touch.randomTalk = [this] { said.append(u"random"_s); };
        player.hooks.handed = [this](const QString& script, ScriptOrigin origin) {
            if (origin == ScriptOrigin::Touch) said.append(script);
        };
        ctx.profile.TOMULimitTime = ctx.profile.MsgDispLimit = 1000000;
    }
    // What one poke did: "say", "random", "threat" (a word of 脅し) or "-", then the last face
    // shown, "!" when it is held. ("?" in a row: anything.)
    QString Poke(TouchArea area) {
        said.clear();
        journal.clear();
        touch.Pressed(area);
        QString what = said.isEmpty()                       ? u"-"_s
                       : said.last() == u"random"           ? u"random"_s
                       : said.last().startsWith(u"脅し#"_s) ? u"threat"_s
                                                            : u"say"_s;
        for (const QString& entry : journal)
            if (entry.startsWith(u"kanami.ShowSurface "_s))
                what = what.section(u':', 0, 0) + u':' + entry.section(u' ', 1, 1) +
                       (entry.endsWith(u"hold"_s) ? u"!"_s : u""_s);
        return what;
    }
    // "3*say:2 -" → "say:2 say:2 say:2 -".
    static QString Expand(const QString& compact) {
        QStringList out;
        for (const QString& part : compact.split(u' ')) {
            const qsizetype star = part.indexOf(u'*');
            for (int i = 0; i < (star < 0 ? 1 : part.left(star).toInt()); ++i)
                out.append(part.mid(star + 1));
        }
        return out.join(u' ');
    }

    TouchReactions& touch = engine.Talk().Touch();
    TouchState& state = ctx.touch;
    QStringList said;
};

} // namespace

Q_DECLARE_METATYPE(orvanel::TouchArea)

class TestTouchReactions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The last poke draws r first; the pokes before it draw what they need from the fallback.
    void pokesEscalate_data() {
        QTest::addColumn<TouchArea>("area");
        QTest::addColumn<double>("r");
        QTest::addColumn<QString>("pokes");
        QTest::addColumn<int>("count"); // afterwards
        QTest::addColumn<int>("quiet");
        const TouchArea eye = TouchArea::Eye, mouth = TouchArea::Mouth, body = TouchArea::Body;
        QTest::newRow("eye threatens")
            << eye << 0.1001 << "9*say:2 2*say:4 3*say:5! say:5! threat:6!" << 16 << -100;
        QTest::newRow("eye gives up at 0.1") << eye << 0.1 << "15*? random:1" << 0 << -100;
        QTest::newRow("mouth talks at 0.7")
            << mouth << 0.7 << "say say say - say:4! 4*- say 5*- random:5!" << 0 << 0;
        QTest::newRow("mouth threatens above") << mouth << 0.7001 << "15*? threat:5!" << 16 << 0;
        QTest::newRow("body threatens above 0.7")
            << body << 0.7001 << "14*random:1 say:4! say:1 threat:5!" << 17 << 0;
        QTest::newRow("body falls silent") << body << 0.7 << "16*? -:5!" << 0 << 0;
        QTest::newRow("head clicks are body pokes")
            << TouchArea::Head << 0.7 << "16*? -:5!" << 0 << 0;
    }
    void pokesEscalate() {
        QFETCH(TouchArea, area);
        QFETCH(double, r);
        QFETCH(QString, pokes);
        TouchRig rig;
        const QStringList expected = TouchRig::Expand(pokes).split(u' ');
        for (int i = 0; i < expected.size(); ++i) {
            if (i + 1 == expected.size()) rig.random.Push(r);
            const QString got = rig.Poke(area);
            const QString poke = u" #"_s + QString::number(i + 1);
            if (expected[i] != u"?") QCOMPARE(got + poke, expected[i] + poke);
        }
        QCOMPARE(rig.random.Remaining(), 0);
        const bool body = area == TouchArea::Body || area == TouchArea::Head;
        QTEST(area == TouchArea::Eye ? rig.state.eyeCount
              : body                 ? rig.state.bodyCount
                                     : rig.state.mouthCount,
              "count");
        QTEST(area == TouchArea::Eye ? rig.state.eyeQuietTicks
              : body                 ? rig.state.bodyQuietTicks
                                     : rig.state.mouthQuietTicks,
              "quiet");
    }

    void quittingBlocksEyeAndMouthOnly() {
        TouchRig rig;
        rig.ctx.flags.exitRequest = true;
        QCOMPARE(rig.Poke(TouchArea::Eye) + rig.Poke(TouchArea::Mouth), u"--"_s);
        QCOMPARE(rig.Poke(TouchArea::Body), u"random:1"_s);
        QVERIFY(!rig.state.eyeTouched && !rig.state.mouthTouched && rig.state.bodyTouched);
    }

    // An area forgets its pokes after 50 quiet ticks, or 100 and 150 after the angry ones;
    // an angry face stays 3 ticks beyond that head start.
    void areasCalmDown_data() {
        QTest::addColumn<TouchArea>("area");
        QTest::addColumn<int>("pokes");
        QTest::addColumn<int>("calmAt");
        QTest::addColumn<int>("faceAt"); // tick of surface 1, -1: none
        QTest::newRow("eye") << TouchArea::Eye << 1 << 50 << 3;
        QTest::newRow("eye angry") << TouchArea::Eye << 12 << 100 << 53;
        QTest::newRow("eye furious") << TouchArea::Eye << 15 << 150 << 103;
        QTest::newRow("mouth angry") << TouchArea::Mouth << 5 << 100 << 60;
        QTest::newRow("body annoyed") << TouchArea::Body << 15 << 100 << -1;
    }
    void areasCalmDown() {
        QFETCH(TouchArea, area);
        QFETCH(int, pokes);
        QFETCH(int, calmAt);
        QFETCH(int, faceAt);
        TouchRig rig;
        for (int i = 0; i < pokes; ++i)
            rig.Poke(area);
        rig.journal.clear();
        rig.timeline.clear();
        rig.Ticks(calmAt - 1);
        const TouchState& t = rig.state;
        const auto count = [&] {
            return area == TouchArea::Eye     ? t.eyeCount
                   : area == TouchArea::Mouth ? t.mouthCount
                                              : t.bodyCount;
        };
        QCOMPARE(count(), pokes);
        rig.Ticks(1);
        QCOMPARE(count(), 0);
        QCOMPARE(rig.TicksOf(u"kanami.ShowSurface 1 free"_s),
                 faceAt < 0 ? QList<int>{} : QList<int>{faceAt});
    }

    void tickles_data() {
        QTest::addColumn<TouchArea>("area");
        QTest::addColumn<bool>("moved"); // a move, else a click
        QTest::addColumn<double>("r");
        QTest::addColumn<bool>("says");
        QTest::newRow("nose click below 0.5") << TouchArea::Nose << false << 0.4999 << true;
        QTest::newRow("nose click at 0.5") << TouchArea::Nose << false << 0.5 << false;
        QTest::newRow("nose move below 0.005") << TouchArea::Nose << true << 0.0049 << true;
        QTest::newRow("nose move at 0.005") << TouchArea::Nose << true << 0.005 << false;
        QTest::newRow("cheek move below 0.02") << TouchArea::Cheek << true << 0.0199 << true;
        QTest::newRow("cheek move at 0.02") << TouchArea::Cheek << true << 0.02 << false;
        QTest::newRow("eye click") << TouchArea::Eye << false << 0.0 << false;
    }
    void tickles() {
        QFETCH(TouchArea, area);
        QFETCH(bool, moved);
        QFETCH(double, r);
        QFETCH(bool, says);
        TouchRig rig;
        rig.random.Push({r, 0.0});
        if (moved)
            rig.touch.Moved(area, {7, 9});
        else
            rig.touch.Clicked(area, false);
        // A cheek that keeps still draws nothing (0.0 would have said it).
        if (area == TouchArea::Cheek) rig.touch.Moved(area, {7, 9});
        QCOMPARE(rig.said.size(), says ? 1 : 0);
    }

    void ctrlOnTheNoseIsNoPoke() {
        TouchRig rig;
        rig.random.Push(0.1);
        rig.touch.Clicked(TouchArea::Nose, true);
        QCOMPARE(rig.said.size(), 1);
        QCOMPARE(rig.random.Remaining(), 1); // the debug line, not the poke's draw
    }

    // She asks once the mouse has moved over the head in 39 ticks without a blink; keeping it
    // still is no stroke, and the body wipes the count.
    void strokingTheHeadAsksOnce() {
        TouchRig rig;
        const auto stroke = [&](int ticks, int x) {
            for (int i = 0; i < ticks; ++i) {
                rig.random.Push(0.5); // no luck in the timer's draw
                rig.touch.Moved(TouchArea::Head, {x + i, 40});
                rig.Ticks(1);
            }
        };
        stroke(39, 0);
        QVERIFY(rig.said.isEmpty());
        rig.touch.Moved(TouchArea::Head, {38, 40}); // where it was: nothing
        QVERIFY(rig.said.isEmpty() && !rig.state.stroking);
        rig.touch.Moved(TouchArea::Head, {38, 41});
        QCOMPARE(rig.said.size(), 1);
        QCOMPARE(rig.play.Pending(), FinishAction::SelMsg);
        QCOMPARE(rig.engine.Talk().QuestionsPart().PendingTopic(), ChoiceTopic::Praise);
        QCOMPARE(rig.character.surfaces.last(), 2);
        rig.touch.Moved(TouchArea::Head, {38, 42});
        QCOMPARE(rig.said.size(), 1);
        stroke(30, 100);
        rig.touch.Moved(TouchArea::Body, {1, 1});
        QCOMPARE(rig.state.strokeTicks, 0);
        stroke(39, 200);
        QCOMPARE(rig.said.size(), 1);
    }

    void doubleClickOpensTheMenuOnBodyAndHeadOnly() {
        TouchRig rig;
        for (TouchArea area :
             {TouchArea::Eye, TouchArea::Mouth, TouchArea::Nose, TouchArea::Cheek}) {
            rig.touch.DoubleClicked(area);
            QVERIFY(!rig.mainBalloon.IsPanelVisible(BalloonPanel::Menu));
        }
        for (TouchArea area : {TouchArea::Body, TouchArea::Head}) {
            rig.player.PlayScript(u"\\hながいはなし"_s);
            rig.play.WaitThen(FinishAction::DelDustBox);
            rig.mainBalloon.SetMessage(u"なが"_s);
            rig.touch.DoubleClicked(area);
            QVERIFY(rig.mainBalloon.IsPanelVisible(BalloonPanel::Menu));
            QVERIFY(!rig.player.IsRunning() && rig.mainBalloon.Message().isEmpty());
            QCOMPARE(rig.play.Pending(), FinishAction::None);
            QCOMPARE(rig.mainBalloon.menuItems.size(), 7);
        }
    }
};

QTEST_GUILESS_MAIN(TestTouchReactions)
#include "test_touch_reactions.moc"
