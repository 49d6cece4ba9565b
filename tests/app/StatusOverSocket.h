// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the command line hears from the window in process: the window's socket asked as the
// command line asks it.

#include "ModelDescriptor.h"
#include "MouseRequests.h"

#include <QJsonObject>
#include <QLocalSocket>
#include <QtTest>

// The status record the window's socket gives the command line (empty when none came).
inline QJsonObject statusOverSocket() {
    QLocalSocket client;
    client.connectToServer(requestSocketPath(descriptorProductName()));
    client.write("{\"command\":\"status\"}\n");
    for (int i = 0; i < 100 && !client.canReadLine(); ++i)
        QTest::qWait(50);
    MouseOutcome status;
    return decodeOutcome(client.readLine(), status) ? status.data : QJsonObject();
}
