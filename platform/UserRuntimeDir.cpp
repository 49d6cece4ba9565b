// SPDX-License-Identifier: GPL-3.0-or-later
#include "UserRuntimeDir.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

QString loginRuntimeDir(const QString &root) {
    const QString dir = root + QLatin1Char('/') + QString::number(::getuid());
    struct stat st {};
    // The folder itself, not what a link points to: it must be a folder of the user's alone.
    if (::lstat(QFile::encodeName(dir).constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        st.st_uid != ::getuid() || (st.st_mode & 077) != 0)
        return QString();
    return dir;
}

QString userRuntimeDir() {
    // A run without the variable (cron, su, a service) finds the folder of the user's login
    // session, so that it sees the lock and the sockets of a window started in that session.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString session = loginRuntimeDir(QStringLiteral("/run/user"));
        if (!session.isEmpty())
            return session;
    }
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
