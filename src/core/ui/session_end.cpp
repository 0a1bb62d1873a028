#include "core/ui/session_end.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <csignal>

namespace hinagiku::core {
namespace {

int signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: one byte into the pipe.
extern "C" void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

SessionEnd& SessionEnd::instance() {
    static SessionEnd single;
    return single;
}

void SessionEnd::installSignalHandlers() {
    if (notifier_ != nullptr || QCoreApplication::instance() == nullptr)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0)
        return;
    // Owned by the application, so it goes before the event dispatcher does.
    notifier_ =
        new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    connect(notifier_, &QSocketNotifier::activated, this, &SessionEnd::signalArrived);
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

void SessionEnd::signalArrived() {
    char buffer[16];
    while (::read(signalPipe[0], buffer, sizeof buffer) > 0) {
    }
    end();
    QCoreApplication::quit();
}

void SessionEnd::end() {
    emit ending();
}

}  // namespace hinagiku::core
