#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace orvanel {

// One running program per program folder. The lock is a file in the folder that names the
// holder's process; a lock left behind by a process that no longer runs (a crash, a power
// cut) is taken over, so nothing stays stuck.
class InstanceLock {
public:
    explicit InstanceLock(const QString& programFolder);

    // False while another process holds the folder.
    bool TryLock();
    void Unlock();
    bool IsLocked() const { return lock_->isLocked(); }
    QString Path() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace orvanel
