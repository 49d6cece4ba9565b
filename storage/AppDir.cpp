// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppDir.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMutex>
#include <QStandardPaths>

// The installation's folders relative to its prefix, as the build installs them.
#ifndef MOUSECFG_INSTALL_BINDIR
#define MOUSECFG_INSTALL_BINDIR "bin"
#endif
#ifndef MOUSECFG_INSTALL_HELPERDIR
#define MOUSECFG_INSTALL_HELPERDIR "libexec/mousecfg"
#endif
#ifndef MOUSECFG_INSTALL_DATADIR
#define MOUSECFG_INSTALL_DATADIR "share/mousecfg"
#endif
#ifndef MOUSECFG_INSTALL_UDEVRULESDIR
#define MOUSECFG_INSTALL_UDEVRULESDIR "lib/udev/rules.d"
#endif
#ifndef MOUSECFG_UDEV_RULE
#define MOUSECFG_UDEV_RULE "70-mousecfg.rules"
#endif

namespace {
struct Location {
    QString data;
    QString prefix; // the installation's prefix; empty outside an installation
    bool installed = false;
    QString config; // decided on first use
};

QMutex g_mutex;
Location g_location;
bool g_known = false;

bool holdsData(const QString &dir) {
    return QFileInfo::exists(dir + QStringLiteral("/DefaultProfile.bin"));
}

QString stripSuffix(const QString &dir, const char *relative) {
    const QString suffix = QLatin1Char('/') + QLatin1String(relative);
    return dir.endsWith(suffix) ? dir.left(dir.size() - suffix.size()) : QString();
}

// The data beside the executable wins, so a build tree or an unpacked folder runs as it
// is; otherwise a program in an installation's bin or helper folder finds its prefix.
Location locate() {
    Location l;
    l.data = QCoreApplication::applicationDirPath();
    if (holdsData(l.data))
        return l;
    for (const char *folder : {MOUSECFG_INSTALL_BINDIR, MOUSECFG_INSTALL_HELPERDIR}) {
        const QString prefix = stripSuffix(l.data, folder);
        const QString data = prefix + QStringLiteral("/" MOUSECFG_INSTALL_DATADIR);
        if (!prefix.isNull() && holdsData(data)) {
            l.data = data;
            l.prefix = prefix;
            l.installed = true;
            break;
        }
    }
    return l;
}

Location &location() {
    if (!g_known) {
        g_location = locate();
        g_known = true;
    }
    return g_location;
}
} // namespace

QString AppDir::path() {
    QMutexLocker lock(&g_mutex);
    return location().data;
}

void AppDir::setPath(const QString &dir, bool installed) {
    QMutexLocker lock(&g_mutex);
    g_location = Location();
    g_location.data = dir;
    g_location.installed = installed;
    if (installed)
        g_location.prefix = stripSuffix(dir, MOUSECFG_INSTALL_DATADIR);
    g_known = true;
}

bool AppDir::isInstalled() {
    QMutexLocker lock(&g_mutex);
    return location().installed;
}

QString AppDir::configPath() {
    QMutexLocker lock(&g_mutex);
    Location &l = location();
    if (l.config.isEmpty()) {
        // An installation's files belong to the package manager, even where root could
        // write them; a folder the user may not write cannot hold state either.
        if (!l.installed && QFileInfo(l.data).isWritable())
            l.config = l.data + QStringLiteral("/Configs");
        else
            l.config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                       QStringLiteral("/mousecfg");
    }
    return l.config;
}

QString AppDir::programPath(const QString &name) {
    QMutexLocker lock(&g_mutex);
    const Location &l = location();
    if (l.installed && !l.prefix.isNull())
        return l.prefix + QStringLiteral("/" MOUSECFG_INSTALL_HELPERDIR "/") + name;
    return l.data + QLatin1Char('/') + name;
}

QString AppDir::udevRulePath() {
    QMutexLocker lock(&g_mutex);
    const Location &l = location();
    if (l.installed && !l.prefix.isNull())
        return l.prefix + QStringLiteral("/" MOUSECFG_INSTALL_UDEVRULESDIR "/" MOUSECFG_UDEV_RULE);
    return l.data + QStringLiteral("/" MOUSECFG_UDEV_RULE);
}
