// The touch reactions on the virtual clock, with the real main timer letting them calm down.
#include "talk/talk_engine.h"
#include "timer_rig.h"

#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(orvanel::TouchArea)

namespace {

struct TouchRig : TimerRig {
    TouchRig() {
        touch.randomTalk = [this] { said.append(u"random"_s); };
        player.hooks.handed = [this](const QString& s, ScriptOrigin) { said.append(s); };
        ctx.profile.TOMULimitTime = ctx.profile.MsgDispLimit = 1000000;
    }
    // What a poke did ("say", "random", "threat": a word of 脅し, "-") and the face it left,
    // "!" when held: "say:5!".
    QString Poke(TouchArea area) {
        said.clear();
        journal.clear();
        touch.Pressed(area);
        QString what = said.isEmpty()                       ? u"-"_s
                       : said.last() == u"random"           ? u"random"_s
                       : said.last().startsWith(u"脅し#"_s) ? u"threat"_s
                                                            : u"say"_s;
        for (const QString& e : journal)
            if (e.startsWith(u"kanami.ShowSurface "_s))
                what = what.section(u':', 0, 0) + u':' + e.section(u' ', 1, 1) +
                       (e.endsWith(u"hold"_s) ? u"!"_s : u""_s);
        return what;
    }
    qint32& Count(TouchArea area) {
        return area == TouchArea::Eye     ? ctx.touch.eyeCount
               : area == TouchArea::Mouth ? ctx.touch.mouthCount
                                          : ctx.touch.bodyCount;
    }

    TouchReactions& touch = engine.Talk().Touch();
    QStringList said;
};

} // namespace

class TestTouchReactions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // One entry per poke ("3*say:2": three alike, "?": anything); the last poke draws r first.
    void pokesEscalate_data() {
        QTest::addColumn<TouchArea>("area");
        QTest::addColumn<bool>("quitting");
        QTest::addColumn<double>("r");
        QTest::addColumn<QString>("pokes");
        QTest::addColumn<int>("count"); // afterwards
        const TouchArea eye = TouchArea::Eye, mouth = TouchArea::Mouth, body = TouchArea::Body;
        QTest::newRow("eye threatens")
            << eye << false << 0.1001 << "9*say:2 2*say:4 3*say:5! say:5! threat:6!" << 16;
        QTest::newRow("eye gives up at 0.1") << eye << false << 0.1 << "15*? random:1" << 0;
        QTest::newRow("mouth talks at 0.7")
            << mouth << false << 0.7 << "3*say - say:4! 4*- say 5*- random:5!" << 0;
        QTest::newRow("mouth threatens above")
            << mouth << false << 0.7001 << "15*? threat:5!" << 16;
        QTest::newRow("body threatens above 0.7")
            << body << false << 0.7001 << "14*random:1 say:4! say:1 threat:5!" << 17;
        QTest::newRow("head falls silent") << TouchArea::Head << false << 0.7 << "16*? -:5!" << 0;
        QTest::newRow("eye while quitting") << eye << true << 0.5 << "-" << 0;
        QTest::newRow("body while quitting") << body << true << 0.5 << "random:1" << 1;
    }
    void pokesEscalate() {
        QFETCH(TouchArea, area);
        QFETCH(double, r);
        QFETCH(QString, pokes);
        TouchRig rig;
        QFETCH(bool, quitting);
        rig.ctx.flags.exitRequest = quitting;
        QStringList expected;
        for (const QString& part : pokes.split(u' '))
            for (int i = part.contains(u'*') ? part.section(u'*', 0, 0).toInt() : 1; i > 0; --i)
                expected.append(part.section(u'*', -1));
        for (int i = 0; i < expected.size(); ++i) {
            if (i + 1 == expected.size() && !quitting) rig.random.Push(r);
            const QString got = rig.Poke(area) + u" #"_s + QString::number(i + 1);
            if (expected[i] != u"?") QCOMPARE(got, expected[i] + u" #"_s + QString::number(i + 1));
        }
        QCOMPARE(rig.random.Remaining(), 0);
        QTEST(rig.Count(area), "count");
    }

    // An area forgets its pokes after 50 quiet ticks, 100 and 150 after the angry ones; an
    // angry face stays 3 (eye) or 10 (mouth) ticks beyond that head start.
    void areasCalmDown_data() {
        QTest::addColumn<TouchArea>("area");
        QTest::addColumn<int>("pokes");
        QTest::addColumn<int>("calmAt");
        QTest::addColumn<QList<int>>("faceAt"); // ticks of surface 1
        QTest::newRow("eye") << TouchArea::Eye << 1 << 50 << QList<int>{3};
        QTest::newRow("eye angry") << TouchArea::Eye << 12 << 100 << QList<int>{53};
        QTest::newRow("eye furious") << TouchArea::Eye << 15 << 150 << QList<int>{103};
        QTest::newRow("mouth angry") << TouchArea::Mouth << 5 << 100 << QList<int>{60};
        QTest::newRow("body annoyed") << TouchArea::Body << 15 << 100 << QList<int>{};
    }
    void areasCalmDown() {
        QFETCH(TouchArea, area);
        QFETCH(int, pokes);
        QFETCH(int, calmAt);
        TouchRig rig;
        for (int i = 0; i < pokes; ++i)
            rig.Poke(area);
        rig.journal.clear();
        rig.Ticks(calmAt - 1);
        QCOMPARE(rig.Count(area), pokes);
        rig.Ticks(1);
        QCOMPARE(rig.Count(area), 0);
        QTEST(rig.TicksOf(u"kanami.ShowSurface 1 free"_s), "faceAt");
    }

    void tickles_data() {
        QTest::addColumn<TouchArea>("area");
        QTest::addColumn<int>("event"); // 0 a move, 1 a click, 2 a click with Ctrl
        QTest::addColumn<double>("r");
        QTest::addColumn<bool>("says");
        QTest::newRow("nose click below 0.5") << TouchArea::Nose << 1 << 0.4999 << true;
        QTest::newRow("nose click at 0.5") << TouchArea::Nose << 1 << 0.5 << false;
        QTest::newRow("Ctrl on the nose: no poke") << TouchArea::Nose << 2 << 0.9 << true;
        QTest::newRow("nose move below 0.005") << TouchArea::Nose << 0 << 0.0049 << true;
        QTest::newRow("nose move at 0.005") << TouchArea::Nose << 0 << 0.005 << false;
        QTest::newRow("cheek move below 0.02") << TouchArea::Cheek << 0 << 0.0199 << true;
        QTest::newRow("cheek move at 0.02") << TouchArea::Cheek << 0 << 0.02 << false;
        QTest::newRow("eye click") << TouchArea::Eye << 1 << 0.0 << false;
    }
    void tickles() {
        QFETCH(TouchArea, area);
        QFETCH(int, event);
        QFETCH(double, r);
        QFETCH(bool, says);
        TouchRig rig;
        rig.random.Push({r, 0.0, 0.0});
        if (event == 0)
            rig.touch.Moved(area, {7, 9});
        else
            rig.touch.Clicked(area, event == 2);
        // A cheek that keeps still draws nothing (0.0 would have said it).
        if (area == TouchArea::Cheek) rig.touch.Moved(area, {7, 9});
        QCOMPARE(rig.said.size(), says ? 1 : 0);
        if (event == 2) QCOMPARE(rig.random.Remaining(), 3);
    }

    // She asks once the mouse has moved over the head in 39 ticks without a blink; keeping it
    // still is no stroke, and moving over the body starts the count again.
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
        rig.touch.Moved(TouchArea::Head, {38, 40});
        QVERIFY(rig.said.isEmpty() && !rig.ctx.touch.stroking);
        rig.touch.Moved(TouchArea::Head, {38, 41});
        rig.touch.Moved(TouchArea::Head, {38, 42});
        QCOMPARE(rig.said.size(), 1);
        QCOMPARE(rig.play.Pending(), FinishAction::SelMsg);
        QCOMPARE(rig.engine.Talk().QuestionsPart().PendingTopic(), ChoiceTopic::Praise);
        stroke(30, 100);
        rig.touch.Moved(TouchArea::Body, {1, 1});
        stroke(39, 200);
        QCOMPARE(rig.said.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestTouchReactions)
#include "test_touch_reactions.moc"
