// SPDX-License-Identifier: GPL-3.0-or-later
#include "UserRuntimeDir.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cerrno>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The folder itself, not what a link points to, when it is this user's.
bool ownFolder(const QByteArray &path, struct stat &st) {
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

QString userName() {
    passwd entry{};
    passwd *found = nullptr;
    char buffer[1024];
    if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found)
        return QFile::decodeName(found->pw_name);
    return QString::number(::getuid());
}
} // namespace

QString loginRuntimeDir(const QString &root) {
    const QString dir = root + QLatin1Char('/') + QString::number(::getuid());
    struct stat st {};
    // It must be a folder of the user's alone.
    if (!ownFolder(QFile::encodeName(dir), st) || (st.st_mode & 077) != 0)
        return QString();
    return dir;
}

QString tempRuntimeDir(const QString &tempRoot) {
    const QString dir = tempRoot + QStringLiteral("/runtime-") + userName();
    const QByteArray path = QFile::encodeName(dir);
    struct stat st {};
    if ((::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) || !ownFolder(path, st))
        return QString();
    if ((st.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0)
        return QString();
    return dir;
}

QString userRuntimeDir() {
    // A run without the variable (cron, su, a service) finds the folder of the user's login
    // session, so that it sees the lock and the sockets of a window started in that session.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString session = loginRuntimeDir(QStringLiteral("/run/user"));
        return session.isEmpty() ? tempRuntimeDir(QDir::tempPath()) : session;
    }
    // Qt checks that the folder belongs to the user and gives it mode 0700.
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

void exportUserRuntimeDir() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QString dir = userRuntimeDir();
    if (!dir.isEmpty())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir));
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
