// SPDX-License-Identifier: GPL-3.0-or-later
// lockholder PRODUCT: takes the product's instance lock, says "locked" and waits to be
// killed; exits 1 (saying "busy") when another process holds the lock.
#include "InstanceLock.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    InstanceLock lock;
    if (!lock.tryLock(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString())) {
        std::puts("busy");
        return 1;
    }
    std::puts("locked");
    std::fflush(stdout);
    for (;;)
        QThread::sleep(1);
}
