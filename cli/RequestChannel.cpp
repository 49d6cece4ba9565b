// SPDX-License-Identifier: GPL-3.0-or-later
#include "RequestChannel.h"

#include "InstanceLock.h"
#include "LocalMouse.h"
#include "UserRuntimeDir.h"

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

namespace {

constexpr int kConnectMs = 1000;
constexpr int kRetryMs = 25;

enum class Forwarded { NoWindow, Answered, Unanswered };

// Hands the request to the window and reads its one-line answer.
Forwarded forward(const QString &socketPath, const MouseRequest &request, MouseOutcome &outcome) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    // A socket of another user's program (in a shared temporary folder) is no window of
    // ours: the request is never handed to it.
    if (!socket.waitForConnected(kConnectMs) || !peerIsThisUser(socket.socketDescriptor()))
        return Forwarded::NoWindow;
    socket.write(encodeRequest(request));
    QElapsedTimer clock;
    clock.start();
    QByteArray answer;
    while (!answer.endsWith('\n') && answer.size() <= kMaxRequestLine) {
        const int left = kWindowAnswerMs - int(clock.elapsed());
        if (socket.bytesAvailable() == 0 && (left <= 0 || !socket.waitForReadyRead(left)))
            break;
        answer += socket.readAll();
    }
    socket.abort();
    return decodeOutcome(answer, outcome) ? Forwarded::Answered : Forwarded::Unanswered;
}

} // namespace

MouseOutcome carryOut(const MouseRequest &request, const QString &productName) {
    const QString socketPath = requestSocketPath(productName);
    QElapsedTimer clock;
    clock.start();
    InstanceLock lock;
    for (;;) {
        MouseOutcome outcome;
        switch (forward(socketPath, request, outcome)) {
        case Forwarded::Answered:
            return outcome;
        case Forwarded::Unanswered:
            // The window took the request and ended, or gave no answer in time: whether it
            // was carried out is not known, so it is not tried again.
            return MouseOutcome::of(MouseOutcome::Busy, 1);
        case Forwarded::NoWindow:
            break;
        }
        if (lock.tryLock(productName))
            return runLocally(request);
        // Another command line holds the mouse, or the window is starting and not yet
        // listening.
        if (clock.elapsed() >= kWaitForMouseMs)
            return MouseOutcome::of(MouseOutcome::Busy);
        QThread::msleep(kRetryMs);
    }
}
