#include "core/headlines.h"
#include "core/version_info.h"
#include "platform/clock.h"
#include "platform/text_file.h"
#include "tools/trace_log.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace orvanel;
using namespace Qt::StringLiterals;

class TestVersionLog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void versionFunctionsReadTheReadme() {
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        VersionInfo v(folder);
        QCOMPARE(v.ReadmeHead(), QString());
        QCOMPARE(v.PhaseText(), u" UNKNOWN"_s);
        QCOMPARE(v.ReleaseDate(), u"UNKNOWN"_s);
        QCOMPARE(v.UpdateNotes(), QString());
        QCOMPARE(VersionInfo::AppVersion(), u"0.0.4"_s);

        QVERIFY(WriteCp932File(folder + u"readme.txt"_s,
                               u"Orvanel Version 0.0.4 Phase"
                               "\nβ2 released 2002/09/15 and 2003/01/01\n"
                               "\n"
                               "02/09/15 0.0.4 Phaseβ1 old notes\n"
                               "02/09/15 0.0.4 Phaseβ2 \\h新しいこと%en\n"
                               "02/09/15 0.0.4 Phaseβ2 second match is ignored\n"_s));
        QCOMPARE(v.ReadmeHead(),
                 u"Orvanel Version 0.0.4 Phaseβ2 released 2002/09/15 and 2003/01/01"_s);
        QCOMPARE(v.PhaseText(), u"β2"_s); // the phase may continue on the second line
        QCOMPARE(v.ReleaseDate(), u"2002/09/15"_s);
        QCOMPARE(v.UpdateNotes(), u"\\h新しいこと%en"_s);

        // Any year gives its date; the file is read afresh on every call.
        QVERIFY(WriteCp932File(folder + u"readme.txt"_s,
                               u"Orvanel PhaseRC 2026/12/06\n\n26/12/06 0.0.4 PhaseRC\tnotes\n"_s));
        QCOMPARE(v.ReleaseDate(), u"2026/12/06"_s);
        QCOMPARE(v.UpdateNotes(), u"notes"_s);
    }

    void uptimeRoundsToWholeSeconds() {
        QCOMPARE(UptimeText(0, 3723499), u"1時間2分3秒"_s);
        QCOMPARE(UptimeText(0, 3723500), u"1時間2分4秒"_s);
        QCOMPARE(UptimeText(0, 90000000), u"25時間0分0秒"_s);
        QCOMPARE(UptimeText(0xFFFFFF00u, 0x100u), u"0時間0分1秒"_s); // across the wrap
    }

    void headlinesParseQuotedFieldsAndFlags() {
        QTemporaryDir dir;
        const QString p = dir.filePath(u"HeadLine.dat"_s);
        QCOMPARE(LoadHeadlines(p).size(), 1);
        QVERIFY(WriteCp932File(p, u"ニュースA,https://a.example/,\"<h1 class=\"\",\"</h1>\",True\n"
                                  "\"B, with comma\",https://b.example/,<b>,</b>,0\n"
                                  "C,https://c.example/,,</b>,False\n"
                                  "\n"
                                  "D,https://d.example/,<i>,</i>,2\n"_s));
        const auto list = LoadHeadlines(p);
        QCOMPARE(list.size(), 4);
        QVERIFY(list[0].name.isEmpty());
        QCOMPARE(list[1].name, u"ニュースA"_s);
        QCOMPARE(list[1].startMarker, u"<h1 class="_s);
        QVERIFY(list[1].convert);
        QCOMPARE(list[2].name, u"B, with comma"_s);
        QVERIFY(!list[2].convert);
        QCOMPARE(list[3].name, u"D"_s); // C dropped: empty start marker
        QVERIFY(list[3].convert);
    }

    void traceLogLineFormats() {
        VirtualClock clock(QDateTime(QDate(2026, 12, 6), QTime(9, 5, 7)), 5000);
        TraceLog log(clock);
        QTemporaryDir dir;
        log.LogEnd(u"Done"_s); // no LogBegin yet: the raw tick count
        QVERIFY(log.MirrorTo(dir.filePath(u"trace.txt"_s)));
        log.LogLine(u"Boot"_s);
        log.LogBegin(u"UserInfoLoad... "_s);
        clock.Advance(42);
        log.LogEnd(u"Done"_s);
        log.LogBegin(u"A"_s);
        clock.Advance(5);
        log.LogBegin(u"B"_s);
        clock.Advance(3);
        log.LogEnd(u" Complete"_s);
        const QString expected = u"Done [ 5000ms ]\r\n"
                                 "Boot [ 9:05:07 ]\r\n"
                                 "  UserInfoLoad... Done [ 42ms ]\r\n"
                                 "  A  B Complete [ 3ms ]\r\n"_s;
        QCOMPARE(log.Text(), expected);
        QFile f(dir.filePath(u"trace.txt"_s));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()), expected);
    }

    // A long run keeps the newest whole lines in memory; the mirror file is rotated with one
    // older file kept, the two ending with the newest lines.
    void traceLogIsBounded() {
        VirtualClock clock;
        TraceLog log(clock);
        log.SetLimits(1000, 4000);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"trace.txt"_s);
        QVERIFY(log.MirrorTo(path));
        for (int i = 0; i < 1000; ++i)
            log.LogLine(u"line %1"_s.arg(i));
        QVERIFY(log.Text().size() <= 1000 && log.Text().startsWith(u"line "_s));
        QVERIFY(log.Text().endsWith(u"line 999 [ 12:00:00 ]\r\n"_s));
        const QString older = *ReadCp932File(path + u".1"_s), newest = *ReadCp932File(path);
        QVERIFY(newest.size() <= 4000 && older.size() > 3000 && older.size() <= 4000);
        QVERIFY((older + newest).endsWith(log.Text()) && !QFile::exists(path + u".2"_s));
    }
};

QTEST_GUILESS_MAIN(TestVersionLog)
#include "test_version_log.moc"
