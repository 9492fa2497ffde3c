#include "watch/main_timer.h"

#include "core/app_context.h"
#include "core/geometry.h"
#include "core/views.h"
#include "platform/numbers.h"
#include "platform/random.h"
#include "script/script_player.h"
#include "script/word_source.h"
#include "talk/calendar_talk.h"
#include "tools/trace_log.h"
#include "watch/tick_driver.h"
#include "watch/timer_host.h"
#include "watch/window_watch.h"

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

// Ticks without a playing script before a requested exit or skin change is carried out.
constexpr qint32 kIdleTicksBeforeChange = 30;
// Ticks a blink keeps the eyes closed.
constexpr qint32 kEyesClosedTicks = 7;
constexpr qint64 kEdgeWatchTicks = 4; // the pointer looked at 16 times a second while Hide is on
// Quiet ticks after which a touched eye or mouth shows the normal face again.
constexpr qint32 kEyeFaceAt = 3;
constexpr qint32 kMouthFaceAt = 10;

// Counters that may run for as long as the program does (a negative MsgDispLimit never
// closes a balloon) stop at the top instead of wrapping.
void Count(qint32& counter) {
    if (counter < std::numeric_limits<qint32>::max()) ++counter;
}

} // namespace

MainTimer::MainTimer(AppContext& ctx, ScriptPlayer& player, WordSource& words, TimerHost& host,
                     WindowWatch& windows, MainBalloonView& mainBalloon, BalloonView& fellowBalloon,
                     CharacterView& character)
    : ctx_(ctx), player_(player), words_(words), host_(host), windows_(windows), main_(mainBalloon),
      fellow_(fellowBalloon), character_(character) {}

void MainTimer::Tick() {
    PlaceBalloons();
    if (ctx_.flags.hide) WatchEdges();
    TimeSignal();
    CountDisplayTime(main_, ctx_.flags.mainBalloonCounter);
    CountDisplayTime(fellow_, ctx_.flags.fellowBalloonCounter);
    if (!ctx_.flags.blinkHold) Blink();
    CoolDownTouches();
    if (!IdleTalk()) return;
    if (ctx_.flags.foregroundRequest) Foreground();
    if (ctx_.flags.exitRequest) {
        ExitPhase();
        if (closeRequested_) return; // nothing may show again once the window closes
    }
    if (ctx_.flags.skinChangeRequest) SkinChangePhase();
}

// Each rule below mirrors a step of Tick(): from its counter it tells the tick (1 = the next)
// on which that step first shows something.
int MainTimer::QuietTicks(int atMost) const {
    const RunFlags& f = ctx_.flags;
    if (player_.IsRunning() || f.exitRequest || f.skinChangeRequest || f.foregroundRequest)
        return 0;
    qint64 quiet = atMost;
    const auto showsOn = [&quiet](qint64 tick) {
        quiet = std::min(quiet, std::max<qint64>(0, tick - 1));
    };
    // The pointer is looked at every few ticks rather than every tick: a pointer pushed to
    // the edge stays there, and waking 64 times a second cost 1.5 % of a core.
    if (f.hide) showsOn(kEdgeWatchTicks);

    const QTime now = ctx_.clock.Now().time();
    if (now.minute() == 0 && !c_.timeSignalDone) return 0;
    // Ticks read the clock when they run, and slept ticks run at the wake: the wake must
    // come before the hour, whatever the phase of the ticks.
    const qint64 msToHour =
        qint64(60 - now.minute()) * 60000 - qint64(now.second()) * 1000 - now.msec();
    showsOn((msToHour - 1) * TickDriver::kTicksPerSecond / 1000);

    const qint32 limit = ctx_.profile.MsgDispLimit;
    if (!f.balloonHold) {
        if (main_.IsVisible() && f.mainBalloonCounter < limit)
            showsOn(qint64(limit) - f.mainBalloonCounter);
        if (fellow_.IsVisible() && f.fellowBalloonCounter < limit)
            showsOn(qint64(limit) - f.fellowBalloonCounter);
    }
    if (!f.blinkHold && c_.blinkCount < c_.blinkInterval)
        showsOn(qint64(c_.blinkInterval) - c_.blinkCount); // the eyes close
    else if (!f.blinkHold)
        showsOn(qint64(c_.blinkInterval) + kEyesClosedTicks - c_.blinkCount); // they open
    const TouchState& t = ctx_.touch;
    // A stroke counts the ticks in which the mouse moved over the head: the next one must come
    // at its time.
    if (t.stroking) return 0;
    if (t.eyeTouched && t.eyeQuietTicks < kEyeFaceAt) showsOn(kEyeFaceAt - qint64(t.eyeQuietTicks));
    if (t.mouthTouched && t.mouthQuietTicks < kMouthFaceAt)
        showsOn(kMouthFaceAt - qint64(t.mouthQuietTicks));
    // Idle talk with the main balloon open, or in silence, only starts counting again.
    if (!f.silent && !main_.IsVisible())
        showsOn(qint64(ctx_.profile.TOMULimitTime) - c_.murmur + 1);
    return int(quiet);
}

// The balloon's lower right corner meets its character's upper left corner, moved by the
// skin's offsets. Both balloons move on every tick, so they follow a dragged character.
// A balloon that would leave its character's screen stays inside it.
void MainTimer::PlaceBalloons() {
    const QList<QRect> screens = host_.Screens();
    const QRect owners[] = {host_.CharacterGeometry(), host_.FellowGeometry()};
    for (int n = 0; n < 2; ++n) {
        host_.MoveBalloon(n, BalloonPosition(owners[n].topLeft(), host_.BalloonSize(n),
                                             host_.BalloonOffsetTwips(n),
                                             ScreenOf(screens, owners[n])));
    }
}

// The edges are those of her screen; where another screen continues there is no edge.
void MainTimer::WatchEdges() {
    c_.cursor = host_.CursorPosition();
    if (AtOuterEdge(c_.cursor, host_.ScreenGeometry(), host_.Screens()))
        EdgeToggle();
    else
        c_.edgeArmed = true;
}

void MainTimer::EdgeToggle() {
    if (!c_.edgeArmed) return;
    c_.edgeArmed = false;
    host_.CloseDebugWindow();
    if (character_.IsVisible()) {
        host_.SetCharacterVisible(false);
        host_.SetFellowVisible(false);
        main_.Hide();
        fellow_.Hide();
        player_.PlayScript(QString());
    } else {
        host_.SetCharacterVisible(true);
        host_.SetFellowVisible(true);
        character_.BringToForeground();
    }
}

// Given in the first tick of every full hour, also while Silent is on.
void MainTimer::TimeSignal() {
    const QTime now = ctx_.clock.Now().time();
    if (now.minute() != 0) {
        c_.timeSignalDone = false;
        return;
    }
    if (c_.timeSignalDone) return;
    c_.timeSignalDone = true;
    ctx_.flags.balloonHold = false;
    player_.PlayScript(u"\\h"_s + CalendarTalk::HourlyTalk(now.hour()));
}

void MainTimer::CountDisplayTime(BalloonView& balloon, qint32& counter) {
    if (!balloon.IsVisible() || ctx_.flags.balloonHold) {
        counter = 0;
        return;
    }
    Count(counter);
    if (counter == ctx_.profile.MsgDispLimit) {
        balloon.Hide();
        counter = 0;
    }
}

// The eyes stay closed for kEyesClosedTicks ticks; only the picture changes, the outline stays
// surface 1's.
void MainTimer::Blink() {
    Count(c_.blinkCount);
    if (c_.blinkCount == c_.blinkInterval) {
        host_.ShowBlinkPicture(true);
        ctx_.touch.strokeTicks = 0;
    } else if (c_.blinkCount >= c_.blinkInterval + kEyesClosedTicks) {
        host_.ShowBlinkPicture(false);
        c_.blinkCount = 0;
        c_.blinkInterval = NextBlinkInterval();
    }
}

void MainTimer::DrawFirstBlinkInterval() {
    c_.blinkInterval = NextBlinkInterval();
}

qint32 MainTimer::NextBlinkInterval() {
    Random& rnd = ctx_.random;
    if (!c_.quickBlink) {
        if (rnd.Next() > 0.75) {
            c_.quickBlink = true;
            return 6;
        }
        const int base = rnd.Next() > 0.6 ? 100 : 80;
        return qint32((rnd.Next() + 1) * base);
    }
    c_.quickBlink = false;
    const int base = rnd.Next() > 0.6 ? 140 : 110;
    return qint32((rnd.Next() + 1) * base);
}

void MainTimer::CoolDownTouches() {
    TouchState& t = ctx_.touch;
    CalmDown(t.eyeCount, t.eyeQuietTicks, t.eyeTouched, kEyeFaceAt);
    CalmDown(t.mouthCount, t.mouthQuietTicks, t.mouthTouched, kMouthFaceAt);
    if (t.stroking) {
        Count(t.strokeTicks);
        // Both sides are evaluated, so a number is drawn on every stroking tick.
        const bool lucky = ctx_.random.Next() < 0.2;
        if (lucky && t.strokeTicks > 35) t.strokeTicks = 0;
        t.stroking = false;
    }
    CalmDown(t.bodyCount, t.bodyQuietTicks, t.bodyTouched, 0);
}

// A touched area shows the normal face again after `faceAt` quiet ticks (0: the face stays)
// and forgets its count after 50.
void MainTimer::CalmDown(qint32& count, qint32& quietTicks, bool& touched, qint32 faceAt) {
    if (!touched) return;
    Count(quietTicks);
    if (faceAt > 0 && quietTicks == faceAt) character_.ShowSurface(1, false);
    if (quietTicks == 50) {
        count = 0;
        quietTicks = 0;
        touched = false;
    }
}

// False when the tick ends here: a balloon was still open when idle talk was due.
bool MainTimer::IdleTalk() {
    Count(c_.murmur);
    if (c_.murmur <= ctx_.profile.TOMULimitTime) return true;
    if (main_.IsVisible()) {
        c_.murmur = 0;
        return false;
    }
    if (!ctx_.flags.silent) {
        // The window the user was working in when she began, before her balloon appears.
        windows_.AimAtActiveWindow();
        main_.Show();
        // Made at play time: a choice offered while making it must come up.
        if (ctx_.random.Next() > 0.97)
            player_.PlayMade([this] { return windows_.WindowRemark(); });
        else
            host_.RandomTalk();
    }
    ctx_.flags.mainBalloonCounter = -100;
    c_.murmur = 0;
    return true;
}

void MainTimer::Foreground() {
    Count(c_.foregroundCount);
    if (c_.foregroundCount != 5) return;
    character_.BringToForeground();
    main_.Activate();
    ctx_.flags.foregroundRequest = false;
    c_.foregroundCount = 1;
}

void MainTimer::ExitPhase() {
    ctx_.flags.balloonHold = true;
    character_.SetEnabled(false);
    if (!ctx_.flags.scriptRunning) Count(ctx_.flags.exitIdleTicks);
    if (ctx_.flags.exitIdleTicks >= kIdleTicksBeforeChange && !closeRequested_) {
        closeRequested_ = true;
        host_.CloseCharacterWindow();
    }
}

void MainTimer::SkinChangePhase() {
    ctx_.flags.balloonHold = true;
    character_.SetEnabled(false);
    // The reload waits 500 ms, 32 ticks: counting on inside it would start a second reload.
    if (reloading_) return;
    if (!ctx_.flags.scriptRunning) Count(c_.skinChangeIdleTicks);
    if (c_.skinChangeIdleTicks < kIdleTicksBeforeChange) return;
    c_.skinChangeIdleTicks = 0;
    host_.SetCharacterVisible(false);
    main_.Hide();
    reloading_ = true;
    const bool reloaded = host_.ReloadSkin();
    reloading_ = false;
    if (!reloaded) return; // the program is ending
    host_.SetCharacterVisible(true);
    main_.Show();
    PlaceCharacter();
    // An End given during the reload keeps its farewell.
    if (!ctx_.flags.exitRequest) GreetAfterSkinChange();
    ctx_.flags.skinChangeRequest = false;
    ctx_.flags.balloonHold = false;
    character_.SetEnabled(true);
    ctx_.log.LogLine(u"Character Change Complete"_s);
}

// On the bottom edge of the work area (also when a panel at the top moves the work area
// down), three quarters across the screen.
void MainTimer::PlaceCharacter() {
    const QRect screen = host_.ScreenGeometry();
    host_.MoveCharacter(StandingPosition(screen.x() + RoundHalfEven(0.75 * screen.width()),
                                         host_.CharacterGeometry().size(), host_.WorkArea()));
}

void MainTimer::GreetAfterSkinChange() {
    const QString h = u"\\h"_s;
    QString script;
    switch (ctx_.random.Pick(4)) {
    case 1:
        script = h + words_.GetWord(u"起動時"_s);
        break;
    case 2:
        script = h + host_.TodayDateText() +
                 u"です。\\w5\\n\\n今日は%gdの日%en\\w8\\w8\\u勝手に記念日作るなよ。"_s;
        break;
    case 3: {
        const QDateTime now = ctx_.clock.Now();
        script = h +
                 u"%1月%2日 %3時%4分"_s.arg(now.date().month())
                     .arg(now.date().day())
                     .arg(now.time().hour())
                     .arg(now.time().minute()) +
                 u"です。\\w8\\n%usernameのこれからの予定は・・・\\w8\\n\\n%hour時から"
                 "%msと%vsすることになってます。\\w8\\w8\\u･･･%vs1？"_s;
        break;
    }
    default:
        script = h + host_.TodayDateText() + u"です。\\w5\\n\\n今日は「"_s +
                 host_.TodayAnniversary() + u"」\\w5%en\\w8\\w8\\uマジか｡"_s;
        break;
    }
    player_.PlayScript(script);
}

} // namespace orvanel
