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
    // A variable left from another user's session (su keeps it) names a folder that is not
    // this user's: it is passed over as an unset one is, without asking Qt, which would warn
    // at each look. Qt checks the rest and gives the folder mode 0700.
    const QByteArray variable = qgetenv("XDG_RUNTIME_DIR");
    struct stat st {};
    if (!variable.isEmpty() && ::stat(variable.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
        st.st_uid == ::getuid()) {
        const QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (!dir.isEmpty())
            return dir;
    }
    // A run without a usable variable (cron, su, a service) finds the folder of the user's
    // login session, so that it sees the lock and the sockets of a window started in that
    // session.
    const QString session = loginRuntimeDir(QStringLiteral("/run/user"));
    return session.isEmpty() ? tempRuntimeDir(QDir::tempPath()) : session;
}

void exportUserRuntimeDir() {
    const QString dir = userRuntimeDir();
    const QByteArray path = QFile::encodeName(dir);
    if (!dir.isEmpty() && path != qgetenv("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", path);
}

QString userRuntimeFile(const QString &name) {
    QString file = name;
    file.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    // Without a folder of the user's alone there is no name: one in the shared temporary
    // folder could be made first by another user.
    const QString dir = userRuntimeDir();
    return dir.isEmpty() ? QString() : dir + QLatin1Char('/') + file;
}

bool peerIsThisUser(qintptr socketDescriptor) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
           peer.uid == ::getuid();
}
