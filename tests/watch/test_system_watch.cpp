// The reactions to system events and window watching, on the timer rig's recording windows and
// a fake window list.
#include "talk/dictionary.h"
#include "timer_rig.h"
#include "watch/system_events.h"
#include "watch/window_watch.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

namespace {

struct EventRig : TimerRig {
    EventRig() : events(ctx, player, host) {
        player.hooks.handed = [this](const QString& script, ScriptOrigin origin) {
            handed.append({OriginName(origin), script});
            journal.append(u"played"_s);
        };
    }
    SystemEvents events;
    QList<std::pair<QString, QString>> handed;
};

using Reaction = void (SystemEvents::*)();
const Reaction kReactions[] = {
    &SystemEvents::DeviceArrival, &SystemEvents::DisplayChanged, &SystemEvents::SettingChanged,
    &SystemEvents::WorkAreaFollowedDisplay, &SystemEvents::PowerStatusChanged};
constexpr int kDevice = 0, kDisplay = 1, kSetting = 2, kWorkAreaWithDisplay = 3, kPower = 4;

} // namespace

class TestSystemWatch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each reaction: what it plays, and where it puts the window, in which order. The work
    // area is 40 to 740, Kanami 100 x 200 at (700, 528) on a 1024-wide screen.
    void reactions_data() {
        QTest::addColumn<int>("reaction");
        QTest::addColumn<double>("r");
        QTest::addColumn<QStringList>("effects");
        const QString stand = u"host.MoveCharacter 700,540"_s;
        QTest::newRow("device added") << kDevice << 0.0 << QStringList{u"played"_s};
        QTest::newRow("display: speaks, then three quarters across")
            << kDisplay << 0.0 << QStringList{u"played"_s, u"host.MoveCharacter 768,528"_s};
        QTest::newRow("work area: stands on it, then speaks")
            << kSetting << 0.0 << QStringList{stand, u"played"_s};
        QTest::newRow("work area with the display: stands, quietly")
            << kWorkAreaWithDisplay << 0.0 << QStringList{stand};
        QTest::newRow("power, one in ten: 0.9 says nothing") << kPower << 0.9 << QStringList{};
        QTest::newRow("power, above 0.9") << kPower << 0.91 << QStringList{u"played"_s};
    }
    void reactions() {
        QFETCH(int, reaction);
        QFETCH(double, r);
        EventRig rig;
        rig.host.work = QRect(0, 40, 1024, 700);
        rig.ctx.flags.balloonHold = true;
        rig.random.Push(r);
        (rig.events.*kReactions[reaction])();
        QStringList effects = rig.journal.filter(QRegularExpression(u"^(played|host)"_s));
        QTEST(effects, "effects");
        const bool spoke = effects.contains(u"played"_s);
        QCOMPARE(rig.ctx.flags.balloonHold, !spoke); // a remark lets its balloon close
        if (spoke) QCOMPARE(rig.handed.constFirst().first, u"system"_s);
    }

    // The remarks of the ten events are ten different ones; the work area's two are drawn.
    void everyEventHasItsOwnRemark() {
        const Reaction all[] = {
            &SystemEvents::DeviceArrival,        &SystemEvents::DeviceQueryRemove,
            &SystemEvents::DeviceRemoveComplete, &SystemEvents::DisplayChanged,
            &SystemEvents::PowerResume,          &SystemEvents::PowerStatusChanged,
            &SystemEvents::PowerSuspend,         &SystemEvents::SettingChanged,
            &SystemEvents::SettingChanged,       &SystemEvents::SysColorsChanged,
            &SystemEvents::TimeChanged};
        EventRig rig;
        rig.random.Push({0.95, 0.4, 0.6}); // the power's draw; then k = 1 and k = 2
        for (Reaction reaction : all)
            (rig.events.*reaction)();
        QSet<QString> scripts;
        for (const auto& [origin, script] : rig.handed)
            if (script.startsWith(u"\\h")) scripts.insert(script);
        QCOMPARE(scripts.size(), 11 - 1); // all but the clock, which came with the resume
    }

    // The kernel reports the clock's jump over a sleep: that is no user setting the clock.
    void theClockNoticeOfAResumeIsNotTheUsers() {
        EventRig rig;
        rig.events.PowerResume();
        rig.clock.Advance(SystemEvents::kResumeClockGraceMs - 1);
        rig.events.TimeChanged();
        QCOMPARE(rig.handed.size(), 1);
        rig.clock.Advance(1);
        rig.events.TimeChanged();
        QCOMPARE(rig.handed.size(), 2);
    }

    // Minimised, the remarks are lost but the window still moves.
    void minimisedSheStillMoves() {
        EventRig rig;
        rig.ctx.flags.minimized = true;
        rig.events.DisplayChanged();
        QVERIFY(!rig.player.IsRunning());
        QCOMPARE(rig.host.character.topLeft(), QPoint(768, 528));
    }

    void knownSoftware() {
        EventRig rig;
        Dictionary& words = rig.engine.Words();
        for (const QString& w : {u"Word"_s, u"Kate"_s, u"Firefox"_s})
            QVERIFY(words.AppendWord(u"ソフト"_s, w));
        QVERIFY(words.WriteTalk(u"ソフト"_s, u"2"_s, std::nullopt)); // a gap is no program
        QVERIFY(words.AppendWord(u"ウイルス"_s, u"W32/Hirune"_s));
        WindowWatch& watch = rig.engine.Windows();

        rig.windows.titles = {u"WordPad"_s, QString(), u"firefox"_s, u"* W32/Hirune *"_s};
        QString talk = watch.KnownSoftwareTalk();
        QCOMPARE(watch.TitleList(), u"WordPad,firefox,* W32/Hirune *,"_s);
        QCOMPARE(watch.WindowCount(), 3);
        // The words found, in dictionary order, programs before viruses; case counts.
        QCOMPARE(talk.section(u"\\n"_s, 1).section(u"\r\n\r\n"_s, 0, 0), u"Word\r\nW32/Hirune"_s);

        rig.windows.titles = {u"Terminal"_s};
        talk = watch.KnownSoftwareTalk();
        QCOMPARE(watch.TitleList(), u"Terminal,"_s);
        QVERIFY(!talk.contains(u"Word"_s));
        QVERIFY(talk.contains(u"ひとつも"_s));

        // A title is read up to 254 bytes of the original's code page.
        rig.windows.titles = {QString(200, u'あ') + u"Kate"_s};
        QVERIFY(!watch.KnownSoftwareTalk().contains(u"Kate"_s));
        QCOMPARE(watch.TitleList(), QString(127, u'あ') + u',');
    }

    void windowRemark_data() {
        QTest::addColumn<quint64>("active");
        QTest::addColumn<double>("k");
        QTest::addColumn<QString>("action");
        QTest::newRow("k 1 minimises") << quint64(7) << 0.0 << u"MinimizeWindow 0x7"_s;
        QTest::newRow("k 2 maximises") << quint64(7) << 0.2 << u"MaximizeWindow 0x7"_s;
        QTest::newRow("k 3 maximises") << quint64(7) << 0.4 << u"MaximizeWindow 0x7"_s;
        QTest::newRow("k 4 minimises") << quint64(7) << 0.6 << u"MinimizeWindow 0x7"_s;
        QTest::newRow("k 5 minimises") << quint64(7) << 0.8 << u"MinimizeWindow 0x7"_s;
        QTest::newRow("no title") << quint64(8) << 0.0 << QString();
        QTest::newRow("none active, or one of hers") << quint64(0) << 0.0 << QString();
    }
    void windowRemark() {
        QFETCH(quint64, active);
        QFETCH(double, k);
        QFETCH(QString, action);
        EventRig rig;
        rig.windows.titleOf = {{7, u"メモ帳"_s}, {8, QString()}};
        rig.windows.active = active;
        rig.random.Push(k);
        WindowWatch& watch = rig.engine.Windows();
        watch.AimAtActiveWindow();
        rig.windows.active = 0; // what counts is the window active when she began
        const QString remark = watch.WindowRemark();
        QCOMPARE(rig.actionLog,
                 action.isEmpty() ? QStringList() : QStringList{u"SystemAction: "_s + action});
        QCOMPARE(remark.contains(u"「 メモ帳 」"_s), !action.isEmpty());
        QCOMPARE(rig.random.Remaining(), action.isEmpty() ? 1 : 0);
        QVERIFY(rig.ctx.flags.foregroundRequest); // she comes to the front in any case
    }

    void debugWindowCommands() {
        EventRig rig;
        WindowWatch& watch = rig.engine.Windows();
        watch.OpenComputerFolder();
        QStringList asked;
        watch.findProgram = [&](const QString& name) {
            asked.append(name);
            return name == u"kfind" ? u"/usr/bin/kfind"_s : QString();
        };
        QCOMPARE(watch.OpenFileSearch(), QString());
        QCOMPARE(rig.actionLog,
                 (QStringList{u"SystemAction: OpenFolder "_s + QDir::homePath(),
                              u"SystemAction: StartProgram /usr/bin/kfind "_s + QDir::homePath()}));
        QCOMPARE(asked.size(), 2); // the first tool found is the one
        watch.findProgram = [](const QString&) { return QString(); };
        QVERIFY(watch.OpenFileSearch().startsWith(u"\\h"_s));
        QCOMPARE(rig.actionLog.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestSystemWatch)
#include "test_system_watch.moc"
