#include "platform/linux/system_sources.h"

#include "platform/linux/clock_watch.h"
#include "platform/linux/colour_watch.h"
#include "platform/linux/logind_watch.h"
#include "platform/linux/screen_watch.h"
#include "platform/linux/udisks_watch.h"
#include "platform/linux/upower_watch.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

using namespace Qt::StringLiterals;

namespace orvanel {

SystemSources::SystemSources(std::function<void(const QString&)> trace, QObject* parent)
    : QObject(parent), trace_(std::move(trace)) {}

void SystemSources::Start() {
    if (started_) return;
    started_ = true;
    const auto say = [this](const QString& line) {
        if (trace_) trace_(line);
    };

    auto* screen = new ScreenWatch(this);
    connect(screen, &ScreenWatch::DisplayChanged, this, &SystemSources::DisplayChanged);
    connect(screen, &ScreenWatch::WorkAreaChanged, this, &SystemSources::WorkAreaChanged);

    auto* clock = new ClockWatch(say, this);
    connect(clock, &ClockWatch::ClockSet, this, &SystemSources::TimeChanged);

    const QDBusConnection session = QDBusConnection::sessionBus();
    if (!session.isConnected()) say(u"SysInfo: no session bus, no colour scheme of the portal"_s);
    auto* colours = new ColourWatch(session, this);
    connect(colours, &ColourWatch::ColoursChanged, this, &SystemSources::SysColorsChanged);

    const QDBusConnection system = QDBusConnection::systemBus();
    if (!system.isConnected()) {
        say(u"SysInfo: no system bus, no devices, sleep or power status"_s);
        return;
    }
    const QDBusConnectionInterface* names = system.interface();
    const auto present = [&](const QString& service, const QString& missing) {
        if (names && names->isServiceRegistered(service).value()) return true;
        say(missing);
        return false;
    };
    if (present(u"org.freedesktop.UDisks2"_s, u"SysInfo: no UDisks2, no devices"_s)) {
        auto* disks = new UDisksWatch(system, this);
        connect(disks, &UDisksWatch::DriveAdded, this, &SystemSources::DeviceArrival);
        connect(disks, &UDisksWatch::RemovalPrepared, this, &SystemSources::DeviceQueryRemove);
        connect(disks, &UDisksWatch::DriveRemoved, this, &SystemSources::DeviceRemoveComplete);
    }
    if (present(u"org.freedesktop.login1"_s, u"SysInfo: no logind, no suspend or resume"_s)) {
        logind_ = new LogindWatch(system, this);
        connect(logind_, &LogindWatch::Suspending, this, &SystemSources::PowerSuspend);
        connect(logind_, &LogindWatch::Resumed, this, &SystemSources::PowerResume);
    }
    if (present(u"org.freedesktop.UPower"_s, u"SysInfo: no UPower, no power status"_s)) {
        auto* power = new UPowerWatch(system, this);
        connect(power, &UPowerWatch::PowerStatusChanged, this, &SystemSources::PowerStatusChanged);
    }
}

void SystemSources::ReleaseSleepDelay() {
    if (logind_) logind_->ReleaseSleepDelay();
}

bool SystemSources::HoldsSleepDelay() const {
    return logind_ && logind_->HoldsSleepDelay();
}

} // namespace orvanel
