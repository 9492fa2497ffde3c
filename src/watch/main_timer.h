#pragma once

#include <QPoint>
#include <QString>

namespace orvanel {

class AppContext;
class BalloonView;
class CharacterView;
class MainBalloonView;
class ScriptPlayer;
class TimerHost;
class WindowWatch;
class WordSource;

// Timer1: what the characters do without being asked, one tick at a time (64 ticks a second,
// driven by a TickDriver). Each tick keeps the balloons beside their characters, hides or
// shows the characters at the screen edges, gives the hourly time signal, closes balloons that have
// been open long enough, blinks, lets touches wear off, starts idle talk, raises the windows
// after a window remark, and carries out a pending exit or skin change once the talk is over.
//
// All counting is in ticks, so the pace follows the tick rate; only the time signal reads the
// clock. Tick() may run again inside a Wait of its own skin reload.
class MainTimer {
public:
    MainTimer(AppContext& ctx, ScriptPlayer& player, WordSource& words, TimerHost& host,
              WindowWatch& windows, MainBalloonView& mainBalloon, BalloonView& fellowBalloon,
              CharacterView& character);

    // One firing of the timer: every step, in order.
    void Tick();

    // How many of the coming ticks, at most `atMost`, change nothing anyone can see (only
    // counters and random draws), so that the TickDriver may sleep through them. While a
    // script plays, the edges are watched or an exit, skin change or foreground request
    // waits, every tick counts.
    int QuietTicks(int atMost) const;

    // Draws the blink interval the first blink waits for (start-up, after seeding the random
    // numbers). Without it the eyes first open at tick 7 and blinking starts from there.
    void DrawFirstBlinkInterval();
    // Ticks until the next blink; a quarter of the blinks are followed by a quick second one.
    qint32 NextBlinkInterval();
    // Hides all character windows, or shows them again; fires once per visit of the cursor
    // to the screen edges.
    void EdgeToggle();

    // The timer's own counters, for the debug window and tests.
    struct Counters {
        qint32 blinkCount = 0;    // ticks since the last blink
        qint32 blinkInterval = 0; // ticks from the last blink to the next
        bool quickBlink = false;  // the last interval drawn was the quick second blink
        bool timeSignalDone = false;
        qint32 murmur = 0; // ticks since the last idle talk
        bool edgeArmed = false;
        QPoint cursor; // last cursor position read by the edge watch
        qint32 foregroundCount = 0;
        qint32 skinChangeIdleTicks = 0;
    };
    const Counters& State() const { return c_; }

private:
    void PlaceBalloons();
    void WatchEdges();
    void TimeSignal();
    void CountDisplayTime(BalloonView& balloon, qint32& counter);
    void Blink();
    void CoolDownTouches();
    void CalmDown(qint32& count, qint32& quietTicks, bool& touched, qint32 faceAt);
    bool IdleTalk();
    void Foreground();
    void ExitPhase();
    void SkinChangePhase();
    void PlaceCharacter();
    void GreetAfterSkinChange();

    AppContext& ctx_;
    ScriptPlayer& player_;
    WordSource& words_;
    TimerHost& host_;
    WindowWatch& windows_;
    MainBalloonView& main_;
    BalloonView& fellow_;
    CharacterView& character_;
    Counters c_;
    bool reloading_ = false;      // a skin reload is running (its wait lets ticks run)
    bool closeRequested_ = false; // frmKanami was asked to close; once is enough
};

} // namespace orvanel
