#pragma once

#include "core/profile.h"
#include "core/settings.h"
#include "core/skin_state.h"
#include "core/touch_state.h"
#include "platform/clock.h"

namespace orvanel {

class IniStore;
class Random;
class SystemActions;
class TraceLog;

// Switches that coordinate the parts of the program; one set per running program.
struct RunFlags {
    bool balloonHold = false;   // balloons do not time out, idle talk does not start
    bool scriptRunning = false; // the player has a script in progress
    bool exitRequest = false;   // the End command was given; close after the farewell
    qint32 exitIdleTicks = 0;   // main-timer ticks idle since the farewell ended
    bool skinChangeRequest = false;
    bool blinkHold = false;
    bool minimized = false;          // the character sits in the notification area
    bool waitCancel = false;         // cuts the current Wait short
    bool hide = false;               // "画面端で隠す"
    bool silent = false;             // "黙らせる"
    qint32 timerInterval = 50;       // ms between two script steps
    quint32 startTick = 0;           // base of UptimeText
    qint32 talkCount = 0;            // talks in this run
    bool click = false;              // a balloon was clicked; ends a "\x" click wait
    qint32 mainBalloonCounter = 0;   // main-timer ticks the main balloon has been shown
    qint32 fellowBalloonCounter = 0; // the same for the fellow's balloon
    bool foregroundRequest = false;  // raise the character a few ticks after a window remark
};

// The program-wide state, built once by the process entry (and by each test for itself) and
// handed to whoever needs it. There are no hidden singletons.
class AppContext {
public:
    AppContext(Clock& clock, Random& random, IniStore& ini, const QString& programFolder,
               TraceLog& log, SystemActions& actions)
        : clock(clock), random(random), ini(ini), settings(ini, programFolder), log(log),
          actions(actions) {}

    // Lets events run for `ms` or until waitCancel is set.
    void Wait(quint32 ms) { WaitFor(clock, ms, &flags.waitCancel); }

    Clock& clock;
    Random& random;
    IniStore& ini;
    Settings settings;
    TraceLog& log;
    SystemActions& actions;
    Profile profile;
    SkinState skin; // the current skin (character layer)
    RunFlags flags;
    TouchState touch;
};

} // namespace orvanel
