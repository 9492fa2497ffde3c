#include "script/script_probes.h"

#include <QFile>

namespace orvanel {
namespace {

QByteArray ReadProcFile(const char* path) {
    QFile f(QString::fromLatin1(path));
    // /proc files report size 0, so read until the end rather than by size.
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

} // namespace

quint64 ParseMemAvailable(const QByteArray& meminfo) {
    for (const QByteArray& line : meminfo.split('\n')) {
        if (!line.startsWith("MemAvailable:")) continue;
        const QList<QByteArray> parts = line.mid(13).simplified().split(' ');
        bool ok = false;
        const quint64 kb = parts.value(0).toULongLong(&ok);
        return ok ? kb * 1024 : 0;
    }
    return 0;
}

quint64 ParseUptimeMs(const QByteArray& uptime) {
    bool ok = false;
    const double seconds = uptime.simplified().split(' ').value(0).toDouble(&ok);
    return ok && seconds > 0 ? quint64(seconds * 1000.0) : 0;
}

quint64 SystemScriptProbes::FreeMemoryBytes() const {
    return ParseMemAvailable(ReadProcFile("/proc/meminfo"));
}

quint64 SystemScriptProbes::SystemUptimeMs() const {
    return ParseUptimeMs(ReadProcFile("/proc/uptime"));
}

} // namespace orvanel
