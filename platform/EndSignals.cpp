// SPDX-License-Identifier: GPL-3.0-or-later
#include "EndSignals.h"

#include "PlatformLog.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The handler only writes a byte into a socket pair (write is async-signal-safe); the event
// loop reads it and quits.
int s_pair[2] = {-1, -1};

extern "C" void onEndSignal(int number) {
    const int saved = errno;
    const char byte = char(number);
    [[maybe_unused]] const ssize_t n = ::write(s_pair[0], &byte, 1);
    errno = saved;
}

} // namespace

void quitOnEndSignals() {
    if (s_pair[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, s_pair) != 0) {
        qCWarning(lcPlatform, "no socket pair for the end signals: %s", strerror(errno));
        return;
    }
    auto *notifier =
        new QSocketNotifier(s_pair[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char byte = 0;
        while (::read(s_pair[1], &byte, 1) == 1)
            qCDebug(lcPlatform, "signal %d: ending", int(byte));
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onEndSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(number, &action, nullptr);
}
