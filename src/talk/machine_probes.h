#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

namespace orvanel {

// The kinds of drive the machine talk counts, valued as the original platform numbered them.
enum class DriveType {
    Unknown = 0,
    NoRoot = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6
};

struct DriveInfo {
    QString root; // the mount point, "/" or "/media/usb"
    DriveType type = DriveType::Unknown;
};

struct MemoryStatus {
    int loadPercent = 0;        // physical memory in use, 0..100
    quint64 availableBytes = 0; // physical memory still available
};

// The power line and battery as the system-information control reported them.
struct PowerStatus {
    int acLine = 255;        // 0 offline, 1 online, 255 unknown
    int batteryStatus = 255; // 1 high, 2 low, 4 critical, 8 charging, 128 none, 255 unknown, 0 else
    int batteryPercent = 255; // 0..100, 255 unknown
};

// What the talk about the machine reads of it. Every call reads the live system; values that
// cannot be read are empty texts or zero.
class MachineProbes {
public:
    virtual ~MachineProbes() = default;
    virtual MemoryStatus Memory() = 0;
    // Milliseconds since the machine started.
    virtual quint64 UptimeMs() = 0;
    virtual PowerStatus Power() = 0;
    // The mounted volumes that stand for drives, in mount order.
    virtual QList<DriveInfo> Drives() = 0;
    // Free bytes on the volume of `root`; 0 when it cannot be queried.
    virtual quint64 FreeBytes(const QString& root) = 0;

    // The facts that stand in for the original platform's registry and OEM values.
    virtual QString ScreenSaverSeconds() = 0; // idle seconds before the screen saver
    virtual QString SystemVersion() = 0;      // the operating system's name and version
    virtual QString ProductKey() = 0;
    virtual QString Manufacturer() = 0;
    virtual QString Model() = 0;
    virtual QString RegisteredOwner() = 0;
    virtual QString BrowserVersion() = 0;
};

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

// One power supply as /sys/class/power_supply/<name>/ describes it.
struct PowerSupply {
    QString type;     // "Mains", "Battery", "USB", ...
    QString scope;    // "Device" for the batteries of a mouse or a keyboard
    QString online;   // "1" or "0" for line supplies
    QString status;   // "Charging", "Discharging", "Full", "Not charging", "Unknown"
    QString capacity; // percent, for batteries
};
PowerStatus PowerFromSupplies(const QList<PowerSupply>& supplies);

// One line of the mount table.
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
