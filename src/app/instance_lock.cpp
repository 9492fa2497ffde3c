#include "app/instance_lock.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace orvanel {

InstanceLock::InstanceLock(const QString& programFolder)
    : path_(QDir(programFolder).filePath(u".orvanel.lock"_s)),
      lock_(std::make_unique<QLockFile>(path_)) {
    // A running program keeps its lock however long it runs; only a dead holder loses it.
    lock_->setStaleLockTime(0);
}

bool InstanceLock::TryLock() {
    return lock_->isLocked() || lock_->tryLock(0);
}

void InstanceLock::Unlock() {
    lock_->unlock();
}

} // namespace orvanel
