// Window watching on a real X display of the test's own (Xvfb with openbox) with real windows
// of known titles: the titles read, the window remark's minimising and maximising carried out
// by the real system actions and seen in the window manager's properties.
#include "platform/linux/desktop_system_actions.h"
#include "platform/linux/x11_desktop.h"
#include "talk/dictionary.h"
#include "timer_rig.h"
#include "watch/window_watch.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <memory>
#include <unistd.h>

using namespace orvanel;
using namespace orvanel::fakes;
using namespace Qt::StringLiterals;

namespace {

// Output of a tool run on the test's display.
QString Run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(5000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// The window, its state as the window manager keeps it, and its geometry.
struct Seen {
    QString props;
    QRect geometry;
};

} // namespace

class TestWindowWatchX11 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        for (const char* tool : {"Xvfb", "openbox", "xterm", "xprop", "xdotool", "xwininfo"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(u"%1 is not installed (scripts/install-deps.sh)"_s.arg(tool)));
        // -noreset: a server that resets when its last client leaves refuses the next one awhile.
        xvfb_.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-noreset"_s, u"-nolisten"_s, u"tcp"_s,
                                u"-screen"_s, u"0"_s, u"1280x800x24"_s});
        QVERIFY(xvfb_.waitForReadyRead(10000));
        display_ = u':' + QString::fromLatin1(xvfb_.readLine()).trimmed();
        // Only this process and its children see the display.
        qputenv("DISPLAY", display_.toLocal8Bit());
        Start(openbox_, u"openbox"_s, {});
        QString wm;
        QTRY_VERIFY2_WITH_TIMEOUT(
            (wm = Run(u"xprop"_s, {u"-root"_s, u"_NET_SUPPORTING_WM_CHECK"_s}))
                .contains(u"window id"),
            qPrintable(display_ + u' ' + wm + u' ' + QString::number(openbox_.exitCode()) +
                       QString::fromLocal8Bit(openbox_.readAllStandardError())),
            10000);
        wordPad_ = Window(u"WordPad"_s);
        memo_ = Window(u"memo"_s);
        // A title the window manager's UTF-8 name gives; the old one stays in WM_NAME.
        Run(u"xprop"_s, {u"-id"_s, memo_, u"-f"_s, u"_NET_WM_NAME"_s, u"8u"_s, u"-set"_s,
                         u"_NET_WM_NAME"_s, u"メモ帳"_s});
    }

    void cleanupTestCase() {
        for (auto& p : terminals_)
            p->kill(), p->waitForFinished();
        openbox_.kill();
        openbox_.waitForFinished();
        xvfb_.kill();
        xvfb_.waitForFinished();
    }

    void knownSoftwareFromTheWindowTitles() {
        TimerRig rig;
        X11Desktop desktop;
        WindowWatch watch(rig.ctx, rig.engine.Words(), desktop);
        for (const QString& w : {u"Word"_s, u"メモ帳"_s, u"memo"_s, u"Emacs"_s})
            QVERIFY(rig.engine.Words().AppendWord(u"ソフト"_s, w));
        const QString talk = watch.KnownSoftwareTalk();
        QVERIFY2(talk.contains(u"\\nWord\r\nメモ帳\r\n\r\n"_s), qPrintable(talk));
        QCOMPARE(watch.WindowCount(), 2);
    }

    // The idle talk takes the active window; the remark's command reaches the window manager.
    void theWindowRemarkActsOnTheActiveWindow_data() {
        QTest::addColumn<double>("k");
        QTest::addColumn<QString>("state");
        QTest::newRow("k 2 maximises") << 0.2
                                       << u"_NET_WM_STATE_MAXIMIZED_VERT, "
                                          "_NET_WM_STATE_MAXIMIZED_HORZ"_s;
        QTest::newRow("k 1 minimises") << 0.0 << u"window state: Iconic"_s;
    }
    void theWindowRemarkActsOnTheActiveWindow() {
        QFETCH(double, k);
        QFETCH(QString, state);
        TimerRig rig;
        DesktopSystemActions real([](const QString&) { return false; });
        rig.actions.CarryOutWindowActions(&real);
        X11Desktop desktop;
        WindowWatch watch(rig.ctx, rig.engine.Words(), desktop);
        MainTimer timer(rig.ctx, rig.player, rig.words, rig.host, watch, rig.mainBalloon,
                        rig.fellowBalloon, rig.character);
        Activate(wordPad_);
        rig.ctx.profile.TOMULimitTime = 0;
        rig.random.Push({0.98, k});
        timer.Tick();
        QVERIFY2(rig.player.Buffer().contains(u"「 WordPad 」"_s), qPrintable(rig.player.Buffer()));
        QTRY_VERIFY_WITH_TIMEOUT(Look(wordPad_).props.contains(state), 5000);
        if (k > 0) QCOMPARE(Look(wordPad_).geometry.width(), 1280);
        rig.ctx.profile.TOMULimitTime = 1000;
        for (int i = 0; i < 5; ++i)
            timer.Tick();
        QVERIFY(rig.journal.contains(u"kanami.Foreground"_s));
    }

    // One of the program's own windows is no target: only the grumble, and nothing moves.
    void ownWindowsAreNoTarget() {
        TimerRig rig;
        X11Desktop desktop;
        WindowWatch watch(rig.ctx, rig.engine.Words(), desktop);
        Activate(memo_);
        QCOMPARE(desktop.ActiveWindow(), memo_.toULongLong());
        Run(u"xprop"_s, {u"-id"_s, memo_, u"-f"_s, u"_NET_WM_PID"_s, u"32c"_s, u"-set"_s,
                         u"_NET_WM_PID"_s, QString::number(getpid())});
        watch.AimAtActiveWindow();
        QCOMPARE(watch.Target(), 0u);
        QVERIFY(watch.WindowRemark().contains(u"ミスったか"_s));
        QVERIFY(rig.actionLog.isEmpty());
    }

private:
    void Start(QProcess& p, const QString& program, const QStringList& arguments) {
        p.start(program, arguments);
        QVERIFY(p.waitForStarted());
    }

    // Starts a terminal titled `title`; its window id in decimal, once the window manager
    // lists it.
    QString Window(const QString& title) {
        auto& p = terminals_.emplace_back(std::make_unique<QProcess>());
        p->start(u"xterm"_s, {u"-T"_s, title, u"-geometry"_s, u"40x10+50+50"_s});
        QString id;
        const auto listed = [&] {
            id = Run(u"xdotool"_s, {u"search"_s, u"--name"_s, u'^' + title + u'$'});
            return !id.isEmpty() && Run(u"xprop"_s, {u"-root"_s, u"_NET_CLIENT_LIST"_s})
                                        .contains(u"0x"_s + QString::number(id.toULongLong(), 16));
        };
        for (int i = 0; i < 200 && !listed(); ++i)
            QTest::qWait(25);
        return id;
    }

    // Activates `window` once the window manager has taken it on.
    void Activate(const QString& window) {
        const QString id = u"0x"_s + QString::number(window.toULongLong(), 16);
        QTRY_VERIFY_WITH_TIMEOUT(
            (Run(u"xdotool"_s, {u"windowactivate"_s, u"--sync"_s, window}),
             Run(u"xprop"_s, {u"-root"_s, u"_NET_ACTIVE_WINDOW"_s}).endsWith(id)),
            5000);
    }

    Seen Look(const QString& window) {
        Seen seen;
        seen.props = Run(u"xprop"_s, {u"-id"_s, window, u"_NET_WM_STATE"_s, u"WM_STATE"_s});
        const QString info = Run(u"xwininfo"_s, {u"-id"_s, window});
        const auto field = [&](const QString& name) {
            const qsizetype at = info.indexOf(name);
            return at < 0 ? 0 : info.mid(at + name.size()).section(u'\n', 0, 0).trimmed().toInt();
        };
        seen.geometry =
            QRect(field(u"Absolute upper-left X:"_s), field(u"Absolute upper-left Y:"_s),
                  field(u"Width:"_s), field(u"Height:"_s));
        return seen;
    }

    QProcess xvfb_;
    QProcess openbox_;
    std::vector<std::unique_ptr<QProcess>> terminals_;
    QString display_;
    QString wordPad_;
    QString memo_;
};

QTEST_GUILESS_MAIN(TestWindowWatchX11)
#include "test_window_watch_x11.moc"
