// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The virtual mouse seen from a test that runs a program under the virtual-mouse launcher:
// control lines into the launcher's FIFO, and the mouse's state read back from its dump file
// while the program runs (see emulator/LauncherCommands.h and VirtualMouse::dump).

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QString>
#include <QtTest>

// Writes one control line ("dpi 3", "unplug cable", ...) into the launcher's FIFO.
inline bool controlMouse(const QString &fifo, const QString &line) {
    QFile f(fifo);
    const QByteArray bytes = line.toLatin1() + '\n';
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The mouse's tables and traffic now: the launcher started with --dump dumpPath is asked to
// write its dump; empty when it did not within a few seconds.
inline QString mouseDump(const QString &fifo, const QString &dumpPath) {
    QFile::remove(dumpPath);
    if (!controlMouse(fifo, QStringLiteral("dump")))
        return QString();
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(dumpPath) && clock.elapsed() < 5000)
        QTest::qWait(20);
    QFile f(dumpPath);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

// What reached the mouse on one link, from a dump: the commands it took and the status
// queries among them, which it answered; -1 each when the dump has no such line.
struct LinkTraffic {
    int commands = -1;
    int queries = -1;
};

// link: "receiver" or "cable".
inline LinkTraffic linkTraffic(const QString &dump, const QString &link) {
    const QRegularExpression line(QStringLiteral("^%1 commands (\\d+) queries (\\d+)$").arg(link),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = line.match(dump);
    LinkTraffic traffic;
    if (m.hasMatch()) {
        traffic.commands = m.captured(1).toInt();
        traffic.queries = m.captured(2).toInt();
    }
    return traffic;
}
