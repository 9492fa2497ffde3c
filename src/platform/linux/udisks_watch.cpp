#include "platform/linux/udisks_watch.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {
const QString kService = u"org.freedesktop.UDisks2"_s;
const QString kRoot = u"/org/freedesktop/UDisks2"_s;
const QString kObjectManager = u"org.freedesktop.DBus.ObjectManager"_s;
const QString kDrive = u"org.freedesktop.UDisks2.Drive"_s;
const QString kBlock = u"org.freedesktop.UDisks2.Block"_s;
const QString kFilesystem = u"org.freedesktop.UDisks2.Filesystem"_s;

// A property of a{sv}: plain values arrive as themselves, arrays still marshalled.
bool HasMountPoints(const QVariant& value) {
    if (value.canConvert<QDBusArgument>()) {
        QList<QByteArray> points;
        value.value<QDBusArgument>() >> points;
        return !points.isEmpty();
    }
    return !value.value<QList<QByteArray>>().isEmpty();
}

template <typename T> T Demarshal(const QVariant& value) {
    T out;
    if (value.canConvert<QDBusArgument>()) value.value<QDBusArgument>() >> out;
    return out;
}
} // namespace

UDisksWatch::UDisksWatch(QDBusConnection systemBus, QObject* parent)
    : QObject(parent), bus_(std::move(systemBus)) {
    bus_.connect(kService, kRoot, kObjectManager, u"InterfacesAdded"_s, this,
                 SLOT(InterfacesAdded(QDBusMessage)));
    bus_.connect(kService, kRoot, kObjectManager, u"InterfacesRemoved"_s, this,
                 SLOT(InterfacesRemoved(QDBusMessage)));
    // Every object's file-system changes; the bus filters on the interface.
    bus_.connect(kService, QString(), u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s,
                 {kFilesystem}, QString(), this, SLOT(PropertiesChanged(QDBusMessage)));
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kRoot, kObjectManager, u"GetManagedObjects"_s);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        const QDBusMessage reply = w->reply();
        w->deleteLater();
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return;
        const auto objects =
            Demarshal<QMap<QDBusObjectPath, Interfaces>>(reply.arguments().constFirst());
        for (auto it = objects.cbegin(); it != objects.cend(); ++it)
            Learn(it.key().path(), it.value());
    });
}

void UDisksWatch::Learn(const QString& path, const Interfaces& interfaces) {
    if (const auto block = interfaces.constFind(kBlock); block != interfaces.cend()) {
        if (block->value(u"HintSystem"_s, true).toBool())
            userBlocks_.remove(path);
        else
            userBlocks_.insert(path);
    }
    if (const auto fs = interfaces.constFind(kFilesystem); fs != interfaces.cend()) {
        if (HasMountPoints(fs->value(u"MountPoints"_s)))
            mounted_.insert(path);
        else
            mounted_.remove(path);
    }
}

void UDisksWatch::InterfacesAdded(const QDBusMessage& message) {
    const QList<QVariant> args = message.arguments();
    if (args.size() < 2) return;
    const QString path = args[0].value<QDBusObjectPath>().path();
    const Interfaces interfaces = Demarshal<Interfaces>(args[1]);
    Learn(path, interfaces);
    if (interfaces.contains(kDrive)) Q_EMIT DriveAdded();
}

void UDisksWatch::InterfacesRemoved(const QDBusMessage& message) {
    const QList<QVariant> args = message.arguments();
    if (args.size() < 2) return;
    const QString path = args[0].value<QDBusObjectPath>().path();
    const QStringList interfaces = args[1].toStringList();
    if (interfaces.contains(kBlock)) userBlocks_.remove(path);
    if (interfaces.contains(kFilesystem) || interfaces.contains(kBlock)) mounted_.remove(path);
    if (interfaces.contains(kDrive)) Q_EMIT DriveRemoved();
}

void UDisksWatch::PropertiesChanged(const QDBusMessage& message) {
    const QList<QVariant> args = message.arguments();
    if (args.size() < 2 || args[0].toString() != kFilesystem) return;
    const QVariantMap changed = Demarshal<QVariantMap>(args[1]);
    const auto points = changed.constFind(u"MountPoints"_s);
    if (points == changed.cend()) return;
    const QString path = message.path();
    const bool wasMounted = mounted_.contains(path);
    if (HasMountPoints(*points)) {
        mounted_.insert(path);
    } else {
        mounted_.remove(path);
        if (wasMounted && userBlocks_.contains(path)) Q_EMIT RemovalPrepared();
    }
}

} // namespace orvanel
