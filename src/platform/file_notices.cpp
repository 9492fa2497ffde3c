#include "platform/file_notices.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <sys/inotify.h>
#include <unistd.h>

namespace orvanel {

namespace detail {
std::atomic<std::uint64_t> g_fileNoticeSignals{0};
} // namespace detail

namespace {

struct sigaction g_previous = {};

void OnSigio(int signalNumber, siginfo_t* info, void* context) {
    detail::g_fileNoticeSignals.fetch_add(1, std::memory_order_relaxed);
    // Whoever else asked for SIGIO still gets it.
    if (g_previous.sa_flags & SA_SIGINFO) {
        if (g_previous.sa_sigaction) g_previous.sa_sigaction(signalNumber, info, context);
    } else if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(signalNumber);
    }
}

bool InstallHandler() {
    static std::once_flag once;
    static bool installed = false;
    std::call_once(once, [] {
        struct sigaction action = {};
        action.sa_sigaction = &OnSigio;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_SIGINFO | SA_RESTART;
        installed = ::sigaction(SIGIO, &action, &g_previous) == 0;
    });
    return installed;
}

// A file's content: written, truncated, replaced or removed. Attribute changes count because
// the last link going (an atomic replace by another program) is one.
constexpr std::uint32_t kFileMask =
    IN_MODIFY | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_MASK_ADD;
// A folder's names only: files written in it (logs) do not wake anyone.
constexpr std::uint32_t kFolderMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                      IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR | IN_MASK_ADD;

} // namespace

FileNotices::FileNotices() {
    if (!InstallHandler()) return;
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) return;
    struct f_owner_ex owner = {F_OWNER_TID, ::gettid()};
    const int flags = ::fcntl(fd_, F_GETFL);
    if (::fcntl(fd_, F_SETOWN_EX, &owner) != 0 || flags < 0 ||
        ::fcntl(fd_, F_SETFL, flags | O_ASYNC) != 0) {
        ::close(fd_);
        fd_ = -1;
        return;
    }
    seen_ = detail::g_fileNoticeSignals.load(std::memory_order_relaxed);
}

FileNotices::~FileNotices() {
    if (fd_ >= 0) ::close(fd_);
}

int FileNotices::Watch(const QString& path, std::uint32_t mask) {
    if (fd_ < 0) return -ENOSYS;
    const int wd = ::inotify_add_watch(fd_, QFile::encodeName(path).constData(), mask);
    return wd >= 0 ? wd : -errno;
}

int FileNotices::WatchFile(const QString& path) {
    return Watch(path, kFileMask);
}

int FileNotices::WatchFolder(const QString& path) {
    return Watch(path, kFolderMask);
}

void FileNotices::Unwatch(int watch) {
    if (fd_ >= 0 && watch >= 0) ::inotify_rm_watch(fd_, watch);
}

QList<FileNotices::Notice> FileNotices::Take() {
    QList<Notice> out;
    if (fd_ < 0) return out;
    // Marked seen before reading: a notice queued meanwhile signals again.
    seen_ = detail::g_fileNoticeSignals.load(std::memory_order_relaxed);
    alignas(struct inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            break;
        }
        for (ssize_t at = 0; at + ssize_t(sizeof(inotify_event)) <= n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            Notice notice;
            notice.watch = e->wd;
            notice.overflow = e->mask & IN_Q_OVERFLOW;
            notice.gone = e->mask & IN_IGNORED;
            if (e->len > 0) notice.name = QFile::decodeName(e->name);
            out.append(notice);
            at += ssize_t(sizeof(inotify_event)) + e->len;
        }
    }
    return out;
}

} // namespace orvanel
