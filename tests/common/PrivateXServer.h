#pragma once
// A private X server for tests that run the real program: Xvfb on a display of its own
// choosing, 1280 x 800, never reset when its last client leaves, no TCP.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class PrivateXServer {
public:
    PrivateXServer() = default;
    PrivateXServer(const PrivateXServer &) = delete;
    PrivateXServer &operator=(const PrivateXServer &) = delete;
    ~PrivateXServer() { stop(); }

    // Starts the server; false when it did not come up.
    bool start() {
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
    void stop() {
        if (m_xvfb.state() == QProcess::NotRunning)
            return;
        m_xvfb.terminate();
        m_xvfb.waitForFinished(5000);
    }
    // ":N" once started.
    QString display() const { return m_display; }

    // The environment of a program shown on this server: its own runtime folder, the xcb
    // platform, 96 DPI exactly (so that the window's pixels are its design units), and the
    // leak suppressions of Qt's own allocations.
    QProcessEnvironment programEnvironment(const QString &runtimeDir) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("QT_FONT_DPI"), QStringLiteral("96"));
        env.insert(QStringLiteral("LSAN_OPTIONS"),
                   QStringLiteral("suppressions=" MOUSECFG_SOURCE_DIR
                                  "/tests/widgets/lsan-offscreen.supp:fast_unwind_on_malloc=0"));
        return env;
    }

private:
    QProcess m_xvfb;
    QString m_display;
};
