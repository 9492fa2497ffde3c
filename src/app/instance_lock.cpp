#include "app/instance_lock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace orvanel {

InstanceLock::InstanceLock(const QString& programFolder)
    : folder_(programFolder), path_(QDir(programFolder).filePath(u".orvanel.lock"_s)),
      lock_(std::make_unique<QLockFile>(path_)) {
    // A running program keeps its lock however long it runs; only a dead holder loses it.
    lock_->setStaleLockTime(0);
}

bool InstanceLock::TryLock() {
    return lock_->isLocked() || lock_->tryLock(0);
}

InstanceLock::~InstanceLock() = default;

void InstanceLock::Unlock() {
    server_.reset();
    lock_->unlock();
}

// In the user's runtime folder, named after the program folder (a socket path is short).
QString InstanceLock::SocketPath(const QString& programFolder) {
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) runtime = QDir::tempPath();
    const QByteArray hash = QCryptographicHash::hash(QDir(programFolder).canonicalPath().toUtf8(),
                                                     QCryptographicHash::Sha1);
    return runtime + u"/orvanel-"_s + QString::fromLatin1(hash.toHex().left(16));
}

void InstanceLock::ListenForSecondStarts(std::function<void()> secondStart) {
    if (!IsLocked()) return;
    server_ = std::make_unique<QLocalServer>();
    const QString path = SocketPath(folder_);
    // Whoever held the folder before has gone (the lock is ours): its socket is stale.
    QLocalServer::removeServer(path);
    if (!server_->listen(path)) return;
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(),
                     [this, secondStart = std::move(secondStart)] {
                         while (QLocalSocket* s = server_->nextPendingConnection())
                             s->deleteLater();
                         secondStart();
                     });
}

bool InstanceLock::TellHolder(const QString& programFolder) {
    QLocalSocket socket;
    socket.connectToServer(SocketPath(programFolder));
    if (!socket.waitForConnected(1000)) return false;
    socket.disconnectFromServer();
    return true;
}

} // namespace orvanel
