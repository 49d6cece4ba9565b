// SPDX-License-Identifier: GPL-3.0-or-later
#include "EndSignals.h"

#include "PlatformLog.h"

#include <QCoreApplication>
#include <QEvent>
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

// The desktop's session manager ends a client at the end of a logout with a Quit event to the
// application, whose own handling first closes every window and keeps running when one refuses
// (a window that closes into the tray).
class QuitEventFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched != QCoreApplication::instance() || event->type() != QEvent::Quit)
            return false;
        qCDebug(lcPlatform, "the session ends the program");
        QCoreApplication::quit();
        return true;
    }
};

} // namespace

void quitOnEndSignals() {
    if (s_pair[0] >= 0)
        return;
    // Only a program that has a session manager (X11's, which Qt reaches through the
    // variable) is ended that way.
    if (qEnvironmentVariableIsSet("SESSION_MANAGER")) {
        QCoreApplication::instance()->installEventFilter(
            new QuitEventFilter(QCoreApplication::instance()));
    }
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
    // A signal the starter set aside (nohup for the terminal's hang-up, a shell for the
    // interrupt of a job in the background) stays set aside.
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction before {};
        if (::sigaction(number, nullptr, &before) == 0 && before.sa_handler == SIG_IGN)
            continue;
        ::sigaction(number, &action, nullptr);
    }
}
