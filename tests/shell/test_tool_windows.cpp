// The tool windows on the offscreen platform: the system launcher over a PATH of stub
// programs, the debug window over a known state, and the trace log window.
#include "../talk/talk_rig.h"
#include "../watch/timer_rig.h"
#include "app/debug_window.h"
#include "app/log_window.h"
#include "app/shell_talk.h"
#include "app/system_launcher_window.h"
#include "talk/talk_engine.h"
#include "watch/window_watch.h"

#include <QAction>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace orvanel;
using namespace Qt::StringLiterals;

namespace {

void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Enter(QWidget* w) {
    QEnterEvent e(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

class TestToolWindows : public QObject {
    Q_OBJECT

    QTemporaryDir path_; // the stub programs, the only folder on PATH
    QByteArray savedPath_;
    std::unique_ptr<fakes::TalkRig> rig_;
    QStringList played_;

    // Through the logged system actions; with `fail`, every start fails, as when a tool has
    // been removed since the launcher opened.
    SystemLauncherWindow* Launcher(bool fail = false) {
        auto* w = new SystemLauncherWindow(
            rig_->log,
            [this, fail](const QString& program, const QStringList& arguments) {
                return !fail && rig_->actions.StartProgram(program, arguments);
            },
            [this](const QString& s) { played_ << s; });
        w->show();
        return w;
    }
    // A debug window whose scripts are recorded and played.
    struct Debug {
        Debug(fakes::TalkRig& rig, QStringList& played) : talk(rig.talk) {
            DebugWindow::Hooks hooks;
            hooks.play = [&rig, &played](const QString& s) {
                played << s;
                rig.player.PlayScript(s, ScriptOrigin::Debug);
            };
            window = new DebugWindow(rig.engine, talk, rig.character, std::move(hooks));
            window->show();
        }
        ~Debug() { delete window.data(); }
        void Trigger(const QString& item) { window->findChild<QAction*>(item)->trigger(); }
        EngineTalk talk;
        QPointer<DebugWindow> window;
    };

    int Row(const QString& button) {
        const auto tools = LauncherTools();
        for (size_t i = 0; i < tools.size(); ++i)
            if (button == QStringView(tools[i].button)) return int(i);
        return -1;
    }

private Q_SLOTS:
    void initTestCase() {
        savedPath_ = qgetenv("PATH");
        for (const char* name : {"baobab", "gnome-system-monitor", "xdg-screensaver"}) {
            QFile stub(path_.filePath(QString::fromLatin1(name)));
            QVERIFY(stub.open(QIODevice::WriteOnly));
            stub.write("#!/bin/sh\n");
            stub.setPermissions(stub.permissions() | QFile::ExeOwner);
        }
        qputenv("PATH", path_.path().toLocal8Bit());
    }
    void cleanupTestCase() { qputenv("PATH", savedPath_); }
    void init() {
        rig_ = std::make_unique<fakes::TalkRig>();
        played_.clear();
    }

    // Only the tools whose stand-in is on PATH can be clicked; a click starts the first
    // stand-in found, with its arguments, closes the launcher and says "起動！" unless the row
    // closes silently; a start that fails is told.
    void launcherStartsWhatIsOnPath_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("started"); // after the stub folder; "" when it fails
        QTest::addColumn<QString>("talk");
        QTest::newRow("second stand-in") << u"cmdclnup"_s << u"/baobab"_s << u"\\h起動！"_s;
        QTest::newRow("with an argument")
            << u"cmdres"_s << u"/gnome-system-monitor -r"_s << u"\\h起動！"_s;
        QTest::newRow("screen saver, silently")
            << u"cmdscr"_s << u"/xdg-screensaver activate"_s << QString();
        QTest::newRow("failed") << u"cmdscr"_s << QString() << u"の起動に失敗しました。"_s;
    }
    void launcherStartsWhatIsOnPath() {
        QFETCH(QString, button);
        QFETCH(QString, started);
        QFETCH(QString, talk);
        QPointer<SystemLauncherWindow> w = Launcher(started.isEmpty());
        QStringList enabled;
        for (int i = 0; i < int(LauncherTools().size()); ++i)
            if (w->Button(i)->isEnabled()) enabled << w->Button(i)->objectName();
        QCOMPARE(enabled, (QStringList{u"cmdclnup"_s, u"cmdsysmon"_s, u"cmdres"_s, u"cmdscr"_s}));

        QTest::mouseClick(w->Button(Row(button)), Qt::LeftButton);
        Settle();
        QVERIFY(!w);
        if (!started.isEmpty())
            QCOMPARE(rig_->actionLog,
                     QStringList{u"SystemAction: StartProgram "_s + path_.path() + started});
        QCOMPARE(played_.size(), talk.isEmpty() ? 0 : 1);
        QVERIFY(played_.value(0).endsWith(talk));
        QVERIFY(rig_->log.Text().contains(u"Load SystemLaunchForm... Complete"_s) &&
                rig_->log.Text().contains(u"Unload SystemLaunchForm"_s));
    }

    // One explanation until the pointer touches the background (a disabled button is
    // background).
    void launcherExplainsOnce() {
        std::unique_ptr<SystemLauncherWindow> w(Launcher());
        const auto hover = [this](const QString& button) {
            return QString::fromUtf16(LauncherTools()[size_t(Row(button))].hover);
        };
        const auto background = [&](QWidget* over) {
            const QPoint at = over ? over->geometry().center() : QPoint(1, 1);
            QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QCoreApplication::sendEvent(w.get(), &move);
        };
        Enter(w->Button(Row(u"cmdclnup"_s)));
        Enter(w->Button(Row(u"cmdsysmon"_s)));
        QCOMPARE(played_, QStringList{hover(u"cmdclnup"_s)});
        background(w->Button(Row(u"cmdsysmon"_s))); // over an enabled button: not background
        QVERIFY(w->Explained());
        background(w->Button(Row(u"cmdreged"_s)));
        QVERIFY(!w->Explained());
        Enter(w->Button(Row(u"cmdreged"_s)));
        Enter(w->Button(Row(u"cmdsysmon"_s)));
        QCOMPARE(played_, (QStringList{hover(u"cmdclnup"_s), hover(u"cmdsysmon"_s)}));
    }

    void debugBoxesShowTheLiveState() {
        fakes::FakeTimerHost host(rig_->journal, rig_->character);
        rig_->clock.SetNow(QDateTime(QDate(2026, 3, 5), QTime(9, 7)));
        rig_->engine.AttachTimer(host);
        rig_->random.Push(0.5);
        rig_->engine.Timer()->DrawFirstBlinkInterval();
        for (int i = 0; i < 5; ++i)
            rig_->engine.Timer()->Tick();
        rig_->player.PlayScript(u"\\uおー"_s);
        rig_->player.StepScript();
        rig_->play.WaitThen(FinishAction::DelDustBox);
        RunFlags& f = rig_->ctx.flags;
        f.talkCount = 12;
        f.mainBalloonCounter = 100;
        f.fellowBalloonCounter = -100;
        f.balloonHold = true;
        rig_->ctx.touch = {
            .eyeQuietTicks = -50, .mouthQuietTicks = 3, .bodyQuietTicks = 9, .strokeTicks = 7};
        rig_->ctx.profile.TOMULimitTime = 2000;
        const MainTimer::Counters c = rig_->engine.Timer()->State();

        Debug d(*rig_, played_);
        QStringList shown;
        for (int i = 0; i < kDebugBoxCount; ++i)
            shown << d.window->Box(DebugBox(i))->text();
        QCOMPARE(shown, (QStringList{u"12"_s, QString::number(rig_->player.Position()), u"1"_s,
                                     u"1995/2000"_s, u"200/300"_s, u"400/300"_s,
                                     u"%1/%2"_s.arg(c.blinkInterval - 5).arg(c.blinkInterval),
                                     u"7"_s, u"-50"_s, u"3"_s, u"9"_s, u"False"_s, u"True"_s,
                                     u"False"_s, u"False"_s, u"True"_s, u"False"_s, u"True"_s}));
        // Hidden, nothing is read; shown again, the boxes are up to date at once.
        d.window->hide();
        QVERIFY(!d.window->Refreshing());
        f.talkCount = 13;
        d.window->show();
        QVERIFY(d.window->Refreshing() && d.window->Box(DebugBox::TalkCount)->text() == u"13");
    }

    void debugEnterReplacesAClickWait() {
        Debug d(*rig_, played_);
        d.window->ScriptLine()->setText(u"\\hdebug"_s);
        bool waited = false;
        rig_->player.hooks.clickWaitStarted = [&] {
            waited = true;
            rig_->clock.ScheduleIn(
                3000, [&] { QTest::keyClick(d.window->ScriptLine(), Qt::Key_Return); });
        };
        rig_->Play(u"\\h一\\x二"_s);
        QVERIFY(waited);
        QCOMPARE(rig_->player.Origin(), ScriptOrigin::Debug);
        QCOMPARE(rig_->mainBalloon.Message(), u"debug"_s);
        QVERIFY(!rig_->mainBalloon.messages.join(u'|').contains(u"二"_s));
        QVERIFY(!rig_->ctx.flags.balloonHold);
    }

    void debugMenu() {
        rig_->Category(u"動物"_s, {u"イヌ"_s, u"ネコ"_s, u"ウマ"_s});
        const QString words = QString::number(rig_->dictionary.TotalWordCount());
        Debug d(*rig_, played_);
        d.Trigger(u"mnWordCount"_s);
        QCOMPARE(played_.last().count(words + u"語"_s), 2);
        rig_->machine.power.acLine = 1;
        d.Trigger(u"mnBattery"_s);
        QVERIFY(played_.last().contains(u"見つかりません"_s));
        rig_->machine.power.acLine = 0;
        d.Trigger(u"mnBattery"_s);
        QCOMPARE(played_.last(), rig_->talk.Machine().BatteryTalk());
        d.Trigger(u"mnSurface5"_s);
        QCOMPARE(rig_->journal.last(), u"kanami.ShowSurface 5 hold"_s);
        // Window watching's tools: the home folder, and no search tool on this PATH.
        d.Trigger(u"mnMyComputer"_s);
        QCOMPARE(rig_->actionLog.last(), u"SystemAction: OpenFolder "_s + QDir::homePath());
        d.Trigger(u"mnWinFind"_s);
        QCOMPARE(played_.last(), rig_->engine.Windows().OpenFileSearch());
        // Without a fellow for the external scripts.
        rig_->ctx.skin.fellowPresent = false;
        Q_EMIT d.window->findChild<QMenu*>(u"mnScript"_s)->aboutToShow();
        QVERIFY(!d.window->findChild<QAction*>(u"mnExtScript"_s)->isEnabled());
    }

    // The whole history when first shown, then every new line; hidden, it catches up when
    // shown again.
    void logWindow() {
        rig_->log.LogLine(u"before"_s);
        auto w = std::make_unique<LogWindow>(rig_->log);
        w->show();
        const auto text = [&] { return w->Text()->toPlainText(); };
        QVERIFY(text().startsWith(u"before ["_s) && text().contains(u"\nLoad LogForm ["_s));
        rig_->log.LogBegin(u"RegionFileCheck..."_s);
        rig_->log.LogEnd(u" Complete"_s);
        QVERIFY(text().endsWith(u"\n  RegionFileCheck... Complete [ 0ms ]\n"_s));
        QCOMPARE(w->Text()->textCursor().position(), text().size());
        QTest::mouseDClick(w->Text()->viewport(), Qt::LeftButton);
        QVERIFY(!w->isVisible());
        rig_->log.LogLine(u"hidden"_s);
        w->show();
        QVERIFY(text().contains(u"\nhidden ["_s));
    }
};

QTEST_MAIN(TestToolWindows)
#include "test_tool_windows.moc"
