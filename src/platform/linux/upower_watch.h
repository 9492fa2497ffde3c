#pragma once

#include <QDBusConnection>
#include <QObject>

class QDBusMessage;

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
    // PropertiesChanged of the daemon and of its combined battery.
    void DaemonChanged(const QDBusMessage& message);
    void BatteryChanged(const QDBusMessage& message);

private:
    QDBusConnection bus_;
    std::optional<int> percent_; // the whole percent last seen
};

} // namespace orvanel
