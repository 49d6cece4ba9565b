// SPDX-License-Identifier: GPL-3.0-or-later
// The on-screen display program: serves "<product> Wireless Mouse OSD" in the user's runtime
// folder and shows the texts it is sent. The product is the one of DefaultProfile.bin beside
// the program. A second copy for the same product and user ends at once. Started with
// --watch-stdin (as the configuration program starts it), it also ends when its standard input
// ends: the program that started it holds the pipe, and the kernel closes it when that program
// ends, however it ends. --verbose prints the debug messages of every part on stderr.
// Where windows cannot place themselves (Wayland) the texts become desktop notifications
// instead of the plate.

#include "ModelDescriptor.h"
#include "OsdLog.h"
#include "OsdNotifier.h"
#include "OsdServer.h"
#include "OsdWindow.h"
#include "UserRuntimeDir.h"

#include <QApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

// Quits the application once standard input reaches its end or fails; false when there is no
// standard input to watch. Whatever arrives on it is read and ignored.
bool quitWhenInputEnds(QCoreApplication &app) {
    if (::fcntl(STDIN_FILENO, F_GETFD) < 0)
        return false;
    auto *notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n > 0 || (n < 0 && (errno == EINTR || errno == EAGAIN)))
            return;
        notifier->setEnabled(false);
        qCDebug(lcOsd, "OSD: the program that started it has ended");
        QCoreApplication::quit();
    });
    return true;
}

} // namespace

int main(int argc, char **argv) {
    // A run outside a login session (cron, su, a service) finds the user's runtime folder.
    exportUserRuntimeDir();
    // Nothing here draws with OpenGL: starting without it is faster and smaller.
    if (qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    // Scaled by the screen as the configuration program's window is: Qt's own scaling by the
    // screen's DPI, fractions kept (the plate adds the window's scale step for what Qt leaves).
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    // The helper lives and ends with the window that started it. As a client of the desktop's
    // session manager it would be started again on its own at the next login, without it.
    qunsetenv("SESSION_MANAGER");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList options = QCoreApplication::arguments();
    // The environment's rules (QT_LOGGING_RULES) are applied after these and still win.
    if (options.contains(QLatin1String("--verbose")))
        QLoggingCategory::setFilterRules(QStringLiteral("mousecfg.*.debug=true"));
    if (options.contains(QLatin1String(kOsdWatchInputOption)) && !quitWhenInputEnds(app))
        return 0;

    const QString product = descriptorProductName();
    if (product.isEmpty())
        qWarning("OSD: no product name in DefaultProfile.bin");
    const QString title = osdTitle(product);

    OsdServer server;
    switch (server.start(osdServerPath(product))) {
    case OsdServer::Listening:
        break;
    case OsdServer::AlreadyRunning:
        return 0;
    case OsdServer::Failed:
        return 1;
    }

    QObject::connect(&server, &OsdServer::messageReceived, &server, [](const OsdMessage &m) {
        qCDebug(lcOsd, "OSD: \"%s\" for %u ms", qPrintable(m.text), m.displayTime);
    });
    // The plate is not even created where it would land anywhere on the screen.
    std::unique_ptr<OsdNotifier> notifier;
    std::unique_ptr<OsdWindow> window;
    if (OsdNotifier::needed()) {
        notifier = std::make_unique<OsdNotifier>(product.isEmpty() ? title : product);
        QObject::connect(&server, &OsdServer::messageReceived, notifier.get(),
                         &OsdNotifier::showMessage);
    } else {
        window = std::make_unique<OsdWindow>();
        window->setWindowTitle(title);
        QObject::connect(&server, &OsdServer::messageReceived, window.get(),
                         &OsdWindow::showMessage);
    }
    return app.exec();
}
