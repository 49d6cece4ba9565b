// SPDX-License-Identifier: GPL-3.0-or-later
// The command line end to end: the real programs with the virtual mouse on virtual hidraw
// nodes, first alone (the command line opens the mouse itself), then beside the running
// window (on the offscreen platform), which carries the commands out.
#include "MouseControl.h"
#include "MouseRequests.h"
#include "PrivateRuntime.h"
#include "ProfileData.h"
#include "ProfileFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString kBuild = QStringLiteral(MOUSECFG_APP_DIR);

// One command line's run inside the session: exit status, output and time to answer.
struct Run {
    int status = -1;
    QString out;
    QString err;
    int ms = 0;
    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
};

// Every file below the folder by its path there, but for the writers' lock files.
QMap<QString, QByteArray> filesBelow(const QString &folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.fileName().endsWith(QLatin1String(".flock")) && file.open(QIODevice::ReadOnly))
            files.insert(QDir(folder).relativeFilePath(file.fileName()), file.readAll());
    }
    return files;
}

// The first part of a file, as a copy cut short leaves it.
void writeCut(const QString &from, const QString &to, qint64 size) {
    QFile in(from), out(to);
    QVERIFY(in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly));
    QCOMPARE(out.write(in.read(size)), size);
}
} // namespace

class TestCli : public QObject {
    Q_OBJECT

    QTemporaryDir m_runtime{kBuild + QStringLiteral("/tests/cli-runtime-XXXXXX")};

    // The virtual mouse with an installation of our own; inside the launcher a shell runs
    // the command lines handed to it, one per line of a FIFO, optionally beside the window.
    struct Session {
        ~Session() {
            // A follower that a failed check left running ends with the session.
            bool following = false;
            const int follower = read(QStringLiteral("follow.pid")).trimmed().toInt(&following);
            if (following)
                ::kill(follower, SIGTERM);
            ::close(commands);
            if (launcher.state() != QProcess::NotRunning) {
                launcher.terminate();
                if (!launcher.waitForFinished(10000))
                    launcher.kill();
            }
        }
        QString file(const QString &name) const { return dir.filePath(name); }
        void write(const QString &name, const QByteArray &bytes) const {
            QFile f(file(name));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        }
        QString read(const QString &name) const {
            QFile f(file(name));
            return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
        }
        QTemporaryDir dir{kBuild + QStringLiteral("/tests/cli-app-XXXXXX")};
        QProcess launcher;
        int commands = -1;
        int next = 0;
    };

    void start(Session &s, bool window) {
        QVERIFY(s.dir.isValid());
        for (const char *program : {"mousecfg", "mousecfg-cli"})
            QVERIFY(::link(qPrintable(kBuild + QLatin1Char('/') + QLatin1String(program)),
                           qPrintable(s.file(QLatin1String(program)))) == 0);
        QVERIFY(QFile::copy(kBuild + QStringLiteral("/DefaultProfile.bin"),
                            s.file(QStringLiteral("DefaultProfile.bin"))));
        QVERIFY(QDir().mkpath(s.file(QStringLiteral("Configs"))));
        QVERIFY(QFile::copy(QStringLiteral(MOUSECFG_SOURCE_DIR "/data/Configs/Config.ini"),
                            s.file(QStringLiteral("Configs/Config.ini"))));
        QVERIFY(::mkfifo(qPrintable(s.file(QStringLiteral("commands"))), 0600) == 0);
        // Opened for reading and writing: never blocks, and the shell's loop ends when the
        // test closes it.
        s.commands = ::open(qPrintable(s.file(QStringLiteral("commands"))), O_RDWR | O_CLOEXEC);
        QVERIFY(s.commands >= 0);
        const QString runner =
            QStringLiteral("%1 while read -r n line; do t=$(date +%s%N); "
                           "(eval \"$line\") > out.$n 2> err.$n; r=$?; "
                           "echo $(( ($(date +%s%N) - t) / 1000000 )) > ms.$n; "
                           "echo $r > r.$n; mv r.$n rc.$n; done < commands; %2")
                .arg(window ? QStringLiteral("./mousecfg > app.log 2>&1 &") : QString(),
                     window ? QStringLiteral("kill $!; wait") : QString());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        env.insert(QStringLiteral("XDG_STATE_HOME"), s.file(QStringLiteral("state")));
        env.remove(QStringLiteral("DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        s.launcher.setWorkingDirectory(s.dir.path());
        s.launcher.setProcessEnvironment(env);
        s.launcher.start(QStringLiteral(VIRTUAL_MOUSE),
                         {QStringLiteral("--control"), s.file(QStringLiteral("control")),
                          QStringLiteral("--dump"), s.file(QStringLiteral("dump")),
                          QStringLiteral("--"), QStringLiteral("/bin/sh"), QStringLiteral("-c"),
                          runner});
        QVERIFY(s.launcher.waitForStarted(5000));
        if (window) {
            QTRY_VERIFY2_WITH_TIMEOUT(QFileInfo::exists(requestSocketPath(QStringLiteral("TOLV"))),
                                      qPrintable(s.read(QStringLiteral("app.log"))), 30000);
        }
    }

    // Runs a shell line in the session; "cli" stands for the command line program.
    Run sh(Session &s, QString line) {
        const QString n = QString::number(s.next++);
        line.replace(QLatin1String("cli "), QLatin1String("./mousecfg-cli "));
        const QByteArray bytes = (n + QLatin1Char(' ') + line + QLatin1Char('\n')).toUtf8();
        Run run;
        if (::write(s.commands, bytes.constData(), size_t(bytes.size())) != bytes.size())
            return run;
        QElapsedTimer clock;
        clock.start();
        while (!QFileInfo::exists(s.file(QStringLiteral("rc.") + n)) && clock.elapsed() < 60000)
            QTest::qWait(10);
        bool finished = false; // a line still running after the minute has no status
        const int status = s.read(QStringLiteral("rc.") + n).trimmed().toInt(&finished);
        run.status = finished ? status : -1;
        run.out = s.read(QStringLiteral("out.") + n);
        run.err = s.read(QStringLiteral("err.") + n);
        run.ms = s.read(QStringLiteral("ms.") + n).trimmed().toInt();
        qInfo("%5d ms  exit %d  %s", run.ms, run.status, qPrintable(line));
        return run;
    }

    void control(Session &s, const QString &line) {
        QVERIFY(controlMouse(s.file(QStringLiteral("control")), line));
    }

    // The mouse's tables now, while the session runs.
    QString mouseTables(Session &s) {
        return mouseDump(s.file(QStringLiteral("control")), s.file(QStringLiteral("dump")));
    }

    // The status queries the mouse answered so far, on both links.
    int statusQueries(Session &s) {
        const QString dump = mouseTables(s);
        return linkTraffic(dump, QStringLiteral("receiver")).queries +
               linkTraffic(dump, QStringLiteral("cable")).queries;
    }

    // The mouse's tables at the end of the session.
    QString stop(Session &s) {
        ::close(s.commands);
        s.commands = -1;
        s.launcher.waitForFinished(30000);
        return s.read(QStringLiteral("dump"));
    }

    // Files made for the import checks: another model's profile, and one named ".prof".
    void writeProfileFiles(Session &s) {
        QSettings(s.file(QStringLiteral("other.prof")), QSettings::IniFormat)
            .setValue(QStringLiteral("MouseName/Name"), QStringLiteral("OTHER"));
        writeProfile(0, ProfileData(), s.file(QStringLiteral(".prof")));
        writeModelName(s.file(QStringLiteral(".prof")), QStringLiteral("TOLV"));
    }

    // Files that are no whole profile or configuration file of this model are refused with
    // what is wrong with them, and the configuration folder stays as it was to the byte (which
    // only the command line on its own can show: the window keeps its state as it runs).
    void checkBadFiles(Session &s, bool folderUnchanged) {
        QCOMPARE(sh(s, QStringLiteral("cli export whole.conf")).status, 0);
        QCOMPARE(sh(s, QStringLiteral("cli export whole.prof")).status, 0);
        const qint64 confSize = QFileInfo(s.file(QStringLiteral("whole.conf"))).size();
        writeCut(s.file(QStringLiteral("whole.conf")), s.file(QStringLiteral("cut.conf")),
                 confSize * 9 / 10);
        writeCut(s.file(QStringLiteral("whole.conf")), s.file(QStringLiteral("lastline.conf")),
                 confSize - 2);
        writeCut(s.file(QStringLiteral("whole.conf")), s.file(QStringLiteral("head.conf")), 100);
        writeCut(s.file(QStringLiteral("whole.prof")), s.file(QStringLiteral("cut.prof")),
                 QFileInfo(s.file(QStringLiteral("whole.prof"))).size() / 100);
        QVERIFY(
            QFile::copy(s.file(QStringLiteral("whole.conf")), s.file(QStringLiteral("whole.txt"))));
        QFile big(s.file(QStringLiteral("big.conf")));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(200 * 1024 * 1024)); // sparse
        big.close();
        QVERIFY(QDir().mkpath(s.file(QStringLiteral("folder.conf"))));
        s.write(QStringLiteral("notes.prof"), "Shopping list\n[eggs]\ncount=12\n");

        const std::pair<const char *, const char *> refusals[] = {
            {"cut.conf", "The file is incomplete (cut short or damaged); nothing was imported."},
            {"lastline.conf",
             "The file is incomplete (cut short or damaged); nothing was imported."},
            {"head.conf", "The file is incomplete (cut short or damaged); nothing was imported."},
            {"cut.prof", "The file is incomplete (cut short or damaged); nothing was imported."},
            {"big.conf", "The file is too large to be a profile or configuration file."},
            {"folder.conf", "This is a folder, not a file."},
            {"missing.conf", "The file does not exist."},
            {"whole.txt",
             "Only profile files (.prof) and configuration files (.conf) can be imported."},
            {"notes.prof", "The file is not a profile or configuration file."}};
        const QString configs = s.file(QStringLiteral("Configs"));
        const QMap<QString, QByteArray> before = filesBelow(configs);
        for (const auto &refusal : refusals) {
            const Run r = sh(s, QStringLiteral("cli import ") + QLatin1String(refusal.first));
            QCOMPARE(r.status, 1);
            QCOMPARE(r.err, QStringLiteral("mousecfg-cli: %1\n").arg(refusal.second));
            if (folderUnchanged)
                QVERIFY2(filesBelow(configs) == before, refusal.first);
        }
        // Files without the keys that not every file of ours has are taken: a configuration
        // without slot names, a profile without the lighting keys of profile files.
        QVERIFY(
            QFile::copy(s.file(QStringLiteral("whole.conf")), s.file(QStringLiteral("old.conf"))));
        QVERIFY(QFile::copy(s.file(QStringLiteral("whole.prof")),
                            s.file(QStringLiteral("Older.prof"))));
        QSettings old(s.file(QStringLiteral("old.conf")), QSettings::IniFormat);
        for (int i = 1; i <= kProfileCount; ++i)
            old.remove(QStringLiteral("Config/Profile%1").arg(i));
        old.sync();
        QSettings older(s.file(QStringLiteral("Older.prof")), QSettings::IniFormat);
        older.remove(QStringLiteral("PROFILE/LedMoveOFF"));
        older.remove(QStringLiteral("PROFILE/LedSleepTime"));
        older.sync();
        QCOMPARE(sh(s, QStringLiteral("cli import old.conf")).status, 0);
        QCOMPARE(sh(s, QStringLiteral("cli import Older.prof")).status, 0);
    }

    // The checks both ways share: refusals with the window's messages and exit status 1.
    void checkRefusals(Session &s) {
        writeProfileFiles(s);
        Run r = sh(s, QStringLiteral("cli import other.prof"));
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(QLatin1String("The file is not match current mouse!")),
                 qPrintable(r.err));
        r = sh(s, QStringLiteral("cli apply .prof"));
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(QLatin1String("cannot be used")), qPrintable(r.err));
        QCOMPARE(sh(s, QStringLiteral("cli dpi 7")).status, 1); // the model shows six stages
        QCOMPARE(sh(s, QStringLiteral("cli import missing.conf")).status, 1);
        QCOMPARE(sh(s, QStringLiteral("cli export mine.prof")).status, 0);
        QVERIFY(QFile::rename(s.file(QStringLiteral("mine.prof")),
                              s.file(QStringLiteral("Mine.prof"))));
        QCOMPARE(sh(s, QStringLiteral("cli import Mine.prof")).status, 0);
        QCOMPARE(sh(s, QStringLiteral("cli import Mine.prof")).err.trimmed(),
                 QStringLiteral("mousecfg-cli: Profile Exist!"));
        QCOMPARE(sh(s, QStringLiteral("cli export all.conf")).status, 0);
        QCOMPARE(sh(s, QStringLiteral("cli apply all.conf")).status, 0);
        // The name a profile takes is its file's: a line break in it is refused.
        QVERIFY(QFile::copy(s.file(QStringLiteral("Mine.prof")),
                            s.file(QStringLiteral("two\nlines.prof"))));
        r = sh(s, QStringLiteral("cli import \"$(printf 'two\\nlines.prof')\""));
        QCOMPARE(r.err, QStringLiteral("mousecfg-cli: This name cannot be used for a profile.\n"));
        // An export names the kinds it writes, and makes no folder.
        r = sh(s, QStringLiteral("cli export x.txt"));
        QCOMPARE(r.err, QStringLiteral("mousecfg-cli: Only profile files (.prof) and configuration "
                                       "files (.conf) can be exported.\n"));
        r = sh(s, QStringLiteral("cli export nodir/x.prof"));
        QCOMPARE(r.status, 1);
        QCOMPARE(r.err, QStringLiteral("mousecfg-cli: The folder %1 does not exist.\n")
                            .arg(s.file(QStringLiteral("nodir"))));
        // Nor does it write over a folder of the file's name.
        QVERIFY(QDir().mkpath(s.file(QStringLiteral("kept.conf"))));
        r = sh(s, QStringLiteral("cli export kept.conf"));
        QCOMPARE(r.err, QStringLiteral("mousecfg-cli: This is a folder, not a file.\n"));
        // A name ending in a slash is a folder's, never the file before it.
        r = sh(s, QStringLiteral("cli export slash.prof/; cli import Mine.prof/"));
        QCOMPARE(r.status, 1);
        QVERIFY2(!QFileInfo::exists(s.file(QStringLiteral("slash.prof"))), qPrintable(r.err));
        QCOMPARE(r.err.count(QLatin1String("mousecfg-cli: ")), 2);
    }

    // Three hours of discharge on the receiver, read by a status every half hour of a clock of
    // the test: the readings go into the model's history, and the last status tells the time
    // left from them (40 mV an hour from 3900 mV: 3780 mV at the end, 24.5 h from empty).
    void checkTimeLeft(Session &s) {
        control(s, QStringLiteral("unplug cable"));
        const qint64 start = QDateTime::currentMSecsSinceEpoch() + 24 * 3600 * 1000;
        QJsonObject status;
        for (int i = 0; i <= 6; ++i) {
            control(s, QStringLiteral("battery %1 0").arg(3900 - 20 * i));
            status = sh(s, QStringLiteral("MOUSECFG_TEST_CLOCK_MS=%1 cli status --json")
                               .arg(start + i * 30 * 60 * 1000))
                         .json();
        }
        // A run a minute after the last, as a status bar polls, tells the time left but keeps
        // no reading.
        control(s, QStringLiteral("battery 3760 0"));
        status = sh(s, QStringLiteral("MOUSECFG_TEST_CLOCK_MS=%1 cli status --json")
                           .arg(start + 6 * 30 * 60 * 1000 + 60 * 1000))
                     .json();
        const double hoursLeft = status.value(QStringLiteral("hoursLeft")).toDouble(-1);
        QVERIFY2(qAbs(hoursLeft - 24.5) <= 2.45, qPrintable(QString::number(hoursLeft)));
        const QStringList lines =
            s.read(QStringLiteral("state/mousecfg/TOLV.battery")).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(std::count_if(lines.cbegin(), lines.cend(),
                               [start](const QString &line) {
                                   return line.section(QLatin1Char(' '), 0, 0).toLongLong() >=
                                          start;
                               }),
                 7);
    }

    // No mouse at all: an empty list, which is no failure, and a status with no link (2).
    void checkNoMouse(Session &s) {
        control(s, QStringLiteral("unplug receiver"));
        control(s, QStringLiteral("unplug cable"));
        QTRY_COMPARE_WITH_TIMEOUT(sh(s, QStringLiteral("cli list; cli list --json; echo $?")).out,
                                  QStringLiteral("[]\n0\n"), 5000);
        const Run r = sh(s, QStringLiteral("cli status --json"));
        QCOMPARE(r.err, QStringLiteral("mousecfg-cli: No mouse is connected.\n"));
        QVERIFY2(r.status == 2 &&
                     r.json().value(QStringLiteral("link")) == QStringLiteral("none") &&
                     r.json().value(QStringLiteral("battery")).isNull(),
                 qPrintable(r.out));
        QVERIFY(
            sh(s, QStringLiteral("cli status")).out.contains(QLatin1String("Connection:  none")));
        // What is kept on this computer is exported and imported without the mouse.
        QCOMPARE(
            sh(s, QStringLiteral("cli export nomouse.conf && cli import nomouse.conf; echo $?"))
                .out,
            QStringLiteral("0\n"));
    }

    // A sleeping mouse: status tells so, and a command that sends is refused with 2.
    void checkSleepingMouse(Session &s) {
        control(s, QStringLiteral("sleep"));
        QTRY_VERIFY_WITH_TIMEOUT(sh(s, QStringLiteral("cli status --json"))
                                     .json()
                                     .value(QStringLiteral("asleep"))
                                     .toBool(),
                                 5000);
        const Run r = sh(s, QStringLiteral("cli profile 4"));
        QCOMPARE(r.status, 2);
        QVERIFY(r.err.contains(QLatin1String("Mouse is sleeping or not connected.")));
        // Woken with no report heard: the mouse is asked again before a command is refused.
        control(s, QStringLiteral("wake quietly"));
        QCOMPARE(sh(s, QStringLiteral("cli apply")).status, 0);
        control(s, QStringLiteral("wake"));
        QTRY_COMPARE_WITH_TIMEOUT(sh(s, QStringLiteral("cli status")).status, 0, 5000);
    }

    // status --follow --json: a line at once, then exactly one per change (a DPI stage made
    // with stageChange, a report rate changed on the mouse, a battery level step), none for
    // millivolts within a step; SIGTERM
    // ends it with 0, and so, at once, does its reader going away.
    void checkFollow(Session &s, const QString &stageChange, int stage) {
        control(s, QStringLiteral("battery 3950 1"));
        QTRY_COMPARE_WITH_TIMEOUT(
            sh(s, QStringLiteral("cli status --json")).json().value(QStringLiteral("battery")),
            QJsonValue(70), 5000);
        const int queriesBefore = statusQueries(s);
        sh(s, QStringLiteral("(sh -c 'echo $$ > follow.pid; exec cli status --follow --json' "
                             "> follow.out 2>&1; echo $? > follow.rc) &"));
        const auto lines = [&s] {
            return s.read(QStringLiteral("follow.out")).split('\n', Qt::SkipEmptyParts);
        };
        const auto last = [&lines] {
            return QJsonDocument::fromJson(lines().value(lines().size() - 1).toUtf8()).object();
        };
        QTRY_COMPARE_WITH_TIMEOUT(lines().size(), 1, 10000);
        control(s, QStringLiteral("battery 3960 1"));
        sh(s, stageChange);
        QTRY_COMPARE_WITH_TIMEOUT(last().value(QStringLiteral("dpiStage")).toInt(), stage, 5000);
        control(s, QStringLiteral("rate 2"));
        QTRY_COMPARE_WITH_TIMEOUT(last().value(QStringLiteral("reportRate")).toInt(), 500, 5000);
        control(s, QStringLiteral("battery 3700 0"));
        QTRY_COMPARE_WITH_TIMEOUT(last().value(QStringLiteral("battery")).toInt(), 50, 5000);
        QTest::qWait(1000);
        QCOMPARE(lines().size(), 4);
        sh(s, QStringLiteral("kill $(cat follow.pid) && rm follow.pid"));
        QTRY_COMPARE_WITH_TIMEOUT(s.read(QStringLiteral("follow.rc")), QStringLiteral("0\n"), 5000);
        QCOMPARE(lines().size(), 4);
        // Seconds of looks asked for the battery once at most (as the window does, about every
        // 25 s); the battery step came in the mouse's own report.
        const int asked = statusQueries(s) - queriesBefore;
        QVERIFY2(asked <= 1, qPrintable(QString::number(asked)));
        const Run r = sh(s, QStringLiteral("{ timeout 10 cli status --follow --json; echo $? > "
                                           "gone.rc; } | head -n 1"));
        QCOMPARE(r.out.count('\n'), 1);
        // Ended by the reader's going (0), not by the timeout (124).
        QCOMPARE(s.read(QStringLiteral("gone.rc")), QStringLiteral("0\n"));
    }

private slots:
    void initTestCase() { usePrivateRuntime(m_runtime); }

    void commandsWithoutTheWindow() {
        Session s;
        start(s, false);
        if (QTest::currentTestFailed())
            return;
        Run r = sh(s, QStringLiteral("cli list"));
        QCOMPARE(r.status, 0);
        QVERIFY2(r.out.contains(QLatin1String("TOLV\tcable\t0902\t/dev/hidraw")),
                 qPrintable(r.out));
        QVERIFY(r.out.contains(QLatin1String("TOLV\treceiver\t")));
        control(s, QStringLiteral("battery 3950 1"));
        r = sh(s, QStringLiteral("cli status --json"));
        QCOMPARE(r.status, 0);
        QCOMPARE(r.err, QString());
        const QJsonObject status = r.json();
        QVERIFY2(qAbs(status.value(QStringLiteral("millivolts")).toInt() - 3950) <= 5,
                 qPrintable(r.out));
        QCOMPARE(status.value(QStringLiteral("battery")).toInt(), 70);
        QCOMPARE(status.value(QStringLiteral("charging")).toBool(), true);
        QCOMPARE(status.value(QStringLiteral("link")).toString(), QStringLiteral("cable"));
        QCOMPARE(sh(s, QStringLiteral("cli profile 3")).status, 0);
        // A stage changed with the mouse's button is heard between the follower's looks and
        // saved, as the window saves it.
        checkFollow(s, QStringLiteral("echo 'dpi 3' > control"), 4);
        QCOMPARE(
            sh(s, QStringLiteral("cli status --json")).json().value(QStringLiteral("dpi")).toInt(),
            3200);
        QCOMPARE(sh(s, QStringLiteral("cli dpi 2")).status, 0);
        QCOMPARE(sh(s, QStringLiteral("cli profile 9")).status, 1);
        QVERIFY(
            sh(s, QStringLiteral("cli dpi -2"))
                .err.startsWith(QLatin1String("mousecfg-cli: dpi needs a number from 1 to 8.")));
        // Output that cannot be written (a full disk) is no success, nor is a slot that cannot
        // be saved (its settings' lock is taken by a folder): refused, with only our message.
        QCOMPARE(sh(s, QStringLiteral("cli status --json > /dev/full")).status, 1);
        QCOMPARE(sh(s, QStringLiteral("cli status --follow > /dev/full")).status, 1);
        // Nor does a reader that takes nothing (its pipe full) keep SIGTERM from ending it.
        QVERIFY(::mkfifo(qPrintable(s.file(QStringLiteral("full"))), 0600) == 0);
        const int full = ::open(qPrintable(s.file(QStringLiteral("full"))), O_RDWR | O_NONBLOCK);
        QVERIFY(full >= 0);
        while (::write(full, "x", 1) == 1) {
        }
        const int queried = statusQueries(s);
        sh(s, QStringLiteral("(sh -c 'echo $$ > follow.pid; exec cli status --follow' > full; "
                             "echo $? > full.rc) &"));
        QTRY_VERIFY_WITH_TIMEOUT(statusQueries(s) > queried, 10000); // its first look
        sh(s, QStringLiteral("kill $(cat follow.pid) && rm follow.pid"));
        const bool ended =
            QTest::qWaitFor([&s] { return !s.read(QStringLiteral("full.rc")).isEmpty(); }, 5000);
        ::close(full); // one still waiting to write ends now, its reader gone
        QVERIFY(ended && s.read(QStringLiteral("full.rc")) == QStringLiteral("0\n"));
        QVERIFY(QDir().mkpath(s.file(QStringLiteral("Configs/Config.ini.flock"))));
        r = sh(s, QStringLiteral("cli profile 2"));
        QCOMPARE(r.err, QStringLiteral("mousecfg-cli: The profile file could not be written.\n"));
        QCOMPARE(sh(s, QStringLiteral("cli apply --all")).err, r.err);
        QVERIFY(r.status == 1 && QDir().rmdir(s.file(QStringLiteral("Configs/Config.ini.flock"))));
        for (const char *twice : {"cli apply --all --all", "cli --json status --json"})
            QVERIFY2(sh(s, QLatin1String(twice)).err.contains(QLatin1String("given twice")), twice);
        // --verbose adds the layers' debug lines, which the user's own rules still switch off.
        const QRegularExpression deviceLine(QStringLiteral("^mousecfg\\.device: "),
                                            QRegularExpression::MultilineOption);
        r = sh(s, QStringLiteral("cli --verbose status"));
        QVERIFY2(r.status == 0 && r.err.contains(deviceLine), qPrintable(r.err));
        r = sh(s,
               QStringLiteral("QT_LOGGING_RULES=mousecfg.device.debug=false cli --verbose status"));
        QVERIFY2(r.status == 0 && !r.err.contains(deviceLine), qPrintable(r.err));
        checkRefusals(s);
        checkBadFiles(s, true);
        checkSleepingMouse(s);
        // A mouse that answers each command with another's report is given up on after a few
        // writes, as one that does not answer is.
        control(s, QStringLiteral("answer wrong-header"));
        QCOMPARE(sh(s, QStringLiteral("cli apply --all")).status, 2);
        control(s, QStringLiteral("answer ok"));
        // Command lines at once take turns: every download gets through whole.
        r = sh(s, QStringLiteral("for i in 1 2 3; do (cli apply --all; echo $?) & done; wait"));
        QCOMPARE(r.out.split('\n', Qt::SkipEmptyParts),
                 (QStringList{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")}));
        checkTimeLeft(s);
        // In a few words the link is left out: the cable pulled makes no line, a stage does.
        control(s, QStringLiteral("plug cable"));
        sh(s, QStringLiteral("(sh -c 'echo $$ > follow.pid; exec cli status --follow' > words.out "
                             "2>&1 &)"));
        QTRY_COMPARE_WITH_TIMEOUT(s.read(QStringLiteral("words.out")).count('\n'), 1, 10000);
        control(s, QStringLiteral("unplug cable"));
        QTRY_VERIFY_WITH_TIMEOUT(
            sh(s, QStringLiteral("cli status")).out.contains(QLatin1String(":  receiver")), 10000);
        sh(s, QStringLiteral("cli dpi 1"));
        QTRY_VERIFY_WITH_TIMEOUT(
            s.read(QStringLiteral("words.out")).contains(QLatin1String("DPI 400")), 10000);
        const QString words = s.read(QStringLiteral("words.out"));
        QVERIFY2(words.count('\n') == 2, qPrintable(words));
        sh(s, QStringLiteral("kill $(cat follow.pid) && rm follow.pid; cli dpi 4"));
        checkNoMouse(s);
        const QString dump = stop(s);
        // The mouse holds slot 3 active, with stage 4 (byte 17 of the settings table).
        QVERIFY2(dump.contains(QLatin1String("profile 2\n")), qPrintable(dump));
        QCOMPARE(dump.section(QLatin1String("settings "), 1).mid(17 * 2, 2), QStringLiteral("03"));
    }

    void commandsGoThroughTheRunningWindow() {
        Session s;
        start(s, true);
        if (QTest::currentTestFailed())
            return;
        // The socket is the user's alone.
        const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        QCOMPARE(QFileInfo(requestSocketPath(QStringLiteral("TOLV"))).permissions() & others,
                 QFile::Permissions());
        QTRY_COMPARE_WITH_TIMEOUT(sh(s, QStringLiteral("cli status")).status, 0, 10000);
        QVERIFY(sh(s, QStringLiteral("cli list")).out.contains(QLatin1String("TOLV\tcable")));
        QCOMPARE(sh(s, QStringLiteral("cli profile 2")).status, 0);
        QCOMPARE(sh(s, QStringLiteral("cli dpi 3")).status, 0);
        // A send or a slot whose settings cannot be stored first is no success.
        QVERIFY(QDir().mkpath(s.file(QStringLiteral("Configs/Config.ini.flock"))));
        QCOMPARE(sh(s, QStringLiteral("cli apply --all")).status, 1);
        QCOMPARE(sh(s, QStringLiteral("cli profile 1")).err,
                 QStringLiteral("mousecfg-cli: The profile file could not be written.\n"));
        QVERIFY(QDir().rmdir(s.file(QStringLiteral("Configs/Config.ini.flock"))));
        // The window sent both: slot 2 active, with stage 3 (byte 17 of the settings table).
        const QString tables = mouseTables(s);
        QVERIFY2(tables.contains(QLatin1String("profile 1\n")), qPrintable(tables));
        QCOMPARE(tables.section(QLatin1String("settings "), 1).mid(17 * 2, 2),
                 QStringLiteral("02"));
        // A stage changed on the mouse reaches the window, and so the command line.
        control(s, QStringLiteral("dpi 4"));
        QTRY_COMPARE_WITH_TIMEOUT(sh(s, QStringLiteral("cli status --json"))
                                      .json()
                                      .value(QStringLiteral("dpiStage"))
                                      .toInt(),
                                  5, 10000);
        checkFollow(s, QStringLiteral("echo 'dpi 1' > control"), 2);
        checkRefusals(s);
        checkBadFiles(s, false);
        checkSleepingMouse(s);
        // A status poll beside two commands: all answered, one after the other.
        const Run r = sh(s, QStringLiteral("(cli profile 1; echo $?) & (cli dpi 2; echo $?) & "
                                           "(cli status >/dev/null; echo $?) & wait"));
        QCOMPARE(r.out.split('\n', Qt::SkipEmptyParts),
                 (QStringList{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")}));
        checkNoMouse(s);
        const QString dump = stop(s);
        QVERIFY2(dump.contains(QLatin1String("profile 0\n")), qPrintable(dump));
        QCOMPARE(dump.section(QLatin1String("settings "), 1).mid(17 * 2, 2), QStringLiteral("01"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
