#include "platform/linux/upower_watch.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

#include <cmath>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {
const QString kService = u"org.freedesktop.UPower"_s;
const QString kPath = u"/org/freedesktop/UPower"_s;
const QString kBatteryPath = u"/org/freedesktop/UPower/devices/DisplayDevice"_s;
const QString kDevice = u"org.freedesktop.UPower.Device"_s;
const QString kProperties = u"org.freedesktop.DBus.Properties"_s;

int WholePercent(const QVariant& v) {
    return int(std::floor(v.toDouble()));
}

// The changed properties of `interface` in a PropertiesChanged message; empty for another.
QVariantMap Changed(const QDBusMessage& message, const QString& interface) {
    const QList<QVariant> args = message.arguments();
    if (args.size() < 2 || args[0].toString() != interface) return {};
    QVariantMap changed;
    args[1].value<QDBusArgument>() >> changed;
    return changed;
}
} // namespace

UPowerWatch::UPowerWatch(QDBusConnection systemBus, QObject* parent)
    : QObject(parent), bus_(std::move(systemBus)) {
    bus_.connect(kService, kPath, kProperties, u"PropertiesChanged"_s, this,
                 SLOT(DaemonChanged(QDBusMessage)));
    bus_.connect(kService, kBatteryPath, kProperties, u"PropertiesChanged"_s, this,
                 SLOT(BatteryChanged(QDBusMessage)));
    // The percent at the start, so that only a change of the whole number counts.
    QDBusMessage get =
        QDBusMessage::createMethodCall(kService, kBatteryPath, kProperties, u"Get"_s);
    get << kDevice << u"Percentage"_s;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(get), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        const QDBusPendingReply<QDBusVariant> reply = *w;
        if (reply.isValid() && !percent_) percent_ = WholePercent(reply.value().variant());
        w->deleteLater();
    });
}

void UPowerWatch::DaemonChanged(const QDBusMessage& message) {
    if (Changed(message, kService).contains(u"OnBattery"_s)) Q_EMIT PowerStatusChanged();
}

void UPowerWatch::BatteryChanged(const QDBusMessage& message) {
    const QVariantMap changed = Changed(message, kDevice);
    bool status = changed.contains(u"State"_s) || changed.contains(u"WarningLevel"_s) ||
                  changed.contains(u"IsPresent"_s);
    if (const auto it = changed.constFind(u"Percentage"_s); it != changed.cend()) {
        const int percent = WholePercent(*it);
        status = status || percent_ != percent;
        percent_ = percent;
    }
    if (status) Q_EMIT PowerStatusChanged();
}

} // namespace orvanel
