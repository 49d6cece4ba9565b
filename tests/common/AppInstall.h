// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A copy of the build tree's installation in a folder of a test's own, for tests that run the
// real program: what it writes stays there.

#include <QDir>
#include <QFile>
#include <QString>
#include <unistd.h>

// An installation of our own: the program, its on-screen display and the command line
// (hard-linked, so that they find their data beside them), its data files and pictures.
inline bool installApp(const QString &dir) {
    const QString build = QStringLiteral(MOUSECFG_APP_DIR);
    for (const QString &program :
         {QStringLiteral("/mousecfg"), QStringLiteral("/OSD"), QStringLiteral("/mousecfg-cli")}) {
        if (::link(qPrintable(build + program), qPrintable(dir + program)) != 0)
            return false;
    }
    QFile::copy(build + QStringLiteral("/DefaultProfile.bin"),
                dir + QStringLiteral("/DefaultProfile.bin"));
    QDir().mkpath(dir + QStringLiteral("/Configs"));
    QFile::copy(QStringLiteral(MOUSECFG_SOURCE_DIR "/data/Configs/Config.ini"),
                dir + QStringLiteral("/Configs/Config.ini"));
    for (const QString &sub : {QStringLiteral("skin"), QStringLiteral("lang")}) {
        QDir().mkpath(dir + QLatin1Char('/') + sub);
        QDir from(build + QLatin1Char('/') + sub);
        for (const QString &f : from.entryList(QDir::Files))
            QFile::copy(from.filePath(f), dir + QLatin1Char('/') + sub + QLatin1Char('/') + f);
    }
    return true;
}
