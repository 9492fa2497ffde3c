// The whole shell on the offscreen platform, on a copy of the default program folder: the
// start-up sequence and its trace, where the windows stand, the menu's switches, minimising,
// the End command, an occupied port and the skin change.
#include "app/app_context.h"
#include "app/character_menu.h"
#include "app/fellow_window.h"
#include "app/message_boxes.h"
#include "app/shell.h"
#include "balloon/fellow_balloon.h"
#include "balloon/main_balloon.h"
#include "net/main_frame.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "platform/system_actions.h"
#include "script/script_player.h"
#include "tools/trace_log.h"

#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

using namespace orvanel;

namespace {

// One program run: its own folder (kept between runs of a test), clock, log and shell.
struct Run {
    explicit Run(const QString& folder)
        : log(clock), actions([this](const QString& line) { log.LogLine(line); }),
          ctx(clock, random, ini, folder, log, actions), boxes(&log) {}

    Shell& Start(quint16 port = 0) {
        shell = std::make_unique<Shell>(ctx, boxes, Shell::Options{port});
        started = shell->Start();
        return *shell;
    }
    QString Setting(const QString& key, const QString& section = QStringLiteral("General")) {
        return ctx.settings.ReadSetting(section, key);
    }

    VirtualClock clock{QDateTime(QDate(2026, 5, 1), QTime(10, 30))};
    ScriptedRandom random{{}, 11};
    IniStore ini;
    TraceLog log;
    LoggingSystemActions actions;
    AppContext ctx;
    MessageBoxes boxes;
    std::unique_ptr<Shell> shell;
    bool started = false;
};

// Each line appears, in this order.
bool InOrder(const QString& text, const QStringList& lines) {
    qsizetype at = 0;
    for (const QString& line : lines) {
        at = text.indexOf(line, at);
        if (at < 0) {
            qWarning("missing or out of order: %s", qPrintable(line));
            return false;
        }
        at += line.size();
    }
    return true;
}

} // namespace

class TestShellStartup : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString folder_;

private Q_SLOTS:
    void init() {
        QVERIFY(dir_.isValid());
        folder_ = dir_.path() + QStringLiteral("/run%1/").arg(QTest::currentTestFunction());
        QVERIFY(SeedProgramFolder(folder_, QStringLiteral(ORVANEL_DEFAULT_FOLDER)));
    }

    void freshFolder() {
        Run run(folder_);
        Shell& shell = run.Start();
        QVERIFY(run.started);
        QVERIFY(InOrder(run.log.Text(),
                        {QStringLiteral("Boot ["), QStringLiteral("UserInfoLoad... Done"),
                         QStringLiteral("Load SplashForm"), QStringLiteral("Load MainForm"),
                         QStringLiteral("RegionFileCheck..."),
                         QStringLiteral("Load RegionCreateForm..."),
                         QStringLiteral("Unload SplashForm"), QStringLiteral("Load FellowForm"),
                         QStringLiteral("Load FellowBaloon..."), QStringLiteral("SSTP Host = "),
                         QStringLiteral("Load MainBaloon..."), QStringLiteral("FirstBoot = True"),
                         QStringLiteral("Load UserInfoForm..."), QStringLiteral("UPD Port ..."),
                         QStringLiteral(" Open"), QStringLiteral("Debug Mode = False"),
                         QStringLiteral("Boot Complete"), QStringLiteral("Main Timer Start")}));
        QCOMPARE(run.Setting(QStringLiteral("TOMULimitTime")), QStringLiteral("3000"));
        QCOMPARE(run.Setting(QStringLiteral("MsgDispLimit")), QStringLiteral("300"));
        QCOMPARE(run.Setting(QStringLiteral("SkinFile")), QStringLiteral("kanami.skn"));
        QVERIFY(shell.FirstStart() && shell.FirstStart()->isVisible());
        QVERIFY(!shell.Character().isEnabled()); // until the names are given
        QVERIFY(run.ctx.flags.balloonHold);
        // The first-start script was handed over last, so it is the one heard.
        QVERIFY(shell.Player().Buffer().startsWith(QStringLiteral("\\hん？")));
        QVERIFY(QFile::exists(folder_ + QStringLiteral("kanami/Region.ini")));

        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect kanami = shell.Character().geometry();
        QCOMPARE(kanami.x(), qRound(0.73 * screen.width()));
        QCOMPARE(kanami.bottom(), work.bottom());
        QVERIFY(shell.Character().isVisible());
        QVERIFY(!shell.Character().mask().isEmpty());
        const QRect fellow = shell.Fellow().geometry();
        QCOMPARE(fellow.x(), qRound(0.57 * screen.width()));
        QCOMPARE(fellow.bottom(), work.bottom());
        QVERIFY(shell.Fellow().isVisible());
        // Both balloons stand against their characters with the skin's offsets.
        const SkinState::Balloon& b0 = run.ctx.skin.balloons[0];
        QCOMPARE(shell.MainBalloonWindow().pos(),
                 kanami.topLeft() -
                     QPoint(shell.MainBalloonWindow().width(), shell.MainBalloonWindow().height()) +
                     QPoint(qRound(b0.left / 15.0), qRound(b0.top / 15.0)));
        run.shell.reset();
    }

    void secondStartUsesTheCaches() {
        {
            Run first(folder_);
            first.Start();
            QVERIFY(first.started);
            first.shell->Close();
        }
        Run run(folder_);
        run.ctx.settings.WriteSetting(QStringLiteral("User"), QStringLiteral("Call"),
                                      QStringLiteral("たろう"));
        run.ctx.settings.WriteSetting(QStringLiteral("General"), QStringLiteral("UpDate"),
                                      QStringLiteral("True"));
        Shell& shell = run.Start();
        QVERIFY(run.started);
        QVERIFY(!run.log.Text().contains(QStringLiteral("Load RegionCreateForm")));
        QVERIFY(run.log.Text().contains(QStringLiteral("FirstBoot = False")));
        QVERIFY(!shell.FirstStart());
        QVERIFY(shell.Character().isEnabled());
        // The update talk comes last and is heard; the key goes.
        QVERIFY(shell.Player().Buffer().startsWith(QStringLiteral("\\h更新完了しました。")));
        QCOMPARE(run.Setting(QStringLiteral("UpDate")), QString());
    }

    void menuShowsAndSavesTheSwitches() {
        Run run(folder_);
        run.ctx.settings.WriteSetting(QStringLiteral("General"), QStringLiteral("OnTop"),
                                      QStringLiteral("false")); // only "False" turns it off
        Shell& shell = run.Start();
        QVERIFY(shell.Frame().OnTop());
        QVERIFY(shell.Character().StaysOnTop());
        shell.Frame().SetOnTop(false); // as another part of the program may
        QVERIFY(!shell.Character().StaysOnTop());
        QVERIFY(!shell.Fellow().StaysOnTop());
        shell.OpenCharacterMenu(QPoint(10, 10));
        QVERIFY(!shell.Menu().Item(QStringLiteral("mnOnTop"))->isChecked());
        shell.Menu().Menu()->hide();
        shell.Menu().Item(QStringLiteral("mnSilent"))->trigger();
        shell.Menu().Item(QStringLiteral("mnHide"))->trigger();
        shell.Menu().Item(QStringLiteral("mnHide"))->trigger();
        QVERIFY(run.ctx.flags.silent);
        QVERIFY(!run.ctx.flags.hide);
        shell.Close();
        QCOMPARE(run.Setting(QStringLiteral("OnTop")), QStringLiteral("False"));
        QCOMPARE(run.Setting(QStringLiteral("Hide")), QStringLiteral("False"));
        QCOMPARE(run.Setting(QStringLiteral("Silent")), QStringLiteral("True"));
        QVERIFY(run.log.Text().contains(QStringLiteral("Unload MainBaloon")));
        QVERIFY(!shell.Character().isVisible());
    }

    void minimiseAndRestore() {
        Run run(folder_);
        Shell& shell = run.Start();
        shell.Minimize();
        QVERIFY(run.ctx.flags.minimized);
        QVERIFY(!shell.Character().isVisible());
        QVERIFY(!shell.Fellow().isVisible());
        QVERIFY(!shell.MainBalloonWindow().isVisible());
        QVERIFY(shell.Tray() && shell.Tray()->toolTip().startsWith(QStringLiteral("TOMU - ")));
        // While minimised scripts are not played.
        const QString before = shell.Player().Buffer();
        shell.Player().PlayScript(QStringLiteral("\\hだれもいない"));
        QCOMPARE(shell.Player().Buffer(), before);

        run.random.Push(0.5); // the second greeting
        shell.Restore(true);
        QVERIFY(!run.ctx.flags.minimized);
        QVERIFY(shell.Character().isVisible());
        QVERIFY(shell.Fellow().isVisible());
        QCOMPARE(shell.Player().Buffer(), QStringLiteral("\\h\\s0復活！\\w8\\u･･･\\w5ゾンビ？"));
        QVERIFY(InOrder(run.log.Text(), {QStringLiteral("Minimize... Complete"),
                                         QStringLiteral("Normalize... Complete")}));
    }

    void endCommand() {
        Run run(folder_);
        Shell& shell = run.Start();
        shell.EndCommand();
        QVERIFY(run.ctx.flags.exitRequest);
        QVERIFY(!shell.Closed()); // the main timer closes after the farewell
        QVERIFY(shell.Player().Buffer().startsWith(QStringLiteral("\\h今回の起動時間は、")));

        Run minimized(folder_ + QStringLiteral("second/"));
        QVERIFY(SeedProgramFolder(minimized.ctx.settings.AppFolder(),
                                  QStringLiteral(ORVANEL_DEFAULT_FOLDER)));
        Shell& other = minimized.Start();
        other.Minimize();
        other.EndCommand();
        QVERIFY(other.Closed());
        QVERIFY(!minimized.ctx.flags.exitRequest);
    }

    void portInUse() {
        QUdpSocket holder;
        QVERIFY(holder.bind(QHostAddress::Any, 0));
        Run run(folder_);
        run.Start(holder.localPort());
        QVERIFY(!run.started);
        QCOMPARE(run.shell->ExitCode(), 1);
        QVERIFY(run.log.Text().contains(
            QStringLiteral("MessageBox: %1番ポートは使用中です").arg(holder.localPort())));
        QVERIFY(!run.log.Text().contains(QStringLiteral("Boot Complete")));
        QCOMPARE(run.Setting(QStringLiteral("OnTop")), QStringLiteral("True"));
        QCOMPARE(run.Setting(QStringLiteral("Silent")), QStringLiteral("False"));
    }

    void skinWithoutFellow() {
        Run run(folder_);
        Shell& shell = run.Start();
        QVERIFY(shell.Fellow().isVisible());
        // The same pictures without the fellow.
        QFile skin(folder_ + QStringLiteral("kanami.skn"));
        QVERIFY(skin.open(QIODevice::ReadOnly));
        QByteArray text = skin.readAll();
        text.replace("Surface10=fellow.png", "");
        text.replace("Name=", "Name=2");
        QFile lone(folder_ + QStringLiteral("lone.skn"));
        QVERIFY(lone.open(QIODevice::WriteOnly));
        lone.write(text);
        lone.close();
        run.ctx.settings.WriteSetting(QStringLiteral("General"), QStringLiteral("SkinFile"),
                                      QStringLiteral("lone.skn"));
        QVERIFY(shell.ReloadSkin());
        QVERIFY(!run.ctx.skin.fellowPresent);
        QVERIFY(!shell.Fellow().isVisible());
        QVERIFY(!shell.FellowBalloonWindow().isVisible());
        QVERIFY(InOrder(run.log.Text(), {QStringLiteral("Unload FellowForm"),
                                         QStringLiteral("Unload FellowBaloon")}));
        // A script for the fellow has nowhere to go and stops there.
        shell.Player().PlayScript(QStringLiteral("\\hはい\\uいいえ"));
        for (int i = 0; i < 10; ++i)
            shell.Player().StepScript();
        QCOMPARE(shell.MainBalloonWindow().Message(), QStringLiteral("はい"));
    }
};

QTEST_MAIN(TestShellStartup)
#include "test_shell_startup.moc"
