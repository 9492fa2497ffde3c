#pragma once

#include <QObject>

#include <functional>

namespace orvanel {

class LogindWatch;

// The system events on a Linux desktop, one source each: UDisks2 for storage devices, the
// screen for the resolution and the work area, logind for sleep, UPower for the power status,
// the palette and the desktop portal for colours, a cancel-on-set timer for the clock. A bus
// or a service that is not there costs one trace line and nothing else; nothing polls.
class SystemSources : public QObject {
    Q_OBJECT
public:
    explicit SystemSources(std::function<void(const QString&)> trace, QObject* parent = nullptr);

    // Watching begins here (after start-up, so that nothing of the start counts).
    void Start();
    // The suspend remark has begun: the machine may sleep.
    void ReleaseSleepDelay();
    bool HoldsSleepDelay() const;

Q_SIGNALS:
    void DeviceArrival();
    void DeviceQueryRemove();
    void DeviceRemoveComplete();
    void DisplayChanged();
    void WorkAreaChanged(bool withDisplay);
    void PowerSuspend();
    void PowerResume();
    void PowerStatusChanged();
    void SysColorsChanged();
    void TimeChanged();

private:
    std::function<void(const QString&)> trace_;
    LogindWatch* logind_ = nullptr;
    bool started_ = false;
};

} // namespace orvanel
