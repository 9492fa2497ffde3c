// orvanel-script: plays one script through the real player, headless, on a virtual clock, and
// prints what the balloons finally show, the surfaces shown and the time the script took.
//
//   orvanel-script [--folder DIR] [--seed N] [SCRIPT]     (no SCRIPT: standard input, UTF-8)
//   orvanel-script [--folder DIR] [--seed N] --talk N      (N generated idle talks)
//
// It only reads the program folder: no script command writes there ("$learn" would need the
// user's answer), so the default folder is used as it is.
#include "app/app_context.h"
#include "app/profile.h"
#include "app/views.h"
#include "net/main_frame.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "platform/system_actions.h"
#include "script/scenario_files.h"
#include "script/script_player.h"
#include "script/script_probes.h"
#include "talk/dictionary.h"
#include "talk/machine_probes.h"
#include "talk/talk_engine.h"
#include "talk/word_decoration.h"
#include "tools/trace_log.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <cstdio>

using namespace orvanel;

namespace {

// A balloon without a window: it keeps the label text and its panels' state.
class ConsoleBalloon final : public MainBalloonView {
public:
    void Show() override { visible_ = true; }
    void Hide() override { visible_ = false; }
    bool IsVisible() const override { return visible_; }
    void BringToFront() override {}
    void SetTopmost(bool) override {}
    quint64 Activate() override { return 0; }
    void RestoreActivation(quint64) override {}
    void SetMessage(const QString& text) override { message_ = text; }
    QString Message() const override { return message_; }
    void SetWaitMarkerVisible(bool) override {}
    void SetPanelVisible(BalloonPanel panel, bool on) override {
        if (on)
            panels_.insert(int(panel));
        else
            panels_.remove(int(panel));
    }
    bool IsPanelVisible(BalloonPanel panel) const override { return panels_.contains(int(panel)); }
    void ResetPanelButtons(BalloonPanel) override {}
    void MoveChoicePanel(int, int) override {}
    void SetChoiceWords(const QString&, const QString&) override {}
    void SetTeachPrompt(const QString&) override {}
    void SetTeachExample(const QString&) override {}
    QString InputText() const override { return input_; }
    void SetInputText(const QString& text) override { input_ = text; }
    void FocusInput() override {}

private:
    bool visible_ = false;
    QString message_;
    QString input_;
    QSet<int> panels_;
};

// The character as the skin describes it; remembers every surface it was asked to show.
class ConsoleCharacter final : public CharacterView {
public:
    explicit ConsoleCharacter(bool fellow) : fellow_(fellow) {}
    bool IsVisible() const override { return true; }
    void ShowSurface(int n, bool) override { surfaces.append(n); }
    bool FellowPresent() const override { return fellow_; }
    void SetTopmost(bool) override {}
    void BringToForeground() override {}
    void SetEnabled(bool) override {}
    QList<int> surfaces;

private:
    bool fellow_;
};

QString JsonString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// Standard input as a script: line ends become the script's CR LF, and the line end that
// closes the input is not part of the script.
QString ReadStdin() {
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) return {};
    QByteArray data = in.readAll();
    if (data.startsWith("\xEF\xBB\xBF")) data.remove(0, 3);
    QString text = QString::fromUtf8(data);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    if (text.endsWith(u'\n')) text.chop(1);
    return text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

void Print(const QString& line) {
    std::fputs(qPrintable(line + u'\n'), stdout);
}

// A scenario line that names itself would talk for ever; playback stops somewhere.
constexpr qint64 kMaxSteps = 5'000'000;

// Plays `script` as the main loop does, one step per TimerInterval; the virtual milliseconds
// from PlayScript to the end of the step that ended it, nullopt when it would not end.
std::optional<qint64> PlayToEnd(ScriptPlayer& player, VirtualClock& clock, const RunFlags& flags,
                                const QString& script) {
    player.PlayScript(script);
    const qint64 start = clock.ElapsedMs();
    qint64 end = start;
    for (qint64 steps = 0; player.IsRunning(); ++steps) {
        if (steps == kMaxSteps) return std::nullopt;
        clock.Advance(quint32(flags.timerInterval));
        player.StepScript();
        end = clock.ElapsedMs();
    }
    return end - start;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvanel-script"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays a script headless and prints the balloons' final text."));
    parser.addHelpOption();
    const QCommandLineOption folderOption(QStringLiteral("folder"),
                                          QStringLiteral("Program folder (read only)."),
                                          QStringLiteral("DIR"));
    const QCommandLineOption seedOption(QStringLiteral("seed"),
                                        QStringLiteral("Seed of the random generator."),
                                        QStringLiteral("N"));
    const QCommandLineOption talkOption(
        QStringLiteral("talk"),
        QStringLiteral("Generate N idle talks and play each (instead of SCRIPT)."),
        QStringLiteral("N"));
    parser.addOption(folderOption);
    parser.addOption(seedOption);
    parser.addOption(talkOption);
    parser.addPositionalArgument(QStringLiteral("SCRIPT"),
                                 QStringLiteral("The script; standard input when omitted."));
    parser.process(app);

    QString folder = parser.value(folderOption);
    if (folder.isEmpty()) folder = DefaultDataFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        std::fprintf(stderr, "orvanel-script: no program folder (use --folder DIR)\n");
        return 2;
    }
    quint32 seed = quint32(QDateTime::currentMSecsSinceEpoch());
    if (parser.isSet(seedOption)) {
        bool ok = false;
        seed = parser.value(seedOption).toUInt(&ok);
        if (!ok) {
            std::fprintf(stderr, "orvanel-script: --seed wants a whole number\n");
            return 2;
        }
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        std::fprintf(stderr, "orvanel-script: one SCRIPT at most (quote it)\n");
        return 2;
    }
    int talks = 0;
    if (parser.isSet(talkOption)) {
        bool ok = false;
        talks = parser.value(talkOption).toInt(&ok);
        if (!ok || talks < 0 || !positional.isEmpty()) {
            std::fprintf(stderr, "orvanel-script: --talk wants a count and no SCRIPT\n");
            return 2;
        }
    }
    const QString script = parser.isSet(talkOption) ? QString()
                           : positional.isEmpty()   ? ReadStdin()
                                                    : positional.first();

    VirtualClock clock(QDateTime::currentDateTime());
    SystemRandom random(seed);
    IniStore ini;
    TraceLog log(clock);
    // Nothing outside the run happens: system actions (an address of "\j[...]") are reported.
    LoggingSystemActions actions(
        [](const QString& line) { std::fprintf(stderr, "%s\n", qPrintable(line)); });
    AppContext ctx(clock, random, ini, folder, log, actions);
    const Settings& settings = ctx.settings;
    // The profile is read, not repaired: the folder stays untouched.
    ctx.profile.callName = settings.ReadSetting(QStringLiteral("User"), QStringLiteral("Call"));
    ctx.flags.timerInterval = ReadTimerInterval(settings);
    ctx.flags.startTick = clock.TickCount();

    QString skin = settings.ReadSetting(QStringLiteral("General"), QStringLiteral("SkinFile"));
    if (skin.isEmpty()) skin = QStringLiteral("kanami.skn");
    const QString skinPath = settings.FilePath(skin);
    const auto skinValue = [&](const char* section, const char* key) {
        return settings.ReadIni(skinPath, QString::fromLatin1(section), QString::fromLatin1(key));
    };
    SystemScriptProbes probes;
    SystemScriptProbes::SkinNames names;
    names.selfCall = skinValue("Name", "HSelfName");
    if (names.selfCall.isEmpty()) names.selfCall = QStringLiteral("わたし");
    names.selfName = skinValue("Name", "HCallName");
    names.fellowName = skinValue("Name", "FCallName");
    probes.SetSkinNames(names);
    // No display: a 1024 x 768 screen at 96 dpi stands in for one.
    probes.SetScreenTwips(1024 * 15, 768 * 15);

    ScenarioFiles scenario(settings, log, random);
    QString prefix = skinValue("Skin", "Folder") + u'\\';
    if (prefix == u"\\") prefix.clear();
    scenario.LoadExternalScripts(prefix, skinValue("Script", "ScriptFile"));
    scenario.LoadScenario();
    scenario.LoadIdRelation();

    Dictionary dictionary(settings, random);
    WordDecorator words(dictionary, random);
    TOMU_MainFrame frame;
    ConsoleBalloon mainBalloon;
    ConsoleBalloon fellowBalloon;
    ConsoleCharacter character(!skinValue("Skin", "Surface10").isEmpty());
    frame.SetViews(&mainBalloon, &character);
    ScriptPlayer player(ctx, frame, words, scenario, probes);
    player.SetViews(&mainBalloon, &fellowBalloon, &character);
    // The user clicks each click wait as its first blink cycle (200 + 700 ms) ends.
    player.hooks.clickWaitStarted = [&] { clock.ScheduleIn(900, [&] { player.Click(); }); };

    // The machine talk reads this machine; its one chore (the recent documents) is reported.
    LinuxMachineProbes machine;
    TalkEngine talk(ctx, frame, player, dictionary, words, scenario, probes, machine);
    talk.SetViews(&mainBalloon, &fellowBalloon, &character);

    const auto play = [&](const std::function<QString()>& make) {
        mainBalloon.SetMessage({});
        fellowBalloon.SetMessage({});
        character.surfaces.clear();
        const auto elapsed = PlayToEnd(player, clock, ctx.flags, make());
        if (!elapsed) {
            std::fprintf(stderr, "orvanel-script: the script did not end after %lld steps\n",
                         static_cast<long long>(kMaxSteps));
            return false;
        }
        QStringList surfaces;
        for (int n : character.surfaces)
            surfaces << QString::number(n);
        Print(QStringLiteral("h: ") + JsonString(mainBalloon.Message()));
        Print(QStringLiteral("u: ") + JsonString(fellowBalloon.Message()));
        Print(QStringLiteral("surfaces: ") + surfaces.join(u' '));
        Print(QStringLiteral("elapsed: ") + QString::number(*elapsed));
        return true;
    };

    if (!parser.isSet(talkOption)) return play([&] { return script; }) ? 0 : 3;
    for (int i = 0; i < talks; ++i) {
        if (!play([&] { return talk.MakeRandomTalk(); })) return 3;
        Print(QString());
    }
    return 0;
}
