#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QVariantMap>

class QDBusMessage;

namespace orvanel {

// Storage devices coming and going, as UDisks2 reports them: a drive (a USB stick, a card, a
// disc drive) added or removed. The original platform asked before a device went away; Linux
// does not, and the nearest notice is the user preparing the removal: a volume of a device
// that is not part of the system (UDisks' HintSystem false) stops being mounted.
//
// Only storage counts, as with the original's volume broadcasts; a mouse plugged in says
// nothing.
class UDisksWatch : public QObject {
    Q_OBJECT
public:
    // Needs UDisks2 on `systemBus`.
    explicit UDisksWatch(QDBusConnection systemBus, QObject* parent = nullptr);

Q_SIGNALS:
    void DriveAdded();
    void RemovalPrepared();
    void DriveRemoved();

private Q_SLOTS:
    void InterfacesAdded(const QDBusMessage& message);
    void InterfacesRemoved(const QDBusMessage& message);
    void PropertiesChanged(const QDBusMessage& message);

private:
    using Interfaces = QMap<QString, QVariantMap>;
    // What is known of a block device: whether the system holds it, whether it is mounted.
    void Learn(const QString& path, const Interfaces& interfaces);

    QDBusConnection bus_;
    QSet<QString> userBlocks_; // block devices with HintSystem false
    QSet<QString> mounted_;    // block devices whose file system is mounted
};

} // namespace orvanel
