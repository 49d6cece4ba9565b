// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual-mouse launcher: its command line and control commands, and end to end: a
// probe program run under it finds, opens and writes the virtual mouse through the real
// hidapi and libudev, and the dump shows what the mouse took.

#include "LauncherCommands.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace MouseProtocol;

Q_DECLARE_METATYPE(ControlCommand::Kind)

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run launch(const QStringList &args) {
    QProcess p;
    p.start(QStringLiteral(VIRTUAL_MOUSE), args);
    Run r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("timed out");
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

QStringList probe(const QStringList &args) {
    return QStringList{QStringLiteral("--"), QStringLiteral(HID_PROBE)} + args;
}

QMap<QString, QString> readDump(const QString &path) {
    QFile f(path);
    QMap<QString, QString> lines;
    if (!f.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray &line : f.readAll().split('\n')) {
        const int space = line.indexOf(' ');
        if (space > 0)
            lines[QString::fromLatin1(line.left(space))] = QString::fromLatin1(line.mid(space + 1));
    }
    return lines;
}

} // namespace

class TestLauncher : public QObject {
    Q_OBJECT
private slots:
    void options_data();
    void options();
    void controlCommands_data();
    void controlCommands();
    void controlCommandsReachTheMouse();
    void listsTheDevices_data();
    void listsTheDevices();
    void tablesEndToEnd_data();
    void tablesEndToEnd();
    void statusEndToEnd();
    void hotPlug();
    void environmentAndExitCode();
    void refusesBadUse();
};

void TestLauncher::options_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("expected"); // receiver cable release control dump | command
    QTest::addColumn<bool>("ok");
    QTest::newRow("plain") << QStringList{"--", "prog", "-x"} << "1 1 0902 - - | prog -x" << true;
    QTest::newRow("receiver") << QStringList{"--receiver", "--", "p"} << "1 0 0902 - - | p" << true;
    QTest::newRow("cable") << QStringList{"--cable", "--", "p"} << "0 1 0902 - - | p" << true;
    QTest::newRow("both named") << QStringList{"--cable", "--receiver", "--", "p"}
                                << "1 1 0902 - - | p" << true;
    QTest::newRow("all") << QStringList{"--release", "0x0310", "--control", "/tmp/f", "--dump",
                                        "/tmp/d",    "--",     "p",         "--dump"}
                         << "1 1 0310 /tmp/f /tmp/d | p --dump" << true;
    QTest::newRow("release hex") << QStringList{"--release", "1a2", "--", "p"} << "1 1 01a2 - - | p"
                                 << true;
    QTest::newRow("no command") << QStringList{"--cable", "--"} << "" << false;
    QTest::newRow("no separator") << QStringList{"prog"} << "" << false;
    QTest::newRow("release too big") << QStringList{"--release", "10000", "--", "p"} << "" << false;
    QTest::newRow("release not hex") << QStringList{"--release", "09x2", "--", "p"} << "" << false;
    QTest::newRow("missing value") << QStringList{"--dump"} << "" << false;
    QTest::newRow("unknown") << QStringList{"--wireless", "--", "p"} << "" << false;
}

void TestLauncher::options() {
    QFETCH(QStringList, args);
    QFETCH(QString, expected);
    QFETCH(bool, ok);
    std::vector<std::string> a;
    for (const QString &s : args)
        a.push_back(s.toStdString());
    const LauncherOptions o = parseLauncherOptions(a);
    QCOMPARE(o.error.empty(), ok);
    if (!ok)
        return;
    QStringList command;
    for (const std::string &c : o.command)
        command << QString::fromStdString(c);
    const QString got = QString::asprintf("%d %d %04x ", o.receiver, o.cable, o.release) +
                        (o.controlPath.empty() ? "-" : QString::fromStdString(o.controlPath)) +
                        ' ' + (o.dumpPath.empty() ? "-" : QString::fromStdString(o.dumpPath)) +
                        " | " + command.join(' ');
    QCOMPARE(got, expected);
}

void TestLauncher::controlCommands_data() {
    using C = ControlCommand;
    QTest::addColumn<QString>("line");
    QTest::addColumn<C::Kind>("kind");
    QTest::addColumn<int>("value");
    QTest::newRow("plug cable") << "plug cable" << C::Plug << 0;
    QTest::newRow("unplug receiver") << "  unplug   receiver " << C::Unplug << 0;
    QTest::newRow("battery") << "battery 3900 1" << C::Battery << 3900;
    QTest::newRow("sleep") << "sleep" << C::Sleep << 0;
    QTest::newRow("wake") << "wake" << C::Wake << 0;
    QTest::newRow("wake quietly") << "wake quietly" << C::Wake << 0;
    QTest::newRow("dpi") << "dpi 5" << C::Dpi << 5;
    QTest::newRow("profile") << "profile 4" << C::Profile << 4;
    QTest::newRow("rate") << "rate 8" << C::Rate << 8;
    QTest::newRow("answer") << "answer wrong-header 3" << C::Answer << 3;
    QTest::newRow("answer for good") << "answer zeros" << C::Answer << 0;
    QTest::newRow("delay") << "delay 200" << C::Delay << 200;
    QTest::newRow("dump") << "dump" << C::Dump << 0;
    QTest::newRow("blank") << "   " << C::Empty << 0;
    QTest::newRow("comment") << "# plug cable" << C::Empty << 0;
    QTest::newRow("plug what") << "plug mouse" << C::Invalid << 0;
    QTest::newRow("battery charging 2") << "battery 3900 2" << C::Invalid << 0;
    QTest::newRow("battery half") << "battery 3900" << C::Invalid << 0;
    QTest::newRow("profile 5") << "profile 5" << C::Invalid << 0;
    QTest::newRow("dpi 256") << "dpi 256" << C::Invalid << 0;
    QTest::newRow("dpi word") << "dpi two" << C::Invalid << 0;
    QTest::newRow("answer garbled") << "answer slow" << C::Invalid << 0;
    QTest::newRow("sleep extra") << "sleep now" << C::Invalid << 0;
    QTest::newRow("dump where") << "dump /tmp/x" << C::Invalid << 0;
    QTest::newRow("unknown") << "explode" << C::Invalid << 0;
}

void TestLauncher::controlCommands() {
    QFETCH(QString, line);
    QFETCH(ControlCommand::Kind, kind);
    QFETCH(int, value);
    const ControlCommand c = parseControlCommand(line.toStdString());
    QCOMPARE(c.kind, kind);
    QCOMPARE(c.value, value);
    QCOMPARE(c.error.empty(), kind != ControlCommand::Invalid);
}

void TestLauncher::controlCommandsReachTheMouse() {
    VirtualMouse mouse;
    auto ep = mouse.open(MouseLink::Receiver);
    auto run = [&](const char *line) { return applyToMouse(mouse, parseControlCommand(line)); };
    MouseReport r{};

    QVERIFY(run("battery 4125 1"));
    QCOMPARE(mouse.batteryRaw(), uint16_t(1000));
    QVERIFY(mouse.isCharging());
    QCOMPARE(ep->read(r.data(), r.size(), 0), 33);
    QCOMPARE(r[3], kCmdStatusQuery);
    QCOMPARE(r[4], uint8_t(0xE8));

    QVERIFY(run("sleep"));
    QVERIFY(mouse.isAsleep());
    QCOMPARE(ep->read(r.data(), r.size(), 0), 33);
    QCOMPARE(r[4] | r[5] | r[6], 0);
    QVERIFY(run("wake"));
    QVERIFY(!mouse.isAsleep());
    ep->read(r.data(), r.size(), 0);

    QVERIFY(run("profile 3"));
    QVERIFY(run("dpi 2"));
    QVERIFY(run("rate 4"));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(ep->read(r.data(), r.size(), 0), 33);
    QCOMPARE(r[3], kCmdStatusReport);
    QCOMPARE(r[4], uint8_t(3));
    QCOMPARE(r[5], uint8_t(2));
    QCOMPARE(r[6], uint8_t(4));

    QVERIFY(run("answer none 2"));
    QCOMPARE(mouse.answer(), VirtualMouse::Answer::None);
    QVERIFY(!run("plug cable")); // the launcher's own business
    QVERIFY(!run("dump"));
    QVERIFY(!run("nonsense"));
}

void TestLauncher::listsTheDevices_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("devices");
    QTest::newRow("both") << QStringList{"--release", "0310"}
                          << QStringList{"/dev/hidraw0 248a:fa02 release 0902",
                                         "/dev/hidraw1 248a:fb01 release 0310"};
    QTest::newRow("receiver") << QStringList{"--receiver"}
                              << QStringList{"/dev/hidraw0 248a:fa02 release 0902"};
    QTest::newRow("cable") << QStringList{"--cable"}
                           << QStringList{"/dev/hidraw1 248a:fb01 release 0902"};
}

void TestLauncher::listsTheDevices() {
    QFETCH(QStringList, options);
    QFETCH(QStringList, devices);
    const Run r = launch(options + probe({"list"}));
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QStringList expected;
    for (const QString &d : devices)
        for (const char *usage : {"1:2", "1:1", "1:0"})
            expected << d + " usage " + usage;
    QCOMPARE(r.out.trimmed().split('\n'), expected);
}

void TestLauncher::tablesEndToEnd_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("pid");
    QTest::newRow("cable") << "--cable"
                           << "fb01";
    QTest::newRow("receiver") << "--receiver"
                              << "fa02";
}

void TestLauncher::tablesEndToEnd() {
    QFETCH(QString, link);
    QFETCH(QString, pid);
    QTemporaryDir tmp;
    const QString dump = tmp.filePath("dump");
    const Run r = launch(QStringList{link, "--dump", dump} + probe({"tables", "248a", pid}));
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QMap<QString, QString> d = readDump(dump);
    QCOMPARE(d.keys(), (QStringList{"buttons", "cable", "dpi", "lighting", "macros", "profile",
                                    "receiver", "settings"}));
    // The probe's commands arrived on its link alone.
    const QString other = link == "--cable" ? "receiver" : "cable";
    QCOMPARE(d[other], QStringLiteral("commands 0 queries 0"));
    QVERIFY2(d[link.mid(2)].startsWith("commands ") && d[link.mid(2)] != d[other],
             qPrintable(d[link.mid(2)]));
    QCOMPARE(d["settings"], QStringLiteral("303132333435023738393a3b3c043e3f400342"));
    QCOMPARE(d["dpi"], QStringLiteral("060120034006") + QString(70, '0'));
    QCOMPARE(d["buttons"], QString(204, '0'));
    QCOMPARE(d["lighting"], QString(160, '0')); // its block was never committed
    QString macro;
    for (int i = 0; i < 20; ++i)
        macro += QString::asprintf("%02x", 0xA0 + i);
    QCOMPARE(d["macros"], QString(400, '0') + macro + QString(8000 - 440, '0'));
    QCOMPARE(d["profile"], QStringLiteral("2"));
}

void TestLauncher::statusEndToEnd() {
    QTemporaryDir tmp;
    const QString fifo = tmp.filePath("control"); // created by the launcher
    const Run r =
        launch(QStringList{"--cable", "--control", fifo} + probe({"status", "248a", "fb01", fifo}));
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY(!QFile::exists(fifo)); // made by the launcher, so removed again
}

void TestLauncher::hotPlug() {
    QTemporaryDir tmp;
    const QString fifo = tmp.filePath("control");
    const Run r = launch(QStringList{"--control", fifo} + probe({"hotplug", "248a", "fb01", fifo}));
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
}

void TestLauncher::environmentAndExitCode() {
    const char *script =
        "test -d \"$UMOCKDEV_DIR\" || exit 1; "
        "case \"$LD_PRELOAD\" in *libumockdev-preload*) ;; *) exit 2;; esac; "
        "case \"$ASAN_OPTIONS\" in *verify_asan_link_order=0*) ;; *) exit 3;; esac; "
        "exit 7";
    const Run r = launch(QStringList{"--", "sh", "-c", script});
    QCOMPARE(r.exitCode, 7);
    const Run killed = launch(QStringList{"--", "sh", "-c", "kill -TERM $$"});
    QCOMPARE(killed.exitCode, 128 + 15);
}

void TestLauncher::refusesBadUse() {
    Run r = launch(QStringList{"--cable"});
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.err.contains("usage"));
    QTemporaryDir tmp;
    const QString plain = tmp.filePath("plain");
    QFile(plain).open(QIODevice::WriteOnly);
    r = launch(QStringList{"--control", plain, "--", "true"});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.err.contains("not a FIFO"));
    r = launch(QStringList{"--", "/nonexistent/program"});
    QCOMPARE(r.exitCode, 127);
}

QTEST_GUILESS_MAIN(TestLauncher)
#include "tst_launcher.moc"
