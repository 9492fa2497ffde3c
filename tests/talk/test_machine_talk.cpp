#include "talk_rig.h"

#include <QRegularExpression>
#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

class TestMachineTalk : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sizeText_data() {
        QTest::addColumn<quint64>("bytes");
        QTest::addColumn<QString>("text");
        const quint64 k = 1024;
        QTest::newRow("1023") << quint64(1023) << u"1023バイト"_s;
        QTest::newRow("1024") << k << u"1KB"_s;
        QTest::newRow("1536") << quint64(1536) << u"1.5KB"_s;
        QTest::newRow("half to even, down") << quint64(1152) << u"1.12KB"_s; // 1.125
        QTest::newRow("5 GB") << 5 * k * k * k << u"5GB"_s;
        QTest::newRow("1024 TB") << k * k * k * k * k << QString();
    }
    void sizeText() {
        QFETCH(quint64, bytes);
        QTEST(SizeText(bytes), "text");
    }

    // One line per kind of drive in the order of the kinds, with its count; four CD drives
    // earn a remark.
    void driveTalk_data() {
        QTest::addColumn<QList<DriveInfo>>("drives");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("remark");
        const DriveInfo hdd{u"/"_s, DriveType::Fixed};
        const DriveInfo cd{u"/media/cdrom"_s, DriveType::CdRom};
        QTest::newRow("four CD drives")
            << QList<DriveInfo>{hdd, cd, cd, cd, cd}
            << QStringList{u"ハードディスクが1"_s, u"CD-ROMドライブが4"_s} << true;
        QTest::newRow("RAM disk and unknown drive on lines of their own")
            << QList<DriveInfo>{{u"/tmp"_s, DriveType::RamDisk}, {u"/x"_s, DriveType::Unknown},
                                {u"/y"_s, DriveType::Remote},    {u"/z"_s, DriveType::Removable},
                                {u"/w"_s, DriveType::NoRoot},    hdd}
            << QStringList{u"ハードディスクが1"_s,
                           u"不明なドライブが1"_s,
                           u"フロッピーディスクドライブが1"_s,
                           u"ネットワーク共有ドライブが1"_s,
                           u"不明なドライブが1"_s,
                           u"存在しないドライブが1"_s}
            << false;
    }
    void driveTalk() {
        QFETCH(QList<DriveInfo>, drives);
        TalkRig rig;
        rig.machine.drives = drives;
        const QString talk = rig.talk.Machine().DriveTalk();
        QStringList said;
        for (const auto& m : QRegularExpression(u"･([^･\\\\]+)台"_s).globalMatch(talk))
            said << m.captured(1);
        QTEST(said, "lines");
        QTEST(talk.contains(u"仮想CD"_s), "remark");
    }

    // Fixed drives only, each with its free space.
    void diskSpaceTalk() {
        TalkRig rig;
        rig.machine.drives = {{u"/"_s, DriveType::Fixed},
                              {u"/media/cdrom"_s, DriveType::CdRom},
                              {u"/home"_s, DriveType::Fixed}};
        rig.machine.free = {{u"/"_s, 1536}, {u"/media/cdrom"_s, 0}};
        const QString talk = rig.talk.Machine().DiskSpaceTalk();
        QVERIFY(talk.contains(
            u"\\n/ドライブの空き容量が1.5KB\\w8\r\n/homeドライブの空き容量が0バイト"_s));
        QVERIFY(!talk.contains(u"cdrom"_s));
    }

    void memoryRemark_data() {
        QTest::addColumn<int>("load");
        QTest::addColumn<QString>("begins");
        QTest::newRow("79") << 79 << u"まあ、"_s;
        QTest::newRow("80 joins the range above") << 80 << u"そろそろいっぱいいっぱい"_s;
        QTest::newRow("90 joins the range above") << 90 << u"このままではシステムが"_s;
        QTest::newRow("100") << 100 << u"やった！100%"_s;
    }
    void memoryRemark() {
        QFETCH(int, load);
        QFETCH(QString, begins);
        QVERIFY2(MemoryRemark(load).startsWith(begins), qPrintable(MemoryRemark(load)));
    }

    // The figures go into their sentences; unknown facts leave their gap rather than dropping
    // the sentence.
    void figures() {
        TalkRig rig;
        MachineTalk& m = rig.talk.Machine();
        rig.machine.memory = {42, 512ull * 1024 * 1024};
        QVERIFY(m.MemoryTalk().contains(u"使用率は 42% で、\\w5\\n空き容量は524,288KBです"_s));
        rig.machine.memory = {100, 1000}; // nothing free is said as nothing at all
        QVERIFY(m.MemoryTalk().contains(u"空き容量はKBです。"_s));
        // 30 hours are 30 hours, not a time of day; 7.6 seconds round up.
        rig.machine.uptimeMs = ((30 * 60 + 5) * 60) * 1000ull + 7600;
        rig.random.Push(TalkRig::R(4, 5));
        QVERIFY(m.MachineUptimeTalk().contains(u"起動してから30時間5分8秒経過"_s));
        QCOMPARE(MachineUptimeText(499), u"0時間0分0秒"_s);
        QCOMPARE(MachineUptimeText(500), u"0時間0分1秒"_s);
        rig.machine.power = {0, 1, 90};
        QVERIFY(m.BatteryTalk().contains(u"ばっちしOK。\\w8詳しく言うと、\\w5残り 90% "_s));
        rig.machine.power = {0, 8, 50};
        QVERIFY(m.BatteryTalk().contains(u"充電中。\\w8詳しく言うと、\\w5残り 50% "_s));
        rig.machine.power = {0, 0, 50}; // between the states: no word for it
        QVERIFY(m.BatteryTalk().contains(u"\\w5詳しく言うと、\\w5残り 50% "_s));

        rig.machine.manufacturer = u"ACME"_s;
        rig.machine.model = u"Book 9"_s;
        rig.clock.Advance(61'000);
        QVERIFY(m.Topic(3).contains(u"\\n「」。"_s));
        QVERIFY(m.Topic(4).contains(u"ACMEのBook 9を"_s));
        QVERIFY(m.Topic(12).contains(u"0時間1分1秒"_s));
        QCOMPARE(m.Topic(17), QString());
        QVERIFY(rig.actionLog.isEmpty());
        rig.Play(m.MemoryTalk()); // "% " is no variable
        QVERIFY(rig.mainBalloon.message.contains(u"100% で、"_s));
    }

    // Topic 8 clears the recent documents through the system actions, topic 13 asks about the
    // trash, topic 9 is the window watcher's and is not drawn without one.
    void topicsThatAct() {
        TalkRig rig;
        MachineTalk& m = rig.talk.Machine();
        QVERIFY(m.Topic(8).startsWith(u"\\hスタートメニューの「最近使ったﾌｧｲﾙ」"_s));
        QCOMPARE(rig.actionLog, QStringList{u"SystemAction: ClearRecentDocuments"_s});

        QCOMPARE(m.Topic(13), u"\\hねえ%username、\\w5ごみ箱空にしたくない？\\w5"_s);
        QCOMPARE(rig.talk.QuestionsPart().PendingTopic(), ChoiceTopic::DelDust);
        QCOMPARE(rig.mainBalloon.choiceWords, (QStringList{u"したい"_s, u"したくない"_s}));
        QCOMPARE(rig.mainBalloon.choicePos, std::make_pair(120, 960));

        m.knownSoftwareTalk = [] { return u"\\h知ってるソフト"_s; };
        rig.random.Push(TalkRig::R(9, 16));
        QCOMPARE(m.SystemInfoTalk(), u"\\h\\h知ってるソフト"_s);
    }
};

QTEST_GUILESS_MAIN(TestMachineTalk)
#include "test_machine_talk.moc"
