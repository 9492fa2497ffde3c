#include "platform/linux/colour_watch.h"

#include <QDBusMessage>
#include <QEvent>
#include <QGuiApplication>

using namespace Qt::StringLiterals;

namespace orvanel {

ColourWatch::ColourWatch(QDBusConnection sessionBus, QObject* parent) : QObject(parent) {
    qGuiApp->installEventFilter(this);
    if (sessionBus.isConnected())
        sessionBus.connect(u"org.freedesktop.portal.Desktop"_s,
                           u"/org/freedesktop/portal/desktop"_s,
                           u"org.freedesktop.portal.Settings"_s, u"SettingChanged"_s, this,
                           SLOT(PortalSettingChanged(QDBusMessage)));
}

bool ColourWatch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qGuiApp && event->type() == QEvent::ApplicationPaletteChange) Changed();
    return false;
}

void ColourWatch::PortalSettingChanged(const QDBusMessage& message) {
    const QList<QVariant> args = message.arguments();
    if (args.size() < 2) return;
    const QString group = args[0].toString();
    const QString key = args[1].toString();
    if (group == u"org.freedesktop.appearance" &&
        (key == u"color-scheme" || key == u"accent-color" || key == u"contrast"))
        Changed();
}

void ColourWatch::Changed() {
    if (sinceLast_.isValid() && sinceLast_.elapsed() < kMergeMs) return;
    sinceLast_.start();
    Q_EMIT ColoursChanged();
}

} // namespace orvanel
