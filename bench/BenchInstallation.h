// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An installation for a benchmark of the window: a temporary application directory with the
// model descriptor and the shipped Config.ini.

#include "AppDir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class BenchInstallation {
public:
    BenchInstallation() {
        AppDir::setPath(m_dir.path());
        QFile::copy(QStringLiteral(MOUSECFG_SOURCE_DIR "/data/DefaultProfile.bin"),
                    m_dir.path() + QStringLiteral("/DefaultProfile.bin"));
        QDir().mkpath(m_dir.path() + QStringLiteral("/Configs"));
        QFile::copy(QStringLiteral(MOUSECFG_SOURCE_DIR "/data/Configs/Config.ini"),
                    m_dir.path() + QStringLiteral("/Configs/Config.ini"));
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};
