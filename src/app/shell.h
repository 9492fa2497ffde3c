#pragma once

#include "app/character_menu.h"
#include "app/character_window.h"
#include "character/character_surfaces.h"
#include "core/views.h"
#include "net/datagram_receiver.h"
#include "watch/timer_host.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <memory>

class QSystemTrayIcon;

namespace orvanel {

class AppContext;
class DatagramReceiver;
class Engine;
class FellowBalloon;
class FellowWindow;
class MainBalloon;
class MainLoop;
class MainTimer;
class MessageBoxes;
class OptionWindow;
class RegionProgressWindow;
class ScenarioFiles;
class ScriptPlayer;
class ShellTalk;
class SkinSelectWindow;
class SplashWindow;
class SystemSources;
class WordSource;
class PlayState;
class TalkEngine;
class TickDriver;
struct Headline;
struct ReceivedScript;

// The running program: every window, the script player, the main loop and the main timer,
// the datagram port, the character's menu and the notification-area icon. It runs the
// start-up sequence, carries out the menu's commands and closes the program with the
// shutdown sequence.
class Shell final : public QObject, public CharacterView, public TimerHost, public SkinReloadSteps {
    Q_OBJECT
public:
    struct Options {
        quint16 port = DatagramReceiver::kDefaultPort;
    };
    Shell(AppContext& ctx, MessageBoxes& boxes, Options options);
    ~Shell() override;

    // Another talk than the talk engine's (see ShellTalk).
    void UseTalk(std::unique_ptr<ShellTalk> talk);
    TalkEngine& Talk() const;
    Engine& Core() const { return *engine_; }

    // Loads everything, shows the character and starts the main loop. False when the program
    // ended on the way (a missing picture, the port in use); ExitCode() says how.
    bool Start();
    // Closes the character window: the shutdown sequence. The program then ends.
    void Close(int exitCode = 0);
    bool Closed() const { return closed_; }
    int ExitCode() const { return exitCode_; }

    // Menu commands.
    void OpenOptions();
    void OpenSkinSelection();
    void ToggleOnTop();
    void ToggleHide();
    void ToggleSilent();
    void StartPlugIn(MenuItem item);
    void Minimize();
    void Restore(bool fromIcon);
    void ShowAbout();
    // The End command: the farewell, then the main timer closes 30 ticks after it.
    void EndCommand();
    // Opens rclc at `global` as the right button does over the character.
    void OpenCharacterMenu(QPoint global);

    // The parts, for the process entry and for tests.
    ScriptPlayer& Player() const { return *player_; }
    PlayState& Frame() const { return *playState_; }
    CharacterWindow& Character() const { return *character_; }
    FellowWindow& Fellow() const { return *fellow_; }
    orvanel::MainBalloon& MainBalloonWindow() const { return *mainBalloon_; }
    FellowBalloon& FellowBalloonWindow() const { return *fellowBalloon_; }
    CharacterMenu& Menu() const { return *menu_; }
    MainTimer& Timer() const { return *mainTimer_; }
    MainLoop& Loop() const { return *mainLoop_; }
    TickDriver& Ticks() const { return *tickDriver_; }
    OptionWindow* OptionsWindow() const;
    SkinSelectWindow* SkinSelection() const;
    QWidget* FirstStart() const { return firstStart_; }
    QSystemTrayIcon* Tray() const { return tray_; }
    const QList<Headline>& Headlines() const { return *headlines_; }

    // CharacterView (frmKanami with frmFellow)
    bool IsVisible() const override;
    void ShowSurface(int n, bool hold) override;
    bool FellowPresent() const override;
    void SetTopmost(bool on) override;
    void BringToForeground() override;
    void SetEnabled(bool on) override;

    // TimerHost
    QRect CharacterGeometry() const override;
    QRect FellowGeometry() const override;
    QSize BalloonSize(int balloon) const override;
    QPoint BalloonOffsetTwips(int balloon) const override;
    void MoveBalloon(int balloon, QPoint topLeft) override;
    void MoveCharacter(QPoint topLeft) override;
    QPoint CursorPosition() const override;
    QRect ScreenGeometry() const override;
    QRect WorkArea() const override;
    void SetCharacterVisible(bool on) override;
    void SetFellowVisible(bool on) override;
    void ShowBlinkPicture(bool eyesClosed) override;
    void CloseDebugWindow() override;
    void CloseCharacterWindow() override;
    bool ReloadSkin() override;
    void RandomTalk() override;
    QString TodayDateText() override;
    QString TodayAnniversary() override;

    // SkinReloadSteps
    void PlaceHitAreas(const HitAreas& areas) override;
    void ReloadScriptFiles() override;
    Outcome ReloadFellow() override;
    ShapedWindow& MainBalloon() override;
    void PlaceMainMessageArea() override;

Q_SIGNALS:
    // The shutdown sequence has run; the process ends with `exitCode`.
    void Finished(int exitCode);

private:
    void Play(const QString& script);
    // A fatal failure: its message box has been shown; the shutdown sequence ends the program.
    void EndProgram();
    [[nodiscard]] Outcome LoadFellow();
    [[nodiscard]] Outcome LoadMainBalloon();
    [[nodiscard]] Outcome LoadFellowBalloon();
    void UnloadFellow();
    void UnloadSplash();
    void PlaceCharacter(double factor);
    void StandOnBottom();
    void Step();
    void Tick();
    int QuietTicks() const;
    void ScriptArrived(const ReceivedScript& received);
    void CharacterPressed(CharacterWindow::Area area, Qt::MouseButton button);
    void CharacterReleased(CharacterWindow::Area area, Qt::MouseButton button, QPoint global);
    void FellowPoked();
    void PrepareMenu(bool fromCharacter);
    void UpdateProbes();
    void WatchSystem();
    void UpdateTrayTip();

    AppContext& ctx_;
    MessageBoxes& boxes_;
    Options config_;
    std::unique_ptr<QList<Headline>> headlines_;
    std::unique_ptr<Engine> engine_;
    PlayState* playState_;
    ScriptPlayer* player_;
    WordSource* words_;
    std::unique_ptr<ShellTalk> talk_;
    std::unique_ptr<CharacterWindow> character_;
    std::unique_ptr<FellowWindow> fellow_;
    std::unique_ptr<orvanel::MainBalloon> mainBalloon_;
    std::unique_ptr<FellowBalloon> fellowBalloon_;
    std::unique_ptr<RegionProgressWindow> progress_;
    std::unique_ptr<CharacterSurfaces> surfaces_;
    MainTimer* mainTimer_;
    TickDriver* tickDriver_;
    MainLoop* mainLoop_;
    SystemSources* systemSources_ = nullptr;
    DatagramReceiver* receiver_;
    CharacterMenu* menu_;
    QSystemTrayIcon* tray_ = nullptr;
    QPointer<SplashWindow> splash_;
    QPointer<OptionWindow> optionWindow_;
    QPointer<SkinSelectWindow> skinSelect_;
    QPointer<QWidget> firstStart_;
    QPointer<QWidget> about_;
    bool fellowLoaded_ = false;
    bool fellowBalloonLoaded_ = false;
    bool mainBalloonLoaded_ = false;
    bool closed_ = false;
    int exitCode_ = 0;
};

} // namespace orvanel
