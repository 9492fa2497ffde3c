#pragma once

#include "core/outcome.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace orvanel {

class CharacterView;
class VersionInfo;
class ShellParts;

// The start-up sequence (Form_Load of frmKanami with the loads it starts) and the shutdown
// sequence (its Unload). Every fatal outcome on the way, and later ones (a picture gone at a
// skin change), end the program the same way: Survive.
class ShellLifecycle {
public:
    ShellLifecycle(ShellParts& parts, CharacterView& character, quint16 port);
    // The first-start window, when still open, goes with the shell.
    ~ShellLifecycle();
    ShellLifecycle(const ShellLifecycle&) = delete;
    ShellLifecycle& operator=(const ShellLifecycle&) = delete;

    // Loads everything, shows the character and starts the main loop. False when the program
    // ended on the way (a missing picture, the port in use).
    bool Start();
    // The shutdown sequence: the switches saved (after a start that got through), windows
    // hidden, nothing runs any more. The program then ends with `exitCode`.
    void Close(int exitCode = 0);
    // A fatal outcome has shown its message box; the shutdown sequence ends the program with
    // exit code 1. True when the program goes on.
    bool Survive(Outcome outcome);

    // Loads frmFellow and its balloon as the skin has them, or unloads them (start-up and
    // skin reload).
    [[nodiscard]] Outcome LoadFellow();
    // Form6, while the names are asked for at the first start.
    QWidget* FirstStart() const { return firstStart_; }

    // Opens the debug window when [General] Debug is "True".
    std::function<void()> openDebugWindow;

private:
    void SettingsUnwritable(const QString& file);
    void ShowSplash(const VersionInfo& version);
    void LoadMainForm();
    void PlaceWindows();
    [[nodiscard]] Outcome LoadMainBalloon();
    [[nodiscard]] Outcome LoadFellowBalloon();
    void UnloadFellow();
    void UnloadFellowBalloon();
    void Greet(const VersionInfo& version);
    [[nodiscard]] Outcome OpenPort();
    void Finish();
    void WatchSystem();

    ShellParts& parts_;
    CharacterView& character_;
    quint16 port_;
    QPointer<QWidget> firstStart_;
    bool started_ = false; // the start-up sequence got through
};

} // namespace orvanel
