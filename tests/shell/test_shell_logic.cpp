// The shell's logic without windows: the main loop on the virtual clock, the start-up talk,
// the instance lock, message boxes in log mode, and the desktop's trash and recently-used
// list.
#include "../script/script_rig.h"
#include "app/instance_lock.h"
#include "app/main_loop.h"
#include "app/message_boxes.h"
#include "app/shell_scripts.h"
#include "app/shell_talk.h"
#include "platform/linux/desktop_system_actions.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

using namespace orvanel;
using namespace Qt::StringLiterals;

namespace {

// The calendar as a fixed answer, so the start-up talk shows what it does with it.
class FixedCalendar final : public ShellTalk {
public:
    void RandomTalk() override {}
    QString GreetingScript() override { return u"\\hこんばんは"_s; }
    QString TodayDateText() override { return u"DATE"_s; }
    QString DayMessage(const QDate&, QString* kind) override {
        if (kind) *kind = u"１年ぶり"_s;
        return u"ANNIV"_s;
    }
    Flower FlowerOfDay() override { return {u"FLOWER"_s, u"MEANING"_s}; }
    void AnswerChosen(int) override {}
    void StartLearning(const QString&) override {}
    void LearnWord(const QString&) override {}
    void NagTalk() override {}
};

} // namespace

class TestShellLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A step every TimerInterval while a script plays; then the loop rests, and a script
    // that starts wakes it for a step at once.
    void mainLoopRestsUntilWoken() {
        fakes::ScriptRig rig;
        rig.ctx.flags.timerInterval = 50;
        bool playing = true;
        MainLoop loop(
            rig.ctx, [] {}, [&] { return playing; });
        loop.Start();
        rig.clock.Advance(1000);
        QCOMPARE(loop.Steps(), 20u);
        playing = false;
        rig.clock.Advance(50);
        QVERIFY(loop.Resting());
        rig.clock.Advance(60000);
        QCOMPARE(loop.Steps(), 21u);
        playing = true;
        loop.Wake();
        rig.clock.Advance(0);
        QCOMPARE(loop.Steps(), 22u);
        rig.clock.Advance(100);
        QCOMPARE(loop.Steps(), 24u);
        loop.Stop();
        rig.clock.Advance(1000);
        QCOMPARE(loop.Steps(), 24u);
        QVERIFY(rig.log.Text().contains(u"Main Timer Start"_s));
    }

    // What each start-up talk does with the calendar and the clock; the texts are the data's.
    void startupTalk_data() {
        QTest::addColumn<int>("k");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("3: at 23:05 the plan starts at 24")
            << 3 << QStringList{u"23時5分"_s, u"24時から"_s};
        QTest::newRow("5: the flower's meaning twice")
            << 5 << QStringList{u"「FLOWER」"_s, u"「MEANING」"_s, u"MEANING･･･"_s};
        QTest::newRow("6: anniversary and how often")
            << 6 << QStringList{u"2026年1月2日、金曜日"_s, u"「ANNIV」"_s, u"１年ぶり"_s};
        QTest::newRow("8: the greeting") << 8 << QStringList{u"\\hこんばんは"_s};
    }
    void startupTalk() {
        QFETCH(int, k);
        QFETCH(QStringList, parts);
        FixedCalendar calendar;
        fakes::FakeWords words;
        const QString script =
            StartupTalkScript(k, QDateTime(QDate(2026, 1, 2), QTime(23, 5)), calendar, words);
        QVERIFY(script.startsWith(u"\\h"_s));
        for (const QString& part : parts)
            QVERIFY2(script.contains(part), qPrintable(script));
    }

    void farewellTellsTheUptimeAndSaysTheWordTwice() {
        const QString script = FarewellScript(u"1時間2分3秒"_s, u"またね"_s);
        QVERIFY(script.contains(u"1時間2分3秒"_s));
        QCOMPARE(script.count(u"またね"_s), 2);
    }

    void instanceLock() {
        QTemporaryDir dir;
        InstanceLock first(dir.path());
        QVERIFY(first.TryLock());
        InstanceLock second(dir.path());
        QVERIFY(!second.TryLock());
        first.Unlock();
        QVERIFY(second.TryLock());
        second.Unlock();
        // The lock of a program that crashed is taken over: its process number names no
        // running program any more.
        QProcess gone;
        gone.start(u"true"_s);
        QVERIFY(gone.waitForFinished());
        const qint64 deadPid = gone.processId() ? gone.processId() : 999999;
        QFile stale(first.Path());
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write(QByteArray::number(deadPid) + "\norvanel\n" +
                    QSysInfo::machineHostName().toUtf8() + "\n");
        stale.close();
        InstanceLock next(dir.path());
        QVERIFY(next.TryLock());
    }

    void messageBoxesAreLoggedInTests() {
        QVERIFY(MessageBoxes::LoggedOnly()); // the test environment sets the log mode
        fakes::ScriptRig rig;
        MessageBoxes boxes(&rig.log);
        boxes.ShowMessage(u"9634番ポートは使用中です"_s);
        QVERIFY(boxes.Confirm(u"ごみ箱を空にしますか？"_s));
        QVERIFY(rig.log.Text().contains(u"MessageBox: 9634番ポートは使用中です"_s));
    }

    void emptyingATrashFolder() {
        QTemporaryDir home;
        QTemporaryDir outside;
        const QString trash = home.path() + u"/Trash"_s;
        QVERIFY(QDir().mkpath(trash + u"/files/folder/sub"_s));
        QVERIFY(QDir().mkpath(trash + u"/info"_s));
        for (const QString& path :
             {trash + u"/files/folder/sub/b.txt"_s, trash + u"/info/a.txt.trashinfo"_s,
              outside.path() + u"/keep.txt"_s}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QVERIFY(QFile::link(outside.path(), trash + u"/files/link"_s));

        QVERIFY(DesktopSystemActions::EmptyTrashFolder(trash));
        QVERIFY(QDir(trash + u"/files"_s)
                    .isEmpty(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot));
        QVERIFY(QDir(trash + u"/info"_s).isEmpty());
        // A link in the trash goes; what it pointed to stays.
        QVERIFY(QFile::exists(outside.path() + u"/keep.txt"_s));
    }

    void trashFoldersAndRecentList() {
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        const QString recent = home.path() + u"/recently-used.xbel"_s;
        QFile f(recent);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<xbel><bookmark href=\"file:///secret.txt\"/></xbel>");
        f.close();
        int asked = 0;
        DesktopSystemActions actions([&](const QString&) {
            ++asked;
            return false; // the user says no
        });
        QVERIFY(actions.ClearRecentDocuments());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray now = f.readAll();
        QVERIFY(!now.contains("secret") && now.contains("<xbel"));
        QVERIFY(!actions.EmptyTrash());
        QCOMPARE(asked, 1);
        qunsetenv("XDG_DATA_HOME");
    }
};

QTEST_MAIN(TestShellLogic)
#include "test_shell_logic.moc"
