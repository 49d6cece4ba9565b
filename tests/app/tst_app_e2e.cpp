// SPDX-License-Identifier: GPL-3.0-or-later
// The real program on its own X server, with the virtual mouse on virtual hidraw nodes:
// start-up with and without a mouse, hot-plug, a send cut short by an unplug, a stage
// changed on the mouse reaching the on-screen display, which ends with the program, firmware
// checks, one copy only, a logout. What the program did is read from the virtual mouse's
// traffic and from the command line's answers through the running window.
#include "AppInstall.h"
#include "MouseControl.h"
#include "OsdChannel.h"
#include "PrivateXServer.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString kBuild = QStringLiteral(MOUSECFG_APP_DIR);

// The program's output; its exit status in status, -1 when it did not end in time.
QString run(const QString &program, const QStringList &args, const QProcessEnvironment &env,
            int *status = nullptr) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    const bool ended = p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit;
    if (status)
        *status = ended ? p.exitCode() : -1;
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

// The live processes running the program at this path (a process that ended and waits to be
// reaped has no program any more).
QList<qint64> processesOf(const QString &program) {
    QList<qint64> found;
    const QString target = QFileInfo(program).canonicalFilePath();
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (number && QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget() == target)
            found << pid;
    }
    return found;
}
} // namespace

class TestAppEndToEnd : public QObject {
    Q_OBJECT

    PrivateXServer m_xvfb{kBuild + QStringLiteral("/tests/e2e-runtime-XXXXXX")};

    // One run of the program under the launcher.
    struct App {
        ~App() { endProcess(process); }
        QTemporaryDir dir{kBuild + QStringLiteral("/tests/e2e-app-XXXXXX")};
        QString fifo;
        QString dump;
        QProcessEnvironment env;
        QProcess process;
        QString log() const {
            QFile f(dir.filePath(QStringLiteral("app.log")));
            return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
        }
    };

    QProcessEnvironment environment() const { return m_xvfb.programEnvironment(); }

    // Starts the program under the launcher; prelude runs first (e.g. unplugging; "set --"
    // gives the program options). On the test's X server, or on server.
    void start(App &app, const QStringList &options, const QString &prelude = QString(),
               const PrivateXServer *server = nullptr) {
        QVERIFY(app.dir.isValid());
        QVERIFY(installApp(app.dir.path()));
        app.fifo = app.dir.filePath(QStringLiteral("control"));
        app.dump = app.dir.filePath(QStringLiteral("dump"));
        QVERIFY(::mkfifo(qPrintable(app.fifo), 0600) == 0);
        const QString script = prelude + QStringLiteral("exec ./mousecfg \"$@\" > app.log 2>&1");
        app.process.setWorkingDirectory(app.dir.path());
        app.env = server ? server->programEnvironment() : environment();
        app.process.setProcessEnvironment(app.env);
        app.process.start(QStringLiteral(VIRTUAL_MOUSE),
                          options + QStringList{QStringLiteral("--control"), app.fifo,
                                                QStringLiteral("--dump"), app.dump,
                                                QStringLiteral("--"), QStringLiteral("/bin/sh"),
                                                QStringLiteral("-c"), script});
        QVERIFY(app.process.waitForStarted(5000));
    }

    void control(App &app, const QString &line) { QVERIFY(controlMouse(app.fifo, line)); }

    // What has reached the mouse on a link so far: a status query there means the program
    // opened the mouse and talks to it on that link.
    LinkTraffic traffic(App &app, const QString &link) {
        return linkTraffic(mouseDump(app.fifo, app.dump), link);
    }

    // The installation's command line, which the running window answers.
    QString cli(App &app, const QStringList &args, int *status = nullptr) {
        return run(app.dir.filePath(QStringLiteral("mousecfg-cli")), args, app.env, status);
    }

    QString windowsNamed(const QString &name) { return m_xvfb.windowsNamed(name); }

    // Clicks the first button of the message box with this window id: "Ok" of a notice
    // at (189, 236, 100, 32) of the box, or "Yes" of a question at (124, 236, 100, 32).
    void answerBox(const QString &window, bool question = false) {
        const QProcessEnvironment env = environment();
        const QString geometry =
            run(QStringLiteral("xdotool"),
                {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window}, env);
        int x = 0, y = 0;
        for (const QString &line : geometry.split('\n')) {
            if (line.startsWith(QLatin1String("X=")))
                x = line.mid(2).toInt();
            if (line.startsWith(QLatin1String("Y=")))
                y = line.mid(2).toInt();
        }
        run(QStringLiteral("xdotool"),
            {QStringLiteral("mousemove"), QString::number(x + (question ? 174 : 239)),
             QString::number(y + 252), QStringLiteral("click"), QStringLiteral("1")},
            env);
    }

    // A notification area at the right end of the screen's top edge.
    void startTrayer(QProcess &trayer) {
        trayer.setProcessEnvironment(environment());
        trayer.start(QStringLiteral("trayer"),
                     {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                      QStringLiteral("right"), QStringLiteral("--widthtype"),
                      QStringLiteral("pixel"), QStringLiteral("--width"), QStringLiteral("200"),
                      QStringLiteral("--height"), QStringLiteral("32"),
                      QStringLiteral("--SetDockType"), QStringLiteral("false"),
                      QStringLiteral("--SetPartialStrut"), QStringLiteral("false")});
        QVERIFY(trayer.waitForStarted(5000));
        QTest::qWait(1000);
    }

    // A click on the one tray icon, at the right end of trayer's tray on the top edge.
    void clickTrayIcon() {
        run(QStringLiteral("xdotool"),
            {QStringLiteral("mousemove"), QStringLiteral("1270"), QStringLiteral("16"),
             QStringLiteral("click"), QStringLiteral("1")},
            environment());
    }

    // The launcher passes the signal on to the program and ends with it.
    void stop(App &app) { endProcess(app.process); }

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("Xvfb and xdotool are needed");
        QVERIFY(m_xvfb.start());
    }
    void cleanupTestCase() { m_xvfb.stop(); }

    void startsWithTheMouseAndRefusesASecondCopy() {
        App app;
        start(app, {});
        QTRY_VERIFY_WITH_TIMEOUT(!windowsNamed(QStringLiteral("TOLV")).isEmpty(), 30000);
        const QString geometry =
            run(QStringLiteral("xdotool"),
                {QStringLiteral("getwindowgeometry"), windowsNamed(QStringLiteral("TOLV"))},
                environment());
        QVERIFY2(geometry.contains(QLatin1String("999x640")), qPrintable(geometry.simplified()));
        // Both links are there; the commands go by cable.
        QTRY_VERIFY2_WITH_TIMEOUT(traffic(app, QStringLiteral("cable")).queries >= 1,
                                  qPrintable(app.log()), 30000);
        QCOMPARE(traffic(app, QStringLiteral("receiver")).commands, 0);
        // A second copy of the same product ends at once with 1 and shows nothing, saying why
        // only when asked to.
        for (const QString &option : {QString(), QStringLiteral("--verbose")}) {
            QProcess second;
            second.setProcessEnvironment(environment());
            second.start(app.dir.filePath(QStringLiteral("mousecfg")),
                         option.isEmpty() ? QStringList() : QStringList{option});
            QVERIFY(second.waitForFinished(15000));
            QCOMPARE(second.exitCode(), 1);
            const QByteArray said = second.readAllStandardError() + second.readAllStandardOutput();
            QVERIFY2(option.isEmpty() ? said.isEmpty() : said.contains("already runs"),
                     said.constData());
        }
        stop(app);
    }

    void receiverOnlyUsesTheReceiver() {
        App app;
        start(app, {QStringLiteral("--receiver")});
        QTRY_VERIFY2_WITH_TIMEOUT(traffic(app, QStringLiteral("receiver")).queries >= 1,
                                  qPrintable(app.log()), 30000);
        QCOMPARE(traffic(app, QStringLiteral("cable")).commands, 0);
        stop(app);
    }

    void noMouseAtStartThenPlugIn() {
        App app;
        // The receiver is pulled out before the program starts.
        start(app, {QStringLiteral("--receiver")},
              QStringLiteral("echo 'unplug receiver' > control; sleep 0.5; "));
        QTRY_VERIFY_WITH_TIMEOUT(!windowsNamed(QStringLiteral("Warning")).isEmpty(), 30000);
        control(app, QStringLiteral("plug receiver"));
        // The box closes by itself and the window is there and ready.
        QTRY_VERIFY_WITH_TIMEOUT(windowsNamed(QStringLiteral("Warning")).isEmpty(), 30000);
        QVERIFY(!windowsNamed(QStringLiteral("TOLV")).isEmpty());
        QTRY_VERIFY2_WITH_TIMEOUT(traffic(app, QStringLiteral("receiver")).queries >= 1,
                                  qPrintable(app.log()), 30000);
        stop(app);
    }

    void stageChangedOnTheMouseReachesTheOsd() {
        // The program's OSD socket is in the user's runtime folder.
        QLocalServer osd;
        const QString name = QDir(m_xvfb.runtimeDir()).filePath(osdTitle(QStringLiteral("TOLV")));
        QLocalServer::removeServer(name);
        QVERIFY(osd.listen(name));
        App app;
        start(app, {QStringLiteral("--cable")});
        // The mouse's reports reach the program once it has opened the mouse. This includes
        // the start-up, which in a sanitizer build on a busy machine takes as long as the
        // window waits above allow.
        QTRY_VERIFY2_WITH_TIMEOUT(traffic(app, QStringLiteral("cable")).queries >= 1,
                                  qPrintable(app.log()), 60000);
        control(app, QStringLiteral("dpi 3"));
        QVERIFY2(osd.waitForNewConnection(20000), qPrintable(app.log()));
        QLocalSocket *s = osd.nextPendingConnection();
        while (s->bytesAvailable() < kOsdRecordSize && s->waitForReadyRead(3000)) {
        }
        OsdMessage message;
        QVERIFY(parseOsdRecord(s->read(kOsdRecordSize), message));
        QCOMPARE(message.text, QStringLiteral("DPI 4:3200"));
        QCOMPARE(message.displayTime, 1500u);
        // The window holds the stage too, as the command line shows (counted from 1).
        const QString status = cli(app, {QStringLiteral("status"), QStringLiteral("--json")});
        QVERIFY2(status.contains(QLatin1String("\"dpiStage\":4,")), qPrintable(status));
        stop(app);
    }

    // The on-screen display, started for a stage changed on the mouse, ends with the program,
    // also when the program is ended by a signal, as at the end of a desktop session; the
    // program then ends as its Quit does, keeping the battery reading it had not yet written.
    void osdEndsWithTheProgram() {
        App app;
        start(app, {QStringLiteral("--cable")});
        QTRY_VERIFY2_WITH_TIMEOUT(traffic(app, QStringLiteral("cable")).queries >= 1,
                                  qPrintable(app.log()), 60000);
        const QString osd = app.dir.filePath(QStringLiteral("OSD"));
        control(app, QStringLiteral("dpi 2"));
        QTRY_VERIFY2_WITH_TIMEOUT(!processesOf(osd).isEmpty(), qPrintable(app.log()), 30000);
        control(app, QStringLiteral("battery 3696 1")); // exactly as the report gives it
        QTRY_VERIFY_WITH_TIMEOUT(cli(app, {QStringLiteral("status"), QStringLiteral("--json")})
                                     .contains(QLatin1String("\"millivolts\":3696,")),
                                 30000);
        stop(app); // SIGTERM, passed on to the program by the launcher
        QCOMPARE(app.process.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(processesOf(osd).isEmpty(), 15000);
        QFile history(m_xvfb.runtimeDir() + QStringLiteral("/state/mousecfg/TOLV.battery"));
        QVERIFY(history.open(QIODevice::ReadOnly));
        QVERIFY2(history.readAll().contains(" 3696 "), qPrintable(app.log()));
    }

    void endOfTheDisplayServerKeepsTheBatteryReadings_data() {
        QTest::addColumn<bool>("wayland");
        QTest::newRow("X server") << false;
        QTest::newRow("Wayland compositor") << true;
    }

    // Qt ends the program at once when its display server goes (exit() on X11, _exit() from a
    // thread of its own on Wayland): the battery reading not yet written is written first.
    void endOfTheDisplayServerKeepsTheBatteryReadings() {
        QFETCH(bool, wayland);
        PrivateXServer own(kBuild + QStringLiteral("/tests/e2e-runtime-XXXXXX"));
        QProcess weston;
        QTemporaryDir state(kBuild + QStringLiteral("/tests/e2e-state-XXXXXX"));
        const QString exports = QStringLiteral("export XDG_STATE_HOME='%1' ").arg(state.path());
        App app;
        if (wayland) {
            if (QStandardPaths::findExecutable(QStringLiteral("weston")).isEmpty())
                QSKIP("weston is needed");
            weston.setProcessEnvironment(environment());
            weston.start(QStringLiteral("weston"),
                         {QStringLiteral("--backend=headless-backend.so"),
                          QStringLiteral("--socket=wayland-e2e"), QStringLiteral("--idle-time=0")});
            QTRY_VERIFY(QFileInfo::exists(environment().value(QStringLiteral("XDG_RUNTIME_DIR")) +
                                          QStringLiteral("/wayland-e2e")));
            start(app, {QStringLiteral("--cable")},
                  exports +
                      QStringLiteral("WAYLAND_DISPLAY=wayland-e2e QT_QPA_PLATFORM=wayland; "));
        } else {
            QVERIFY(own.start());
            start(app, {QStringLiteral("--cable")}, exports + QLatin1Char(';'), &own);
        }
        QTRY_VERIFY2_WITH_TIMEOUT(traffic(app, QStringLiteral("cable")).queries >= 1,
                                  qPrintable(app.log()), 60000);
        control(app, QStringLiteral("battery 3696 1"));
        QTRY_VERIFY_WITH_TIMEOUT(cli(app, {QStringLiteral("status"), QStringLiteral("--json")})
                                     .contains(QLatin1String("\"millivolts\":3696,")),
                                 30000);
        if (wayland)
            endProcess(weston);
        else
            own.stop();
        QVERIFY(app.process.waitForFinished(30000));
        QVERIFY2(app.log().contains(wayland ? QLatin1String("Wayland connection broke")
                                            : QLatin1String("X11 connection broke")),
                 qPrintable(app.log()));
        QFile history(state.filePath(QStringLiteral("mousecfg/TOLV.battery")));
        QVERIFY(history.open(QIODevice::ReadOnly));
        QVERIFY2(history.readAll().contains(" 3696 "), qPrintable(app.log()));
    }

    void unplugDuringASendIsReported() {
        App app;
        start(app, {QStringLiteral("--cable")});
        QTRY_VERIFY_WITH_TIMEOUT(!windowsNamed(QStringLiteral("TOLV")).isEmpty(), 30000);
        // The mouse stops answering, so the send hangs on retries; then it is pulled out.
        control(app, QStringLiteral("answer none"));
        const QString window = windowsNamed(QStringLiteral("TOLV"));
        const QProcessEnvironment env = environment();
        // "Reset All"-free way to make a send: Apply with the last send marked failed.
        QSettings(app.dir.filePath(QStringLiteral("Configs/Config.ini")), QSettings::IniFormat)
            .setValue(QStringLiteral("Config/Diff"), 1);
        const QString geometry =
            run(QStringLiteral("xdotool"),
                {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window}, env);
        int x = 0, y = 0;
        for (const QString &line : geometry.split('\n')) {
            if (line.startsWith(QLatin1String("X=")))
                x = line.mid(2).toInt();
            if (line.startsWith(QLatin1String("Y=")))
                y = line.mid(2).toInt();
        }
        run(QStringLiteral("xdotool"),
            {QStringLiteral("mousemove"), QString::number(x + 904), QString::number(y + 610),
             QStringLiteral("click"), QStringLiteral("1")},
            env); // Apply
        QTest::qWait(800);
        control(app, QStringLiteral("unplug cable"));
        // The send ends with a failure the user is told about, and nothing hangs.
        QTRY_VERIFY2_WITH_TIMEOUT(!windowsNamed(QStringLiteral("Warning")).isEmpty(),
                                  qPrintable(app.log()), 30000);
        // The box telling of the failure and "No mouse is connected." come in either order, and
        // the removal may wait for the first box to be answered. Boxes are answered at the
        // spot of a question's "Yes", which is empty on a notice such as "No mouse is connected.".
        QSet<QString> seen;
        const auto boxes = [&] {
            const QStringList shown =
                windowsNamed(QStringLiteral("Warning")).split('\n', Qt::SkipEmptyParts);
            for (const QString &box : shown)
                seen.insert(box);
            return shown;
        };
        const auto answerQuestionsUntil = [&](const std::function<bool()> &done) {
            if (done())
                return true;
            const QStringList shown = boxes();
            if (!shown.isEmpty())
                answerBox(shown.first(), true);
            return false;
        };
        // The window sees no mouse any more, as the command line shows.
        QTRY_VERIFY_WITH_TIMEOUT(
            answerQuestionsUntil([&] {
                return cli(app, {QStringLiteral("list"), QStringLiteral("--json")}) == "[]";
            }),
            30000);
        // Both are shown before the cable comes back (plugged back at once, the mouse would be
        // there again before "No mouse is connected." is due).
        QTRY_VERIFY_WITH_TIMEOUT((boxes(), seen.size() >= 2), 30000);
        // The send is recorded as failed, so that the next one is whole.
        QCOMPARE(
            QSettings(app.dir.filePath(QStringLiteral("Configs/Config.ini")), QSettings::IniFormat)
                .value(QStringLiteral("Config/Diff"))
                .toInt(),
            1);
        control(app, QStringLiteral("answer ok"));
        control(app, QStringLiteral("plug cable"));
        // "No mouse is connected." closes by itself; a failure box still open is answered.
        QTRY_VERIFY2_WITH_TIMEOUT(answerQuestionsUntil([&] { return boxes().isEmpty(); }),
                                  qPrintable(app.log()), 30000);
        QVERIFY2(seen.size() >= 2, "the failure and the removal were not both shown");
        // The window and its mouse session send again.
        int sent = -1;
        QTRY_VERIFY_WITH_TIMEOUT((cli(app, {QStringLiteral("apply")}, &sent), sent == 0), 30000);
        QCOMPARE(app.process.state(), QProcess::Running);
        stop(app);
    }

    // With a notification area (trayer as the tray host), started into it: the window stays
    // hidden with the mouse found; a click on the icon shows it, the next hides it again.
    void trayIconHidesAndShowsTheWindow() {
        if (QStandardPaths::findExecutable(QStringLiteral("trayer")).isEmpty())
            QSKIP("trayer is needed");
        QProcess trayer;
        startTrayer(trayer);
        App app;
        start(app, {}, QStringLiteral("set -- --hidden; "));
        // The program has the mouse once a stage changed there shows on the on-screen display.
        const QString osd = osdTitle(QStringLiteral("TOLV"));
        for (int i = 0; i < 60 && windowsNamed(osd).isEmpty(); ++i) {
            control(app, QStringLiteral("dpi %1").arg(2 + i % 2));
            QTest::qWait(500);
        }
        QVERIFY(!windowsNamed(osd).isEmpty());
        QTest::qWait(1000);
        QVERIFY(windowsNamed(QStringLiteral("TOLV")).isEmpty());
        clickTrayIcon();
        QTRY_VERIFY_WITH_TIMEOUT(!windowsNamed(QStringLiteral("TOLV")).isEmpty(), 30000);
        QTest::qWait(500);
        clickTrayIcon();
        QTRY_VERIFY_WITH_TIMEOUT(windowsNamed(QStringLiteral("TOLV")).isEmpty(), 30000);
        QCOMPARE(app.process.state(), QProcess::Running);
        stop(app);
        trayer.kill();
        trayer.waitForFinished(5000);
    }

    // Logging out of an X11 desktop (xsm as the session manager) while the window shows, with
    // a notification area to close into: the program neither holds the logout up nor fails the
    // session's save, and ends with it.
    void logoutEndsTheProgramWithoutHoldingItUp() {
        if (QStandardPaths::findExecutable(QStringLiteral("xsm")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("trayer")).isEmpty())
            QSKIP("xsm and trayer are needed");
        QProcess trayer;
        startTrayer(trayer);
        QTemporaryDir home(kBuild + QStringLiteral("/tests/e2e-home-XXXXXX"));
        const QString address = home.filePath(QStringLiteral("address"));
        QFile startup(home.filePath(QStringLiteral(".xsmstartup")));
        QVERIFY(startup.open(QIODevice::WriteOnly));
        startup.write(
            QStringLiteral("sh -c 'echo \"$SESSION_MANAGER\" > %1'\n").arg(address).toLocal8Bit());
        startup.close();
        QProcessEnvironment env = environment();
        env.insert(QStringLiteral("HOME"), home.path());
        QProcess xsm;
        xsm.setProcessEnvironment(env);
        xsm.start(QStringLiteral("xsm"), QStringList());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(address).size() > 1, 30000);
        QFile addressFile(address);
        QVERIFY(addressFile.open(QIODevice::ReadOnly));
        App app;
        start(app, {},
              QStringLiteral("export HOME='%1' SESSION_MANAGER='%2'; ")
                  .arg(home.path(), QString::fromLocal8Bit(addressFile.readAll()).trimmed()));
        QTRY_VERIFY_WITH_TIMEOUT(!windowsNamed(QStringLiteral("TOLV")).isEmpty(), 30000);
        // A stage changed on the mouse starts the on-screen display's program.
        control(app, QStringLiteral("dpi 3"));
        QTRY_VERIFY_WITH_TIMEOUT(!windowsNamed(osdTitle(QStringLiteral("TOLV"))).isEmpty(), 30000);
        clickTrayIcon(); // into the tray
        QTRY_VERIFY_WITH_TIMEOUT(windowsNamed(QStringLiteral("TOLV")).isEmpty(), 30000);
        // xsm's Shutdown menu (top left, no window manager), "With Checkpoint", a session
        // name, and its dialog's Shutdown button.
        const auto xdotool = [&](const QString &args) {
            run(QStringLiteral("xdotool"), args.split(QLatin1Char(' ')), env);
        };
        xdotool(QStringLiteral("mousemove 122 37 mousedown 1 sleep 1 mousemove 135 57 sleep 0.3 "
                               "mouseup 1 sleep 1 mousemove 177 115 click 1"));
        const QString field =
            run(QStringLiteral("xdotool"),
                {QStringLiteral("getmouselocation"), QStringLiteral("--shell")}, env)
                .section(QStringLiteral("WINDOW="), 1)
                .trimmed();
        xdotool(QStringLiteral("windowfocus %1 type --window %1 s").arg(field));
        xdotool(QStringLiteral("mousemove 59 210 click 1"));
        // The session's save succeeded: xsm ends the clients, then itself.
        QTRY_COMPARE_WITH_TIMEOUT(xsm.state(), QProcess::NotRunning, 30000);
        QTRY_COMPARE_WITH_TIMEOUT(app.process.state(), QProcess::NotRunning, 30000);
        QCOMPARE(app.process.exitCode(), 0);
        // The session saved restarts the program at the next login, into the tray as it was,
        // and not its helper, which the program starts.
        QFile saved(home.filePath(QStringLiteral(".XSM-s")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QString clients = QString::fromLocal8Bit(saved.readAll());
        QVERIFY2(clients.contains(QLatin1String("/mousecfg")) &&
                     clients.contains(QLatin1String("--hidden")) &&
                     !clients.contains(QLatin1String("/OSD")),
                 qPrintable(clients));
        endProcess(trayer);
    }

    // Another firmware release, only the Windows updater: one box, not modal, says where it
    // lies; nothing is started and the program stays.
    void oldFirmwareWithTheWindowsUpdaterOnly() {
        App app;
        start(app, {QStringLiteral("--cable"), QStringLiteral("--release"), QStringLiteral("0901")},
              QStringLiteral("mkdir -p skin/mouse/bin; u=skin/mouse/bin/RX10-UPDATE-VER1.3.exe; "
                             "printf '#!/bin/sh\\ntouch %s/ran\\n' \"$PWD\" > $u; chmod +x $u; "));
        QTRY_VERIFY_WITH_TIMEOUT(!windowsNamed(QStringLiteral("Warning")).isEmpty(), 30000);
        const QString box = windowsNamed(QStringLiteral("Warning"));
        const QString state =
            run(QStringLiteral("xprop"),
                {QStringLiteral("-id"), box, QStringLiteral("_NET_WM_STATE")}, environment());
        QVERIFY2(!box.contains('\n') && !state.contains(QLatin1String("MODAL")), qPrintable(state));
        answerBox(box);
        QTRY_VERIFY_WITH_TIMEOUT(windowsNamed(QStringLiteral("Warning")).isEmpty(), 30000);
        QVERIFY(!QFile::exists(app.dir.filePath(QStringLiteral("ran"))));
        QCOMPARE(app.process.state(), QProcess::Running);
        QVERIFY(!windowsNamed(QStringLiteral("TOLV")).isEmpty());
        stop(app);
    }
};

QTEST_GUILESS_MAIN(TestAppEndToEnd)
#include "tst_app_e2e.moc"
