#pragma once

#include <QObject>
#include <QPointer>

namespace orvanel {

class CharacterView;
class DebugWindow;
class LogWindow;
class ShellCommands;
class ShellParts;
class SystemLauncherWindow;

// The tool windows: the trace log window frmLog, the system launcher frmSL and the debug
// window frmDebug, with the commands that open them (the character's menu, the balloon menu,
// Ctrl and the left button on her nose, Debug=True at start-up) and the edge toggle that
// closes the debug window.
class ShellTools final : public QObject {
    Q_OBJECT
public:
    ShellTools(ShellParts& parts, CharacterView& character, ShellCommands& commands);
    ~ShellTools() override;

    // frmLog, loaded on first use and kept until the program ends.
    void ShowLog();
    // frmSL, shown and raised.
    void OpenLauncher();
    // frmDebug, loaded when needed, shown and raised, the focus in its script line.
    DebugWindow& OpenDebugWindow();
    // Start-up with [General] Debug=True: the debug window at left 200, top 5500 twips.
    void OpenDebugWindowAtStart();
    // The main timer's edge toggle: a shown debug window is unloaded.
    void CloseDebugWindow();

    // The windows while they are loaded, else null.
    LogWindow* Log() const;
    SystemLauncherWindow* Launcher() const;
    DebugWindow* Debug() const;

private:
    ShellParts& parts_;
    CharacterView& character_;
    ShellCommands& commands_;
    QPointer<LogWindow> log_;
    QPointer<SystemLauncherWindow> launcher_;
    QPointer<DebugWindow> debug_;
};

} // namespace orvanel
