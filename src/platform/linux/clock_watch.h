#pragma once

#include <QObject>

#include <functional>
#include <sys/types.h>

class QSocketNotifier;

namespace orvanel {

// Tells each time the system clock is set (stepped, not slewed): a timer on the real-time
// clock, armed far ahead with TFD_TIMER_CANCEL_ON_SET, whose read fails with ECANCELED when
// the clock jumps. Nothing runs in between.
class ClockWatch : public QObject {
    Q_OBJECT
public:
    // How the watch reads and re-arms its descriptor; tests hand in their own.
    struct Seam {
        int fd = -1;
        std::function<ssize_t(int fd, void* buffer, size_t size)> read;
        std::function<bool(int fd)> arm;
    };

    // Watches a timer descriptor of its own; `trace` hears when there is none to be had.
    explicit ClockWatch(std::function<void(const QString&)> trace, QObject* parent = nullptr);
    // Watches `seam.fd`, which stays the caller's.
    ClockWatch(Seam seam, QObject* parent);
    ~ClockWatch() override;

    bool IsWatching() const { return notifier_ != nullptr; }

Q_SIGNALS:
    void ClockSet();

private:
    void Watch();
    void Readable();

    Seam seam_;
    bool ownFd_ = false;
    QSocketNotifier* notifier_ = nullptr;
};

// Arms timer descriptor `fd` (CLOCK_REALTIME) to expire in a hundred years, cancelled when
// the clock is set. False when the kernel refuses.
bool ArmClockSetTimer(int fd);

} // namespace orvanel
