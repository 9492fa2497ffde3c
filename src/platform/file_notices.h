#pragma once

#include <QList>
#include <QString>

#include <atomic>
#include <cstdint>

namespace orvanel {

namespace detail {
// Counts the kernel's signals that some notice was queued (any FileNotices of the process).
extern std::atomic<std::uint64_t> g_fileNoticeSignals;
} // namespace detail

// Change notices for files and folders (inotify) whose check costs one memory load while
// nothing changed. The kernel signals the thread that made this object (SIGIO) as it queues a
// notice, and a signal is handled before that thread next returns from the kernel: once the
// thread has learnt of an edit in any way (a call that returned, a datagram, a child's exit),
// Pending() is already true. Without inotify (its limits reached) Ok() is false.
class FileNotices {
public:
    FileNotices();
    ~FileNotices();
    FileNotices(const FileNotices&) = delete;
    FileNotices& operator=(const FileNotices&) = delete;

    bool Ok() const { return fd_ >= 0; }
    bool Pending() const {
        return detail::g_fileNoticeSignals.load(std::memory_order_relaxed) != seen_;
    }

    // A watch on a file's content, or on the names in a folder (appearing, disappearing,
    // replaced). Returns the watch, or -errno (-ENOENT: nothing of that name). Watching one
    // thing twice gives the same watch.
    int WatchFile(const QString& path);
    int WatchFolder(const QString& path);
    void Unwatch(int watch);

    struct Notice {
        int watch = -1;        // -1 with `overflow`
        QString name;          // the name in a watched folder; empty for the watched thing itself
        bool overflow = false; // notices were lost: anything may have changed
        bool gone = false;     // the watch has ended (its file or folder no longer exists)
    };
    // Everything queued since the last call.
    QList<Notice> Take();

private:
    int Watch(const QString& path, std::uint32_t mask);

    int fd_ = -1;
    std::uint64_t seen_ = 0;
};

} // namespace orvanel
