#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

#include <optional>

namespace orvanel {

// Changes of the power status as UPower reports them: the machine going on or off battery,
// and the battery's state, whole percent, warning level or presence changing (the desktop's
// combined battery, DisplayDevice). The energy and time estimates that move all the time are
// not changes of the status.
class UPowerWatch : public QObject {
    Q_OBJECT
public:
    // Needs UPower on `systemBus`.
    explicit UPowerWatch(QDBusConnection systemBus, QObject* parent = nullptr);

Q_SIGNALS:
    void PowerStatusChanged();

private Q_SLOTS:
    void DaemonChanged(const QString& interface, const QVariantMap& changed, const QStringList&);
    void BatteryChanged(const QString& interface, const QVariantMap& changed, const QStringList&);

private:
    QDBusConnection bus_;
    std::optional<int> percent_; // the whole percent last seen
};

} // namespace orvanel
