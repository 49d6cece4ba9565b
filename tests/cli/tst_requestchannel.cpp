// SPDX-License-Identifier: GPL-3.0-or-later
// Following the window's status when the window goes with half a line unsent.
#include "MouseRequests.h"
#include "RequestChannel.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QtTest>
#include <atomic>
#include <thread>

class TestRequestChannel : public QObject {
    Q_OBJECT

private slots:
    // The window writes part of a line and ends: the follower does not spin on the closed
    // socket, and goes on to look at the mouse itself.
    void aWindowGoneMidLineIsLeft() {
        const QString path = requestSocketPath(QStringLiteral("TOLV"));
        QLocalServer::removeServer(path);
        std::atomic<int> listening{0}; // 1 listening, -1 could not
        std::thread serving([&path, &listening] {
            QLocalServer window;
            listening = window.listen(path) ? 1 : -1;
            if (listening < 0 || !window.waitForNewConnection(5000))
                return;
            QLocalSocket *socket = window.nextPendingConnection();
            socket->waitForReadyRead(2000);
            socket->write("{\"kind\":");
            socket->waitForBytesWritten(2000);
            socket->disconnectFromServer();
            delete socket;
        });
        while (listening == 0)
            QThread::msleep(5);
        if (listening < 0) {
            serving.join();
            QFAIL("cannot listen on the window's socket");
        }
        QElapsedTimer clock;
        clock.start();
        int shown = 0;
        followStatus(
            QStringLiteral("TOLV"),
            [&shown](const MouseOutcome &) {
                ++shown;
                return false;
            },
            [&clock] { return clock.elapsed() > 8000; });
        serving.join();
        QCOMPARE(shown, 1);
    }
};

QTEST_GUILESS_MAIN(TestRequestChannel)
#include "tst_requestchannel.moc"
