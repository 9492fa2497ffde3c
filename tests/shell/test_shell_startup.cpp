// The whole shell on the offscreen platform, on a copy of the default program folder: the
// start-up sequence and its trace, where the windows stand, the menu's switches, minimising,
// the End command, and the skin change.
#include "../fakes/full_disk.h"
#include "app/character_menu.h"
#include "app/debug_window.h"
#include "app/fellow_window.h"
#include "app/first_start_window.h"
#include "app/message_boxes.h"
#include "app/shell.h"
#include "app/shell_commands.h"
#include "app/shell_lifecycle.h"
#include "app/shell_parts.h"
#include "app/shell_tools.h"
#include "app/shell_views.h"
#include "balloon/fellow_balloon.h"
#include "balloon/main_balloon.h"
#include "balloon/panel_widgets.h"
#include "core/app_context.h"
#include "engine/engine.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "platform/system_actions.h"
#include "platform/text_file.h"
#include "script/play_state.h"
#include "script/script_player.h"
#include "talk/talk_engine.h"
#include "tools/trace_log.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>

using namespace orvanel;
using namespace Qt::StringLiterals;

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
    QString Setting(SettingKey key) { return ctx.settings.ReadSetting(key); }

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

ScriptPlayer& Player(Shell& shell) {
    return shell.Parts().engine->Player();
}

// Lets the program run (virtual time) until it has closed; false when it still runs after
// `ms`.
bool RunUntilClosed(Run& run, int ms) {
    for (int t = 0; t < ms && !run.shell->Closed(); t += 100)
        run.clock.Advance(100);
    return run.shell->Closed();
}

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
        folder_ = dir_.path() + u"/run%1/"_s.arg(QTest::currentTestFunction());
        QVERIFY(SeedProgramFolder(folder_, QStringLiteral(ORVANEL_DEFAULT_FOLDER)));
    }

    void freshFolder() {
        Run run(folder_);
        Shell& shell = run.Start();
        QVERIFY(run.started);
        QVERIFY(
            InOrder(run.log.Text(), u"Boot [|UserInfoLoad... Done|Load SplashForm|Load MainForm|"
                                    "RegionFileCheck...|Load RegionCreateForm...|Unload "
                                    "SplashForm|Load FellowForm|Load FellowBaloon...|SSTP Host "
                                    "= |Load MainBaloon...|FirstBoot = True|Load "
                                    "UserInfoForm...|UPD Port ...| Open|Debug Mode = "
                                    "False|Boot Complete|Main Timer Start"_s.split(u'|')));
        QCOMPARE(run.Setting(SettingKey::MsgDispLimit), u"300"_s);
        QCOMPARE(run.Setting(SettingKey::SkinFile), u"kanami.skn"_s);
        QVERIFY(shell.Lifecycle().FirstStart() && shell.Lifecycle().FirstStart()->isVisible());
        QVERIFY(!shell.Parts().character.isEnabled()); // until the names are given
        // The first-start script was handed over last, so it is the one heard.
        QVERIFY(Player(shell).Buffer().startsWith(u"\\hん？"_s));
        QVERIFY(QFile::exists(folder_ + u"kanami/Region.ini"_s));

        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect kanami = shell.Parts().character.geometry();
        QCOMPARE(kanami.x(), qRound(0.73 * screen.width()));
        QCOMPARE(kanami.bottom(), work.bottom());
        QVERIFY(shell.Parts().character.isVisible() && !shell.Parts().character.mask().isEmpty());
        const QRect fellow = shell.Parts().fellow.geometry();
        QCOMPARE(fellow.topLeft(),
                 QPoint(qRound(0.57 * screen.width()), work.bottom() - fellow.height() + 1));
        // Both balloons stand against their characters with the skin's offsets.
        const SkinState::Balloon& b0 = run.ctx.skin.balloons[0];
        QCOMPARE(shell.Parts().mainBalloon.pos(),
                 kanami.topLeft() -
                     QPoint(shell.Parts().mainBalloon.width(), shell.Parts().mainBalloon.height()) +
                     QPoint(qRound(b0.left / 15.0), qRound(b0.top / 15.0)));
    }

    void secondStartUsesTheCaches() {
        {
            Run first(folder_);
            first.Start();
            QVERIFY(first.started);
            first.shell->Close();
        }
        Run run(folder_);
        QVERIFY(run.ctx.settings.WriteSetting(SettingKey::Call, u"たろう"_s));
        QVERIFY(run.ctx.settings.WriteSetting(SettingKey::UpDate, u"True"_s));
        Shell& shell = run.Start();
        QVERIFY(run.started);
        QVERIFY(!run.log.Text().contains(u"Load RegionCreateForm"_s));
        QVERIFY(!shell.Lifecycle().FirstStart() && shell.Parts().character.isEnabled());
        // The update talk comes last and is heard; the key goes.
        QVERIFY(Player(shell).Buffer().startsWith(u"\\h更新完了しました。"_s));
        QCOMPARE(run.Setting(SettingKey::UpDate), QString());
    }

    void menuShowsAndSavesTheSwitches() {
        Run run(folder_);
        QVERIFY(run.ctx.settings.WriteSetting(SettingKey::OnTop,
                                              u"false"_s)); // only "False" turns it off
        Shell& shell = run.Start();
        QVERIFY(shell.Parts().engine->Play().OnTop());
        QVERIFY(shell.Parts().character.StaysOnTop());
        shell.Parts().engine->Play().SetOnTop(false); // as another part of the program may
        QVERIFY(!shell.Parts().character.StaysOnTop() && !shell.Parts().fellow.StaysOnTop());
        shell.Commands().OpenCharacterMenu(QPoint(10, 10));
        QVERIFY(!shell.Parts().menu.Item(MenuItem::OnTop)->isChecked());
        shell.Parts().menu.Menu()->hide();
        shell.Parts().menu.Item(MenuItem::Silent)->trigger();
        shell.Parts().menu.Item(MenuItem::Hide)->trigger();
        shell.Parts().menu.Item(MenuItem::Hide)->trigger();
        shell.Close();
        QCOMPARE(run.Setting(SettingKey::OnTop), u"False"_s);
        QCOMPARE(run.Setting(SettingKey::Hide), u"False"_s);
        QCOMPARE(run.Setting(SettingKey::Silent), u"True"_s);
        QVERIFY(!shell.Parts().character.isVisible());
    }

    void minimiseAndRestore() {
        Run run(folder_);
        Shell& shell = run.Start();
        shell.Commands().Minimize();
        QVERIFY(!shell.Parts().character.isVisible() && !shell.Parts().fellow.isVisible());
        QVERIFY(shell.Parts().tray && shell.Parts().tray->toolTip().startsWith(u"TOMU - "_s));
        // While minimised scripts are not played.
        const QString before = Player(shell).Buffer();
        Player(shell).PlayScript(u"\\hだれもいない"_s);
        QCOMPARE(Player(shell).Buffer(), before);

        run.random.Push(0.5); // the second greeting
        shell.Commands().Restore(true);
        QVERIFY(shell.Parts().character.isVisible() && shell.Parts().fellow.isVisible());
        QCOMPARE(Player(shell).Buffer(), u"\\h\\s0復活！\\w8\\u･･･\\w5ゾンビ？"_s);
    }

    // The End command ends her whatever she waits for, the farewell the last thing said;
    // minimised she closes at once.
    void endDuringEveryWait_data() {
        QTest::addColumn<QString>("wait");
        QTest::newRow("\\w") << u"w"_s;
        QTest::newRow("\\x on a hidden balloon, from the port") << u"x"_s;
        QTest::newRow("a finish action's 250 ms") << u"finish"_s;
        QTest::newRow("the skin reload's 500 ms") << u"reload"_s;
        QTest::newRow("minimised") << u"minimised"_s;
    }
    void endDuringEveryWait() {
        QFETCH(QString, wait);
        Run run(folder_);
        QVERIFY(run.ctx.settings.WriteSetting(SettingKey::Call, u"たろう"_s));
        Shell& shell = run.Start();
        bool waitedForEver = false, balloonShown = true;
        run.clock.ScheduleIn(60000, [&] { waitedForEver = run.ctx.flags.click = true; });
        const auto end = [&] { shell.Commands().EndCommand(); };
        if (wait == u"minimised") {
            shell.Commands().Minimize();
            end();
            QVERIFY(shell.Closed() && !run.ctx.flags.exitRequest);
            return;
        }
        if (wait == u"reload") {
            run.ctx.flags.skinChangeRequest = true;
            QObject::connect(&run.log, &TraceLog::Appended, &run.log, [&](const QString& piece) {
                if (piece.contains(u"UserInfoLoad"_s)) run.clock.ScheduleIn(100, end);
            });
        } else if (wait == u"finish") {
            shell.Parts().Play(u"\\hQ"_s); // steps at once and 50 ms later, then waits 250 ms
            shell.Parts().engine->Play().WaitThen(FinishAction::SelMsg);
            run.clock.ScheduleIn(150, end);
        } else if (wait == u"x") {
            ReceivedScript datagram{u"\\h\\_e\\x"_s, QHostAddress::LocalHost, 1, true};
            Q_EMIT shell.Parts().receiver.ScriptReceived(datagram);
            run.clock.ScheduleIn(1000, [&] {
                balloonShown = shell.Parts().mainBalloon.isVisible(); // the one she waits on
                end();
            });
        } else {
            shell.Parts().Play(u"\\hA"_s + u"\\w9"_s.repeated(100));
            run.clock.ScheduleIn(1000, end);
        }
        QVERIFY(RunUntilClosed(run, 30000));
        QVERIFY(!waitedForEver && balloonShown);
        QVERIFY(shell.Parts().mainBalloon.Message().startsWith(u"今回の起動時間は、"_s));
        QVERIFY(!shell.Parts().character.isVisible() && !shell.Parts().mainBalloon.isVisible());
    }

    // A click on her answers a click wait, as one on her balloon does, and pokes nobody.
    void aClickOnHerAnswersAClickWait() {
        Run run(folder_);
        QVERIFY(run.ctx.settings.WriteSetting(SettingKey::Call, u"たろう"_s));
        Shell& shell = run.Start();
        shell.Parts().Play(u"\\h\\xB"_s);
        run.clock.ScheduleIn(500, [&] {
            CharacterWindow& kanami = shell.Parts().character;
            Q_EMIT kanami.Pressed(CharacterWindow::Area::Body, Qt::LeftButton, {});
            Q_EMIT kanami.Clicked(CharacterWindow::Area::Body, {});
        });
        bool unanswered = false;
        run.clock.ScheduleIn(20000, [&] { unanswered = run.ctx.flags.click = true; });
        run.clock.Advance(2000);
        QVERIFY(!unanswered);
        QCOMPARE(shell.Parts().mainBalloon.Message(), u"B"_s);
    }

    // A failed start leaves tomu.ini as it was; a start takes away what writes cut short left
    // beside the program's files, and nothing else.
    void failedStartKeepsTheSettingsAndStartCleansUp() {
        const QString ini = folder_ + u"tomu.ini"_s, picture = folder_ + u"kanami/surface1.png"_s;
        QVERIFY(WriteCp932File(ini,
                               u"[General]\nOnTop=False\nHide=True\nSilent=True\n"
                               "MsgDispLimit=300\nTOMULimitTime=3000\nSkinFile=kanami.skn\n"_s));
        const std::optional<QString> before = ReadCp932File(ini);
        QVERIFY(QFile::rename(picture, picture + u"~"_s));
        {
            Run failed(folder_);
            failed.Start();
            QVERIFY(!failed.started && ReadCp932File(ini) == before);
        }

        QVERIFY(QFile::rename(picture + u"~"_s, picture));
        const QStringList cut = {u"tomu.ini.WaqPVZ"_s, u"TalkEngine/動物.ini.xKcDqa"_s,
                                 u"kanami/Region.ini.AbCdEf"_s, u"kanami/surface1.rgn.QwErTy"_s};
        const QStringList users = {u"tomu.ini.bak"_s, u"readme.txt.AbCdEf"_s,
                                   u"TalkEngine/動物.ini.ABC123"_s,
                                   u"kanami/surface1.png.AbCdEf"_s};
        for (const QString& name : cut + users)
            QVERIFY(WriteCp932File(folder_ + name, u"x"_s));
        Run run(folder_);
        run.Start();
        for (const QString& name : cut + users)
            QVERIFY2(QFile::exists(folder_ + name) == users.contains(name), qPrintable(name));
    }

    // Settings that cannot be written: said once, naming the file; the run goes on with them.
    void unwritableSettingsAreReportedOnce() {
        std::optional<fakes::FullDisk> disk(std::in_place, rlim_t(0));
        Run run(folder_);
        Shell& shell = run.Start();
        QVERIFY(run.started);
        FirstStartWindow* form6 = qobject_cast<FirstStartWindow*>(shell.Lifecycle().FirstStart());
        QVERIFY(form6);
        for (int i = 0; i < 3; ++i)
            form6->Field(i)->setText(u"名%1"_s.arg(i));
        form6->Ok();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // it closed itself
        shell.Parts().menu.Item(MenuItem::Silent)->trigger();
        shell.Close();
        disk.reset();
        const QString said =
            u"MessageBox: "_s + run.ctx.settings.SettingsFile() + u" に書き込めません"_s;
        QCOMPARE(run.log.Text().count(said), 1);
        QCOMPARE(run.ctx.profile.callName, u"名2"_s);
        QCOMPARE(run.Setting(SettingKey::Call), u"名2"_s);
        QVERIFY(!QFile::exists(folder_ + u"tomu.ini"_s));
    }

    // Every input that starts a script has it stepped at once, not when the resting loop would
    // next have woken.
    void inputsStepTheirScriptAtOnce() {
        Run run(folder_);
        QVERIFY(run.ctx.settings.WriteSetting(SettingKey::Call, u"たろう"_s));
        Shell& shell = run.Start();
        ShellParts& parts = shell.Parts();
        run.ctx.flags.silent = true;
        TalkEngine& talk = parts.engine->Talk();
        const auto stepsAtOnce = [&](const std::function<void()>& input) {
            run.clock.Advance(60000); // what played has ended; the loop rests
            if (!parts.loop.Resting()) return false;
            const quint64 steps = parts.loop.Steps();
            input();
            run.clock.Advance(0);
            return Player(shell).IsRunning() && parts.loop.Steps() == steps + 1;
        };
        QVERIFY(stepsAtOnce([&] {
            talk.QuestionsPart().OfferChoice(u"うん"_s, u"いや"_s, ChoiceTopic::Praise,
                                             ChoicePosition::Top);
            Q_EMIT parts.mainBalloon.YesLabel()->Clicked();
        }));
        QVERIFY(stepsAtOnce([&] {
            talk.LearningPart().StartLearning(u"動物"_s);
            parts.mainBalloon.hooks.learnWord(u"ねこ"_s);
        }));
        QVERIFY(stepsAtOnce([&] {
            QTest::mousePress(&parts.character, Qt::LeftButton, {},
                              parts.character.AreaRect(CharacterWindow::Area::EyeL).center());
        }));
    }

    void skinWithoutFellow() {
        Run run(folder_);
        Shell& shell = run.Start();
        // The same pictures without the fellow.
        QFile skin(folder_ + u"kanami.skn"_s);
        QVERIFY(skin.open(QIODevice::ReadOnly));
        QByteArray text = skin.readAll();
        text.replace("Surface10=fellow.png", "");
        text.replace("Name=", "Name=2");
        QFile lone(folder_ + u"lone.skn"_s);
        QVERIFY(lone.open(QIODevice::WriteOnly));
        lone.write(text);
        lone.close();
        QVERIFY(run.ctx.settings.WriteSetting(SettingKey::SkinFile, u"lone.skn"_s));
        QVERIFY(shell.Views().ReloadSkin());
        QVERIFY(!shell.Parts().fellow.isVisible() && !shell.Parts().fellowBalloon.isVisible());
        // A script for the fellow has nowhere to go and stops there.
        Player(shell).PlayScript(u"\\hはい\\uいいえ"_s);
        for (int i = 0; i < 10; ++i)
            Player(shell).StepScript();
        QCOMPARE(shell.Parts().mainBalloon.Message(), u"はい"_s);
    }

    // Debug=True opens the debug window at start-up; its switches make the face inert or
    // framed, and the edge toggle unloads it, leaving the face as the skin has it.
    void debugWindowAtStart() {
        Run run(folder_);
        QVERIFY(run.ctx.settings.WriteSetting(SettingKey::Debug, u"True"_s));
        Shell& shell = run.Start();
        QVERIFY(InOrder(run.log.Text(), {u"Debug Mode = True"_s, u"Load DebugForm... Complete"_s,
                                         u"Boot Complete"_s}));
        DebugWindow* debug = shell.Tools().Debug();
        QVERIFY(debug && debug->isVisible() && debug->Refreshing());
        QVERIFY(shell.Parts().menu.Item(MenuItem::Debug)->isEnabled());

        CharacterWindow& face = shell.Parts().character;
        const QRect nose = face.AreaRect(CharacterWindow::Area::Nose);
        debug->HitTestOff()->setChecked(true);
        QCOMPARE(face.AreaAt(nose.center()), CharacterWindow::Area::Body);
        debug->HitTestOff()->setChecked(false);
        QCOMPARE(face.AreaAt(nose.center()), CharacterWindow::Area::Nose);
        debug->ShowFrames()->setChecked(true);
        QCOMPARE(face.grab().toImage().pixelColor(nose.topLeft()), QColor(Qt::red));

        debug->HitTestOff()->setChecked(true);
        shell.Views().CloseDebugWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!shell.Tools().Debug());
        QVERIFY(run.log.Text().contains(u"Unload DebugForm"_s));
        QCOMPARE(face.AreaAt(nose.center()), CharacterWindow::Area::Nose);
        QVERIFY(!face.HitAreaFrames());
    }
};

QTEST_MAIN(TestShellStartup)
#include "test_shell_startup.moc"
