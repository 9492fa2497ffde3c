#include "platform/linux/logind_watch.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {
const QString kService = u"org.freedesktop.login1"_s;
const QString kPath = u"/org/freedesktop/login1"_s;
const QString kManager = u"org.freedesktop.login1.Manager"_s;
} // namespace

LogindWatch::LogindWatch(QDBusConnection systemBus, QObject* parent)
    : QObject(parent), bus_(std::move(systemBus)) {
    bus_.connect(kService, kPath, kManager, u"PrepareForSleep"_s, this,
                 SLOT(PrepareForSleep(bool)));
    TakeSleepDelay();
}

void LogindWatch::TakeSleepDelay() {
    if (delay_.isValid() || taking_) return;
    taking_ = true;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kManager, u"Inhibit"_s);
    call << u"sleep"_s << u"Orvanel"_s << u"She says good night before the machine sleeps."_s
         << u"delay"_s;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *w;
        taking_ = false;
        if (reply.isValid()) delay_ = reply.value();
        w->deleteLater();
    });
}

void LogindWatch::ReleaseSleepDelay() {
    // The descriptor's last copy closes it, and logind lets the machine go.
    delay_ = QDBusUnixFileDescriptor();
}

void LogindWatch::PrepareForSleep(bool start) {
    if (start) {
        Q_EMIT Suspending();
    } else {
        TakeSleepDelay();
        Q_EMIT Resumed();
    }
}

} // namespace orvanel
