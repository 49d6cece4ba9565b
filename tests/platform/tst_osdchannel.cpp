// SPDX-License-Identifier: GPL-3.0-or-later
// The OSD record and the sending side of the channel: against a server in this test, with
// stand-in programs, and with the real OSD program on a private X server, where its window
// shows what it was sent, also after the program that started it has been killed.

#include "OsdChannel.h"
#include "OsdServer.h"
#include "PrivateXServer.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <QtTest>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QString uniqueProduct() {
    static int counter = 0;
    return QStringLiteral("OsdTest%1x%2").arg(QCoreApplication::applicationPid()).arg(++counter);
}

// What a server killed in its prime leaves behind: a socket file nobody listens on.
bool makeStaleSocket(const QString &socketPath) {
    const QByteArray path = QFile::encodeName(socketPath);
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
    return bound && QFileInfo::exists(socketPath);
}

void writeFile(const QString &path, const QByteArray &text, bool executable) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
    f.close();
    if (executable)
        QVERIFY(f.setPermissions(f.permissions() | QFile::ExeOwner));
}

int lineCount(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return f.readAll().count('\n');
}

QString readText(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
}

// Whether a process runs. One that has ended but is not reaped yet (it is not our child) has
// ended too.
bool processAlive(qint64 pid) {
    if (pid <= 0 || ::kill(pid_t(pid), 0) != 0)
        return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    return stat.open(QIODevice::ReadOnly) && !stat.readAll().contains(") Z ");
}

// Ends an OSD program that outlived what started it, when the test is done with it.
class StrayProcess {
public:
    explicit StrayProcess(qint64 pid) : m_pid(pid) {}
    ~StrayProcess() {
        if (processAlive(m_pid))
            ::kill(pid_t(m_pid), SIGKILL);
    }

private:
    qint64 m_pid;
};

QStringList texts(const QSignalSpy &received) {
    QStringList out;
    for (const QList<QVariant> &arguments : received)
        out.append(arguments.at(0).value<OsdMessage>().text);
    return out;
}

QByteArray utf16le(const char *ascii) {
    QByteArray out;
    for (const char *c = ascii; *c; ++c) {
        out.append(*c);
        out.append('\0');
    }
    return out;
}

QByteArray le32(quint32 v) {
    QByteArray out(4, '\0');
    qToLittleEndian<quint32>(v, reinterpret_cast<uchar *>(out.data()));
    return out;
}

} // namespace

class TestOsdChannel : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QTemporaryDir m_runtime;
    PrivateXServer m_xvfb{QDir::tempPath() + QStringLiteral("/osd-x11-XXXXXX")};
    bool m_x11 = false;

    // The real OSD program for the product in a folder of its own, started through a script
    // that passes the channel's arguments on, shows it on the private X server and keeps what
    // it prints in a file.
    QString installOsd(const QTemporaryDir &appDir, const QString &product) const {
        const QString osd = appDir.filePath(QStringLiteral("OSD"));
        const QString launcher = appDir.filePath(QStringLiteral("run-osd"));
        if (!QFile::copy(QStringLiteral(OSD_PROGRAM), osd))
            return QString();
        writeFile(appDir.filePath(QStringLiteral("DefaultProfile.bin")),
                  "[PROFILE]\nProductName=" + product.toLatin1() + "\n", false);
        writeFile(launcher,
                  "#!/bin/sh\nDISPLAY=" + m_xvfb.display().toLatin1() +
                      " QT_QPA_PLATFORM=xcb exec '" + osd.toLocal8Bit() + "' \"$@\" >>'" +
                      appDir.filePath(QStringLiteral("osd.log")).toLocal8Bit() + "' 2>&1\n",
                  true);
        return launcher;
    }

    // The width of the product's OSD window while it shows a text (its plate is as wide as
    // the text); 0 while it shows nothing.
    int osdWidth(const QString &product) const {
        const QString window = m_xvfb.windowsNamed(osdTitle(product)).section('\n', 0, 0);
        if (window.isEmpty())
            return 0;
        QProcess xdotool;
        xdotool.setProcessEnvironment(m_xvfb.programEnvironment());
        xdotool.start(QStringLiteral("xdotool"),
                      {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
        xdotool.waitForFinished(10000);
        for (const QByteArray &line : xdotool.readAllStandardOutput().split('\n')) {
            if (line.startsWith("WIDTH="))
                return line.mid(6).toInt();
        }
        return 0;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        // A runtime folder of the test's own, as the user's would be.
        QVERIFY(m_runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        // This test needs no display; the real OSD program it starts shows on the private X
        // server.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        m_x11 = !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() &&
                !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty() &&
                m_xvfb.start();
    }
    void cleanupTestCase() { m_xvfb.stop(); }

    void recordLayout() {
        const QByteArray r = osdRecord(QStringLiteral("DPI 800"), QColor(0, 190, 255));
        QCOMPARE(r.size(), 1044);
        QCOMPARE(r.left(14), utf16le("DPI 800"));
        QCOMPARE(r.mid(14, 512 - 14), QByteArray(512 - 14, '\0')); // NUL and padding
        QCOMPARE(r.mid(512, 4), le32(0));
        QCOMPARE(r.mid(516, 4), QByteArray("\xdc\x05\x00\x00", 4)); // 1500
        QCOMPARE(r.mid(520, 4), le32(0));
        QCOMPARE(r.mid(524, 4), QByteArray("\x00\xbe\xff\x00", 4)); // 0xFFBE00
        QCOMPARE(r.mid(528, 4), QByteArray("\x3c\x00\x00\x00", 4)); // 60
        QCOMPARE(r.mid(532, 10), utf16le("Arial"));
        QCOMPARE(r.mid(542), QByteArray(1044 - 542, '\0'));

        // Each colour channel lands in its own byte.
        QCOMPARE(osdRecord(QString(), QColor(0x12, 0x34, 0x56)).mid(524, 4), le32(0x563412));
        QCOMPARE(osdRecord(QString(), QColor(255, 255, 255)).mid(524, 4), le32(0xFFFFFF));
        // Text beyond ASCII is UTF-16.
        QCOMPARE(osdRecord(QStringLiteral("\u00d6\u4e2d"), Qt::red).left(6),
                 QByteArray("\xd6\x00\x2d\x4e\x00\x00", 6));
    }

    void recordCutsLongText() {
        const QString text = QString(300, QLatin1Char('x'));
        const QByteArray r = osdRecord(text, Qt::white);
        QCOMPARE(r.size(), 1044);
        QCOMPARE(r.left(510), utf16le(qPrintable(QString(255, QLatin1Char('x')))));
        QCOMPARE(r.mid(510, 2), QByteArray(2, '\0'));
        QCOMPARE(r.mid(516, 4), le32(1500)); // the fields after the text are untouched
        OsdMessage m;
        QVERIFY(parseOsdRecord(r, m));
        QCOMPARE(m.text, text.left(255));

        // Exactly 255 fits; a character outside the BMP is never cut in half.
        QVERIFY(parseOsdRecord(osdRecord(text.left(255), Qt::white), m));
        QCOMPARE(m.text.size(), 255);
        const QString emoji = QString(254, QLatin1Char('a')) + QString::fromUcs4(U"\U0001F600");
        QVERIFY(parseOsdRecord(osdRecord(emoji, Qt::white), m));
        QCOMPARE(m.text, QString(254, QLatin1Char('a')));
    }

    void recordReadsBack() {
        OsdMessage m;
        QVERIFY(
            parseOsdRecord(osdRecord(QStringLiteral("Report rate 1000 Hz"), QColor(1, 2, 3)), m));
        QCOMPARE(m.text, QStringLiteral("Report rate 1000 Hz"));
        QCOMPARE(m.displayTime, quint32(1500));
        QCOMPARE(m.colour, QColor(1, 2, 3));
        QCOMPARE(m.textHeight, quint32(60));
        QCOMPARE(m.fontFace, QStringLiteral("Arial"));

        QVERIFY(!parseOsdRecord(QByteArray(1043, '\0'), m));
        QVERIFY(!parseOsdRecord(QByteArray(1045, '\0'), m));
        // A text field without its NUL stops at the field's end.
        QByteArray full(1044, 'A');
        QVERIFY(parseOsdRecord(full, m));
        QCOMPARE(m.text.size(), 256);
    }

    void titleOfProduct() {
        QCOMPARE(osdTitle(QStringLiteral("TOLV")), QStringLiteral("TOLV Wireless Mouse OSD"));
        QCOMPARE(OsdChannel(QStringLiteral("TOLV")).serverName(),
                 m_runtime.path() + QStringLiteral("/TOLV Wireless Mouse OSD"));
        QCOMPARE(OsdChannel(QStringLiteral("TOLV")).programPath(),
                 QCoreApplication::applicationDirPath() + QStringLiteral("/OSD"));
    }

    // With a server listening, each text is written before show() returns, in order, and no
    // program is started.
    void showDeliversAtOnce() {
        const QString product = uniqueProduct();
        OsdServer server;
        QCOMPARE(server.start(osdServerPath(product)), OsdServer::Listening);
        QSignalSpy received(&server, &OsdServer::messageReceived);
        OsdChannel channel(product, QStringLiteral(OSD_PROGRAM));
        QSignalSpy delivered(&channel, &OsdChannel::delivered);

        channel.show(QStringLiteral("DPI 1600"), QColor(0, 190, 255));
        channel.show(QStringLiteral("DPI 3200"), Qt::green);
        QCOMPARE(delivered.count(), 2);
        QCOMPARE(channel.helperProcessId(), qint64(0));
        QTRY_COMPARE_WITH_TIMEOUT(received.count(), 2, 2000);
        QCOMPARE(texts(received),
                 (QStringList{QStringLiteral("DPI 1600"), QStringLiteral("DPI 3200")}));
        QCOMPARE(received.at(0).at(0).value<OsdMessage>().colour, QColor(0, 190, 255));
    }

    // Nobody listens when the texts are shown: show() comes back at once, one program is
    // started, and the newest texts arrive in order once a server listens, whether the program
    // serves itself or ends at once because another copy serves.
    void textsWaitForTheServer_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("program keeps running") << QByteArray("exec sleep 30\n");
        QTest::newRow("another copy serves") << QByteArray("exit 0\n");
    }
    void textsWaitForTheServer() {
        QFETCH(QByteArray, body);
        const QString product = uniqueProduct();
        const QString program = m_dir.filePath(product + QStringLiteral(".sh"));
        const QString count = m_dir.filePath(product + QStringLiteral(".count"));
        writeFile(program, "#!/bin/sh\necho started >> '" + count.toLocal8Bit() + "'\n" + body,
                  true);
        qint64 helper = 0;
        {
            OsdChannel channel(product, program);
            QSignalSpy delivered(&channel, &OsdChannel::delivered);
            for (int i = 0; i < OsdChannel::kMaxQueued + 4; ++i)
                channel.show(QStringLiteral("DPI %1").arg(i), Qt::white);
            QCOMPARE(delivered.count(), 0);
            helper = channel.helperProcessId();
            QVERIFY(helper > 0);

            OsdServer server;
            QCOMPARE(server.start(osdServerPath(product)), OsdServer::Listening);
            QSignalSpy received(&server, &OsdServer::messageReceived);
            QTRY_COMPARE_WITH_TIMEOUT(received.count(), OsdChannel::kMaxQueued, 3000);
            QStringList newest;
            for (int i = 4; i < OsdChannel::kMaxQueued + 4; ++i)
                newest.append(QStringLiteral("DPI %1").arg(i));
            QCOMPARE(texts(received), newest);
            QCOMPARE(lineCount(count), 1);
        }
        // The channel ends the program it started.
        QVERIFY(!processAlive(helper));
    }

    // The real program, with a stale socket of an earlier run in its way: started once, the
    // text shows; the next, longer text goes straight to the running program and takes its
    // place.
    void realProgram() {
        if (!m_x11)
            QSKIP("Xvfb and xdotool are needed");
        const QString product = uniqueProduct();
        QTemporaryDir appDir;
        QVERIFY(appDir.isValid());
        const QString launcher = installOsd(appDir, product);
        const QString log = appDir.filePath(QStringLiteral("osd.log"));
        QVERIFY(makeStaleSocket(osdServerPath(product)));

        auto channel = std::make_unique<OsdChannel>(product, launcher);
        QSignalSpy delivered(channel.get(), &OsdChannel::delivered);
        channel->show(QStringLiteral("DPI 12000"), QColor(0, 190, 255));
        const qint64 helper = channel->helperProcessId();
        QVERIFY(helper > 0);
        int first = 0;
        QTRY_VERIFY2_WITH_TIMEOUT((first = osdWidth(product)) > 0, qPrintable(readText(log)), 5000);

        channel->show(QStringLiteral("Report rate 500 Hz"), Qt::white);
        QCOMPARE(delivered.count(), 2);
        QCOMPARE(channel->helperProcessId(), helper);
        QTRY_VERIFY2_WITH_TIMEOUT(osdWidth(product) > first, qPrintable(readText(log)), 3000);
        channel.reset();
        QVERIFY(!processAlive(helper));
    }

    // The real program ends when the program that started it is killed: a copy of this test
    // starts it through a channel and is then killed.
    void programEndsWithItsStarter_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGKILL") << int(SIGKILL);
        QTest::newRow("SIGTERM") << int(SIGTERM);
    }
    void programEndsWithItsStarter() {
        QFETCH(int, signal);
        if (!m_x11)
            QSKIP("Xvfb and xdotool are needed");
        const QString product = uniqueProduct();
        QTemporaryDir appDir;
        QVERIFY(appDir.isValid());
        const QString launcher = installOsd(appDir, product);

        QProcess starter;
        starter.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        starter.start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--osd-starter"), product, launcher});
        QVERIFY(starter.waitForReadyRead(10000));
        const qint64 helper = starter.readLine().trimmed().toLongLong();
        QVERIFY(helper > 0);
        StrayProcess stray(helper);
        QTRY_VERIFY_WITH_TIMEOUT(osdWidth(product) > 0, 10000);
        QVERIFY(processAlive(helper));

        ::kill(pid_t(starter.processId()), signal);
        QVERIFY(starter.waitForFinished(5000));
        QTRY_VERIFY_WITH_TIMEOUT(!processAlive(helper), 10000);
    }
};

// Run as "--osd-starter PRODUCT PROGRAM": shows a text through a channel that starts PROGRAM,
// prints the started program's process id and runs until it is killed.
int main(int argc, char *argv[]) {
    if (argc == 4 && qstrcmp(argv[1], "--osd-starter") == 0) {
        QCoreApplication app(argc, argv);
        OsdChannel channel(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
        channel.show(QStringLiteral("DPI 800"), Qt::white);
        std::printf("%lld\n", channel.helperProcessId());
        std::fflush(stdout);
        return QCoreApplication::exec();
    }
    QCoreApplication app(argc, argv);
    TestOsdChannel test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_osdchannel.moc"
