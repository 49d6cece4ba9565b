#include "AppDir.h"

#include <QCoreApplication>
#include <QMutex>

namespace {
QMutex g_mutex;
QString g_path;
bool g_known = false;
} // namespace

QString AppDir::path() {
    QMutexLocker lock(&g_mutex);
    if (!g_known) {
        g_path = QCoreApplication::applicationDirPath();
        g_known = true;
    }
    return g_path;
}

void AppDir::setPath(const QString &dir) {
    QMutexLocker lock(&g_mutex);
    g_path = dir;
    g_known = true;
}
