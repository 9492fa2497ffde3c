#include "app/settings.h"
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
        f.Write(u"Scenario.dat"_s, u"/10,xyz\n"
                                   "\n"
                                   "10,おはよう\n"
                                   "3,a,b,c\n"
                                   "10,こんにちは\n"
                                   "0,zero\n"
                                   "-2,negative\n"
                                   "007,seven\n"_s);
        f.files.LoadScenario();
        QCOMPARE(f.files.LargestId(), 10);
        f.random.Push({0.49, 0.5});
        QCOMPARE(f.files.ScenarioLine(10), u"おはよう"_s);
        QCOMPARE(f.files.ScenarioLine(10), u"こんにちは"_s);
        QCOMPARE(f.files.ScenarioLine(3), u"a,b,c"_s);
        QCOMPARE(f.files.ScenarioLine(7), u"seven"_s);
        for (qint32 id : {0, -1, 1, 11, 2147483647})
            QCOMPARE(f.files.ScenarioLine(id), u"[Err:IDが無効]"_s);
        QVERIFY(f.log.Text().contains(u"ScenarioLoad... Complete"_s));
    }

    void badLinesAreSkippedAndLogged_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("why");
        QTest::newRow("no comma") << u"12 hello"_s << u"no comma"_s;
        QTest::newRow("word") << u"abc,hello"_s << u"not a number"_s;
        QTest::newRow("fraction") << u"1.5,hello"_s << u"not a number"_s;
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
        QCOMPARE(f.files.LargestId(), 2);
        QCOMPARE(f.files.ScenarioLine(2), u"after"_s);
        QVERIFY2(f.log.Text().contains(u"line 2 skipped"_s), qPrintable(f.log.Text()));
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

    void scenarioFileFromTheSettings() {
        Folder f;
        f.Write(u"Scenario.dat"_s, u"1,default\n"_s);
        f.Write(u"mine.dat"_s, u"1,mine\n"_s);
        f.settings.WriteSetting(u"Script"_s, u"Scenario"_s, u"mine.dat"_s);
        f.files.LoadScenario();
        QCOMPARE(f.files.ScenarioLine(1), u"mine"_s);
        f.settings.WriteSetting(u"Script"_s, u"Scenario"_s, u"missing.dat"_s);
        f.files.LoadScenario();
        QCOMPARE(f.files.ScenarioLine(1), u"default"_s);
        QFile::remove(f.settings.FilePath(u"Scenario.dat"_s));
        f.files.LoadScenario(); // nothing to read: an empty table, and a note in the log
        QCOMPARE(f.files.LargestId(), 0);
        QVERIFY(f.log.Text().contains(u"not found"_s));
    }

    void idRelation() {
        Folder f;
        f.Write(u"Scenario.dat"_s, u"10,おはよう\n10,こんにちは\n20,twenty\n"_s);
        f.Write(u"Str2ID.dat"_s, u"Greeting,10\n"
                                 "/x,5\n"
                                 "Twice, 20 apples\n"
                                 "Twice,10\n"
                                 "nocomma\n"
                                 "NoNumber,abc\n"
                                 "\n"_s);
        f.files.LoadScenario();
        f.files.LoadIdRelation();
        QCOMPARE(f.files.IdForName(u"Greeting"_s), 10);
        QCOMPARE(f.files.IdForName(u"greeting"_s), -1);
        QCOMPARE(f.files.IdForName(u"/x"_s), 5);
        QCOMPARE(f.files.IdForName(u"Twice"_s), 20);
        QCOMPARE(f.files.IdForName(u"NoNumber"_s), 0);
        QCOMPARE(f.files.IdForName(u"nocomma"_s), -1);
        QCOMPARE(f.files.IdForName(QString()), -1);

        f.random.Push({0.1, 0.9, 0.1, 0.9});
        QCOMPARE(f.files.ScenarioText(u"10"_s), u"おはよう"_s);
        QCOMPARE(f.files.ScenarioText(u" 10 "_s), u"こんにちは"_s);
        QCOMPARE(f.files.ScenarioText(u"Greeting"_s), u"おはよう"_s);
        QCOMPARE(f.files.ScenarioText(u"Greeting"_s), u"こんにちは"_s);
        QCOMPARE(f.files.ScenarioText(u"Twice"_s), u"twenty"_s);
        QCOMPARE(f.files.ScenarioText(u"&H14"_s), u"twenty"_s);
        QCOMPARE(f.files.ScenarioText(u"Nobody"_s), u"[Err:IDが無効]"_s);
        QCOMPARE(f.files.ScenarioText(u"/x"_s), u"[Err:IDが無効]"_s); // 5 has no lines
    }

    void numericKeys_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("numeric");
        for (const auto& k :
             {u"10"_s, u" 10 "_s, u"-3"_s, u"+4"_s, u"1.5"_s, u".5"_s, u"1e3"_s, u"&HFF"_s})
            QTest::newRow(qPrintable(k)) << k << true;
        for (const auto& k :
             {u""_s, u" "_s, u"1a"_s, u"a1"_s, u"1 2"_s, u"Greeting"_s, u"&H"_s, u"e3"_s})
            QTest::newRow(qPrintable(u"not "_s + k)) << k << false;
    }
    void numericKeys() {
        QFETCH(QString, key);
        QFETCH(bool, numeric);
        QCOMPARE(IsNumericKey(key), numeric);
    }

    void externalScripts() {
        Folder f;
        f.Write(u"skin\\talk.txt"_s, u"/ comment\n\\hone\n\n\\htwo\n"_s);
        f.files.LoadExternalScripts(u"skin\\"_s, u"talk.txt"_s);
        QCOMPARE(f.files.ExternalScripts(), (QStringList{u"\\hone"_s, u"\\htwo"_s}));
        f.random.Push({0.0, 0.99});
        QCOMPARE(f.files.PickExternalScript(), u"\\hone"_s);
        QCOMPARE(f.files.PickExternalScript(), u"\\htwo"_s);
        QVERIFY(f.log.Text().contains(u"ExtSriptLoad... Complete"_s));

        f.Write(u"skin\\comments.txt"_s, u"/a\n/b\n"_s);
        f.files.LoadExternalScripts(u"skin\\"_s, u"comments.txt"_s);
        QVERIFY(f.files.ExternalScripts().isEmpty());
        QCOMPARE(f.files.PickExternalScript(), QString());
        f.files.LoadExternalScripts(u"skin\\"_s, u"talk.txt"_s);
        f.files.LoadExternalScripts(u"skin\\"_s, QString()); // no key: no scripts
        QVERIFY(f.files.ExternalScripts().isEmpty());
        f.files.LoadExternalScripts(u"skin\\"_s, u"gone.txt"_s);
        QVERIFY(f.files.ExternalScripts().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestScenarioFiles)
#include "test_scenario_files.moc"
