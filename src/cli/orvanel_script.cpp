// orvanel-script: plays one script through the real player, headless, on a virtual clock, and
// prints what the balloons finally show, the surfaces shown and the time the script took.
//
//   orvanel-script [--folder DIR] [--seed N] [SCRIPT]     (no SCRIPT: standard input, UTF-8)
//   orvanel-script [--folder DIR] [--seed N] --talk N      (N generated idle talks)
//
// It only reads the program folder: no script command writes there ("$learn" would need the
// user's answer), so the default folder is used as it is.
#include "character/skin.h"
#include "core/app_context.h"
#include "core/profile.h"
#include "engine/engine.h"
#include "engine/headless_views.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "platform/system_actions.h"
#include "script/script_player.h"
#include "talk/talk_engine.h"
#include "tools/trace_log.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <cstdio>

using namespace Qt::StringLiterals;

using namespace orvanel;

namespace {

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
    text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    if (text.endsWith(u'\n')) text.chop(1);
    return text.replace(u"\n"_s, u"\r\n"_s);
}

void Print(const QString& line) {
    std::fputs(qPrintable(line + u'\n'), stdout);
}

// A scenario line that names itself would talk for ever; playback stops somewhere.
constexpr qint64 kMaxSteps = 5'000'000;

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"orvanel-script"_s);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Plays a script headless and prints the balloons' final text."_s);
    parser.addHelpOption();
    const QCommandLineOption folderOption(u"folder"_s, u"Program folder (read only)."_s, u"DIR"_s);
    const QCommandLineOption seedOption(u"seed"_s, u"Seed of the random generator."_s, u"N"_s);
    const QCommandLineOption talkOption(
        u"talk"_s, u"Generate N idle talks and play each (instead of SCRIPT)."_s, u"N"_s);
    parser.addOption(folderOption);
    parser.addOption(seedOption);
    parser.addOption(talkOption);
    parser.addPositionalArgument(u"SCRIPT"_s, u"The script; standard input when omitted."_s);
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
    // The profile and the skin are read, not repaired: the folder stays untouched.
    ReadUserInfo(settings, ctx.profile);
    ctx.flags.timerInterval = settings.Number(SettingKey::TimerInterval);
    ctx.flags.startTick = clock.TickCount();
    LoadSkinInfo(ctx);
    CheckFellowPresent(ctx);

    // The machine talk reads this machine; its one chore (the recent documents) is reported.
    Engine engine(ctx);
    HeadlessBalloon mainBalloon;
    HeadlessBalloon fellowBalloon;
    HeadlessCharacter character;
    character.fellow = ctx.skin.fellowPresent;
    engine.SetViews(&mainBalloon, &fellowBalloon, &character);
    // No display: a 1024 x 768 screen at 96 dpi stands in for one.
    engine.UpdateProbes(QRect(0, 0, 1024, 768));
    engine.ReloadScriptFiles();
    ScriptPlayer& player = engine.Player();
    // The user clicks each click wait as its first blink cycle (200 + 700 ms) ends.
    player.hooks.clickWaitStarted = [&] { clock.ScheduleIn(900, [&] { player.Click(); }); };

    const auto play = [&](const std::function<QString()>& make) {
        mainBalloon.message.clear();
        fellowBalloon.message.clear();
        character.surfaces.clear();
        const auto elapsed = PlayToEnd(player, clock, ctx, make(), kMaxSteps);
        if (!elapsed) {
            std::fprintf(stderr, "orvanel-script: the script did not end after %lld steps\n",
                         static_cast<long long>(kMaxSteps));
            return false;
        }
        QStringList surfaces;
        for (int n : character.surfaces)
            surfaces << QString::number(n);
        Print(u"h: "_s + JsonString(mainBalloon.message));
        Print(u"u: "_s + JsonString(fellowBalloon.message));
        Print(u"surfaces: "_s + surfaces.join(u' '));
        Print(u"elapsed: "_s + QString::number(*elapsed));
        return true;
    };

    if (!parser.isSet(talkOption)) return play([&] { return script; }) ? 0 : 3;
    for (int i = 0; i < talks; ++i) {
        if (!play([&] { return engine.Talk().MakeRandomTalk(); })) return 3;
        Print(QString());
    }
    return 0;
}
