// The OSD record and the sending side of the channel: against a server in this test, with
// no server at all, with stand-in programs, and with the real OSD program.

#include "OsdChannel.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <QtTest>
#include <csignal>
#include <cstring>
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

bool fileContains(const QString &path, const QByteArray &text) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.readAll().contains(text);
}

// Ends a process the channel started, when the test is done with it.
class StartedProcess {
public:
    ~StartedProcess() { stop(); }
    void track(qint64 pid) { m_pid = pid; }
    void stop() {
        if (m_pid <= 0)
            return;
        ::kill(pid_t(m_pid), SIGTERM);
        for (int i = 0; i < 100 && alive(); ++i)
            QThread::msleep(20);
        m_pid = 0;
    }
    // Not reaped yet is ended too: the process is not our child.
    bool alive() const {
        if (::kill(pid_t(m_pid), 0) != 0)
            return false;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(m_pid));
        return stat.open(QIODevice::ReadOnly) && !stat.readAll().contains(") Z ");
    }

private:
    qint64 m_pid = 0;
};

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

    // Reads one connection's data until the sender closes it.
    static QByteArray receiveOne(QLocalServer &server) {
        if (!server.hasPendingConnections() && !server.waitForNewConnection(2000))
            return "no connection";
        QLocalSocket *socket = server.nextPendingConnection();
        QByteArray data;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 2000) {
            data += socket->readAll();
            if (socket->state() == QLocalSocket::UnconnectedState)
                break;
            socket->waitForReadyRead(50);
        }
        data += socket->readAll();
        delete socket;
        return data;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        // A runtime folder of the test's own, as the user's would be.
        QVERIFY(m_runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        // The real OSD program started by the tests needs a platform without a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }

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

    void showWritesWholeRecord() {
        const QString product = uniqueProduct();
        QLocalServer server;
        QVERIFY(server.listen(osdServerPath(product)));
        OsdChannel channel(product, m_dir.filePath(QStringLiteral("missing")));

        QVERIFY(channel.show(QStringLiteral("DPI 1600"), QColor(0, 190, 255)));
        QCOMPARE(receiveOne(server), osdRecord(QStringLiteral("DPI 1600"), QColor(0, 190, 255)));
        // Every text is its own connection with its own record.
        QVERIFY(channel.show(QStringLiteral("DPI 3200"), Qt::green));
        QVERIFY(channel.show(QStringLiteral("DPI 400"), Qt::red));
        QCOMPARE(receiveOne(server), osdRecord(QStringLiteral("DPI 3200"), Qt::green));
        QCOMPARE(receiveOne(server), osdRecord(QStringLiteral("DPI 400"), Qt::red));
        QCOMPARE(channel.startedProcessId(), qint64(0));
    }

    // Without an OSD program there is nothing to wait for.
    void noServerNoProgram_data() {
        QTest::addColumn<bool>("staleSocket");
        QTest::addColumn<bool>("programFile");
        QTest::newRow("nothing") << false << false;
        QTest::newRow("stale socket file") << true << false;
        QTest::newRow("program not executable") << false << true;
    }
    void noServerNoProgram() {
        QFETCH(bool, staleSocket);
        QFETCH(bool, programFile);
        const QString product = uniqueProduct();
        if (staleSocket)
            QVERIFY(makeStaleSocket(osdServerPath(product)));
        const QString program = m_dir.filePath(product + QStringLiteral(".OSD"));
        if (programFile)
            writeFile(program, "#!/bin/sh\nexit 0\n", false);

        OsdChannel channel(product, program);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!channel.show(QStringLiteral("DPI 800"), Qt::white));
        QVERIFY2(clock.elapsed() < 100, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(channel.startedProcessId(), qint64(0));
        QFile::remove(osdServerPath(product));
    }

    // A program that never serves is tried five times, half a second each, and started
    // again only after the copy before it has ended.
    void programThatNeverServes_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("starts");
        QTest::newRow("ends at once") << QByteArray() << 5;
        QTest::newRow("keeps running") << QByteArray("exec sleep 20\n") << 1;
    }
    void programThatNeverServes() {
        QFETCH(QByteArray, body);
        QFETCH(int, starts);
        const QString product = uniqueProduct();
        const QString program = m_dir.filePath(product + QStringLiteral(".sh"));
        const QString count = m_dir.filePath(product + QStringLiteral(".count"));
        writeFile(program, "#!/bin/sh\necho started >> '" + count.toLocal8Bit() + "'\n" + body,
                  true);

        OsdChannel channel(product, program);
        StartedProcess started;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!channel.show(QStringLiteral("DPI 800"), Qt::white));
        const qint64 elapsed = clock.elapsed();
        started.track(channel.startedProcessId());
        QVERIFY2(elapsed >= 2400 && elapsed < 3500, qPrintable(QString::number(elapsed)));
        QVERIFY(channel.startedProcessId() > 0);
        QCOMPARE(lineCount(count), starts);
    }

    // The real program, with a stale socket of an earlier run in its way: started once,
    // the text arrives; the next text goes straight to the running program.
    void realProgram() {
        const QString product = uniqueProduct();
        QTemporaryDir appDir;
        QVERIFY(appDir.isValid());
        const QString osd = appDir.filePath(QStringLiteral("OSD"));
        const QString log = appDir.filePath(QStringLiteral("osd.log"));
        QVERIFY(QFile::copy(QStringLiteral(OSD_PROGRAM), osd));
        writeFile(appDir.filePath(QStringLiteral("DefaultProfile.bin")),
                  "[PROFILE]\nProductName=" + product.toLatin1() + "\n", false);
        // The program's log is its only window to the outside here.
        const QString launcher = appDir.filePath(QStringLiteral("run-osd"));
        writeFile(launcher,
                  "#!/bin/sh\nexec '" + osd.toLocal8Bit() + "' 2>>'" + log.toLocal8Bit() + "'\n",
                  true);
        QVERIFY(makeStaleSocket(osdServerPath(product)));

        OsdChannel channel(product, launcher);
        StartedProcess started;
        QElapsedTimer clock;
        clock.start();
        const bool shown = channel.show(QStringLiteral("DPI 12000"), QColor(0, 190, 255));
        started.track(channel.startedProcessId());
        QVERIFY(shown);
        QVERIFY2(clock.elapsed() < 2600, qPrintable(QString::number(clock.elapsed())));
        QTRY_VERIFY_WITH_TIMEOUT(fileContains(log, "\"DPI 12000\" for 1500 ms"), 3000);

        const qint64 pid = channel.startedProcessId();
        clock.restart();
        QVERIFY(channel.show(QStringLiteral("Report rate 500 Hz"), Qt::white));
        QVERIFY2(clock.elapsed() < 100, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(channel.startedProcessId(), pid);
        QTRY_VERIFY_WITH_TIMEOUT(fileContains(log, "\"Report rate 500 Hz\" for 1500 ms"), 3000);
        started.stop();
        QLocalServer::removeServer(osdServerPath(product));
    }
};

QTEST_GUILESS_MAIN(TestOsdChannel)
#include "tst_osdchannel.moc"
