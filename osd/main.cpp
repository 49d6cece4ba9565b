// The on-screen display program: serves "<product> Wireless Mouse OSD" in the user's runtime
// folder and shows the texts it is sent. The product is the one of DefaultProfile.bin beside
// the program. A second copy for the same product and user ends at once.

#include "ModelDescriptor.h"
#include "OsdServer.h"
#include "OsdWindow.h"

#include <QApplication>

int main(int argc, char **argv) {
    // Nothing here draws with OpenGL: starting without it is faster and smaller.
    if (qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

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

    OsdWindow window;
    window.setWindowTitle(title);
    QObject::connect(&server, &OsdServer::messageReceived, &window, [&](const OsdMessage &m) {
        qDebug("OSD: \"%s\" for %u ms", qPrintable(m.text), m.displayTime);
        window.showMessage(m);
    });
    return app.exec();
}
