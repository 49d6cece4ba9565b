// SPDX-License-Identifier: GPL-3.0-or-later
#include "RequestChannel.h"

#include "BatteryRecorder.h"
#include "InstanceLock.h"
#include "LocalMouse.h"
#include "MouseSession.h"
#include "UserRuntimeDir.h"

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

namespace {

constexpr int kConnectMs = 1000;
constexpr int kRetryMs = 25;
// How often a follower looks whether it was interrupted or its reader went away.
constexpr int kFollowCheckMs = 100;

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

// Refused: the window closed the connection without a line (a window that does not know
// the request).
enum class Followed { NoWindow, WindowEnded, Refused, Ended };

// Follows the window's status for as long as the window runs.
Followed followWindow(const QString &socketPath,
                      const std::function<bool(const MouseOutcome &)> &show,
                      const std::function<bool()> &stopped) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(kConnectMs) || !peerIsThisUser(socket.socketDescriptor()))
        return Followed::NoWindow;
    MouseRequest follow;
    follow.command = MouseRequest::Follow;
    socket.write(encodeRequest(follow));
    bool heard = false;
    while (!stopped()) {
        while (socket.canReadLine()) {
            heard = true;
            MouseOutcome outcome;
            if (decodeOutcome(socket.readLine(kMaxRequestLine + 1), outcome) && !show(outcome))
                return Followed::Ended;
        }
        // Half a line left by a window that went (or cut the follower off) is dropped: a
        // closed socket waits for nothing, and the loop would spin on it.
        if (socket.state() != QLocalSocket::ConnectedState && !socket.canReadLine())
            return heard ? Followed::WindowEnded : Followed::Refused;
        socket.waitForReadyRead(kFollowCheckMs);
    }
    return Followed::Ended;
}

// Waits ms unless the follow is to end first; false when it is.
bool restFor(int ms, const std::function<bool()> &stopped) {
    QElapsedTimer clock;
    clock.start();
    while (!stopped()) {
        const qint64 left = ms - clock.elapsed();
        if (left <= 0)
            return true;
        QThread::msleep(ulong(qMin<qint64>(left, kFollowCheckMs)));
    }
    return false;
}

} // namespace

void followStatus(const QString &productName, const std::function<bool(const MouseOutcome &)> &show,
                  const std::function<bool()> &stopped) {
    const QString socketPath = requestSocketPath(productName);
    // Kept from look to look; what the window wrote meanwhile is read again.
    BatteryRecorder battery(BatteryRecorder::Writes::AtOnce);
    // Made for the first look of its own, ended while a window is followed.
    std::unique_ptr<StatusFollower> follower;
    // The window's first line lets the mouse go here: its reports would wait unread meanwhile.
    const auto showWindows = [&](const MouseOutcome &outcome) {
        follower.reset();
        return show(outcome);
    };
    for (;;) {
        const Followed followed = followWindow(socketPath, showWindows, stopped);
        if (followed == Followed::Ended)
            return;
        // A window that ended is soon looked for again, or its mouse taken over; one that
        // refuses is asked again at the polling step.
        if (followed != Followed::NoWindow) {
            follower.reset();
            const int rest =
                followed == Followed::Refused ? MouseSession::kPollIntervalMs : kRetryMs;
            if (!restFor(rest, stopped))
                return;
            continue;
        }
        bool looked = false;
        MouseOutcome outcome;
        {
            // Held for one look only, so that the window can start (it waits for a command
            // line's lock a while, not for ever) and other commands get their turn.
            InstanceLock lock;
            if (lock.tryLock(productName) || lock.unavailable()) {
                if (!follower)
                    follower = std::make_unique<StatusFollower>();
                outcome = follower->look(battery);
                looked = true;
            }
        }
        // A signal that ended the follow during the look may have cut a read of the mouse
        // short: what that look found is not shown.
        if (looked && (stopped() || !show(outcome)))
            return;
        if (!restFor(looked ? MouseSession::kPollIntervalMs : kRetryMs, stopped))
            return;
    }
}

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
            // was carried out is not known, so it is not tried again; what only reads is.
            if (!request.readsOnly() || clock.elapsed() >= kWaitForMouseMs)
                return MouseOutcome::of(MouseOutcome::Busy, 1);
            QThread::msleep(kRetryMs);
            continue;
        case Forwarded::NoWindow:
            break;
        }
        // Where no lock can be taken at all (no runtime folder), no window can be reached
        // either: the command is carried out here rather than refused after a wait.
        if (lock.tryLock(productName) || lock.unavailable()) {
            BatteryRecorder battery(BatteryRecorder::Writes::OneReading);
            return runLocally(request, battery);
        }
        // Another command line holds the mouse, or the window is starting and not yet
        // listening.
        if (clock.elapsed() >= kWaitForMouseMs)
            return MouseOutcome::of(MouseOutcome::Busy);
        QThread::msleep(kRetryMs);
    }
}
