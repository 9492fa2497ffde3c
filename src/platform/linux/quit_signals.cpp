#include "platform/linux/quit_signals.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace orvanel {
namespace {
int g_pipe[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
} // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) return;
    notifier_ = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::Read);
    struct sigaction action = {};
    action.sa_handler = &QuitSignals::Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kSignals)
        sigaction(s, &action, nullptr);
}

QuitSignals::~QuitSignals() {
    for (int s : kSignals)
        std::signal(s, SIG_DFL);
    for (int& fd : g_pipe) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

void QuitSignals::Handler(int signalNumber) {
    const char byte = char(signalNumber);
    if (g_pipe[0] < 0) return;
    const ssize_t written = ::write(g_pipe[0], &byte, 1);
    (void)written; // nothing more can be done inside a signal handler
}

void QuitSignals::Read() {
    char byte = 0;
    if (::read(g_pipe[1], &byte, 1) == 1) Q_EMIT Received(int(byte));
}

} // namespace orvanel
