// The shell's logic without windows: how long the main timer may sleep, the start-up talk,
// the instance lock, message boxes in log mode, and the desktop's trash and recently-used
// list.
#include "../script/script_rig.h"
#include "app/instance_lock.h"
#include "app/message_boxes.h"
#include "app/shell_scripts.h"
#include "app/shell_talk.h"
#include "app/tick_driver.h"
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

Q_DECLARE_METATYPE(orvanel::QuietFacts)

class TestShellLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void quietTicks_data() {
        QTest::addColumn<QuietFacts>("facts");
        QTest::addColumn<int>("quiet");
        QuietFacts calm;
        calm.blinkCount = 10;
        calm.blinkInterval = 150;
        calm.murmur = 100;
        calm.now = QTime(12, 30, 0);
        QTest::newRow("nothing due soon: the longest sleep") << calm << 16;
        QuietFacts f = calm;
        f.busy = true;
        QTest::newRow("busy: every tick") << f << 0;
        f = calm;
        f.blinkCount = 145;
        QTest::newRow("eyes close on the 5th tick") << f << 4;
        f.blinking = false;
        QTest::newRow("blink held") << f << 16;
        f = calm;
        f.mainBalloonCounting = true;
        f.mainBalloonCounter = 290;
        QTest::newRow("main balloon closes on the 10th") << f << 9;
        f = calm;
        f.fellowBalloonCounting = true;
        f.fellowBalloonCounter = 299;
        QTest::newRow("fellow balloon closes next tick") << f << 0;
        f.msgDispLimit = -1;
        QTest::newRow("negative display time never closes") << f << 16;
        f = calm;
        f.now = QTime(12, 59, 59, 900);
        QTest::newRow("a tenth of a second before the hour") << f << 5;
        f.now = QTime(13, 0, 0, 10);
        f.timeSignalDone = true;
        QTest::newRow("on the hour, signal given") << f << 16;
    }
    void quietTicks() {
        QFETCH(QuietFacts, facts);
        QTEST(QuietTicks(facts), "quiet");
    }

    void tickArithmetic() {
        // 64 a second: 15, 16, 15, 16 ... ms apart.
        QCOMPARE(TickDriver::DueAt(1), 15);
        QCOMPARE(TickDriver::DueAt(64), 1000);
        QCOMPARE(TickDriver::LatestDue(14), 0);
        QCOMPARE(TickDriver::LatestDue(999), 63);
        QCOMPARE(TickDriver::LatestDue(1000), 64);
    }

    void startupTalk_data() {
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("script");
        QTest::newRow("3 at 23:05 the plan starts at 24")
            << 3
            << u"\\h1月2日 "
               "23時5分です。\\w8\\n%usernameのこれからの予定は・・・\\w8\r\n\r\n24時から%msと%"
               "vsすることになってます。\\w8\\w8\\u･･･%"
               "vs1？\\w8\\w8\\w8\\h\\c･･･何？\\w8何か変なこと言った？"_s;
        QTest::newRow("5 flower language twice")
            << 5
            << u"\\hDATEです。\\w5\\n\\n今日の誕生花は「FLOWER」で、\\w5\\n花言葉は「MEANING」で"
               "す。\\w8\\w8\\uMEANING･･･\\w8\\w8\\n\\c･･･おもしろ言葉やね。"_s;
        QTest::newRow("6 anniversary and how often")
            << 6
            << u"\\h今日は2026年1月2日、金曜日\\w5\\n\\n「ANNIV」\\w5です。\\w8\\w8\\"
               "w8\\uANNIVか･･･\\w8\\n\\n１年ぶりだな。\\w8\\w8\\w8\\h\\c･･･まぁ、\\"
               "w5そういうことになるね。"_s;
        QTest::newRow("8 greeting") << 8 << u"\\hこんばんは"_s;
    }
    void startupTalk() {
        QFETCH(int, k);
        FixedCalendar calendar;
        fakes::FakeWords words;
        QTEST(StartupTalkScript(k, QDateTime(QDate(2026, 1, 2), QTime(23, 5)), calendar, words),
              "script");
    }

    void farewellSaysTheSameWordTwice() {
        QCOMPARE(FarewellScript(u"1時間2分3秒"_s, u"またね"_s),
                 u"\\h今回の起動時間は、1時間2分3秒でした。\\w5\\n\\nまたね\\w8\\w8\\uまたね"_s);
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
