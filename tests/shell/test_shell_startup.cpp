// The whole shell on the offscreen platform, on a copy of the default program folder: the
// start-up sequence and its trace, where the windows stand, the menu's switches, minimising,
// the End command, and the skin change.
#include "app/character_menu.h"
#include "app/fellow_window.h"
#include "app/message_boxes.h"
#include "app/shell.h"
#include "app/shell_commands.h"
#include "app/shell_lifecycle.h"
#include "app/shell_parts.h"
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
#include "script/play_state.h"
#include "script/script_player.h"
#include "talk/talk_engine.h"
#include "tools/trace_log.h"

#include <QAction>
#include <QFile>
#include <QGuiApplication>
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

    void endCommand() {
        Run run(folder_);
        Shell& shell = run.Start();
        shell.Commands().EndCommand();
        QVERIFY(run.ctx.flags.exitRequest);
        QVERIFY(!shell.Closed()); // the main timer closes after the farewell
        QVERIFY(Player(shell).Buffer().startsWith(u"\\h今回の起動時間は、"_s));

        Run minimized(folder_ + u"second/"_s);
        QVERIFY(SeedProgramFolder(minimized.ctx.settings.AppFolder(),
                                  QStringLiteral(ORVANEL_DEFAULT_FOLDER)));
        Shell& other = minimized.Start();
        other.Commands().Minimize();
        other.Commands().EndCommand();
        QVERIFY(other.Closed());
        QVERIFY(!minimized.ctx.flags.exitRequest);
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
};

QTEST_MAIN(TestShellStartup)
#include "test_shell_startup.moc"
