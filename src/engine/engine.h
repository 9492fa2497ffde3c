#pragma once

#include <QRect>
#include <QString>

#include <memory>
#include <optional>

namespace orvanel {

class AppContext;
class BalloonView;
class CharacterView;
class DesktopWindows;
class Dictionary;
class MachineProbes;
class MainBalloonView;
class MainTimer;
class PlayState;
class ScenarioFiles;
class ScriptPlayer;
class ScriptLog;
class ScriptProbes;
class SystemEvents;
class SystemScriptProbes;
class TalkEngine;
class TimerHost;
class VirtualClock;
class WindowWatch;
class WordDecorator;
class WordSource;

// The headless heart of the program, wired in one place: the play state, the scenario files,
// the dictionary and its words, the machine and skin probes, the script player, the talk
// engine and (once the windows have a host) the main timer. The desktop shell, orvanel-script,
// the benchmarks and the test rigs all build this one graph.
class Engine {
public:
    // Parts a test or tool puts in place of the real ones; null means the real one.
    struct Parts {
        WordSource* words = nullptr;       // instead of the decorator over the dictionary
        ScriptProbes* probes = nullptr;    // instead of the system's skin names and screen
        MachineProbes* machine = nullptr;  // instead of this machine's /proc and /sys
        DesktopWindows* windows = nullptr; // instead of the X display's windows
    };

    explicit Engine(AppContext& ctx);
    Engine(AppContext& ctx, Parts parts);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // The windows that the player, the play state and the talk write into.
    void SetViews(MainBalloonView* mainBalloon, BalloonView* fellowBalloon,
                  CharacterView* character);
    // Builds the main timer and the system event reactions over the windows given to SetViews.
    MainTimer& AttachTimer(TimerHost& host);

    // Every script handed to the player goes to `log` as well (--script-log).
    void RecordScripts(ScriptLog& log);

    // The skin's external scripts, the scenario and the ID-relation files, read afresh.
    void ReloadScriptFiles();
    // The skin's names (from the program state) and the screen size for the script variables;
    // only with the system probes.
    void UpdateProbes(QRect screen);

    AppContext& Context() const { return ctx_; }
    PlayState& Play() const { return *play_; }
    ScenarioFiles& Scenario() const { return *scenario_; }
    Dictionary& Words() const { return *dictionary_; }
    WordSource& Source() const { return *source_; }
    MachineProbes& Machine() const { return *machine_; }
    ScriptPlayer& Player() const { return *player_; }
    TalkEngine& Talk() const { return *talk_; }
    // The other programs' windows: the known-software talk, the window remark and the debug
    // window's file manager and file search commands.
    WindowWatch& Windows() const { return *windowWatch_; }
    // Null until AttachTimer.
    MainTimer* Timer() const { return timer_.get(); }
    SystemEvents* Events() const { return events_.get(); }

private:
    AppContext& ctx_;
    std::unique_ptr<MachineProbes> ownMachine_;
    MachineProbes* machine_;
    std::unique_ptr<SystemScriptProbes> systemProbes_;
    ScriptProbes* probes_;
    std::unique_ptr<PlayState> play_;
    std::unique_ptr<ScenarioFiles> scenario_;
    std::unique_ptr<Dictionary> dictionary_;
    std::unique_ptr<WordDecorator> decorator_;
    WordSource* source_;
    std::unique_ptr<ScriptPlayer> player_;
    std::unique_ptr<TalkEngine> talk_;
    std::unique_ptr<DesktopWindows> ownWindows_;
    std::unique_ptr<WindowWatch> windowWatch_;
    std::unique_ptr<MainTimer> timer_;
    std::unique_ptr<SystemEvents> events_;
    MainBalloonView* mainBalloon_ = nullptr;
    BalloonView* fellowBalloon_ = nullptr;
    CharacterView* character_ = nullptr;
};

// Plays `script` as the main loop does, one step per TimerInterval on a virtual clock: the
// virtual milliseconds from PlayScript to the end of the step that ended it; nullopt when it
// had not ended after `maxSteps` steps (a scenario line that names itself talks for ever).
std::optional<qint64> PlayToEnd(ScriptPlayer& player, VirtualClock& clock, const AppContext& ctx,
                                const QString& script, qint64 maxSteps);
// Steps what plays until it ends, as PlayToEnd does after its PlayScript.
std::optional<qint64> RunToEnd(ScriptPlayer& player, VirtualClock& clock, const AppContext& ctx,
                               qint64 maxSteps);

} // namespace orvanel
