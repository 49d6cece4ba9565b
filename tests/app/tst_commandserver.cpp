// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's server without a window: who may use its socket, what becomes of a
// request line that never ends, and what its status followers are sent.
#include "CommandServer.h"

#include <QLocalSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
const QByteArray kStatusLine = "{\"command\":\"status\"}\n";
} // namespace

class TestCommandServer : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QList<MouseRequest::Command> m_performed;
    QJsonObject m_status; // what a status request is answered with
    QScopedPointer<CommandServer> m_server;
    QString m_path;

private slots:
    void init() {
        m_performed.clear();
        m_server.reset(new CommandServer([] { return false; }, [] { return true; },
                                         [this](const MouseRequest &request, auto answer) {
                                             m_performed.append(request.command);
                                             MouseOutcome outcome;
                                             outcome.data = m_status;
                                             answer(outcome);
                                         }));
        m_path = m_dir.filePath(QStringLiteral("requests"));
        // A file left by a crashed copy is taken over; under umask 0 the socket is still the
        // owner's alone.
        QFile stale(m_path);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        const mode_t oldMask = ::umask(0);
        const bool listening = m_server->listen(m_path);
        ::umask(oldMask);
        QVERIFY(listening);
        struct stat st {};
        QVERIFY(::lstat(QFile::encodeName(m_path).constData(), &st) == 0 && S_ISSOCK(st.st_mode));
        QCOMPARE(st.st_mode & 077, mode_t(0));
    }

    void requestAnswered() {
        QLocalSocket client;
        client.connectToServer(m_path);
        client.write(kStatusLine);
        QTRY_VERIFY(client.canReadLine());
        MouseOutcome outcome;
        QVERIFY(decodeOutcome(client.readLine(), outcome));
        QCOMPARE(m_performed, QList<MouseRequest::Command>{MouseRequest::Status});
    }

    // A line longer than any request is not read to its end: the connection is dropped.
    void overlongLineDropped() {
        QLocalSocket client;
        client.connectToServer(m_path);
        client.write(QByteArray(kMaxRequestLine + 1, ' ') + kStatusLine);
        QTRY_COMPARE(client.state(), QLocalSocket::UnconnectedState);
        QVERIFY(m_performed.isEmpty());
    }

    // A follower gets the status at once and a line per change, none for millivolts alone; one
    // that stops reading is let go when its unsent lines pass the cap, the others go on.
    void followersToldOfChanges() {
        QLocalSocket reader, stalled;
        stalled.setReadBufferSize(1);
        for (QLocalSocket *client : {&reader, &stalled}) {
            client->connectToServer(m_path);
            client->write("{\"command\":\"follow\"}\n");
        }
        QTRY_VERIFY(reader.canReadLine());
        m_status.insert(QStringLiteral("millivolts"), 3950);
        m_server->pushStatus();
        m_status.insert(QStringLiteral("pad"), QString(4096, QLatin1Char('x')));
        const int changes = 100;
        for (int i = 1; i <= changes; ++i) {
            m_status.insert(QStringLiteral("dpiStage"), i);
            m_server->pushStatus();
            QCoreApplication::processEvents();
        }
        QByteArray lines;
        QTRY_VERIFY((lines += reader.readAll()).contains("\"dpiStage\":100,"));
        QCOMPARE(lines.count('\n'), 1 + changes);
        stalled.setReadBufferSize(0);
        QTRY_COMPARE(stalled.state(), QLocalSocket::UnconnectedState);
        QVERIFY(stalled.readAll().count('\n') < changes);
        QCOMPARE(reader.state(), QLocalSocket::ConnectedState);
    }

    // Were the socket file open to everyone, a peer of another user would still be turned
    // away. Only root can be that other user.
    void peerOfAnotherUserRefused() {
        if (::geteuid() != 0)
            QSKIP("needs root to connect as another user");
        QVERIFY(::chmod(QFile::encodeName(m_dir.path()).constData(), 0711) == 0);
        QVERIFY(::chmod(QFile::encodeName(m_path).constData(), 0777) == 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, QFile::encodeName(m_path).constData(), sizeof address.sun_path);
        const pid_t child = ::fork();
        if (child == 0) {
            // As nobody: 0 when the server closes without a word, 1 when it answers.
            ::alarm(10);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            if (::setgid(65534) != 0 || ::setuid(65534) != 0 ||
                ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
                ::_exit(2);
            ::send(fd, kStatusLine.constData(), size_t(kStatusLine.size()), MSG_NOSIGNAL);
            char byte;
            ::_exit(::read(fd, &byte, 1) > 0 ? 1 : 0);
        }
        int status = -1;
        bool ended = false; // QTRY_VERIFY evaluates once more after the loop
        QTRY_VERIFY(ended || (ended = ::waitpid(child, &status, WNOHANG) == child));
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QVERIFY(m_performed.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCommandServer)
#include "tst_commandserver.moc"
