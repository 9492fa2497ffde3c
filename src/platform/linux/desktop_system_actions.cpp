#include "platform/linux/desktop_system_actions.h"

#include "platform/linux/linux_machine_probes.h"
#include "platform/text_file.h"

#include <QDBusInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace orvanel {
namespace {

QString DataHome() {
    const QString env = qEnvironmentVariable("XDG_DATA_HOME");
    return env.isEmpty() ? QDir::homePath() + u"/.local/share"_s : env;
}

} // namespace

bool DesktopSystemActions::OpenUrl(const QString& url) {
    return QDesktopServices::openUrl(QUrl(url, QUrl::StrictMode));
}

bool DesktopSystemActions::OpenFile(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DesktopSystemActions::StartProgram(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

QStringList DesktopSystemActions::TrashFolders() {
    QStringList folders;
    const QString home = DataHome() + u"/Trash"_s;
    if (QFileInfo(home).isDir()) folders << home;
    QFile mounts(u"/proc/self/mounts"_s);
    if (!mounts.open(QIODevice::ReadOnly)) return folders;
    const QString own = u"/.Trash-%1"_s.arg(getuid());
    for (const MountEntry& m : ParseMounts(mounts.readAll())) {
        const QString trash = QDir::cleanPath(m.mountPoint + own);
        if (QFileInfo(trash).isDir() && !folders.contains(trash)) folders << trash;
    }
    return folders;
}

bool DesktopSystemActions::EmptyTrashFolder(const QString& trash) {
    bool ok = true;
    for (const QString& sub : {u"files"_s, u"info"_s}) {
        QDir dir(trash + u'/' + sub);
        if (!dir.exists()) continue;
        const QFileInfoList entries = dir.entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                        QDir::System | QDir::NoDotAndDotDot);
        for (const QFileInfo& e : entries) {
            // A link is removed as a link, never followed.
            if (e.isDir() && !e.isSymLink())
                ok = QDir(e.filePath()).removeRecursively() && ok;
            else
                ok = QFile::remove(e.filePath()) && ok;
        }
    }
    QFile::remove(trash + u"/directorysizes"_s);
    return ok;
}

bool DesktopSystemActions::EmptyTrash() {
    if (confirm_ && !confirm_(u"ごみ箱を空にしますか？"_s)) return false;
    bool ok = true;
    for (const QString& trash : TrashFolders())
        ok = EmptyTrashFolder(trash) && ok;
    return ok;
}

QByteArray DesktopSystemActions::EmptyRecentlyUsedList() {
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<xbel version=\"1.0\"\n"
        "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
        "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n"
        ">\n</xbel>\n");
}

bool DesktopSystemActions::ClearRecentDocuments() {
    const QString path = DataHome() + u"/recently-used.xbel"_s;
    if (!QFileInfo::exists(path)) return true;
    return WriteFileAtomic(path, EmptyRecentlyUsedList());
}

bool DesktopSystemActions::MinimizeWindow(quint64 windowId) {
    return windows_.Minimize(windowId);
}

bool DesktopSystemActions::MaximizeWindow(quint64 windowId) {
    return windows_.Maximize(windowId);
}

bool DesktopSystemActions::OpenFolder(const QString& path) {
    const auto fallback = [path] {
        if (!QProcess::startDetached(u"xdg-open"_s, {path}))
            QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        fallback();
        return true;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        u"org.freedesktop.FileManager1"_s, u"/org/freedesktop/FileManager1"_s,
        u"org.freedesktop.FileManager1"_s, u"ShowFolders"_s);
    call << QStringList{QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)} << QString();
    // The bus may have to start the file manager first: the answer is awaited off the UI's way.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 30000));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [fallback](QDBusPendingCallWatcher* w) {
                         if (w->isError()) fallback();
                         w->deleteLater();
                     });
    return true;
}

bool DesktopSystemActions::PowerOff() {
    QDBusInterface logind(u"org.freedesktop.login1"_s, u"/org/freedesktop/login1"_s,
                          u"org.freedesktop.login1.Manager"_s, QDBusConnection::systemBus());
    if (logind.isValid()) {
        // Interactive: logind may ask for authorisation or refuse while others are logged in.
        const QDBusMessage reply = logind.call(u"PowerOff"_s, true);
        if (reply.type() == QDBusMessage::ReplyMessage) return true;
    }
    return QProcess::startDetached(u"systemctl"_s, {u"poweroff"_s});
}

} // namespace orvanel
