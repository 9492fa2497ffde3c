#include "platform/autostart.h"
#include "platform/clock.h"
#include "platform/numbers.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace orvanel;
using namespace Qt::StringLiterals;

namespace {
const QStringList kDefaults{u"kanami.skn"_s, u"kanami/1.png"_s, u"TalkEngine/人物.ini"_s,
                            u"daymes.dat"_s};
} // namespace

class TestPlatformMisc : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lenientNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("hex");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << u"3000"_s << false << 3000;
        QTest::newRow("leading part") << u"300abc"_s << false << 300;
        QTest::newRow("blanks inside") << u" 1 2 "_s << false << 12;
        QTest::newRow("not a number") << u"abc"_s << false << 0;
        QTest::newRow("empty") << QString() << false << 0;
        QTest::newRow("negative") << u"-5"_s << false << -5;
        QTest::newRow("half to even down") << u"2.5"_s << false << 2;
        QTest::newRow("half to even up") << u"3.5"_s << false << 4;
        QTest::newRow("negative half") << u"-2.5"_s << false << -2;
        QTest::newRow("exponent") << u"1.5e2x"_s << false << 150;
        QTest::newRow("lone sign") << u"-"_s << false << 0;
        QTest::newRow("full-width digits are text") << u"１２"_s << false << 0;
        QTest::newRow("hex") << u"&HFF"_s << true << 255;
        QTest::newRow("hex 16-bit") << u"&HFFFF"_s << true << -1;
        QTest::newRow("hex 32-bit") << u"&H00FFFFFF"_s << true << 0xFFFFFF;
        QTest::newRow("hex with trailing &") << u"&H80FF&"_s << true << int(qint16(0x80FF));
        QTest::newRow("hex not allowed") << u"&HFF"_s << false << 0;
        QTest::newRow("huge saturates") << u"1e20"_s << false << 2147483647;
    }
    void lenientNumbers() {
        QFETCH(QString, text);
        QFETCH(bool, hex);
        QTEST(LenientInt(text, hex), "value");
    }

    void nativePathsResolveCaseInsensitively() {
        QTemporaryDir dir;
        QVERIFY(QDir().mkpath(dir.filePath(u"Skin/Kanami"_s)));
        QFile f(dir.filePath(u"Skin/Kanami/Image1.GIF"_s));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QCOMPARE(NativePath(dir.path() + u"\\skin\\kanami\\image1.gif"_s),
                 dir.filePath(u"Skin/Kanami/Image1.GIF"_s));
        // A missing tail is kept as written, below the part that resolves.
        QCOMPARE(NativePath(dir.path() + u"\\SKIN\\new\\a.rgn"_s),
                 dir.filePath(u"Skin/new/a.rgn"_s));
    }

    void programFolderChoice() {
        QTemporaryDir home;
        qputenv("ORVANEL_HOME", home.filePath(u"env"_s).toUtf8());
        QCOMPARE(ChooseProgramFolder(home.filePath(u"arg"_s)), home.filePath(u"arg/"_s));
        QCOMPARE(ChooseProgramFolder(QString()), home.filePath(u"env/"_s));
        qunsetenv("ORVANEL_HOME");
        qputenv("XDG_DATA_HOME", home.filePath(u"xdg"_s).toUtf8());
        QCOMPARE(ChooseProgramFolder(QString()), home.filePath(u"xdg/orvanel/"_s));
    }

    // Until it has a skin (copied last) a folder gets every default file it lacks; what it
    // holds, settings and learned words, is never overwritten.
    void seeding_data() {
        QTest::addColumn<QStringList>("present"); // the user's files before seeding
        QTest::addColumn<QStringList>("copied");
        QTest::newRow("fresh") << QStringList() << kDefaults;
        QTest::newRow("half-seeded")
            << QStringList{u"tomu.ini"_s, u"TalkEngine/人物.ini"_s}
            << QStringList{u"kanami.skn"_s, u"kanami/1.png"_s, u"daymes.dat"_s};
        QTest::newRow("complete") << QStringList{u"kanami.skn"_s} << QStringList();
    }
    void seeding() {
        QFETCH(QStringList, present);
        QFETCH(QStringList, copied);
        QTemporaryDir defaults, target;
        for (const QString& f : kDefaults)
            QVERIFY(WriteFileAtomic(defaults.filePath(f), "default"));
        for (const QString& f : present)
            QVERIFY(WriteFileAtomic(target.filePath(f), "mine"));
        QVERIFY(SeedProgramFolder(target.path(), defaults.path()));
        for (const QString& f : kDefaults + QStringList{u"tomu.ini"_s}) {
            const QString expected = present.contains(f)  ? u"mine"_s
                                     : copied.contains(f) ? u"default"_s
                                                          : QString();
            QCOMPARE(ReadCp932File(target.filePath(f)).value_or(QString()), expected);
        }
    }

    // The login start entry, under XDG_CONFIG_HOME: its Exec line quoted and escaped as desktop
    // entries want (checked by the real validator where it is installed); one the desktop
    // switched off reads as off.
    void startAtLogin_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("exec"); // empty: refused
        QTest::newRow("blank") << u"/home/u/my k/"_s
                               << u"Exec=/opt/o/orvanel --folder \"/home/u/my k/\""_s;
        QTest::newRow("reserved")
            << u"/k/a\"$b\\c`/"_s
            << u"Exec=/opt/o/orvanel --folder \"/k/a\\\\\"\\\\$b\\\\\\\\c\\\\`/\""_s;
        QTest::newRow("percent") << u"/k/100%/"_s << u"Exec=/opt/o/orvanel --folder /k/100%%/"_s;
        QTest::newRow("line break") << u"/k/a\nb/"_s << QString();
    }
    void startAtLogin() {
        QFETCH(QString, folder);
        QFETCH(QString, exec);
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        const QString path = config.filePath(u"autostart/org.orvanel.Orvanel.desktop"_s);
        QCOMPARE(AutostartEntryPath(), path);
        QCOMPARE(SetStartAtLogin(true, u"/opt/o/orvanel"_s, folder), !exec.isEmpty());
        QCOMPARE(StartsAtLogin(), !exec.isEmpty());
        if (exec.isEmpty()) return;
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString entry = QString::fromUtf8(file.readAll());
        QVERIFY2(entry.split(u'\n').contains(exec), qPrintable(entry));
        const QString validator = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
        if (!validator.isEmpty()) {
            QProcess p;
            p.start(validator, {path});
            QVERIFY(p.waitForFinished());
            QVERIFY2(p.exitCode() == 0, p.readAllStandardOutput().constData());
        }
        QVERIFY(WriteFileAtomic(path, entry.toUtf8() + "Hidden=true\n"));
        QVERIFY(!StartsAtLogin());
    }

    void virtualClockRunsScheduledEventsInsideWaits() {
        VirtualClock clock;
        bool cancel = false;
        QList<quint32> seen;
        clock.ScheduleIn(120, [&] { seen.append(clock.TickCount()); });
        clock.ScheduleIn(300, [&] { cancel = true; });
        const quint32 start = clock.TickCount();
        WaitFor(clock, 1000, &cancel);
        QCOMPARE(seen, QList<quint32>{120});
        QCOMPARE(clock.TickCount() - start, 300u); // cut short by the flag
        WaitFor(clock, 250, &cancel);              // the flag is cleared at the start
        QCOMPARE(clock.TickCount() - start, 550u);
        // Nested waits from a handler keep the order of time.
        clock.ScheduleIn(10, [&] {
            WaitFor(clock, 50, nullptr);
            seen.append(clock.TickCount() - start);
        });
        clock.ScheduleIn(30, [&] { seen.append(clock.TickCount() - start); });
        WaitFor(clock, 100, nullptr);
        QCOMPARE(seen, (QList<quint32>{120, 580, 610}));
    }

    void scriptedRandomGivesExactValuesThenFallsBack() {
        ScriptedRandom r({0.95, 0.1});
        QCOMPARE(r.Next(), 0.95);
        QCOMPARE(r.Pick(10), 2);
        for (int i = 0; i < 1000; ++i) {
            const double v = r.Next();
            QVERIFY(v >= 0.0 && v < 1.0);
        }
    }
};

QTEST_GUILESS_MAIN(TestPlatformMisc)
#include "test_platform_misc.moc"
