// Our own local stream sockets: who may connect to the server's file, paths that do not fit,
// answers longer than the socket takes at once, a bounded read buffer, and peers that go
// away early.

#include "LocalStream.h"

#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <functional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Far more than a local socket buffers, so that it is written in pieces.
QByteArray bigAnswer() {
    QByteArray data(8 * 1024 * 1024, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char('a' + i % 23);
    return data;
}

QByteArray readToEnd(int fd) {
    QByteArray data;
    char chunk[65536];
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, 5000) > 0) {
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0)
            break;
        data.append(chunk, int(n));
    }
    return data;
}

} // namespace

class TestLocalStream : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QPointer<LocalStreamConnection> m_accepted;
    // Set up as each connection is accepted, before it reads anything.
    std::function<void(LocalStreamConnection *)> m_onAccept;

    bool listenOn(LocalStreamServer &server, const QString &name) {
        connect(&server, &LocalStreamServer::newConnection, this, [this](LocalStreamConnection *c) {
            m_accepted = c;
            if (m_onAccept)
                m_onAccept(c);
        });
        return server.listen(m_dir.filePath(name));
    }

private slots:
    void init() {
        m_accepted.clear();
        m_onAccept = nullptr;
    }

    void socketFileIsTheOwnersAlone() {
        const mode_t oldMask = ::umask(0);
        LocalStreamServer server;
        const bool listening = listenOn(server, QStringLiteral("owner"));
        ::umask(oldMask);
        QVERIFY2(listening, qPrintable(server.errorString()));
        struct stat st {};
        QCOMPARE(::lstat(QFile::encodeName(server.path()).constData(), &st), 0);
        QVERIFY(S_ISSOCK(st.st_mode));
        QCOMPARE(st.st_mode & 07777, mode_t(0600));

        // A file in the way is never taken over; closing removes ours.
        LocalStreamServer second;
        QVERIFY(!second.listen(server.path()));
        const int fd = LocalStream::connectTo(server.path(), 100);
        QVERIFY(fd >= 0);
        ::close(fd);
        server.close();
        QVERIFY(!QFileInfo::exists(server.path()));
        QCOMPARE(LocalStream::connectTo(server.path(), 100), -1);
    }

    void pathLengthLimit() {
        const int room = LocalStream::maxPathLength() - int(m_dir.path().size()) - 1;
        QVERIFY(room > 0);
        const QString fits = m_dir.filePath(QString(room, QLatin1Char('f')));
        const QString tooLong = m_dir.filePath(QString(room + 1, QLatin1Char('l')));
        LocalStreamServer server;
        QVERIFY2(server.listen(fits), qPrintable(server.errorString()));
        LocalStreamServer refused;
        QVERIFY(!refused.listen(tooLong));
        QVERIFY(!refused.errorString().isEmpty());
        QVERIFY(!QFileInfo::exists(tooLong));
        QCOMPARE(LocalStream::connectTo(tooLong, 100), -1);
        const int fd = LocalStream::connectTo(fits, 100);
        QVERIFY(fd >= 0);
        ::close(fd);
    }

    // A request line in, a long answer out, then a close that waits for the answer to go.
    void longAnswerThenClose() {
        LocalStreamServer server;
        QVERIFY(listenOn(server, QStringLiteral("long")));
        const QByteArray answer = bigAnswer();
        QByteArray received;
        std::atomic<bool> done{false};
        const QString path = server.path();
        std::thread client([&] {
            const int fd = LocalStream::connectTo(path, 1000);
            if (fd >= 0 && LocalStream::writeAll(fd, "status\n", 1000))
                received = readToEnd(fd);
            if (fd >= 0)
                ::close(fd);
            done = true;
        });
        QTRY_VERIFY(m_accepted && m_accepted->canReadLine());
        QCOMPARE(m_accepted->readLine(100), QByteArray("status\n"));
        QSignalSpy disconnected(m_accepted.data(), &LocalStreamConnection::disconnected);
        QCOMPARE(m_accepted->write(answer.left(1000)), qint64(1000));
        QCOMPARE(m_accepted->write(answer.mid(1000)), qint64(answer.size() - 1000));
        m_accepted->disconnectFromServer();
        QVERIFY(!m_accepted->isConnected());
        QVERIFY(m_accepted->descriptor() >= 0);
        QTRY_VERIFY_WITH_TIMEOUT(done, 10000);
        client.join();
        QCOMPARE(received.size(), answer.size());
        QVERIFY(received == answer);
        QCOMPARE(disconnected.count(), 1);
        QCOMPARE(m_accepted->descriptor(), -1);
    }

    void boundedReadBuffer() {
        LocalStreamServer server;
        QVERIFY(listenOn(server, QStringLiteral("bounded")));
        const int fd = LocalStream::connectTo(server.path(), 100);
        QVERIFY(fd >= 0);
        QTRY_VERIFY(m_accepted);
        m_accepted->setReadBufferSize(1000);
        const QByteArray sent = bigAnswer().left(10500);
        QVERIFY(LocalStream::writeAll(fd, sent, 1000));
        QByteArray got;
        while (got.size() < sent.size()) {
            QTRY_COMPARE(m_accepted->bytesAvailable(),
                         qMin<qint64>(1000, sent.size() - got.size()));
            QTest::qWait(5);
            QVERIFY(m_accepted->bytesAvailable() <= 1000);
            got += m_accepted->readAll();
        }
        QVERIFY(got == sent);
        ::close(fd);
    }

    // The peer goes while a request is on its way or an answer is being written: the server
    // learns of it by disconnected(), and nobody gets a SIGPIPE.
    void peerGoesEarly_data() {
        QTest::addColumn<bool>("deleteOnRead");
        QTest::newRow("line then close") << false;
        QTest::newRow("connection deleted in its readyRead") << true;
    }
    void peerGoesEarly() {
        QFETCH(bool, deleteOnRead);
        LocalStreamServer server;
        QVERIFY(listenOn(server, QStringLiteral("early")));
        QByteArray line;
        int disconnects = 0;
        m_onAccept = [&](LocalStreamConnection *c) {
            connect(c, &LocalStreamConnection::disconnected, this, [&] { ++disconnects; });
            connect(c, &LocalStreamConnection::readyRead, this, [&, c] {
                line = c->readLine(100);
                if (deleteOnRead)
                    delete c;
            });
        };
        int fd = LocalStream::connectTo(server.path(), 100);
        QVERIFY(LocalStream::writeAll(fd, "status\n", 100));
        ::close(fd);
        QTRY_COMPARE(line, QByteArray("status\n"));
        if (deleteOnRead) {
            QVERIFY(!m_accepted);
            QCOMPARE(disconnects, 0);
            return;
        }
        QTRY_COMPARE(disconnects, 1);
        QCOMPARE(m_accepted->write("answer\n"), qint64(-1));
        m_onAccept = nullptr;

        // An answer the client never reads: it closes, and the rest of the answer is dropped.
        fd = LocalStream::connectTo(server.path(), 100);
        QTRY_VERIFY(m_accepted && m_accepted->isConnected());
        QSignalSpy gone(m_accepted.data(), &LocalStreamConnection::disconnected);
        m_accepted->write(bigAnswer());
        QTest::qWait(50);
        ::close(fd);
        QTRY_COMPARE(gone.count(), 1);
        QCOMPARE(m_accepted->bytesToWrite(), qint64(0));

        // The blocking client, whose server closed on it.
        fd = LocalStream::connectTo(server.path(), 100);
        QTRY_VERIFY(m_accepted && m_accepted->isConnected());
        m_accepted->abort();
        QVERIFY(!LocalStream::writeAll(fd, bigAnswer(), 1000));
        ::close(fd);
    }
};

QTEST_GUILESS_MAIN(TestLocalStream)
#include "tst_localstream.moc"
