#pragma once

#include <QList>
#include <QString>

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

} // namespace orvanel
