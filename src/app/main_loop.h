#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>

namespace orvanel {

class AppContext;
class ClockTimer;

// The main loop: one step of the script player every TimerInterval milliseconds, for as long
// as the program runs. Between steps nothing runs but what the event loop delivers (the main
// timer, the mouse, datagrams): there is no busy-wait.
//
// One single-shot timer on the program's clock is started after each step, so a step that waits
// (and lets events run meanwhile) can never be overlapped by the next step. The interval is read
// from the program-wide state at each restart: the options window changes the speed at once.
//
// While no script plays a step would do nothing, so the loop rests instead of waking twenty
// times a second; whoever starts a script wakes it, and the next step comes at once.
class MainLoop {
public:
    // `step` is one step of the player; `busy` tells whether a script is playing.
    MainLoop(AppContext& ctx, std::function<void()> step, std::function<bool()> busy);
    ~MainLoop();

    // Logs "Main Timer Start" and schedules the first step.
    void Start();
    void Stop();
    bool IsRunning() const { return running_; }
    // A script has started: step at once if the loop rests.
    void Wake();
    bool Resting() const;
    // Steps taken so far.
    quint64 Steps() const { return steps_; }

private:
    void Step();

    AppContext& ctx_;
    std::function<void()> step_;
    std::function<bool()> busy_;
    std::unique_ptr<ClockTimer> timer_;
    bool running_ = false;
    bool stepping_ = false;
    quint64 steps_ = 0;
};

} // namespace orvanel
