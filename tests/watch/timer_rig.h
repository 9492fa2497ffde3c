#pragma once

#include "../script/script_rig.h"
#include "watch/main_timer.h"
#include "watch/tick_timer.h"
#include "watch/timer_host.h"

#include <functional>

namespace orvanel::fakes {

// The screen, the windows' geometry and the talk hooks, recorded into the rig's journal.
class FakeTimerHost : public TimerHost {
public:
    FakeTimerHost(QStringList& journal, FakeCharacter& character)
        : journal_(journal), character_(character) {}

    QRect CharacterGeometry() const override { return character; }
    QRect FellowGeometry() const override { return fellow; }
    QSize BalloonSize(int n) const override { return balloonSize[n]; }
    QPoint BalloonOffsetTwips(int n) const override { return balloonOffset[n]; }
    void MoveBalloon(int n, QPoint topLeft) override { balloonAt[n] = topLeft; }
    void MoveCharacter(QPoint topLeft) override {
        character.moveTopLeft(topLeft);
        Note(QStringLiteral("host.MoveCharacter %1,%2").arg(topLeft.x()).arg(topLeft.y()));
    }
    QPoint CursorPosition() const override {
        ++cursorReads;
        return cursor;
    }
    QRect ScreenGeometry() const override { return screen; }
    QRect WorkArea() const override { return work; }
    void SetCharacterVisible(bool on) override {
        character_.visible = on;
        Note(on ? QStringLiteral("kanami.Show") : QStringLiteral("kanami.Hide"));
    }
    void SetFellowVisible(bool on) override {
        Note(on ? QStringLiteral("fellowWindow.Show") : QStringLiteral("fellowWindow.Hide"));
    }
    void ShowBlinkPicture(bool eyesClosed) override {
        Note(eyesClosed ? QStringLiteral("kanami.EyesClosed") : QStringLiteral("kanami.EyesOpen"));
    }
    void CloseDebugWindow() override { Note(QStringLiteral("host.CloseDebugWindow")); }
    void CloseCharacterWindow() override { Note(QStringLiteral("host.CloseCharacterWindow")); }
    bool ReloadSkin() override {
        Note(QStringLiteral("host.ReloadSkin"));
        return reload ? reload() : true;
    }
    void RandomTalk() override {
        Note(QStringLiteral("host.RandomTalk"));
        if (randomTalk) randomTalk();
    }
    QString WindowRemark() override {
        Note(QStringLiteral("host.WindowRemark"));
        return QStringLiteral("\\hremark");
    }
    QString TodayDateText() override { return QStringLiteral("DATE"); }
    QString TodayAnniversary() override { return QStringLiteral("ANNIV"); }

    QRect character{700, 528, 100, 200};
    QRect fellow{560, 588, 80, 140};
    QSize balloonSize[2] = {{300, 150}, {200, 100}};
    QPoint balloonOffset[2];
    QPoint balloonAt[2];
    QPoint cursor{400, 300};
    mutable int cursorReads = 0;
    QRect screen{0, 0, 1024, 768};
    QRect work{0, 0, 1024, 728};
    std::function<bool()> reload;
    std::function<void()> randomTalk;

private:
    void Note(const QString& what) { journal_.append(what); }
    QStringList& journal_;
    FakeCharacter& character_;
};

// The player's rig with the main timer on top. Run() drives both the way the event loop does:
// ticks at their 15.625 ms pace (also inside the player's waits) and a script step every
// TimerInterval.
struct TimerRig : ScriptRig {
    TimerRig()
        : host(journal, character),
          timer(ctx, player, words, host, mainBalloon, fellowBalloon, character) {
        ctx.flags.blinkHold = true; // no random numbers for blinking unless a test wants them
        clock.SetNow(QDateTime(QDate(2026, 3, 5), QTime(9, 7))); // no time signal either
    }

    // One tick; the timeline notes what it wrote into the journal (entries written between
    // ticks, by the player, get 0).
    void TickOnce() {
        Flush(0);
        const int number = ++ticks;
        timer.Tick();
        Flush(number);
    }
    // `n` ticks, nothing else.
    void Ticks(int n) {
        for (int i = 0; i < n; ++i)
            TickOnce();
    }
    // Lets `ms` pass with ticks and script steps, as the main loop does.
    void Run(qint64 ms) {
        StartPacing();
        const qint64 end = clock.ElapsedMs() + ms;
        while (clock.ElapsedMs() + ctx.flags.timerInterval <= end) {
            clock.Advance(quint32(ctx.flags.timerInterval));
            player.StepScript();
        }
        // A wait inside the last step may have gone past the end.
        if (clock.ElapsedMs() < end) clock.Advance(quint32(end - clock.ElapsedMs()));
    }
    // Runs until `done` holds or `maxMs` have passed; false on the time-out.
    bool RunUntil(const std::function<bool()>& done, qint64 maxMs = 600000) {
        const qint64 end = clock.ElapsedMs() + maxMs;
        while (!done()) {
            if (clock.ElapsedMs() >= end) return false;
            Run(qint64(ctx.flags.timerInterval));
        }
        return true;
    }
    // The numbers of the ticks (counted from 1) that wrote `entry`, in order.
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
    int ticks = 0;
    QList<std::pair<int, QString>> timeline; // what each tick wrote into the journal

private:
    void StartPacing() {
        if (pacing_) return;
        pacing_ = true;
        pacer_.Start(clock.ElapsedMs());
        ScheduleTick();
    }
    void ScheduleTick() {
        clock.ScheduleIn(quint32(pacer_.MsUntilDue(clock.ElapsedMs())), [this] {
            if (!pacer_.TakeDue(clock.ElapsedMs())) return ScheduleTick();
            ScheduleTick();
            TickOnce();
        });
    }
    void Flush(int tick) {
        for (; recorded_ < journal.size(); ++recorded_)
            timeline.append({tick, journal[recorded_]});
    }
    qsizetype recorded_ = 0;
    bool pacing_ = false;
    TickPacer pacer_;
};

} // namespace orvanel::fakes
