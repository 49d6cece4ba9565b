// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A runtime folder of the test's own (XDG_RUNTIME_DIR), open to its owner only as the
// system's is: the instance lock and the window's socket for the command line go there.

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

inline void usePrivateRuntime(const QTemporaryDir &dir) {
    QVERIFY(dir.isValid());
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
}
