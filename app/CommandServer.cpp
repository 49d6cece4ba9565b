// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandServer.h"

#include "AppLog.h"
#include "UserRuntimeDir.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace {

void answer(QLocalSocket *socket, const MouseOutcome &outcome) {
    if (!socket || socket->state() != QLocalSocket::ConnectedState)
        return;
    socket->write(encodeOutcome(outcome));
    // Closes once the answer has gone.
    socket->disconnectFromServer();
}

} // namespace

CommandServer::CommandServer(std::function<bool()> busy, std::function<bool()> hasMouse,
                             Perform perform, QObject *parent)
    : QObject(parent), m_busy(std::move(busy)), m_hasMouse(std::move(hasMouse)),
      m_perform(std::move(perform)), m_server(new QLocalServer(this)), m_timer(new QTimer(this)) {
    m_clock.start();
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &CommandServer::runQueue);
    // The socket file is made the owner's alone before anyone can connect.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &CommandServer::acceptAll);
    // A program on its way out (its mouse session ending, which can take a send's time) takes
    // no more commands: a command line finds no window, rather than one that never answers.
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, m_server,
                &QLocalServer::close);
}

CommandServer::~CommandServer() = default;

bool CommandServer::listen(const QString &path) {
    QLocalServer::removeServer(path);
    if (m_server->listen(path))
        return true;
    qCDebug(lcApp).noquote() << "command line socket:" << m_server->errorString();
    return false;
}

void CommandServer::acceptAll() {
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!peerIsThisUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        // One request per connection, one line long.
        socket->setReadBufferSize(kMaxRequestLine + 1);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
    }
}

void CommandServer::readRequest(QLocalSocket *socket) {
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaxRequestLine)
            socket->abort();
        return;
    }
    disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
    MouseRequest request;
    if (!decodeRequest(socket->readLine(kMaxRequestLine + 1), request)) {
        socket->abort();
        return;
    }
    if (request.command == MouseRequest::Follow) {
        m_followers.append({socket, MouseOutcome(), false});
        pushStatus();
        return;
    }
    // What only reads is told at once, also while a send runs: a status bar never waits.
    if (request.readsOnly()) {
        m_perform(request, [socket](const MouseOutcome &outcome) { answer(socket, outcome); });
        return;
    }
    m_queue.append({socket, request, m_clock.elapsed()});
    // Carried out from the event loop, not from inside the socket's signal: a message box
    // runs an event loop of its own, in which an answered socket may be deleted.
    m_timer->start(0);
}

void CommandServer::runQueue() {
    // One request at a time: the next waits until the mouse has answered this one.
    if (m_running)
        return;
    while (!m_queue.isEmpty()) {
        const Queued &head = m_queue.first();
        // A command line that gave up has been told nothing was done: nothing is done late.
        if (!head.socket || head.socket->state() != QLocalSocket::ConnectedState) {
            m_queue.removeFirst();
            continue;
        }
        // Without a mouse nothing can be sent: told at once ("No mouse is connected."), also
        // while the window's own no-mouse box is up. Import and export need no mouse.
        if (head.request.sendsToMouse() && !m_hasMouse()) {
            answer(head.socket, MouseOutcome::of(MouseOutcome::NoMouse));
            m_queue.removeFirst();
            continue;
        }
        if (m_busy()) {
            if (m_clock.elapsed() - head.since < kBusyWaitMs) {
                m_timer->start(kBusyRetryMs);
                return;
            }
            answer(head.socket, MouseOutcome::of(MouseOutcome::Busy));
            m_queue.removeFirst();
            continue;
        }
        const Queued taken = m_queue.takeFirst();
        m_running = true;
        QPointer<QLocalSocket> socket = taken.socket;
        QPointer<CommandServer> self(this);
        m_perform(taken.request, [self, socket](const MouseOutcome &outcome) {
            answer(socket, outcome);
            if (!self)
                return;
            self->m_running = false;
            if (!self->m_queue.isEmpty())
                self->m_timer->start(0);
        });
        // Answered later: the queue goes on from the answer.
        if (m_running)
            return;
    }
}

void CommandServer::pushStatus() {
    if (m_followers.isEmpty())
        return;
    MouseRequest status;
    status.command = MouseRequest::Status;
    QPointer<CommandServer> self(this);
    m_perform(status, [self](const MouseOutcome &outcome) {
        if (self)
            self->tellFollowers(outcome);
    });
}

void CommandServer::tellFollowers(const MouseOutcome &status) {
    const QByteArray line = encodeOutcome(status);
    for (auto it = m_followers.begin(); it != m_followers.end();) {
        QLocalSocket *socket = it->socket;
        if (!socket || socket->state() != QLocalSocket::ConnectedState) {
            it = m_followers.erase(it);
            continue;
        }
        if (it->toldOnce && it->told.kind == status.kind &&
            !statusChanged(it->told.data, status.data)) {
            ++it;
            continue;
        }
        socket->write(line);
        it->told = status;
        it->toldOnce = true;
        if (socket->bytesToWrite() > kMaxUnsentBytes) {
            qCDebug(lcApp, "a status follower does not read: let go");
            socket->abort();
            it = m_followers.erase(it);
            continue;
        }
        ++it;
    }
}
