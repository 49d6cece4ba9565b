// SPDX-License-Identifier: GPL-3.0-or-later
// The OSD program's parts in-process: its server (taking the name, reading records) and its
// window (where, how long, how it looks, and that it never takes the focus).

#include "OsdServer.h"
#include "OsdWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QString uniqueProduct() {
    static int counter = 0;
    return QStringLiteral("OsdWindowTest%1x%2")
        .arg(QCoreApplication::applicationPid())
        .arg(++counter);
}

// What a server killed in its prime leaves behind: a socket file nobody listens on.
bool makeStaleSocket(const QString &file) {
    const QByteArray path = QFile::encodeName(file);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound && QFileInfo::exists(file);
}

OsdMessage message(const QString &text, int time, const QColor &colour = QColor(0, 190, 255)) {
    OsdMessage m;
    m.text = text;
    m.displayTime = quint32(time);
    m.colour = colour;
    m.textHeight = 60;
    m.fontFace = QStringLiteral("Arial");
    return m;
}

// The plate's "width height" for a text 40 pixels high at 96 DPI (twice that still fits).
QByteArray plate() {
    OsdWindow w;
    OsdMessage m = message(QStringLiteral("DPI 800"), 1500);
    m.textHeight = 40;
    w.showMessage(m);
    return QByteArray::number(w.width()) + ' ' + QByteArray::number(w.height());
}

bool near(QRgb pixel, const QColor &colour, int tolerance) {
    return qAbs(qRed(pixel) - colour.red()) <= tolerance &&
           qAbs(qGreen(pixel) - colour.green()) <= tolerance &&
           qAbs(qBlue(pixel) - colour.blue()) <= tolerance && qAlpha(pixel) == 255;
}

} // namespace

class TestOsdWindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_runtime;

private slots:
    void initTestCase() {
        // A runtime folder of the test's own, as the user's would be.
        QVERIFY(m_runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    }

    // A live server keeps its name; the newcomer steps back and the old one still serves.
    void serverYieldsToLiveServer() {
        const QString name = osdServerPath(uniqueProduct());
        QLocalServer first;
        QVERIFY(first.listen(name));
        OsdServer second;
        QCOMPARE(second.start(name), OsdServer::AlreadyRunning);

        QLocalSocket client;
        client.connectToServer(name);
        QVERIFY(client.waitForConnected(1000));
        QVERIFY(first.waitForNewConnection(1000));
    }

    // A name left behind by a server that ended is taken over, and texts sent to it arrive.
    void serverTakesOverStaleName() {
        const QString product = uniqueProduct();
        QVERIFY(makeStaleSocket(osdServerPath(product)));
        OsdServer server;
        QCOMPARE(server.start(osdServerPath(product)), OsdServer::Listening);
        QSignalSpy got(&server, &OsdServer::messageReceived);

        OsdChannel(product).show(QStringLiteral("DPI 800"), QColor(0, 190, 255));
        QVERIFY(got.wait(2000));
        const OsdMessage m = got.at(0).at(0).value<OsdMessage>();
        QCOMPARE(m.text, QStringLiteral("DPI 800"));
        QCOMPARE(m.colour, QColor(0, 190, 255));
        QCOMPARE(m.displayTime, quint32(1500));

        // A second copy for the same product now finds this one.
        OsdServer twin;
        QCOMPARE(twin.start(osdServerPath(product)), OsdServer::AlreadyRunning);
    }

    // Two users on one machine, each with a runtime folder: each user's OSD starts beside
    // the other's and gets only that user's texts, through a socket only its owner may use.
    void eachUserHasTheirOwnServer() {
        const QString product = uniqueProduct();
        QTemporaryDir folders[2];
        OsdServer servers[2];
        std::unique_ptr<OsdChannel> channels[2];
        std::unique_ptr<QSignalSpy> got[2];
        for (int user = 0; user < 2; ++user) {
            QVERIFY(folders[user].isValid());
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folders[user].path()));
            QCOMPARE(servers[user].start(osdServerPath(product)), OsdServer::Listening);
            channels[user] = std::make_unique<OsdChannel>(product, QStringLiteral("/nonexistent"));
            got[user] = std::make_unique<QSignalSpy>(&servers[user], &OsdServer::messageReceived);
        }
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));

        channels[0]->show(QStringLiteral("first user"), Qt::red);
        channels[1]->show(QStringLiteral("second user"), Qt::green);
        QTRY_VERIFY_WITH_TIMEOUT(got[0]->count() == 1 && got[1]->count() == 1, 2000);
        QTest::qWait(50);
        QCOMPARE(got[0]->count(), 1);
        QCOMPARE(got[1]->count(), 1);
        QCOMPARE(got[0]->at(0).at(0).value<OsdMessage>().text, QStringLiteral("first user"));
        QCOMPARE(got[1]->at(0).at(0).value<OsdMessage>().text, QStringLiteral("second user"));

        for (int user = 0; user < 2; ++user) {
            const QString socket = channels[user]->serverName();
            QCOMPARE(QFileInfo(socket).absolutePath(),
                     QFileInfo(folders[user].path()).absoluteFilePath());
            struct stat info {};
            QCOMPARE(::stat(QFile::encodeName(socket).constData(), &info), 0);
            QVERIFY(S_ISSOCK(info.st_mode));
            QCOMPARE(info.st_mode & 0077, 0u);
        }
    }

    // Records split over writes, several in one write, and a torn tail.
    void serverReadsWholeRecords() {
        const QString product = uniqueProduct();
        OsdServer server;
        QCOMPARE(server.start(osdServerPath(product)), OsdServer::Listening);
        QSignalSpy got(&server, &OsdServer::messageReceived);

        QLocalSocket client;
        client.connectToServer(osdServerPath(product));
        QVERIFY(client.waitForConnected(1000));
        const QByteArray a = osdRecord(QStringLiteral("first"), Qt::red);
        client.write(a.left(100));
        QVERIFY(client.waitForBytesWritten(1000));
        QTest::qWait(50);
        QCOMPARE(got.count(), 0); // a part of a record is not a record
        client.write(a.mid(100) + osdRecord(QStringLiteral("second"), Qt::green) +
                     osdRecord(QStringLiteral("third"), Qt::blue) + QByteArray(10, 'x'));
        QVERIFY(client.waitForBytesWritten(1000));
        client.disconnectFromServer();
        QTRY_COMPARE_WITH_TIMEOUT(got.count(), 3, 2000);
        QTest::qWait(50);
        QCOMPARE(got.count(), 3);
        QCOMPARE(got.at(0).at(0).value<OsdMessage>().text, QStringLiteral("first"));
        QCOMPARE(got.at(1).at(0).value<OsdMessage>().text, QStringLiteral("second"));
        QCOMPARE(got.at(2).at(0).value<OsdMessage>().colour, QColor(Qt::blue));
    }

    void windowShowsThenHides() {
        OsdWindow w;
        w.showMessage(message(QStringLiteral("DPI 800"), 500));
        QVERIFY(w.isVisible());
        QCOMPARE(w.text(), QStringLiteral("DPI 800"));

        // Bottom centre of the primary screen, inside it.
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(area.contains(w.geometry()));
        QVERIFY2(
            qAbs(w.geometry().center().x() - area.center().x()) <= 1,
            qPrintable(
                QStringLiteral("%1 vs %2").arg(w.geometry().center().x()).arg(area.center().x())));
        QVERIFY(w.geometry().top() > area.center().y());
        QVERIFY(w.height() >= 60);

        QTest::qWait(300);
        QVERIFY(w.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), 1000);
    }

    // A new text replaces the old one and gets the whole time again.
    void newMessageRestartsTime() {
        OsdWindow w;
        w.showMessage(message(QStringLiteral("DPI 800"), 600));
        QTest::qWait(400);
        w.showMessage(message(QStringLiteral("DPI 1600"), 600));
        QCOMPARE(w.text(), QStringLiteral("DPI 1600"));
        QTest::qWait(400); // past the first text's end
        QVERIFY(w.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), 1000);
        // Shown again after it was hidden.
        w.showMessage(message(QStringLiteral("DPI 3200"), 300));
        QVERIFY(w.isVisible());
        // An empty text (an unknown report rate) takes the plate away at once.
        w.showMessage(message(QString(), 300));
        QVERIFY(!w.isVisible());
    }

    // The window has the shape of its rounded plate, also without a compositor.
    void shapedLikeThePlate() {
        OsdWindow w;
        w.showMessage(message(QStringLiteral("DPI 800"), 500));
        const QRegion shape = w.mask();
        QVERIFY(!shape.isEmpty());
        QVERIFY(!shape.contains(QPoint(0, 0)));
        QVERIFY(shape.contains(QPoint(w.width() / 2, w.height() / 2)));
    }

    // The window on top of a game must not take the keyboard from it.
    void neverTakesFocus() {
        QLineEdit game;
        game.show();
        game.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&game));
        QVERIFY(game.hasFocus());

        OsdWindow w;
        w.showMessage(message(QStringLiteral("DPI 800"), 1500));
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::qWait(50);
        QCOMPARE(QApplication::activeWindow(), &game);
        QVERIFY(game.hasFocus());
    }

    // Text in its colour on a dark plate with rounded, see-through corners.
    void looks() {
        OsdWindow w;
        const QColor colour(0, 190, 255);
        w.showMessage(message(QStringLiteral("DPI 800"), 1500, colour));
        const QImage image = w.grab().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(image.width() - 1, image.height() - 1)), 0);

        const QRgb plate = image.pixel(image.width() / 2, 4);
        QVERIFY(qAlpha(plate) > 150);
        QVERIFY(qGray(plate) < 60);

        int textPixels = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                textPixels += near(image.pixel(x, y), colour, 12);
        QVERIFY2(textPixels > 100, qPrintable(QString::number(textPixels)));
    }

    // A text longer than the screen is shortened, never wider than the screen.
    void longTextFitsTheScreen() {
        OsdWindow w;
        w.showMessage(message(QString(255, QLatin1Char('W')), 1500));
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(area.contains(w.geometry()));
        QVERIFY(w.width() <= area.width());
    }

    // At 192 DPI (a run of this program) the plate is twice this run's (about 96 DPI).
    void plateFollowsTheScreenScale() {
        QProcess twice;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_FONT_DPI"), QStringLiteral("192"));
        twice.setProcessEnvironment(env);
        twice.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--plate")});
        QVERIFY(twice.waitForFinished(30000));
        const QByteArray sizes = plate() + " and " + twice.readAllStandardOutput();
        const QList<QByteArray> n = sizes.split(' ');
        QVERIFY2(n.size() == 5 && qAbs(n[3].toInt() - 2 * n[0].toInt()) <= 1 &&
                     qAbs(n[4].toInt() - 2 * n[1].toInt()) <= 1,
                 sizes.constData());
    }
};

// Run as "--plate": prints plate() on this run's screen.
int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    if (argc == 2 && qstrcmp(argv[1], "--plate") == 0)
        return std::printf("%s", plate().constData()) > 0 ? 0 : 1;
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestOsdWindow test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_osdwindow.moc"
