// SPDX-License-Identifier: GPL-3.0-or-later
#include "InstanceLock.h"

#include "PlatformLog.h"
#include "UserRuntimeDir.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

InstanceLock::InstanceLock() = default;
InstanceLock::~InstanceLock() = default;

QString InstanceLock::lockName(const QString &productName) {
    return productName + QStringLiteral(" Wireless Gaming Mouse Mutex1");
}

QString InstanceLock::lockPath(const QString &productName) {
    return userRuntimeFile(lockName(productName) + QStringLiteral(".lock"));
}

bool InstanceLock::tryLock(const QString &productName) {
    const QString path = lockPath(productName);
    m_unavailable = path.isEmpty();
    if (m_unavailable) {
        qCDebug(lcPlatform, "no runtime folder of this user's alone: no lock is taken");
        return false;
    }
    m_lock = std::make_unique<QLockFile>(path);
    // The lock records our process id; a lock whose process is gone is removed by tryLock.
    if (m_lock->tryLock(0))
        return true;
    // Held by a live copy, or not to be made at all (a full or read-only folder).
    m_unavailable = m_lock->error() != QLockFile::LockFailedError;
    m_lock.reset();
    return false;
}

bool InstanceLock::tryLockWaitingFor(const QString &productName, const QString &shortHolder,
                                     int waitMs) {
    QElapsedTimer clock;
    clock.start();
    while (!tryLock(productName)) {
        if (m_unavailable)
            return false;
        // A holder that let go between the two looks names no one: look again.
        const QString holder = holderName(productName);
        if (clock.elapsed() >= waitMs || (!holder.isEmpty() && holder != shortHolder))
            return false;
        QThread::msleep(20);
    }
    return true;
}

QString InstanceLock::holderName(const QString &productName) {
    QLockFile lock(lockPath(productName));
    qint64 pid = 0;
    QString host;
    QString program;
    // The lock records the holder's executable.
    if (!lock.getLockInfo(&pid, &host, &program))
        return QString();
    return QFileInfo(program).fileName();
}
