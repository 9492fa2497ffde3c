#include "talk_rig.h"

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
        QFETCH(QString, text);
        QCOMPARE(SizeText(bytes), text);
    }

    void driveTalk_data() {
        QTest::addColumn<QList<DriveInfo>>("drives");
        QTest::addColumn<QString>("text");
        const DriveInfo hdd{u"/"_s, DriveType::Fixed};
        const DriveInfo cd{u"/media/cdrom"_s, DriveType::CdRom};
        const QString head = u"\\hこのマシンのドライブ構成は、\\w5\\n\\n"_s;
        QTest::newRow("four CD drives")
            << QList<DriveInfo>{hdd, cd, cd, cd, cd}
            << head +
                   u"･ハードディスクが1台\\w8\\n･CD-ROMドライブが4台\\w8\\n\\n･･･ってな感じです。"
                   u"\\w8\\w8\\uCDドライブ4台？\\w8\\w8\\n･･･仮想CDか？"_s;
        QTest::newRow("RAM disk and unknown drive on lines of their own")
            << QList<DriveInfo>{{u"/tmp"_s, DriveType::RamDisk}, {u"/x"_s, DriveType::Unknown},
                                {u"/y"_s, DriveType::Remote},    {u"/z"_s, DriveType::Removable},
                                {u"/w"_s, DriveType::NoRoot},    hdd}
            << head + u"･ハードディスクが1台\\w8\\n･不明なドライブが1台\\w8\\n･フロッピーディスクド"
                      u"ライブが1台\\w8\\n"
                      u"･ネットワーク共有ドライブが1台\\w8\\n･不明なドライブが1台\\w8\\n･存在しない"
                      u"ドライブが1台\\w8\\n"
                      u"\\n･･･ってな感じです。"_s;
    }
    void driveTalk() {
        QFETCH(QList<DriveInfo>, drives);
        QFETCH(QString, text);
        TalkRig rig;
        rig.machine.drives = drives;
        QCOMPARE(rig.talk.Machine().DriveTalk(), text);
    }

    void diskSpaceTalk() {
        TalkRig rig;
        rig.machine.drives = {{u"/"_s, DriveType::Fixed},
                              {u"/media/cdrom"_s, DriveType::CdRom},
                              {u"/home"_s, DriveType::Fixed}};
        rig.machine.free = {{u"/"_s, 1536}, {u"/media/cdrom"_s, 0}};
        QCOMPARE(rig.talk.Machine().DiskSpaceTalk(),
                 u"\\h現在のディスク残量は、\\w5\\n/ドライブの空き容量が1.5KB\\w8\r\n"
                 u"/homeドライブの空き容量が0バイト\\w8\\n\\n\\w8･･･ってな感じです。"_s);
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

    void memoryTalk() {
        TalkRig rig;
        rig.machine.memory = {42, 512ull * 1024 * 1024};
        QCOMPARE(rig.talk.Machine().MemoryTalk(),
                 u"\\h只今のメモリ使用率は 42% で、\\w5\\n空き容量は524,288KBです。\\w8\r\n\r\n"
                 u"まだまだOKっす。\\w8"_s);
        // Nothing free is said as nothing at all, as the pattern would.
        rig.machine.memory = {100, 1000};
        QVERIFY(rig.talk.Machine().MemoryTalk().contains(u"空き容量はKBです。"_s));
        rig.Play(rig.talk.Machine().MemoryTalk());
        QVERIFY(rig.mainBalloon.message.startsWith(u"只今のメモリ使用率は 100% で、"_s));
    }

    void uptimeTalk() {
        TalkRig rig;
        // 30 hours are 30 hours, not a time of day; 7.6 seconds round up.
        rig.machine.uptimeMs = ((30 * 60 + 5) * 60) * 1000ull + 7600;
        rig.random.Push(TalkRig::R(4, 5));
        QCOMPARE(rig.talk.Machine().MachineUptimeTalk(),
                 u"\\hパソコンを起動してから30時間5分8秒経過しました。\\w8\r\n\r\n"
                 u"いったい%usernameは何やってるの？\\w5"_s);
        QCOMPARE(MachineUptimeText(499), u"0時間0分0秒"_s);
        QCOMPARE(MachineUptimeText(500), u"0時間0分1秒"_s);
    }

    void batteryTalk_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("percent");
        QTest::addColumn<QString>("text");
        const auto t = [](const QString& state, const QString& pct) {
            return u"\\hバッテリの状態は、\\w5"_s + state + u"詳しく言うと、\\w5残り "_s + pct +
                   u"% です。\\w8"_s;
        };
        QTest::newRow("high") << 1 << 90 << t(u"ばっちしOK。\\w8"_s, u"90"_s);
        QTest::newRow("charging") << 8 << 50 << t(u"充電中。\\w8"_s, u"50"_s);
        QTest::newRow("between") << 0 << 50 << t(QString(), u"50"_s);
    }
    void batteryTalk() {
        QFETCH(int, status);
        QFETCH(int, percent);
        QFETCH(QString, text);
        TalkRig rig;
        rig.machine.power = {0, status, percent};
        QCOMPARE(rig.talk.Machine().BatteryTalk(), text);
    }

    // Unknown facts leave their gap in the sentence rather than dropping it.
    void topics() {
        TalkRig rig;
        rig.machine.manufacturer = u"ACME"_s;
        rig.machine.model = u"Book 9"_s;
        rig.clock.Advance(61'000);
        MachineTalk& m = rig.talk.Machine();
        QCOMPARE(m.Topic(3), u"\\h現在使用しているWindowsのプロダクトキーは\\n「」。\\w8\\n"
                             u"これは他人に教えちゃダメですよ～。\\w8"_s);
        QCOMPARE(m.Topic(4),
                 u"\\h%usernameはACMEのBook 9を使ってるんだ。\\w8使い心地はどう？\\w5"_s);
        QCOMPARE(m.Topic(12),
                 u"\\h今回%selfcallが起動してから、\\w50時間1分1秒経過しました。\\w8"_s);
        QCOMPARE(m.Topic(17), QString());
        QVERIFY(rig.actionLog.isEmpty());
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
