#pragma once

#include <QFileInfo>
#include <QString>

#include <csignal>
#include <sys/resource.h>

namespace orvanel::fakes {

// A disk that is full for files grown beyond `bytes`: the kernel's file-size limit refuses
// what goes past it, as a full disk does, also when the tests run as root (whom read-only
// folders do not stop). Lifted again when the guard goes.
class FullDisk {
public:
    explicit FullDisk(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN); // the error, not the signal, reports it
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    // Full for anything bigger than `path` is now.
    explicit FullDisk(const QString& path) : FullDisk(rlim_t(QFileInfo(path).size())) {}
    ~FullDisk() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace orvanel::fakes
