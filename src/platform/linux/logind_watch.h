#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>

namespace orvanel {

// The machine going to sleep and waking up, as logind tells it (PrepareForSleep). While it
// runs it holds a delay inhibitor, so that logind waits for it before the machine sleeps; the
// delay is let go as soon as the suspend remark has begun, and taken again after the wake-up.
class LogindWatch : public QObject {
    Q_OBJECT
public:
    // Needs logind on `systemBus`.
    explicit LogindWatch(QDBusConnection systemBus, QObject* parent = nullptr);

    bool HoldsSleepDelay() const { return delay_.isValid(); }
    // The machine may sleep now.
    void ReleaseSleepDelay();

Q_SIGNALS:
    void Suspending();
    void Resumed();

private Q_SLOTS:
    void PrepareForSleep(bool start);

private:
    void TakeSleepDelay();

    QDBusConnection bus_;
    QDBusUnixFileDescriptor delay_;
    bool taking_ = false;
};

} // namespace orvanel
