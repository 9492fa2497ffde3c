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
#include <optional>

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
    // Every screen; the one a window stands on (that holds the most of it); what the panels
    // leave free of a screen.
    static QList<QRect> Screens();
    static QRect ScreenOf(const QWidget& window);
    static QRect WorkAreaOf(const QRect& screen);
    // The screen frmKanami stands on, and its work area.
    QRect ScreenGeometry() const { return ScreenOf(character); }
    QRect WorkArea() const { return WorkAreaOf(ScreenGeometry()); }
    // The one placement of the characters (start-up, drags, skin changes, the desktop's
    // changes): a character window stands on the bottom of the work area of the screen it is
    // on, where it is horizontally or at `x`, and inside that work area.
    static void StandOnBottom(QWidget& window, std::optional<int> x = std::nullopt);
    // Both characters, each at its own height.
    void StandOnBottom();
    // frmKanami at the start: on the screen and at the place where she stood when the program
    // last ended, else 0.73 across the primary screen.
    void PlaceAtStart();
    // Shows one of the program's windows (settings, first start, word registration, ...) as a
    // user expects it: centred on her screen, above her windows when they stay on top, wide
    // enough for its title, activated.
    void Present(QWidget& window) const;
    // Remembers where she stands for the next start. False when it could not be written.
    [[nodiscard]] bool RememberPlace() const;
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
    bool placed = false; // she has had her place at the start
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
