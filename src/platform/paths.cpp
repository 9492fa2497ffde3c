#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace orvanel {

QString NativePath(QStringView path) {
    QString p = path.toString();
    p.replace(u'\\', u'/');
    if (p.isEmpty() || QFileInfo::exists(p)) return p;

    // Resolve component by component, stopping at the first one that exists in no case.
    const bool absolute = p.startsWith(u'/');
    const QStringList parts = p.split(u'/', Qt::KeepEmptyParts);
    QString done = absolute ? u"/"_s : QString();
    qsizetype i = absolute ? 1 : 0;
    for (; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part.isEmpty() || part == u"." || part == u"..") {
            done += part + (i + 1 < parts.size() ? u"/"_s : QString());
            continue;
        }
        const QString dir = done.isEmpty() ? u"."_s : done;
        QString found;
        if (QFileInfo::exists(done + part)) {
            found = part;
        } else {
            const QStringList entries = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden |
                                                            QDir::System | QDir::NoDotAndDotDot);
            for (const QString& e : entries)
                if (e.compare(part, Qt::CaseInsensitive) == 0) {
                    found = e;
                    break;
                }
        }
        if (found.isEmpty()) break;
        done += found;
        if (i + 1 < parts.size()) done += u'/';
    }
    for (; i < parts.size(); ++i) {
        done += parts[i];
        if (i + 1 < parts.size()) done += u'/';
    }
    return done;
}

QString ChooseProgramFolder(const QString& folderArg) {
    QString folder = folderArg;
    if (folder.isEmpty()) folder = qEnvironmentVariable("ORVANEL_HOME");
    if (folder.isEmpty()) {
        QString base = qEnvironmentVariable("XDG_DATA_HOME");
        if (base.isEmpty()) base = QDir::homePath() + u"/.local/share"_s;
        folder = base + u"/orvanel"_s;
    }
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    if (!folder.endsWith(u'/')) folder += u'/';
    return folder;
}

QString DefaultDataFolder() {
    const QString fromEnv = qEnvironmentVariable("ORVANEL_DEFAULT_DATA");
    if (!fromEnv.isEmpty() && QFileInfo(fromEnv).isDir()) return fromEnv;
    const QString bin = QCoreApplication::applicationDirPath();
    const QString candidate = QDir::cleanPath(bin + u"/../share/orvanel/default"_s);
    return QFileInfo(candidate).isDir() ? candidate : QString();
}

bool SeedProgramFolder(const QString& folder, const QString& defaultData) {
    if (!QDir().mkpath(folder)) return false;
    const QDir dest(folder);
    // The skin is copied last, so a folder with one is complete; one without is new or was left
    // half-seeded (settings and learned words may already be there, and are kept).
    if (!dest.entryList({u"*.skn"_s}, QDir::Files).isEmpty()) return true;
    if (defaultData.isEmpty()) return true;
    const QDir src(defaultData);
    QDirIterator it(defaultData, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    QStringList files, skins;
    while (it.hasNext()) {
        const QString f = it.next();
        (f.endsWith(u".skn"_s, Qt::CaseInsensitive) ? skins : files).append(f);
    }
    // Skin files last: an interrupted seeding is redone at the next start.
    files += skins;
    bool ok = true;
    for (const QString& from : files) {
        const QString to = dest.filePath(src.relativeFilePath(from));
        if (QFileInfo::exists(to)) continue;
        QDir().mkpath(QFileInfo(to).absolutePath());
        ok = QFile::copy(from, to) && ok;
        QFile(to).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                 QFile::ReadOther);
    }
    return ok;
}

QString DesktopFolder() {
    // Without an XDG desktop directory the answer is ~/Desktop whether it exists or not.
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QFileInfo(desktop).isDir()) return desktop;
    return QDir::homePath();
}

} // namespace orvanel
