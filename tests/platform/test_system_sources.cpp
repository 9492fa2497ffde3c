// The sources of system events that can run without a bus or a display: the clock-set timer
// through its seam, and the palette.
#include "platform/linux/clock_watch.h"
#include "platform/linux/colour_watch.h"

#include <QGuiApplication>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>

#include <cerrno>
#include <sys/eventfd.h>
#include <sys/timerfd.h>
#include <unistd.h>

using namespace orvanel;

class TestSystemSources : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The real timer: armed a century ahead on the real-time clock, and quiet meanwhile.
    void theClockTimerIsArmedFarAhead() {
        const int fd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
        QVERIFY(fd >= 0);
        QVERIFY(ArmClockSetTimer(fd));
        itimerspec left{};
        QCOMPARE(timerfd_gettime(fd, &left), 0);
        QVERIFY(left.it_value.tv_sec > time_t(99) * 365 * 24 * 3600);
        quint64 expirations = 0;
        QCOMPARE(::read(fd, &expirations, sizeof expirations), ssize_t(-1));
        QCOMPARE(errno, EAGAIN);
        ::close(fd);
    }

    // Through the seam: a cancelled read is the clock being set; an expiry is not. Either way
    // the timer is armed again, and nothing is read until the descriptor says so.
    void aCancelledReadIsTheClockBeingSet() {
        const int fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        int arms = 0;
        int failWith = ECANCELED;
        ClockWatch::Seam seam;
        seam.fd = fd;
        seam.read = [&](int f, void* buffer, size_t size) {
            const ssize_t n = ::read(f, buffer, size);
            if (n < 0 || !failWith) return n;
            errno = failWith;
            return ssize_t(-1);
        };
        seam.arm = [&](int) {
            ++arms;
            return true;
        };
        ClockWatch watch(seam, nullptr);
        QSignalSpy set(&watch, &ClockWatch::ClockSet);
        QCOMPARE(arms, 1);
        const auto signal = [&] {
            const quint64 one = 1;
            QCOMPARE(::write(fd, &one, sizeof one), ssize_t(sizeof one));
            QCoreApplication::processEvents();
        };
        QCoreApplication::processEvents();
        QCOMPARE(set.count(), 0);
        signal();
        QCOMPARE(set.count(), 1);
        QCOMPARE(arms, 2);
        failWith = 0; // an expiry
        signal();
        QCOMPARE(set.count(), 1);
        QCOMPARE(arms, 3);
        ::close(fd);
    }

    // A new application palette is a colour change; the same change arriving twice (palette
    // and portal) counts once.
    void aNewPaletteIsAColourChange() {
        ColourWatch watch{QDBusConnection(QString())};
        QSignalSpy changed(&watch, &ColourWatch::ColoursChanged);
        QGuiApplication::setPalette(QPalette(Qt::darkBlue));
        QCOMPARE(changed.count(), 1);
        QGuiApplication::setPalette(QPalette(Qt::darkGreen));
        QCOMPARE(changed.count(), 1);
    }
};

QTEST_MAIN(TestSystemSources)
#include "test_system_sources.moc"
