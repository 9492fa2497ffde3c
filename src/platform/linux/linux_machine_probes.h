#pragma once

#include "platform/machine_probes.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

namespace orvanel {

// The Linux sources: /proc, /sys/class/power_supply, /sys/block, the mount table with statvfs,
// os-release, DMI, the password database and the desktop's settings.
class LinuxMachineProbes final : public MachineProbes {
public:
    MemoryStatus Memory() override;
    quint64 UptimeMs() override;
    PowerStatus Power() override;
    QList<DriveInfo> Drives() override;
    quint64 FreeBytes(const QString& root) override;
    QString ScreenSaverSeconds() override;
    QString SystemVersion() override;
    QString ProductKey() override;
    QString Manufacturer() override;
    QString Model() override;
    QString RegisteredOwner() override;
    QString BrowserVersion() override;
};

// The parsers behind the Linux probes, apart so that tests can feed them texts.

// Load and available memory of a /proc/meminfo text.
MemoryStatus ParseMemoryStatus(const QByteArray& meminfo);
// The first figure of a /proc/uptime text, in milliseconds; 0 when unreadable.
quint64 ParseUptimeMs(const QByteArray& uptime);

// One power supply as /sys/class/power_supply/<name>/ describes it.
struct PowerSupply {
    QString type;     // "Mains", "Battery", "USB", ...
    QString scope;    // "Device" for the batteries of a mouse or a keyboard
    QString online;   // "1" or "0" for line supplies
    QString status;   // "Charging", "Discharging", "Full", "Not charging", "Unknown"
    QString capacity; // percent, for batteries
};
PowerStatus PowerFromSupplies(const QList<PowerSupply>& supplies);

// One line of the mount table (octal escapes such as "\040" decoded).
struct MountEntry {
    QString source;
    QString mountPoint;
    QString fsType;
};
QList<MountEntry> ParseMounts(const QByteArray& mounts);
// The volumes that count as drives, each device once; `removable` tells whether the block
// device of a source ("/dev/sdb1") is removable.
QList<DriveInfo> DrivesFromMounts(const QList<MountEntry>& mounts,
                                  const std::function<bool(const QString&)>& removable);

// PRETTY_NAME of an os-release text (NAME and VERSION when it has none); "" when neither.
QString OsReleaseName(const QByteArray& osRelease);

} // namespace orvanel
