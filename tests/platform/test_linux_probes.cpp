#include "platform/linux/linux_machine_probes.h"

#include <QTest>

using namespace orvanel;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(QList<PowerSupply>)

// The Linux sources of the machine facts: /proc, /sys and the mount table.
class TestLinuxProbes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void memoryStatus() {
        const MemoryStatus m = ParseMemoryStatus("MemTotal:        8000000 kB\n"
                                                 "MemFree:          100000 kB\n"
                                                 "MemAvailable:    2000000 kB\n");
        QCOMPARE(m.loadPercent, 75);
        QCOMPARE(m.availableBytes, 2'000'000ull * 1024);
        const MemoryStatus old = ParseMemoryStatus("MemTotal: 1000 kB\nMemFree: 100 kB\n"
                                                   "Buffers: 50 kB\nCached: 50 kB\n");
        QCOMPARE(old.loadPercent, 80);
        QCOMPARE(ParseMemoryStatus("").loadPercent, 0);
        QCOMPARE(ParseUptimeMs("12345.67 54321.00\n"), quint64(12345670));
        QCOMPARE(ParseUptimeMs("garbage"), quint64(0));
    }

    void power_data() {
        QTest::addColumn<QList<PowerSupply>>("supplies");
        QTest::addColumn<int>("ac");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("percent");
        const auto mains = [](const char* online) {
            return PowerSupply{u"Mains"_s, {}, QString::fromLatin1(online), {}, {}};
        };
        const auto battery = [](const char* status, const char* capacity) {
            return PowerSupply{u"Battery"_s,
                               u"System"_s,
                               {},
                               QString::fromLatin1(status),
                               QString::fromLatin1(capacity)};
        };
        QTest::newRow("nothing known") << QList<PowerSupply>{} << 255 << 128 << 255;
        QTest::newRow("on battery, half full")
            << QList<PowerSupply>{mains("0"), battery("Discharging", "50")} << 0 << 0 << 50;
        QTest::newRow("charging") << QList<PowerSupply>{mains("1"), battery("Charging", "40")} << 1
                                  << 8 << 40;
        QTest::newRow("a mouse's battery is not the machine's")
            << QList<PowerSupply>{{u"Battery"_s, u"Device"_s, {}, u"Discharging"_s, u"10"_s}} << 255
            << 128 << 255;
    }
    void power() {
        QFETCH(QList<PowerSupply>, supplies);
        const PowerStatus p = PowerFromSupplies(supplies);
        QTEST(p.acLine, "ac");
        QTEST(p.batteryStatus, "status");
        QTEST(p.batteryPercent, "percent");
    }

    void drivesFromTheMountTable() {
        const QByteArray mounts = "/dev/sda2 / ext4 rw 0 0\n"
                                  "proc /proc proc rw 0 0\n"
                                  "tmpfs /run tmpfs rw 0 0\n"
                                  "/dev/sda2 /home ext4 rw 0 0\n"
                                  "/dev/sdb1 /media/usb vfat rw 0 0\n"
                                  "/dev/sr0 /media/cdrom iso9660 ro 0 0\n"
                                  "server:/share /mnt/nfs nfs4 rw 0 0\n"
                                  "tmpfs /tmp tmpfs rw 0 0\n"
                                  "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
                                  "/dev/sda1 /boot/efi vfat rw 0 0\n"
                                  "overlay / overlay rw 0 0\n"
                                  "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw 0 0\n"
                                  "portal /mnt/portal fuse.portal rw 0 0\n"
                                  "/dev/sdc1 /mnt/My\\040Disk ext4 rw 0 0\n"
                                  "/dev/sdd1 /run/media/me/STICK exfat rw 0 0\n"
                                  "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n";
        const auto removable = [](const QString& source) {
            return source == u"/dev/sdb1" || source == u"/dev/sdd1";
        };
        QList<QPair<QString, int>> got;
        for (const DriveInfo& d : DrivesFromMounts(ParseMounts(mounts), removable))
            got.append({d.root, int(d.type)});
        const QList<QPair<QString, int>> expected = {
            {u"/"_s, int(DriveType::Fixed)},
            {u"/media/usb"_s, int(DriveType::Removable)},
            {u"/media/cdrom"_s, int(DriveType::CdRom)},
            {u"/mnt/nfs"_s, int(DriveType::Remote)},
            {u"/tmp"_s, int(DriveType::RamDisk)},
            {u"/mnt/portal"_s, int(DriveType::Unknown)},
            {u"/mnt/My Disk"_s, int(DriveType::Fixed)},
            {u"/run/media/me/STICK"_s, int(DriveType::Removable)},
        };
        QCOMPARE(got, expected);
    }

    // The real probes read this machine without failing: memory, uptime and the root volume.
    void linuxProbesReadThisMachine() {
        LinuxMachineProbes probes;
        const MemoryStatus m = probes.Memory();
        QVERIFY(m.loadPercent >= 0 && m.loadPercent <= 100);
        QVERIFY(m.availableBytes > 0);
        QVERIFY(probes.UptimeMs() > 0);
        bool root = false;
        for (const DriveInfo& d : probes.Drives())
            root = root || d.root == u"/";
        QVERIFY(root);
        QCOMPARE(probes.FreeBytes(u"/no/such/folder"_s), quint64(0));
    }
};

QTEST_GUILESS_MAIN(TestLinuxProbes)
#include "test_linux_probes.moc"
