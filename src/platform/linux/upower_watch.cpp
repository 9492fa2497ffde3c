#include "platform/linux/upower_watch.h"

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
} // namespace

UPowerWatch::UPowerWatch(QDBusConnection systemBus, QObject* parent)
    : QObject(parent), bus_(std::move(systemBus)) {
    bus_.connect(kService, kPath, kProperties, u"PropertiesChanged"_s, this,
                 SLOT(DaemonChanged(QString, QVariantMap, QStringList)));
    bus_.connect(kService, kBatteryPath, kProperties, u"PropertiesChanged"_s, this,
                 SLOT(BatteryChanged(QString, QVariantMap, QStringList)));
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

void UPowerWatch::DaemonChanged(const QString& interface, const QVariantMap& changed,
                                const QStringList&) {
    if (interface == kService && changed.contains(u"OnBattery"_s)) Q_EMIT PowerStatusChanged();
}

void UPowerWatch::BatteryChanged(const QString& interface, const QVariantMap& changed,
                                 const QStringList&) {
    if (interface != kDevice) return;
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
