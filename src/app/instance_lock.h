#pragma once

#include <QLockFile>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;

namespace orvanel {

// One running program per program folder. The lock is a file in the folder that names the
// holder's process; a lock left behind by a process that no longer runs (a crash, a power
// cut) is taken over, so nothing stays stuck.
class InstanceLock {
public:
    explicit InstanceLock(const QString& programFolder);
    ~InstanceLock();

    // False while another process holds the folder.
    bool TryLock();
    void Unlock();
    bool IsLocked() const { return lock_->isLocked(); }
    QString Path() const { return path_; }

    // While the lock is held: `secondStart` runs whenever another start on the folder is
    // refused, so that the running program can come forward.
    void ListenForSecondStarts(std::function<void()> secondStart);
    // Tells the program that holds `programFolder` that a start was refused. False when none
    // listens.
    static bool TellHolder(const QString& programFolder);

private:
    static QString SocketPath(const QString& programFolder);

    QString folder_;
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace orvanel
