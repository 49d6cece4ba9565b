// The real program on its own X server and D-Bus session, read over AT-SPI as a screen reader
// reads it (atspi_names.py): on every page, every control showing has a name.
#include "AppInstall.h"
#include "PrivateXServer.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kBuild = QStringLiteral(MOUSECFG_APP_DIR);
const QString kBusLauncher = QStringLiteral("/usr/libexec/at-spi-bus-launcher");
const QString kPython = QStringLiteral("/usr/bin/python3");
} // namespace

class TestAccessibilityAtspi : public QObject {
    Q_OBJECT

    PrivateXServer m_xvfb{kBuild + QStringLiteral("/tests/atspi-runtime-XXXXXX")};

private slots:
    void initTestCase() {
        const bool pyatspi = QProcess::execute(kPython, {QStringLiteral("-c"),
                                                         QStringLiteral("import pyatspi")}) == 0;
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("dbus-run-session")).isEmpty() ||
            !QFile::exists(kBusLauncher) || !pyatspi)
            QSKIP("Xvfb, dbus-run-session, at-spi2-core and python3-pyatspi are needed");
        QVERIFY(m_xvfb.start());
    }
    void cleanupTestCase() { m_xvfb.stop(); }

    void everyPageNamesItsControls() {
        QTemporaryDir dir(kBuild + QStringLiteral("/tests/atspi-app-XXXXXX"));
        QVERIFY(dir.isValid() && installApp(dir.path()));
        QProcess reader;
        reader.setProcessEnvironment(m_xvfb.programEnvironment());
        reader.setProcessChannelMode(QProcess::MergedChannels);
        reader.setWorkingDirectory(dir.path());
        reader.start(QStringLiteral("dbus-run-session"),
                     {QStringLiteral("--"), kPython,
                      QStringLiteral(MOUSECFG_SOURCE_DIR "/tests/app/atspi_names.py"),
                      QStringLiteral("--"), QStringLiteral(VIRTUAL_MOUSE), QStringLiteral("--"),
                      dir.filePath(QStringLiteral("mousecfg"))});
        const bool ended = reader.waitForFinished(120000);
        const QString report = QString::fromLocal8Bit(reader.readAll());
        if (!ended)
            endProcess(reader);
        QVERIFY2(ended && reader.exitCode() == 0, qPrintable(report));
        // Four pages were read, each with its controls.
        QCOMPARE(report.count(QRegularExpression(QStringLiteral("^[A-Z]+ [1-9][0-9]* 0$"),
                                                 QRegularExpression::MultilineOption)),
                 4);
    }
};

QTEST_GUILESS_MAIN(TestAccessibilityAtspi)
#include "tst_accessibility_atspi.moc"
