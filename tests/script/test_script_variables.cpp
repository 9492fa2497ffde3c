#include "script_rig.h"

#include "platform/text_file.h"

#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

class TestScriptVariables : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void values_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("shown");
        QTest::newRow("date") << u"%year/%month/%day %hour:%minute:%second"_s
                              << u"2026/3/4 5:06:07"_s.replace(u":06:07"_s, u":6:7"_s);
        QTest::newRow("names") << u"%username|%selfname|%keroname|%selfcall"_s
                               << u"はな|かなみ|けろ|わたし"_s;
        QTest::newRow("longest name") << u"%selfname2"_s << u"R:キャラ#1"_s;
        QTest::newRow("screen") << u"%screenwidth x %screenheight"_s << u"15360 x 11520"_s;
        QTest::newRow("free memory") << u"%m_avail"_s << u"1,048,576KB"_s;
        QTest::newRow("hours up") << u"%exh"_s << u"11"_s;
        QTest::newRow("uptime") << u"%et"_s << u"0時間0分0秒"_s;
        QTest::newRow("word") << u"%msと%ms"_s << u"人物#1と人物#2"_s;
        QTest::newRow("last word") << u"%msと%ms1"_s << u"人物#1と人物#1"_s;
        QTest::newRow("previous word") << u"%ms%ms.%ms2"_s << u"人物#1人物#2.人物#1"_s;
        QTest::newRow("digit stays") << u"%ms3"_s << u"人物#13"_s;
        QTest::newRow("before any draw") << u"[%gd1][%gd2]"_s << u"[][]"_s;
        QTest::newRow("literal product") << u"%mz%mz1"_s << u"商品商品"_s;
        QTest::newRow("decorated person") << u"%dms/%dms1"_s << u"D:人物#1/D:人物#1"_s;
        QTest::newRow("shared category, own memory")
            << u"%mc%mh%mc1%mh1"_s << u"会社#1会社#2会社#1会社#2"_s;
        QTest::newRow("full-width question mark") << u"%m？"_s << u"食べ物#1"_s;
        QTest::newRow("case matters") << u"%MS%Year"_s << u"%MS%Year"_s;
    }
    void values() {
        QFETCH(QString, script);
        QFETCH(QString, shown);
        ScriptRig rig;
        rig.clock.SetNow(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
        rig.ctx.profile.callName = u"はな"_s;
        rig.probes.uptimeMs = 40000ull * 1000; // past what a 16-bit count of seconds can hold
        rig.ctx.flags.startTick = rig.clock.TickCount() + 50; // the first step's tick
        rig.random.Push(0.1); // "%m？" takes the first of its three categories
        // An "x" stands first so that every variable is reached by the play position.
        rig.Play(u"\\hx"_s + script);
        QCOMPARE(rig.mainBalloon.message, u"x"_s + shown);
    }

    void memoriesLastAcrossScripts() {
        ScriptRig rig;
        rig.Play(u"\\h%ms、%ms"_s);
        rig.Play(u"\\h%ms1/%ms2"_s);
        QCOMPARE(rig.mainBalloon.message, u"人物#2/人物#1"_s);
        QCOMPARE(rig.player.Variables().LastWord(u"ms"_s), u"人物#2"_s);
        QCOMPARE(rig.player.Variables().PreviousWord(u"ms"_s), u"人物#1"_s);
    }

    void insertedValuesAreInterpretedAfterTheirFirstCharacter() {
        ScriptRig rig;
        rig.words.Queue(u"人物"_s, {u"%ms"_s, u"A%vsB"_s, u"\\w8C"_s, u"D\\w8E"_s});
        rig.Play(u"\\h[%ms]"_s);
        QCOMPARE(rig.mainBalloon.message, u"[%ms]"_s); // the "%" came first: shown as it is
        rig.Play(u"\\h[%ms]"_s);
        QCOMPARE(rig.mainBalloon.message, u"[A動詞(単純)#1B]"_s);
        rig.Play(u"\\h[%ms]"_s);
        QCOMPARE(rig.mainBalloon.message, u"[\\w8C]"_s);
        QCOMPARE(rig.Play(u"\\h[%ms]"_s), 50 * 5 + 400); // the wait inside the value ran
        QCOMPARE(rig.mainBalloon.message, u"[DE]"_s);
    }

    void choosesAmongThreeCategories() {
        ScriptRig rig;
        rig.random.Push({0.0, 0.5, 0.99, 0.0, 0.5, 0.99});
        rig.Play(u"\\hx%me%me%me%m？%m？%m？"_s);
        QCOMPARE(rig.words.calls, (QStringList{u"G:食べ物"_s, u"G:飲み物"_s, u"G:食材"_s,
                                               u"G:食べ物"_s, u"G:人物"_s, u"G:商品"_s}));
    }

    void kilobyteText_data() {
        QTest::addColumn<quint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << quint64(0) << u"0KB"_s;
        QTest::newRow("under 1 KB") << quint64(1023) << u"0KB"_s;
        QTest::newRow("999 KB") << quint64(999 * 1024) << u"999KB"_s;
        QTest::newRow("1000 KB") << quint64(1000 * 1024) << u"1,000KB"_s;
        QTest::newRow("16 GB") << quint64(16) * 1024 * 1024 * 1024 << u"16,777,216KB"_s;
    }
    void kilobyteText() {
        QFETCH(quint64, bytes);
        QFETCH(QString, text);
        QCOMPARE(KilobyteText(bytes), text);
    }

    void scenarioReloadAtTheCommand() {
        ScriptRig rig;
        const QString file = rig.dir.filePath(u"Scenario.dat"_s);
        QVERIFY(WriteCp932File(file, u"1,old\n"_s));
        rig.scenario.LoadScenario();
        rig.player.PlayScript(u"\\h%rs[1]/$RSC %rs[1]$RSC%rs[1]"_s);
        rig.Tick();
        QVERIFY(WriteCp932File(file, u"1,new\n"_s));
        rig.RunToEnd();
        // The character after "$RSC" is passed over, so the last one is not expanded.
        QCOMPARE(rig.mainBalloon.message, u"old/ new%rs[1]"_s);
    }

    void procFigures() {
        QCOMPARE(ParseMemAvailable("MemTotal:  100 kB\nMemFree:  5 kB\nMemAvailable:   2048 kB\n"),
                 quint64(2048 * 1024));
        QCOMPARE(ParseMemAvailable("MemTotal: 1 kB\n"), quint64(0));
        QCOMPARE(ParseUptimeMs("12345.67 54321.00\n"), quint64(12345670));
        QCOMPARE(ParseUptimeMs("garbage"), quint64(0));
        SystemScriptProbes probes;
        QVERIFY(probes.SystemUptimeMs() > 0);
        QVERIFY(probes.FreeMemoryBytes() > 0);
    }
};

QTEST_GUILESS_MAIN(TestScriptVariables)
#include "test_script_variables.moc"
