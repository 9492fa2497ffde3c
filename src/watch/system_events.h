#pragma once

#include <QString>

#include <optional>

namespace orvanel {

class AppContext;
class ScriptPlayer;
class TimerHost;

// The character's reactions to changes of the machine she runs on (the SysInfo control's
// events): a short remark each, and for the display and the work area a move of her window so
// that she keeps standing where she belongs. Every remark clears the balloon hold flag and
// replaces whatever was playing; while she is minimised the remarks are lost but the moves
// still happen.
//
// Where the notices come from is the platform's business (platform/linux/system_sources.h).
class SystemEvents {
public:
    SystemEvents(AppContext& ctx, ScriptPlayer& player, TimerHost& host);

    void DeviceArrival();
    // A device is about to be removed (on Linux: a removable volume was unmounted).
    void DeviceQueryRemove();
    void DeviceRemoveComplete();
    // The screen's resolution changed: the remark, then the window's left edge at three
    // quarters of the new width.
    void DisplayChanged();
    // The work area changed along with the resolution: she stands on its new bottom edge and
    // the display's remark is not cut short.
    void WorkAreaFollowedDisplay();
    void PowerResume();
    // Only about one time in ten.
    void PowerStatusChanged();
    void PowerSuspend();
    // A system setting changed (on Linux: the work area, a panel moved or resized): she stands
    // on the new bottom edge of the work area first, then remarks.
    void SettingChanged();
    void SysColorsChanged();
    void TimeChanged();

    // A clock notice this soon after a resume is the resume's own (the kernel reports the
    // clock's jump over the sleep), not the user setting the clock.
    static constexpr quint32 kResumeClockGraceMs = 10000;

private:
    void Say(const QString& script);
    void StandOnWorkArea();

    AppContext& ctx_;
    ScriptPlayer& player_;
    TimerHost& host_;
    std::optional<quint32> resumedAt_;
};

} // namespace orvanel
