#include "platform/linux/linux_machine_probes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>

#include <cmath>
#include <pwd.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace orvanel {

using namespace Qt::StringLiterals;

namespace {

QByteArray ReadSmallFile(const QString& path) {
    QFile f(path);
    // /proc and /sys files report size 0, so read until the end rather than by size.
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.read(64 * 1024);
}

QString ReadValue(const QString& path) {
    return QString::fromUtf8(ReadSmallFile(path)).trimmed();
}

quint64 MeminfoBytes(const QByteArray& meminfo, const QByteArray& field) {
    for (const QByteArray& line : meminfo.split('\n')) {
        if (!line.startsWith(field + ':')) continue;
        bool ok = false;
        const quint64 kb =
            line.mid(field.size() + 1).simplified().split(' ').value(0).toULongLong(&ok);
        return ok ? kb * 1024 : 0;
    }
    return 0;
}

// "\040" and the other octal escapes of the mount table.
QString Unescape(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok && code > 0 && code < 256) {
                out.append(char(code));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QString::fromUtf8(out);
}

bool UnderAny(const QString& path, std::initializer_list<const char*> folders) {
    for (const char* f : folders) {
        const QString folder = QString::fromLatin1(f);
        if (path == folder || path.startsWith(folder + u'/')) return true;
    }
    return false;
}

} // namespace

MemoryStatus ParseMemoryStatus(const QByteArray& meminfo) {
    MemoryStatus m;
    const quint64 total = MeminfoBytes(meminfo, "MemTotal");
    quint64 available = MeminfoBytes(meminfo, "MemAvailable");
    // Kernels before 3.14 have no MemAvailable.
    if (available == 0 && !meminfo.contains("MemAvailable:"))
        available = MeminfoBytes(meminfo, "MemFree") + MeminfoBytes(meminfo, "Buffers") +
                    MeminfoBytes(meminfo, "Cached");
    available = qMin(available, total);
    m.availableBytes = available;
    if (total > 0)
        m.loadPercent = int(std::lround(double(total - available) * 100.0 / double(total)));
    return m;
}

quint64 ParseUptimeMs(const QByteArray& uptime) {
    bool ok = false;
    const double seconds = uptime.simplified().split(' ').value(0).toDouble(&ok);
    return ok && seconds > 0 ? quint64(seconds * 1000.0) : 0;
}

PowerStatus PowerFromSupplies(const QList<PowerSupply>& supplies) {
    PowerStatus p;
    const PowerSupply* battery = nullptr;
    bool anyLine = false;
    bool lineOnline = false;
    for (const PowerSupply& s : supplies) {
        if (s.type == u"Battery") {
            if (s.scope == u"Device" || battery) continue;
            battery = &s;
        } else if (!s.type.isEmpty()) {
            anyLine = true;
            lineOnline = lineOnline || s.online == u"1";
        }
    }
    if (anyLine)
        p.acLine = lineOnline ? 1 : 0;
    else if (battery)
        p.acLine = battery->status == u"Discharging" ? 0 : 1;
    if (!battery) {
        p.batteryStatus = 128;
        return p;
    }
    bool ok = false;
    const int percent = battery->capacity.toInt(&ok);
    if (ok && percent >= 0 && percent <= 100) p.batteryPercent = percent;
    // One status, as the control reported it; charging comes first.
    if (battery->status == u"Charging")
        p.batteryStatus = 8;
    else if (p.batteryPercent == 255)
        p.batteryStatus = 255;
    else if (percent < 5)
        p.batteryStatus = 4;
    else if (percent < 33)
        p.batteryStatus = 2;
    else if (percent > 66)
        p.batteryStatus = 1;
    else
        p.batteryStatus = 0;
    return p;
}

QList<MountEntry> ParseMounts(const QByteArray& mounts) {
    QList<MountEntry> out;
    for (const QByteArray& line : mounts.split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() < 3) continue;
        out.append({Unescape(f[0]), Unescape(f[1]), QString::fromLatin1(f[2])});
    }
    return out;
}

QList<DriveInfo> DrivesFromMounts(const QList<MountEntry>& mounts,
                                  const std::function<bool(const QString&)>& removable) {
    static const QSet<QString> kDisk = {
        u"ext2"_s, u"ext3"_s,  u"ext4"_s,     u"xfs"_s,     u"btrfs"_s,    u"zfs"_s,
        u"f2fs"_s, u"jfs"_s,   u"reiserfs"_s, u"vfat"_s,    u"msdos"_s,    u"exfat"_s,
        u"ntfs"_s, u"ntfs3"_s, u"fuseblk"_s,  u"hfsplus"_s, u"bcachefs"_s, u"nilfs2"_s};
    static const QSet<QString> kRemote = {
        u"nfs"_s,   u"nfs4"_s,        u"cifs"_s,      u"smb3"_s,       u"smbfs"_s,
        u"9p"_s,    u"fuse.sshfs"_s,  u"sshfs"_s,     u"afs"_s,        u"ceph"_s,
        u"davfs"_s, u"fuse.rclone"_s, u"glusterfs"_s, u"fuse.davfs2"_s};
    static const QSet<QString> kCd = {u"iso9660"_s, u"udf"_s};
    static const QSet<QString> kRam = {u"tmpfs"_s, u"ramfs"_s};

    QList<DriveInfo> drives;
    QSet<QString> seenSources;
    QSet<QString> seenPoints;
    for (const MountEntry& m : mounts) {
        if (seenPoints.contains(m.mountPoint)) continue;
        DriveType type;
        const bool device = m.source.startsWith(u"/dev/");
        if (m.mountPoint == u"/") {
            type = kCd.contains(m.fsType) ? DriveType::CdRom : DriveType::Fixed;
        } else if (UnderAny(m.mountPoint, {"/proc", "/sys", "/dev", "/snap", "/boot",
                                           "/var/lib/docker", "/var/snap"}) ||
                   (UnderAny(m.mountPoint, {"/run"}) && !UnderAny(m.mountPoint, {"/run/media"}))) {
            continue; // the system's own mounts, not the user's drives
        } else if (kCd.contains(m.fsType) || m.source.startsWith(u"/dev/sr")) {
            type = DriveType::CdRom;
        } else if (kRemote.contains(m.fsType) || m.source.startsWith(u"//")) {
            type = DriveType::Remote;
        } else if (kRam.contains(m.fsType)) {
            type = DriveType::RamDisk;
        } else if (m.source.startsWith(u"/dev/fd")) {
            type = DriveType::Removable;
        } else if (kDisk.contains(m.fsType) || device) {
            type = device && removable && removable(m.source) ? DriveType::Removable
                                                              : DriveType::Fixed;
        } else if (m.fsType.startsWith(u"fuse.")) {
            type = DriveType::Unknown;
        } else {
            continue; // kernel file systems: cgroup, overlay layers, squashfs images ...
        }
        // One volume mounted twice (bind mounts, subvolumes) is one drive.
        const bool namedSource = device || kDisk.contains(m.fsType);
        if (namedSource && seenSources.contains(m.source)) continue;
        if (namedSource) seenSources.insert(m.source);
        seenPoints.insert(m.mountPoint);
        drives.append({m.mountPoint, type});
    }
    return drives;
}

QString OsReleaseName(const QByteArray& osRelease) {
    QHash<QString, QString> values;
    for (const QByteArray& raw : osRelease.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        const qsizetype eq = line.indexOf(u'=');
        if (line.startsWith(u'#') || eq <= 0) continue;
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        values.insert(line.left(eq), value);
    }
    const QString pretty = values.value(u"PRETTY_NAME"_s);
    if (!pretty.isEmpty()) return pretty;
    return (values.value(u"NAME"_s) + u' ' + values.value(u"VERSION"_s)).trimmed();
}

MemoryStatus LinuxMachineProbes::Memory() {
    return ParseMemoryStatus(ReadSmallFile(u"/proc/meminfo"_s));
}

quint64 LinuxMachineProbes::UptimeMs() {
    return ParseUptimeMs(ReadSmallFile(u"/proc/uptime"_s));
}

PowerStatus LinuxMachineProbes::Power() {
    const QString base = u"/sys/class/power_supply/"_s;
    QList<PowerSupply> supplies;
    const QStringList names =
        QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    for (const QString& name : names) {
        const QString dir = base + name + u'/';
        supplies.append({ReadValue(dir + u"type"_s), ReadValue(dir + u"scope"_s),
                         ReadValue(dir + u"online"_s), ReadValue(dir + u"status"_s),
                         ReadValue(dir + u"capacity"_s)});
    }
    return PowerFromSupplies(supplies);
}

QList<DriveInfo> LinuxMachineProbes::Drives() {
    const auto removable = [](const QString& source) {
        const QString name = QFileInfo(QFileInfo(source).canonicalFilePath()).fileName();
        if (name.isEmpty()) return false;
        // A partition's flag sits with its disk, one folder up.
        const QString sys = QFileInfo(u"/sys/class/block/"_s + name).canonicalFilePath();
        if (sys.isEmpty()) return false;
        for (const QString& dir : {sys, QFileInfo(sys).path()}) {
            const QString flag = ReadValue(dir + u"/removable"_s);
            if (!flag.isEmpty()) return flag == u"1";
        }
        return false;
    };
    return DrivesFromMounts(ParseMounts(ReadSmallFile(u"/proc/self/mounts"_s)), removable);
}

quint64 LinuxMachineProbes::FreeBytes(const QString& root) {
    struct statvfs s {};
    if (statvfs(QFile::encodeName(root).constData(), &s) != 0) return 0;
    return quint64(s.f_bfree) * quint64(s.f_frsize);
}

QString LinuxMachineProbes::ScreenSaverSeconds() {
    // GNOME and its relatives: "uint32 300".
    const QString gsettings = QStandardPaths::findExecutable(u"gsettings"_s);
    if (!gsettings.isEmpty()) {
        QProcess p;
        p.start(gsettings, {u"get"_s, u"org.gnome.desktop.session"_s, u"idle-delay"_s});
        if (p.waitForFinished(1000) && p.exitCode() == 0) {
            const QString out = QString::fromUtf8(p.readAllStandardOutput()).simplified();
            const QString number = out.section(u' ', -1);
            bool ok = false;
            number.toUInt(&ok);
            if (ok) return number;
        } else {
            p.kill();
            p.waitForFinished(100);
        }
    }
    // Plasma keeps minutes.
    const QString kde =
        QStandardPaths::locate(QStandardPaths::GenericConfigLocation, u"kscreenlockerrc"_s);
    if (!kde.isEmpty()) {
        for (const QByteArray& line : ReadSmallFile(kde).split('\n')) {
            const QByteArray t = line.trimmed();
            if (!t.startsWith("Timeout=")) continue;
            bool ok = false;
            const uint minutes = t.mid(8).toUInt(&ok);
            if (ok) return QString::number(quint64(minutes) * 60);
        }
    }
    return {};
}

QString LinuxMachineProbes::SystemVersion() {
    QByteArray text = ReadSmallFile(u"/etc/os-release"_s);
    if (text.isEmpty()) text = ReadSmallFile(u"/usr/lib/os-release"_s);
    return OsReleaseName(text);
}

// Linux has no product key; the firmware's serial number is the nearest thing, and only root
// may read it on most machines.
QString LinuxMachineProbes::ProductKey() {
    return ReadValue(u"/sys/class/dmi/id/product_serial"_s);
}

QString LinuxMachineProbes::Manufacturer() {
    return ReadValue(u"/sys/class/dmi/id/sys_vendor"_s);
}

QString LinuxMachineProbes::Model() {
    return ReadValue(u"/sys/class/dmi/id/product_name"_s);
}

QString LinuxMachineProbes::RegisteredOwner() {
    const passwd* pw = getpwuid(getuid());
    if (!pw) return {};
    const QString fullName =
        QString::fromLocal8Bit(pw->pw_gecos ? pw->pw_gecos : "").section(u',', 0, 0).trimmed();
    return fullName.isEmpty() ? QString::fromLocal8Bit(pw->pw_name) : fullName;
}

// There is no system browser whose build the talk could name.
QString LinuxMachineProbes::BrowserVersion() {
    return {};
}

} // namespace orvanel
