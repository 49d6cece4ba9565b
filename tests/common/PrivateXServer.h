// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A private X server for tests that run the real program: Xvfb on a display of its own
// choosing, 1280 x 800, never reset when its last client leaves, no TCP; with a runtime
// folder that only the programs run on it share.

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Ends a program a test started; a failed check leaves a test early, and the program must
// not outlive it.
inline void endProcess(QProcess &process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(10000))
        process.kill();
    process.waitForFinished(5000);
}

class PrivateXServer {
public:
    // runtimeTemplate: where the runtime folder is made, as QTemporaryDir takes it.
    explicit PrivateXServer(const QString &runtimeTemplate) : m_runtime(runtimeTemplate) {}
    PrivateXServer(const PrivateXServer &) = delete;
    PrivateXServer &operator=(const PrivateXServer &) = delete;
    ~PrivateXServer() { stop(); }

    // Starts the server; false when it or the runtime folder did not come up.
    bool start() {
        if (!m_runtime.isValid() ||
            !QFile::setPermissions(m_runtime.path(),
                                   QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return false;
        m_xvfb.start(QStringLiteral("Xvfb"),
                     {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                      QStringLiteral("0"), QStringLiteral("1280x800x24"),
                      QStringLiteral("-noreset"), QStringLiteral("-nolisten"),
                      QStringLiteral("tcp")});
        if (!m_xvfb.waitForReadyRead(10000))
            return false;
        m_display = QLatin1Char(':') + QString::fromLatin1(m_xvfb.readLine()).trimmed();
        return true;
    }
    void stop() { endProcess(m_xvfb); }
    // The folder XDG_RUNTIME_DIR names (owner-only).
    QString runtimeDir() const { return m_runtime.path(); }

    // The display's name, ":N".
    QString display() const { return m_display; }

    // The environment of a program shown on this server: the runtime and state folders, the xcb
    // platform, 96 DPI exactly (so that the window's pixels are its design units), and the
    // leak suppressions of the desktop libraries (the session bus) that a program ending
    // normally reports.
    QProcessEnvironment programEnvironment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        // The battery history goes there too, not into the user's home.
        env.insert(QStringLiteral("XDG_STATE_HOME"), m_runtime.filePath(QStringLiteral("state")));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("QT_FONT_DPI"), QStringLiteral("96"));
        env.insert(QStringLiteral("LSAN_OPTIONS"),
                   QStringLiteral("suppressions=" MOUSECFG_SOURCE_DIR
                                  "/tests/common/lsan-desktop.supp:fast_unwind_on_malloc=0"));
        return env;
    }

    // The ids of the visible windows titled exactly name, one a line; empty when none.
    QString windowsNamed(const QString &name) const {
        QProcess xdotool;
        xdotool.setProcessEnvironment(programEnvironment());
        xdotool.start(QStringLiteral("xdotool"),
                      {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                       QStringLiteral("--name"), QLatin1Char('^') + name + QLatin1Char('$')});
        xdotool.waitForFinished(10000);
        return QString::fromLocal8Bit(xdotool.readAllStandardOutput()).trimmed();
    }

private:
    QTemporaryDir m_runtime;
    QProcess m_xvfb;
    QString m_display;
};
