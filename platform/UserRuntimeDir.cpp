// SPDX-License-Identifier: GPL-3.0-or-later
#include "UserRuntimeDir.h"

#include <QDir>
#include <QStandardPaths>
#include <sys/socket.h>
#include <unistd.h>

QString userRuntimeDir() {
    // Qt checks that the folder belongs to the user and gives it mode 0700.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

QString userRuntimeFile(const QString &name) {
    QString file = name;
    file.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    const QString dir = userRuntimeDir();
    if (dir.isEmpty())
        return QDir::tempPath() + QLatin1Char('/') + file + QStringLiteral("-%1").arg(::getuid());
    return dir + QLatin1Char('/') + file;
}

bool peerIsThisUser(qintptr socketDescriptor) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
           peer.uid == ::getuid();
}
