// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point: the command line (--verbose, --help, --version), one running copy per product,
// then the main window.
#include "AppConfig.h"
#include "AppDir.h"
#include "AppLog.h"
#include "AppVersion.h"
#include "EndSignals.h"
#include "InstanceLock.h"
#include "ModelDescriptor.h"
#include "MouseRequests.h"
#include "MousecfgWidget.h"
#include "PointerSpeed.h"
#include "Resources.h"
#include "UserRuntimeDir.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSemaphore>
#include <QThread>
#include <cstdlib>
#include <memory>

namespace {

// Reads the program's options. Anything unknown is ignored: Qt's own (-platform, -style, ...)
// are the application's, and a desktop launcher may pass arguments of its own. --help and
// --version print and end the program here. True when the window starts in the tray.
bool readOptions() {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Configuration of the mouse: profiles, DPI stages, report rate, buttons, "
                       "macros and lighting."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption verbose(
        QStringLiteral("verbose"),
        QStringLiteral("Print the debug messages of every part of the program on standard error."));
    parser.addOption(verbose);
    const QCommandLineOption hidden(
        QLatin1String(MousecfgWidget::kStartHiddenOption),
        QStringLiteral("Start in the notification area without showing the window (shown when "
                       "there is none)."));
    parser.addOption(hidden);
    // Qt's own options have one dash and a word (-reverse, -stylesheet): read as one option
    // each, never as letters, of which -v and -h would end the program.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(help))
        parser.showHelp();
    if (parser.isSet(version))
        parser.showVersion();
    // The environment's rules (QT_LOGGING_RULES) are applied after these and still win.
    if (parser.isSet(verbose)) {
        QLoggingCategory::setFilterRules(QStringLiteral("mousecfg.*.debug=true"));
        // The OSD helper the window starts logs alike, unless the user set rules of their own.
        if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
            qputenv("QT_LOGGING_RULES", "mousecfg.*.debug=true");
    }
    return parser.isSet(hidden);
}

// The window while the program runs. Qt ends the program with exit() when the X server goes
// away, past every destructor.
MousecfgWidget *g_window = nullptr;

void writeBeforeExit() {
    if (g_window && QThread::currentThread() == qApp->thread())
        g_window->writeBeforeExit();
}

// Qt's Wayland platform ends the program with _exit(), past the exit handlers, right after
// telling that its connection broke (at the end of a Wayland session, or when the compositor
// dies), from its own thread: the window writes then, while that thread waits a little.
constexpr int kLastWriteWaitMs = 2000;
QtMessageHandler g_nextHandler = nullptr;

void onQtMessage(QtMsgType type, const QMessageLogContext &context, const QString &text) {
    if (type == QtWarningMsg && text.startsWith(QLatin1String("The Wayland connection "))) {
        if (QThread::currentThread() == qApp->thread()) {
            writeBeforeExit();
        } else {
            const auto written = std::make_shared<QSemaphore>();
            QMetaObject::invokeMethod(
                qApp,
                [written] {
                    writeBeforeExit();
                    written->release();
                },
                Qt::QueuedConnection);
            written->tryAcquire(1, kLastWriteWaitMs);
        }
    }
    g_nextHandler(type, context, text);
}

} // namespace

int main(int argc, char *argv[]) {
    // A run outside a login session (cron, su, a service) finds the user's runtime folder.
    exportUserRuntimeDir();
    // The program draws no OpenGL: without GLX the first paint comes sooner and the
    // process is a third of the size. A user's own choice is kept.
    if (qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    // High-DPI attributes take effect only when set before the application exists.
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QCoreApplication::setApplicationVersion(appVersion());
    bool startHidden = false;
    {
        // Read before the window system is reached: --help and --version answer without a
        // display.
        QCoreApplication options(argc, argv);
        startHidden = readOptions();
    }
    QApplication app(argc, argv);
#ifdef MOUSECFG_APP_ID
    // Lets the desktop match the window with the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(MOUSECFG_APP_ID));
#endif
    initMousecfgResources();

    const QString product = descriptorProductName();
    InstanceLock lock;
    // The command line holds the lock for one command at a time: a start waits for it.
    const bool locked =
        lock.tryLockWaitingFor(product, QLatin1String(kCommandLineProgram), kCommandLineLockWaitMs);
    if (!locked && lock.unavailable()) {
        // Without a lock the program still serves the user; a second copy is not kept out.
        const QString path = InstanceLock::lockPath(product);
        qWarning("mousecfg: no lock against a second copy can be taken in %s",
                 qPrintable(path.isEmpty() ? QStringLiteral("a runtime folder (XDG_RUNTIME_DIR)")
                                           : QFileInfo(path).absolutePath()));
    } else if (!locked) {
        // Silent in a normal run; --verbose says why nothing shows.
        const QString holder = InstanceLock::holderName(product);
        qCDebug(lcApp, "%s already runs for %s: this copy ends",
                qPrintable(holder.isEmpty() ? QStringLiteral("another copy") : holder),
                qPrintable(product));
        app.exit(1);
        return 1;
    }
    // An installed program keeps its state in the user's configuration folder, which gets
    // the shipped settings on its first start.
    if (!seedConfigDir())
        qWarning("mousecfg: cannot set up the settings folder %s", qPrintable(configDir()));
    // Closing the window hides it; the tray (or, without one, the window) ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    // A desktop session that ends, or a kill, ends the program as its Quit does.
    quitOnEndSignals();
    // Qt's own answer to a session manager closes every window shown and cancels the logout
    // when one refuses; this window's close only hides it. The window answers instead.
    QGuiApplication::setFallbackSessionManagementEnabled(false);

    // The window shows itself as soon as its mouse session has found a mouse, or with the
    // start-up checks' warning when there is none.
    auto *window = new MousecfgWidget();
    QObject::connect(window, &MousecfgWidget::quitRequested, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window->setWindowTitle(product);
    window->setStartHidden(startHidden);
    // Direct: the session manager waits for the answer within this call.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, window,
                     &MousecfgWidget::commitSessionData, Qt::DirectConnection);
    QObject::connect(&app, &QGuiApplication::saveStateRequest, window,
                     &MousecfgWidget::saveSessionState, Qt::DirectConnection);

    g_window = window;
    std::atexit(writeBeforeExit);
    g_nextHandler = qInstallMessageHandler(onQtMessage);
    const int result = app.exec();
    window->waitForFirmwareUpdater();
    window->keepUnsavedMacroSteps();
    g_window = nullptr;
    delete window;
    // The desktop takes the pointer speed of the last slot shown before the program goes.
    PointerSpeed::settle(1000);
    return result;
}
