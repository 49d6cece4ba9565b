// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Points the process-wide application directory at a fresh temporary directory, and the
// user's state folder (the battery histories) at its "state" folder; and helps tests put
// installation files there.

#include "AppDir.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestAppDir {
public:
    TestAppDir() : m_stateHome(qgetenv("XDG_STATE_HOME")) {
        QVERIFY2(m_dir.isValid(), "temporary directory");
        AppDir::setPath(m_dir.path());
        QDir(m_dir.path()).mkpath(QStringLiteral("Configs"));
        qputenv("XDG_STATE_HOME", QFile::encodeName(file(QStringLiteral("state"))));
    }
    ~TestAppDir() { qputenv("XDG_STATE_HOME", m_stateHome); }
    QString path() const { return m_dir.path(); }
    QString file(const QString &relative) const {
        return m_dir.path() + QLatin1Char('/') + relative;
    }

    // Copies the repository's data file (relative to data/) into the directory.
    void installData(const QString &relative) const {
        const QString src = QStringLiteral(MOUSECFG_SOURCE_DIR "/data/") + relative;
        QDir().mkpath(QFileInfo(file(relative)).absolutePath());
        QFile::remove(file(relative));
        QVERIFY2(QFile::copy(src, file(relative)), qPrintable(src));
    }

    void writeText(const QString &relative, const QByteArray &text) const {
        QDir().mkpath(QFileInfo(file(relative)).absolutePath());
        QFile f(file(relative));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }

    // Sets keys of an INI file of the directory with plain QSettings.
    void setIni(const QString &relative, const QVariantMap &values) const {
        QSettings ini(file(relative), QSettings::IniFormat);
        for (auto it = values.begin(); it != values.end(); ++it)
            ini.setValue(it.key(), it.value());
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_stateHome;
};
