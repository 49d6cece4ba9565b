// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line's way into the running window: requests taken on a local socket in the
// user's runtime folder, open to its owner only, from peers of the same user only. One
// request line per connection; what only reads is answered at once, the rest waits its turn
// (and for the window to be free) and is carried out one at a time, so that only one program
// ever talks to the mouse. A follow request keeps its connection: it gets the status at once
// and again whenever the status reads differently (pushStatus).

#include "MouseRequests.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class QLocalServer;
class QLocalSocket;
class QTimer;

class CommandServer : public QObject {
    Q_OBJECT

public:
    using Answer = std::function<void(const MouseOutcome &)>;
    // Carries a request out and answers it, at once or when the mouse has answered.
    using Perform = std::function<void(const MouseRequest &, Answer)>;

    // How long a request that needs the mouse waits while the window is busy with it (a
    // send, a dialog), before the command line is told so. The command line waits longer.
    static constexpr int kBusyWaitMs = 20000;
    static constexpr int kBusyRetryMs = 100;
    // A follower that leaves this much of its status lines unread is let go: the window never
    // waits for a reader, nor keeps lines for it without end.
    static constexpr qint64 kMaxUnsentBytes = 64 * 1024;

    // busy: the window is sending or the user has a dialog open, and a request that changes
    // something waits. hasMouse: a supported mouse is present. perform: carries a request out.
    CommandServer(std::function<bool()> busy, std::function<bool()> hasMouse, Perform perform,
                  QObject *parent = nullptr);
    ~CommandServer() override;

    // Listens at path, in place of a socket file left there: the caller holds the product's
    // lock, so such a file is a crashed copy's. False (and a debug line) when the socket
    // cannot be made.
    bool listen(const QString &path);

public slots:
    // The window's status may read differently now (a battery report, a slot, stage or rate
    // change, a link coming or going): each follower gets a line when it does for them.
    void pushStatus();

private:
    struct Queued {
        QPointer<QLocalSocket> socket;
        MouseRequest request;
        qint64 since = 0;
    };

    void acceptAll();
    void readRequest(QLocalSocket *socket);
    void runQueue();
    void tellFollowers(const MouseOutcome &status);

    struct Follower {
        QPointer<QLocalSocket> socket;
        MouseOutcome told; // the status the follower has last been sent
        bool toldOnce = false;
    };

    std::function<bool()> m_busy;
    std::function<bool()> m_hasMouse;
    Perform m_perform;
    QLocalServer *m_server = nullptr;
    QList<Queued> m_queue;
    QList<Follower> m_followers;
    QTimer *m_timer = nullptr;
    QElapsedTimer m_clock;
    bool m_running = false;
};
