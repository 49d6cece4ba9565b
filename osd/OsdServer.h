// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The OSD program's end of the channel: a local server named by the OSD title that reads
// fixed-size records from each connection and hands every complete one on.

#include "OsdChannel.h"

#include <QObject>

class QLocalServer;
class QLocalSocket;

class OsdServer : public QObject {
    Q_OBJECT

public:
    enum Start {
        Listening,      // this process now serves the name
        AlreadyRunning, // another process answers on the name
        Failed,         // the name could not be taken
    };

    explicit OsdServer(QObject *parent = nullptr);
    ~OsdServer() override;

    // Listens on the socket path (osdServerPath) unless a live server answers there. A
    // socket file left by a server that ended is removed first. Two copies starting at the
    // same moment settle which one serves through a lock file beside the socket. The socket
    // is open to its owner only.
    Start start(const QString &path);

signals:
    void messageReceived(const OsdMessage &message);

private:
    void accept();
    void readRecords(QLocalSocket *socket);

    QLocalServer *m_server;
};
