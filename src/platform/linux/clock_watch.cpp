#include "platform/linux/clock_watch.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace orvanel {

bool ArmClockSetTimer(int fd) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    itimerspec due{};
    due.it_value.tv_sec = now.tv_sec + time_t(100) * 365 * 24 * 3600;
    return timerfd_settime(fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &due, nullptr) == 0;
}

ClockWatch::ClockWatch(std::function<void(const QString&)> trace, QObject* parent)
    : QObject(parent) {
    seam_.fd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    seam_.read = [](int fd, void* buffer, size_t size) { return ::read(fd, buffer, size); };
    seam_.arm = &ArmClockSetTimer;
    ownFd_ = seam_.fd >= 0;
    if (!ownFd_ || !seam_.arm(seam_.fd)) {
        if (trace)
            trace(
                u"SysInfo: no clock-set timer (%1)"_s.arg(QString::fromLocal8Bit(strerror(errno))));
        return;
    }
    Watch();
}

ClockWatch::ClockWatch(Seam seam, QObject* parent) : QObject(parent), seam_(std::move(seam)) {
    if (seam_.fd >= 0 && seam_.arm(seam_.fd)) Watch();
}

ClockWatch::~ClockWatch() {
    delete notifier_;
    if (ownFd_) ::close(seam_.fd);
}

void ClockWatch::Watch() {
    notifier_ = new QSocketNotifier(seam_.fd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ClockWatch::Readable);
}

void ClockWatch::Readable() {
    quint64 expirations = 0;
    const ssize_t n = seam_.read(seam_.fd, &expirations, sizeof expirations);
    if (n < 0 && errno == EAGAIN) return;
    const bool set = n < 0 && errno == ECANCELED;
    // Cancelled or (a century on) expired: either way the timer has to be armed again.
    if (!seam_.arm(seam_.fd)) {
        notifier_->setEnabled(false);
        return;
    }
    if (set) Q_EMIT ClockSet();
}

} // namespace orvanel
