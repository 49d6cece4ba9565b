// SPDX-License-Identifier: GPL-3.0-or-later
#include "OsdServer.h"
#include "UserRuntimeDir.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

namespace {
constexpr int kProbeTimeout = 200;
constexpr int kLockTimeout = 3000;
} // namespace

OsdServer::OsdServer(QObject *parent) : QObject(parent), m_server(new QLocalServer(this)) {
    qRegisterMetaType<OsdMessage>();
    connect(m_server, &QLocalServer::newConnection, this, &OsdServer::accept);
}

OsdServer::~OsdServer() = default;

OsdServer::Start OsdServer::start(const QString &path) {
    QLockFile lock(path + QStringLiteral(".lock"));
    // Held only while deciding: whoever comes second sees the first one's server. A lock
    // that stays taken belongs to a live copy; one that cannot be made at all (no access)
    // does not stop the start.
    if (!lock.tryLock(kLockTimeout) && lock.error() == QLockFile::LockFailedError)
        return AlreadyRunning;

    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(kProbeTimeout)) {
        probe.abort();
        return AlreadyRunning;
    }
    // Nobody answers: a socket file that is still there was left by a server that ended.
    QLocalServer::removeServer(path);
    // Another user of the machine must neither send to this screen nor stop this server.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(path)) {
        qWarning("OSD: cannot listen on \"%s\": %s", qPrintable(path),
                 qPrintable(m_server->errorString()));
        return Failed;
    }
    return Listening;
}

void OsdServer::accept() {
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        // Were the socket reachable by others (no runtime folder of the user's), another
        // user's text is still not shown on this screen.
        if (!peerIsThisUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRecords(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            readRecords(socket);
            socket->deleteLater();
        });
        // Data may have come with the connection.
        readRecords(socket);
    }
}

void OsdServer::readRecords(QLocalSocket *socket) {
    while (socket->bytesAvailable() >= kOsdRecordSize) {
        OsdMessage message;
        if (parseOsdRecord(socket->read(kOsdRecordSize), message))
            emit messageReceived(message);
    }
}
