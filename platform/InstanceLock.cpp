#include "InstanceLock.h"

#include "UserRuntimeDir.h"

#include <QLockFile>

InstanceLock::InstanceLock() = default;
InstanceLock::~InstanceLock() = default;

QString InstanceLock::lockName(const QString &productName) {
    return productName + QStringLiteral(" Wireless Gaming Mouse Mutex1");
}

QString InstanceLock::lockPath(const QString &productName) {
    return userRuntimeFile(lockName(productName) + QStringLiteral(".lock"));
}

bool InstanceLock::tryLock(const QString &productName) {
    m_lock = std::make_unique<QLockFile>(lockPath(productName));
    // The lock records our process id; a lock whose process is gone is removed by tryLock.
    if (m_lock->tryLock(0))
        return true;
    m_lock.reset();
    return false;
}
