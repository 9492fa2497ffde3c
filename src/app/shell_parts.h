#pragma once

#include "app/character_menu.h"
#include "app/character_window.h"
#include "app/fellow_window.h"
#include "app/main_loop.h"
#include "app/progress_windows.h"
#include "balloon/fellow_balloon.h"
#include "balloon/main_balloon.h"
#include "character/character_surfaces.h"
#include "core/headlines.h"
#include "net/datagram_receiver.h"
#include "watch/tick_driver.h"

#include <QList>
#include <QPointer>
#include <QSystemTrayIcon>

#include <memory>

namespace orvanel {

class AppContext;
class Engine;
class MessageBoxes;
class ShellTalk;
class SystemSources;

// What the pieces of the shell share: the play/talk engine, every window, the main loop, the
// tick driver and the datagram port, with the few steps all of them take. The Shell builds it
// once; the views adapter, the start-up and shutdown sequences and the commands work on it.
class ShellParts {
public:
    ShellParts(AppContext& ctx, MessageBoxes& boxes);
    ~ShellParts();

    // Plays `script` now: the main loop steps at once and the next tick comes at its time.
    void Play(const QString& script);
    // The primary screen, and the work area the characters stand on.
    static QRect ScreenGeometry();
    static QRect WorkArea();
    // Keeps both character windows above all others, or stops doing so.
    void SetTopmost(bool on);
    void UpdateProbes();
    void UpdateTrayTip();

    AppContext& ctx;
    MessageBoxes& boxes;
    std::unique_ptr<Engine> engine;
    std::unique_ptr<ShellTalk> talk;
    QList<Headline> headlines;
    CharacterWindow character;
    FellowWindow fellow;
    orvanel::MainBalloon mainBalloon;
    FellowBalloon fellowBalloon;
    QPointer<SplashWindow> splash;
    RegionProgressWindow progress; // opening it unloads the splash
    CharacterSurfaces surfaces;
    CharacterMenu menu;
    std::unique_ptr<QSystemTrayIcon> tray; // from the first Minimize on
    DatagramReceiver receiver;
    MainLoop loop;
    TickDriver ticks;
    std::unique_ptr<SystemSources> system; // the machine's events, from the end of the start on
    bool fellowLoaded = false;
    bool fellowBalloonLoaded = false;
    bool mainBalloonLoaded = false;
    bool closed = false;
    int exitCode = 0;

private:
    void UnloadSplash();
    void Step();
    void Tick();
    int QuietTicks() const;

    std::unique_ptr<QObject> inputWake_;
};

} // namespace orvanel
