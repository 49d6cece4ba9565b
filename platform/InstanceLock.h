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

private:
    std::unique_ptr<QLockFile> m_lock;
};
