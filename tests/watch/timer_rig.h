#pragma once

#include "../script/script_rig.h"
#include "watch/main_timer.h"
#include "watch/tick_driver.h"
#include "watch/timer_host.h"

#include <functional>

namespace orvanel::fakes {

// The screen, the windows' geometry and the talk hooks; what the timer does goes into the journal.
class FakeTimerHost : public TimerHost {
public:
    FakeTimerHost(QStringList& journal, FakeCharacter& character) : j_(journal), c_(character) {}

    QRect CharacterGeometry() const override { return character; }
    QRect FellowGeometry() const override { return fellow; }
    QSize BalloonSize(int n) const override { return n ? QSize(200, 100) : QSize(300, 150); }
    QPoint BalloonOffsetTwips(int) const override { return balloonOffset; }
    void MoveBalloon(int n, QPoint topLeft) override { balloonAt[n] = topLeft; }
    void MoveCharacter(QPoint p) override {
        character.moveTopLeft(p);
        j_.append(QStringLiteral("host.MoveCharacter %1,%2").arg(p.x()).arg(p.y()));
    }
    QPoint CursorPosition() const override { return cursor; }
    QList<QRect> Screens() const override { return screens; }
    QRect ScreenGeometry() const override { return screens.first(); }
    QRect WorkArea() const override { return work; }
    void SetCharacterVisible(bool on) override {
        c_.visible = on;
        j_.append(on ? QStringLiteral("kanami.Show") : QStringLiteral("kanami.Hide"));
    }
    void SetFellowVisible(bool on) override {
        j_.append(on ? QStringLiteral("fellowWindow.Show") : QStringLiteral("fellowWindow.Hide"));
    }
    void ShowBlinkPicture(bool closed) override {
        j_.append(closed ? QStringLiteral("kanami.EyesClosed") : QStringLiteral("kanami.EyesOpen"));
    }
    void CloseDebugWindow() override { j_.append(QStringLiteral("host.CloseDebugWindow")); }
    void CloseCharacterWindow() override { j_.append(QStringLiteral("host.CloseCharacterWindow")); }
    bool ReloadSkin() override {
        j_.append(QStringLiteral("host.ReloadSkin"));
        return reload ? reload() : true;
    }
    void RandomTalk() override { j_.append(QStringLiteral("host.RandomTalk")); }
    QString TodayDateText() override { return QStringLiteral("DATE"); }
    QString TodayAnniversary() override { return QStringLiteral("ANNIV"); }

    QRect character{700, 528, 100, 200};
    QRect fellow{560, 588, 80, 140};
    QPoint balloonOffset;
    QPoint balloonAt[2];
    QPoint cursor{400, 300};
    QRect work{0, 0, 1024, 728};
    QList<QRect> screens{{0, 0, 1024, 768}};
    std::function<bool()> reload;

private:
    QStringList& j_;
    FakeCharacter& c_;
};

// The player's rig with the main timer on top, its ticks given by a TickDriver on the virtual
// clock as in the program (also inside the player's waits); RunUntil adds a script step every
// TimerInterval, as the main loop does. Ticks(n) runs ticks at once, without the clock.
struct TimerRig : ScriptRig {
    TimerRig()
        : host(journal, character),
          timer(ctx, player, words, host, engine.Windows(), mainBalloon, fellowBalloon, character),
          driver(
              clock, [this] { Ticks(1); }, [this] { return Foretell(); }) {
        ctx.flags.blinkHold = true; // no random numbers for blinking unless a test wants them
        clock.SetNow(QDateTime(QDate(2026, 3, 5), QTime(9, 7))); // no time signal either
    }

    void Ticks(int n) {
        for (int i = 0; i < n; ++i) {
            Flush(0); // entries written between ticks, by the player
            ++ticks;
            tickAt.append(clock.ElapsedMs());
            timer.Tick();
            Flush(ticks);
        }
    }
    // Runs until `done` holds; false after ten minutes.
    bool RunUntil(const std::function<bool()>& done) {
        if (!driver.IsActive()) driver.Start();
        for (const qint64 end = clock.ElapsedMs() + 600000; !done();) {
            if (clock.ElapsedMs() >= end) return false;
            clock.Advance(quint32(ctx.flags.timerInterval));
            player.StepScript();
        }
        return true;
    }
    // The numbers of the ticks (from 1) that wrote `entry`.
    QList<int> TicksOf(const QString& entry) const {
        QList<int> found;
        for (const auto& [tick, what] : timeline)
            if (what == entry) found.append(tick);
        return found;
    }
    int TickOf(const QString& entry) const {
        const QList<int> found = TicksOf(entry);
        return found.isEmpty() ? -1 : found.first();
    }

    FakeTimerHost host;
    MainTimer timer;
    TickDriver driver;
    bool sleep = true; // the driver sleeps through the ticks the timer calls quiet
    int ticks = 0;
    QList<qint64> tickAt;                    // when tick n + 1 ran (virtual ms)
    QList<std::pair<int, QString>> timeline; // what each tick wrote into the journal
    struct Forecast {
        int afterTick;
        int quiet;
        QTime now;
    };
    QList<Forecast> forecasts; // every answer the driver got

private:
    int Foretell() {
        const int quiet = timer.QuietTicks(TickDriver::kMaxQuietTicks);
        forecasts.append({ticks, quiet, clock.Now().time()});
        return sleep ? quiet : 0;
    }
    void Flush(int tick) {
        for (; recorded_ < journal.size(); ++recorded_)
            timeline.append({tick, journal[recorded_]});
    }
    qsizetype recorded_ = 0;
};

} // namespace orvanel::fakes
