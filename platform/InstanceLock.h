// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One running copy per product: a lock file named after the product. The lock is held for
// the life of the process; a copy that crashed leaves a lock that the next start takes over.

#include <QString>
#include <memory>

class QLockFile;

class InstanceLock {
public:
    InstanceLock();
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // The lock name of a product: the product name and " Wireless Gaming Mouse Mutex1".
    static QString lockName(const QString &productName);
    // The lock file that stands for the name, in the user's runtime directory.
    static QString lockPath(const QString &productName);

    // True when this process now holds the product's lock; false when a live copy does.
    bool tryLock(const QString &productName);
    // The same, but while the lock is held by the program named shortHolder (one that holds
    // it only for a moment, as the command line does for one command), or by no one it can
    // name (a holder that let go between two looks), tries again for up to waitMs
    // milliseconds.
    bool tryLockWaitingFor(const QString &productName, const QString &shortHolder, int waitMs);
    // After a lock refused: no copy holds it, but no lock can be taken here (no runtime
    // folder of this user's alone, a folder that takes no file). Nothing is waited for then.
    bool unavailable() const { return m_unavailable; }

    // The name of the program that holds the product's lock ("mousecfg", "mousecfg-cli"),
    // or an empty string when none does.
    static QString holderName(const QString &productName);

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_unavailable = false;
};
