// orvanel: Kanami on the desktop.
//
//   orvanel [--folder DIR] [--trace-file PATH] [--port N] [--script-log FILE]
//
// Exit status: 0 after the End command or a normal close, 1 when the program could not run
// (another instance holds the program folder, the script port is taken, a picture is missing).
#include "app/instance_lock.h"
#include "app/message_boxes.h"
#include "app/shell.h"
#include "app/shell_commands.h"
#include "core/app_context.h"
#include "engine/engine.h"
#include "net/datagram_receiver.h"
#include "platform/clock.h"
#include "platform/ini_file.h"
#include "platform/linux/desktop_system_actions.h"
#include "platform/linux/quit_signals.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "platform/system_actions.h"
#include "tools/script_log.h"
#include "tools/trace_log.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <memory>

using namespace orvanel;
using namespace Qt::StringLiterals;

namespace {

// Wayland lets no window place itself, so the character runs through XWayland unless the
// user chose a platform.
void ChooseWindowSystem() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return;
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                         qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland";
    if (wayland && !qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "xcb");
}

// A refused start writes its one line after what the running program wrote.
void AppendToTrace(const QString& path, const QString& line) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write((line + u"\r\n"_s).toUtf8());
}

void NameProgram() {
    QCoreApplication::setApplicationName(u"orvanel"_s);
    QCoreApplication::setApplicationVersion(u"%1.%2.%3"_s.arg(ORVANEL_VERSION_MAJOR)
                                                .arg(ORVANEL_VERSION_MINOR)
                                                .arg(ORVANEL_VERSION_PATCH));
}

} // namespace

int main(int argc, char** argv) {
    ChooseWindowSystem();
    NameProgram();
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Kanami, the desktop character."_s);
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption folderOption(u"folder"_s, u"The program folder."_s, u"DIR"_s);
    const QCommandLineOption traceOption(u"trace-file"_s, u"Mirror the trace log to this file."_s,
                                         u"PATH"_s);
    const QCommandLineOption portOption(u"port"_s, u"The script port (default 9634)."_s, u"N"_s);
    const QCommandLineOption scriptLogOption(
        u"script-log"_s, u"Append every script played to this file, one JSON line each."_s,
        u"FILE"_s);
    parser.addOptions({folderOption, traceOption, portOption, scriptLogOption});
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // The help, the version and a wrong option are answered without a display.
    if (!parser.parse(arguments) || parser.isSet(helpOption) || parser.isSet(versionOption)) {
        QCoreApplication core(argc, argv);
        parser.process(core);
        return 0;
    }

    QApplication app(argc, argv);
    // Ties the windows to the installed desktop entry (its name and icon).
    QApplication::setDesktopFileName(u"org.orvanel.Orvanel"_s);
    // The characters are tool windows; the program ends by its own shutdown sequence.
    QApplication::setQuitOnLastWindowClosed(false);

    quint16 port = DatagramReceiver::kDefaultPort;
    if (parser.isSet(portOption)) {
        bool ok = false;
        const uint value = parser.value(portOption).toUInt(&ok);
        if (!ok || value == 0 || value > 65535) {
            std::fprintf(stderr, "orvanel: --port wants a number from 1 to 65535\n");
            return 2;
        }
        port = quint16(value);
    }

    SystemClock clock;
    TraceLog log(clock);
    MessageBoxes boxes(&log);
    const QString folder = ChooseProgramFolder(parser.value(folderOption));
    const QString tracePath = parser.value(traceOption);
    if (!QDir().mkpath(folder)) {
        boxes.ShowMessage(folder + u" を作成できません。"_s);
        return 1;
    }
    InstanceLock lock(folder);
    if (!lock.TryLock()) {
        InstanceLock::TellHolder(folder);
        if (!tracePath.isEmpty() && MessageBoxes::LoggedOnly())
            AppendToTrace(tracePath, u"MessageBox: 既に起動しています"_s);
        boxes.ShowMessage(u"既に起動しています"_s);
        return 1;
    }
    if (!tracePath.isEmpty() && !log.MirrorTo(tracePath))
        std::fprintf(stderr, "orvanel: cannot write the trace file %s\n", qPrintable(tracePath));
    if (!SeedProgramFolder(folder, DefaultDataFolder()))
        log.LogLine(u"Seeding incomplete: "_s + folder);

    SystemRandom random{quint32(QDateTime::currentMSecsSinceEpoch())};
    IniStore ini;
    std::unique_ptr<SystemActions> actions;
    if (SystemActionsLogOnly())
        actions = std::make_unique<LoggingSystemActions>(
            [&log](const QString& line) { log.LogLine(line); });
    else
        actions = std::make_unique<DesktopSystemActions>(
            [&boxes](const QString& question) { return boxes.Confirm(question); });
    AppContext ctx(clock, random, ini, folder, log, *actions);

    Shell shell(ctx, boxes, Shell::Options{port});
    ScriptLog scriptLog(clock);
    if (parser.isSet(scriptLogOption)) {
        if (scriptLog.Open(parser.value(scriptLogOption)))
            shell.Core().RecordScripts(scriptLog);
        else
            std::fprintf(stderr, "orvanel: cannot write the script log %s\n",
                         qPrintable(parser.value(scriptLogOption)));
    }
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::Received, &quitSignals,
                     [&shell] { shell.Close(); });
    if (!shell.Start()) return shell.ExitCode();
    lock.ListenForSecondStarts([&shell] { shell.Commands().BringForward(); });
    return app.exec();
}
