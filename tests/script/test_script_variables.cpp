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
                              << u"2026/3/4 5:6:7"_s;
        QTest::newRow("names") << u"%username|%selfname|%keroname|%selfcall"_s
                               << u"はな|かなみ|けろ|わたし"_s;
        QTest::newRow("longest name") << u"%selfname2"_s << u"R:キャラ#1"_s;
        QTest::newRow("screen") << u"%screenwidth x %screenheight"_s << u"15360 x 11520"_s;
        QTest::newRow("free memory") << u"%m_avail"_s << u"1,048,576KB"_s;
        QTest::newRow("hours past 32,767 s") << u"%exh"_s << u"11"_s;
        QTest::newRow("last word") << u"%msと%ms1"_s << u"人物#1と人物#1"_s;
        QTest::newRow("previous word") << u"%ms%ms.%ms2"_s << u"人物#1人物#2.人物#1"_s;
        QTest::newRow("digit stays") << u"%ms3"_s << u"人物#13"_s;
        QTest::newRow("decorated person") << u"%dms/%dms1"_s << u"D:人物#1/D:人物#1"_s;
        QTest::newRow("shared category, own memory")
            << u"%mc%mh%mc1%mh1"_s << u"会社#1会社#2会社#1会社#2"_s;
        QTest::newRow("case matters") << u"%MS%Year"_s << u"%MS%Year"_s;
    }
    void values() {
        QFETCH(QString, script);
        QFETCH(QString, shown);
        ScriptRig rig;
        rig.clock.SetNow(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
        rig.ctx.profile.callName = u"はな"_s;
        rig.probes.uptimeMs = 40000ull * 1000;
        // An "x" stands first so that every variable is reached by the play position.
        rig.Play(u"\\hx"_s + script);
        QCOMPARE(rig.mainBalloon.message, u"x"_s + shown);
    }

    void memoriesLastAcrossScripts() {
        ScriptRig rig;
        rig.Play(u"\\h%ms、%ms"_s);
        rig.Play(u"\\h%ms1/%ms2"_s);
        QCOMPARE(rig.mainBalloon.message, u"人物#2/人物#1"_s);
    }

    void insertedValuesAreInterpretedAfterTheirFirstCharacter() {
        ScriptRig rig;
        rig.words.Queue(u"人物"_s, {u"%ms"_s, u"A%vsB"_s, u"\\w8C"_s, u"D\\w8E"_s});
        const QStringList shown{u"[%ms]"_s, u"[A動詞(単純)#1B]"_s, u"[\\w8C]"_s, u"[DE]"_s};
        for (const QString& expected : shown) {
            rig.Play(u"\\h[%ms]"_s);
            QCOMPARE(rig.mainBalloon.message, expected);
        }
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
};

QTEST_GUILESS_MAIN(TestScriptVariables)
#include "test_script_variables.moc"
