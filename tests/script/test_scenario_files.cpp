#include "core/settings.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/random.h"
#include "platform/text_file.h"
#include "script/scenario_files.h"
#include "tools/trace_log.h"

#include <QTemporaryDir>
#include <QTest>

using namespace orvanel;
using namespace Qt::StringLiterals;

namespace {

struct Folder {
    QTemporaryDir dir;
    VirtualClock clock;
    IniStore ini;
    Settings settings{ini, dir.path()};
    TraceLog log{clock};
    ScriptedRandom random{{}, 3};
    ScenarioFiles files{settings, log, random};

    void Write(const QString& name, const QString& text) {
        QVERIFY(WriteCp932File(settings.FilePath(name), text));
    }
};

} // namespace

class TestScenarioFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void groupsAndTheirLines() {
        Folder f;
        f.Write(u"Scenario.dat"_s, u"/10,xyz\n\n10,おはよう\n3,a,b,c\n10,こんにちは\n0,zero\n"
                                   "007,seven\n"_s);
        f.files.LoadScenario();
        QCOMPARE(f.files.LargestId(), 10);
        f.random.Push({0.49, 0.5});
        QCOMPARE(f.files.ScenarioLine(10), u"おはよう"_s);
        QCOMPARE(f.files.ScenarioLine(10), u"こんにちは"_s);
        QCOMPARE(f.files.ScenarioLine(3), u"a,b,c"_s);
        QCOMPARE(f.files.ScenarioLine(7), u"seven"_s);
        for (qint32 id : {0, -1, 11})
            QCOMPARE(f.files.ScenarioLine(id), u"[Err:IDが無効]"_s);
    }

    void badLinesAreSkippedAndLogged_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("why");
        QTest::newRow("no comma") << u"12 hello"_s << u"no comma"_s;
        QTest::newRow("word") << u"abc,hello"_s << u"not a number"_s;
        QTest::newRow("empty id") << u",hello"_s << u"not a number"_s;
        QTest::newRow("too large") << u"10001,hello"_s << u"above 10000"_s;
        QTest::newRow("far too large") << u"99999999999999,hello"_s << u"above 10000"_s;
    }
    void badLinesAreSkippedAndLogged() {
        QFETCH(QString, line);
        QFETCH(QString, why);
        Folder f;
        f.Write(u"Scenario.dat"_s, u"1,before\n"_s + line + u"\n2,after\n"_s);
        f.files.LoadScenario();
        QCOMPARE(f.files.ScenarioLine(2), u"after"_s);
        QVERIFY(f.log.Text().contains(u"line 2 skipped"_s));
        QVERIFY(f.log.Text().contains(why));
    }

    void hundredLinesPerIdentifier() {
        Folder f;
        QString text;
        for (int i = 1; i <= 101; ++i)
            text += u"5,line%1\n"_s.arg(i);
        f.Write(u"Scenario.dat"_s, text);
        f.files.LoadScenario();
        f.random.Push(0.999);
        QCOMPARE(f.files.ScenarioLine(5), u"line100"_s);
        QVERIFY(f.log.Text().contains(u"line 101 skipped"_s));
    }

    void idRelation() {
        Folder f;
        f.Write(u"Scenario.dat"_s, u"10,おはよう\n20,twenty\n"_s);
        f.Write(u"Str2ID.dat"_s, u"Greeting,10\n/x,5\nTwice, 20 apples\nTwice,10\nnocomma\n"
                                 "NoNumber,abc\n"_s);
        f.files.LoadScenario();
        f.files.LoadIdRelation();
        QCOMPARE(f.files.IdForName(u"greeting"_s), -1);
        QCOMPARE(f.files.IdForName(u"/x"_s), 5);
        QCOMPARE(f.files.IdForName(u"NoNumber"_s), 0);
        QCOMPARE(f.files.IdForName(u"nocomma"_s), -1);
        QCOMPARE(f.files.ScenarioText(u" 10 "_s), u"おはよう"_s);
        QCOMPARE(f.files.ScenarioText(u"Greeting"_s), u"おはよう"_s);
        QCOMPARE(f.files.ScenarioText(u"Twice"_s), u"twenty"_s); // the first line wins
        QCOMPARE(f.files.ScenarioText(u"&H14"_s), u"twenty"_s);
        QCOMPARE(f.files.ScenarioText(u"Nobody"_s), u"[Err:IDが無効]"_s);
    }

    void externalScripts() {
        Folder f;
        f.Write(u"skin\\talk.txt"_s, u"/ comment\n\\hone\n\n\\htwo\n"_s);
        f.files.LoadExternalScripts(u"skin\\"_s, u"talk.txt"_s);
        QCOMPARE(f.files.ExternalScripts(), (QStringList{u"\\hone"_s, u"\\htwo"_s}));
        f.random.Push(0.99);
        QCOMPARE(f.files.PickExternalScript(), u"\\htwo"_s);
        f.files.LoadExternalScripts(u"skin\\"_s, u"gone.txt"_s);
        QCOMPARE(f.files.PickExternalScript(), QString());
    }
};

QTEST_GUILESS_MAIN(TestScenarioFiles)
#include "test_scenario_files.moc"
