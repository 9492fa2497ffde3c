#include "app/system_watch.h"

#include "core/app_context.h"
#include "platform/linux/system_sources.h"
#include "watch/system_events.h"

#include <QTimer>

namespace orvanel {

void WireSystemEvents(SystemSources& sources, SystemEvents& events, const AppContext& ctx,
                      std::function<void()> wake) {
    const auto react = [&events, wake](void (SystemEvents::*reaction)()) {
        return [&events, wake, reaction] {
            (events.*reaction)();
            wake();
        };
    };
    QObject::connect(&sources, &SystemSources::DeviceArrival, &sources,
                     react(&SystemEvents::DeviceArrival));
    QObject::connect(&sources, &SystemSources::DeviceQueryRemove, &sources,
                     react(&SystemEvents::DeviceQueryRemove));
    QObject::connect(&sources, &SystemSources::DeviceRemoveComplete, &sources,
                     react(&SystemEvents::DeviceRemoveComplete));
    QObject::connect(&sources, &SystemSources::DisplayChanged, &sources,
                     react(&SystemEvents::DisplayChanged));
    QObject::connect(&sources, &SystemSources::WorkAreaChanged, &sources,
                     [&events, wake](bool withDisplay) {
                         if (withDisplay)
                             events.WorkAreaFollowedDisplay();
                         else
                             events.SettingChanged();
                         wake();
                     });
    QObject::connect(&sources, &SystemSources::PowerResume, &sources,
                     react(&SystemEvents::PowerResume));
    QObject::connect(&sources, &SystemSources::PowerStatusChanged, &sources,
                     react(&SystemEvents::PowerStatusChanged));
    QObject::connect(&sources, &SystemSources::SysColorsChanged, &sources,
                     react(&SystemEvents::SysColorsChanged));
    QObject::connect(&sources, &SystemSources::TimeChanged, &sources,
                     react(&SystemEvents::TimeChanged));
    QObject::connect(&sources, &SystemSources::PowerSuspend, &sources,
                     [&sources, &events, &ctx, wake] {
                         events.PowerSuspend();
                         wake();
                         // Two script steps: the first character of the remark is drawn before the
                         // machine goes.
                         QTimer::singleShot(2 * qMax(1, ctx.flags.timerInterval), &sources,
                                            [&sources] { sources.ReleaseSleepDelay(); });
                     });
}

} // namespace orvanel
