// SPDX-License-Identifier: GPL-3.0-or-later
// The installation: "cmake --install" into a temporary prefix, the layout a package would
// have, the validators of the menu entry and the metainfo, and the installed program run
// from the read-only prefix on its own X server with the virtual mouse: its data from
// share/, its state in the user's configuration folder, its OSD from the helper folder,
// and a plain word to the user when the mouse's nodes may not be opened.
//
// As root, a read-only file is no obstacle; the program then runs without the two
// capabilities that let root ignore file permissions, so the prefix and a node of mode 000
// refuse it as they refuse any user.
#include "AppDir.h"
#include "ModelDescriptor.h"
#include "MouseControl.h"
#include "PrivateXServer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString kBuild = QStringLiteral(BUILD_DIR);
const QString kAppId = QStringLiteral(APP_ID);
// How long a step of the program may take: a sanitizer build that unwinds every allocation,
// on a machine busy with other tests, starts in tens of seconds.
constexpr int kSlow = 60000;

struct Result {
    int code = -1;
    QString output; // standard output and error together
};

Result run(const QString &program, const QStringList &args,
           const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(120000))
        p.kill();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAll()).trimmed()};
}

// Every file and folder under dir, relative to it.
QStringList tree(const QString &dir) {
    QStringList entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(dir).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

QString readText(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}
} // namespace

class TestInstall : public QObject {
    Q_OBJECT

    QTemporaryDir m_prefix{kBuild + QStringLiteral("/tests/install-prefix-XXXXXX")};
    PrivateXServer m_xvfb{kBuild + QStringLiteral("/tests/install-runtime-XXXXXX")};

    QString installed(const QString &relative) const { return m_prefix.filePath(relative); }
    QString dataDir() const { return installed(QStringLiteral(DATADIR)); }

    // One run of the installed program under the launcher, with a configuration folder of
    // its own, which also holds the launcher's control FIFO and the mouse's dump. Neither the
    // program nor an OSD it started may outlive a failed check.
    struct Run {
        QTemporaryDir config{kBuild + QStringLiteral("/tests/install-config-XXXXXX")};
        QString fifo = config.filePath(QStringLiteral("control"));
        QString dump = config.filePath(QStringLiteral("dump"));
        QProcessEnvironment env;
        QProcess process;
        pid_t osd = 0;
        ~Run() { end(); }
        void end() {
            endProcess(process);
            if (osd > 0)
                ::kill(osd, SIGTERM);
            osd = 0;
        }
        QString log() const { return readText(config.filePath(QStringLiteral("app.log"))); }
        // What has reached the mouse on a link so far.
        LinkTraffic traffic(const QString &link) const {
            return linkTraffic(mouseDump(fifo, dump), link);
        }
    };

    // As root, the program runs without the capabilities that override file permissions.
    void start(Run &app, const QStringList &options) {
        QVERIFY(app.config.isValid());
        app.env = m_xvfb.programEnvironment();
        app.env.insert(QStringLiteral("XDG_CONFIG_HOME"), app.config.path());
        QVERIFY(::mkfifo(qPrintable(app.fifo), 0600) == 0);
        QStringList command = options;
        command << QStringLiteral("--control") << app.fifo << QStringLiteral("--dump") << app.dump
                << QStringLiteral("--");
        if (getuid() == 0) {
            const QString caps = QStringLiteral("-dac_override,-dac_read_search");
            command << QStringLiteral("setpriv") << QStringLiteral("--bounding-set") << caps
                    << QStringLiteral("--inh-caps") << caps << QStringLiteral("--");
        }
        command << QStringLiteral("/bin/sh") << QStringLiteral("-c")
                << QStringLiteral("exec \"$0\" > app.log 2>&1")
                << installed(QStringLiteral(BINDIR "/mousecfg"));
        app.process.setProcessEnvironment(app.env);
        app.process.setWorkingDirectory(app.config.path());
        app.process.start(QStringLiteral(VIRTUAL_MOUSE), command);
        QVERIFY(app.process.waitForStarted(5000));
    }

    void setPrefixWritable(bool writable) {
        const Result chmod =
            run(QStringLiteral("chmod"),
                {QStringLiteral("-R"), writable ? QStringLiteral("u+w") : QStringLiteral("a-w"),
                 m_prefix.path()});
        QVERIFY2(chmod.code == 0, qPrintable(chmod.output));
    }

private slots:
    void initTestCase() {
        for (const char *tool : {"Xvfb", "xdotool", "desktop-file-validate", "appstreamcli"}) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QFAIL(qPrintable(QStringLiteral("%1 is needed (scripts/setup.sh installs it)")
                                     .arg(QLatin1String(tool))));
        }
        QVERIFY(m_prefix.isValid());
        const Result install =
            run(QStringLiteral(CMAKE_COMMAND_PATH),
                {QStringLiteral("--install"), kBuild, QStringLiteral("--prefix"), m_prefix.path()});
        QVERIFY2(install.code == 0, qPrintable(install.output));

        QVERIFY(m_xvfb.start());
    }

    void cleanupTestCase() {
        setPrefixWritable(true);
        m_xvfb.stop();
    }

    void layoutAndValidators() {
        // The programs: the window and the command line, and the OSD with the helpers,
        // nothing more.
        QCOMPARE(QDir(installed(QStringLiteral(BINDIR))).entryList(QDir::Files),
                 (QStringList{QStringLiteral("mousecfg"), QStringLiteral("mousecfg-cli")}));
        QVERIFY(QFileInfo(installed(QStringLiteral(BINDIR "/mousecfg"))).isExecutable());
        QVERIFY(QFileInfo(installed(QStringLiteral(BINDIR "/mousecfg-cli"))).isExecutable());
        QVERIFY(QFileInfo(installed(QStringLiteral(HELPERDIR "/OSD"))).isExecutable());

        // The read-only data: descriptor, shipped settings, translations, every skin picture.
        for (const char *file :
             {"DefaultProfile.bin", "Configs/Config.ini", "Configs/LangConfig.ini", "lang/en.qm",
              "lang/sc.qm", "lang/tc.qm"})
            QVERIFY2(QFileInfo(dataDir() + QLatin1Char('/') + QLatin1String(file)).isFile(), file);
        const QStringList skin = tree(kBuild + QStringLiteral("/skin"));
        QVERIFY(skin.contains(QStringLiteral("cfgMainback.png")));
        QCOMPARE(tree(dataDir() + QStringLiteral("/skin")), skin);

        // The menu entry, its icon in the theme and the metainfo, each clean for its validator.
        const QString desktop =
            installed(QStringLiteral(DATAROOTDIR "/applications/") + kAppId + ".desktop");
        const Result desktopCheck = run(QStringLiteral("desktop-file-validate"), {desktop});
        QVERIFY2(desktopCheck.code == 0 && desktopCheck.output.isEmpty(),
                 qPrintable(desktopCheck.output));
        QVERIFY(readText(desktop).contains(QStringLiteral("\nIcon=") + kAppId + '\n'));
        const QString icons = installed(QStringLiteral(DATAROOTDIR "/icons/hicolor/"));
        QVERIFY(QFileInfo::exists(icons + "scalable/apps/" + kAppId + ".svg"));
        QVERIFY(QFileInfo::exists(icons + "48x48/apps/" + kAppId + ".png"));
        const QString metainfo =
            installed(QStringLiteral(DATAROOTDIR "/metainfo/") + kAppId + ".metainfo.xml");
        const Result metaCheck = run(QStringLiteral("appstreamcli"),
                                     {QStringLiteral("validate"), QStringLiteral("--pedantic"),
                                      QStringLiteral("--no-net"), metainfo});
        // Not even a pedantic remark: any issue line starts with its letter and a colon.
        static const QRegularExpression issue(QStringLiteral("^[EWIP]: "),
                                              QRegularExpression::MultilineOption);
        QVERIFY2(metaCheck.code == 0 && !metaCheck.output.contains(issue),
                 qPrintable(metaCheck.output));
        QVERIFY(readText(metainfo).contains(QLatin1String("<screenshot type=\"default\">")));

        // One version everywhere: both programs, the manual page and the release list.
        const QString version = QStringLiteral(PROJECT_VERSION);
        for (const char *program : {"mousecfg", "mousecfg-cli"}) {
            const Result shown =
                run(installed(QStringLiteral(BINDIR "/") + program), {QStringLiteral("--version")});
            QCOMPARE(shown.output.trimmed(), QLatin1String(program) + ' ' + version);
        }
        for (const char *page : {"/man1/mousecfg.1", "/man1/mousecfg-cli.1"})
            QVERIFY(readText(installed(QStringLiteral(MANDIR) + page))
                        .contains(QStringLiteral("\"mousecfg %1\"").arg(version)));
        QVERIFY(
            readText(metainfo).contains(QStringLiteral("<release version=\"%1\"").arg(version)));

        // The udev rule: the uaccess tag on the hidraw nodes of both of the model's USB
        // identities, ids in lowercase as sysfs shows them.
        AppDir::setPath(dataDir(), true);
        int vid1 = 0, pid1 = 0, vid2 = 0, pid2 = 0;
        readUsbIds(vid1, pid1, vid2, pid2);
        QStringList rules = readText(installed(QStringLiteral(UDEVRULESDIR "/" UDEV_RULE)))
                                .split('\n', Qt::SkipEmptyParts);
        rules.erase(std::remove_if(rules.begin(), rules.end(),
                                   [](const QString &line) { return line.startsWith('#'); }),
                    rules.end());
        const auto rule = [](int vid, int pid) {
            return QStringLiteral("SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%1\", "
                                  "ATTRS{idProduct}==\"%2\", TAG+=\"uaccess\"")
                .arg(vid, 4, 16, QLatin1Char('0'))
                .arg(pid, 4, 16, QLatin1Char('0'));
        };
        QCOMPARE(rules, (QStringList{rule(vid1, pid1), rule(vid2, pid2)}));
    }

    // The installed program from a prefix it may not write: the window with the model's
    // name, the mouse talked to, state copied into and written in the user's folder, the
    // OSD started from the helper folder, and nothing new under the prefix.
    void runsFromAReadOnlyPrefix() {
        Run app;
        setPrefixWritable(false);
        const QStringList before = tree(m_prefix.path());

        start(app, {QStringLiteral("--cable")});
        QTRY_VERIFY2_WITH_TIMEOUT(!m_xvfb.windowsNamed(QStringLiteral("TOLV")).isEmpty(),
                                  qPrintable(app.log()), kSlow);
        QTRY_VERIFY2_WITH_TIMEOUT(app.traffic(QStringLiteral("cable")).queries >= 1,
                                  qPrintable(app.log()), kSlow);
        const QString state = app.config.filePath(QStringLiteral("mousecfg/Config.ini"));
        // Copied from the shipped file, then written by the program.
        QTRY_VERIFY2_WITH_TIMEOUT(readText(state).contains(QLatin1String("Profile1=")),
                                  qPrintable(readText(state)), kSlow);
        QVERIFY(readText(state).contains(QLatin1String("LANGNUM=3")));

        // The battery is asked for, and answered, at least twice.
        QTRY_VERIFY2_WITH_TIMEOUT(app.traffic(QStringLiteral("cable")).queries >= 2,
                                  qPrintable(app.log()), kSlow);
        QVERIFY(controlMouse(app.fifo, QStringLiteral("dpi 3")));
        const QString osdTitle = QStringLiteral("TOLV Wireless Mouse OSD");
        QTRY_VERIFY2_WITH_TIMEOUT(!m_xvfb.windowsNamed(osdTitle).isEmpty(), qPrintable(app.log()),
                                  kSlow);
        const QString osdWindow = m_xvfb.windowsNamed(osdTitle).split('\n').first();
        app.osd = pid_t(
            run(QStringLiteral("xdotool"), {QStringLiteral("getwindowpid"), osdWindow}, app.env)
                .output.toInt());
        app.end();
        QCOMPARE(tree(m_prefix.path()), before);
    }

    // A mouse whose nodes this user may not open: the user is told so, instead of being told
    // that the receiver is missing. The window knows both links are there (the command line
    // lists them through it) and shows its warning over itself; nothing reaches the mouse.
    void deniedNodesAreExplained() {
        Run app;
        start(app, {QStringLiteral("--node-mode"), QStringLiteral("000")});
        QTRY_VERIFY2_WITH_TIMEOUT(!m_xvfb.windowsNamed(QStringLiteral("Warning")).isEmpty(),
                                  qPrintable(app.log()), kSlow);
        const Result list = run(installed(QStringLiteral(BINDIR "/mousecfg-cli")),
                                {QStringLiteral("list"), QStringLiteral("--json")}, app.env);
        QCOMPARE(QJsonDocument::fromJson(list.output.toUtf8()).array().size(), 2);
        QVERIFY(!m_xvfb.windowsNamed(QStringLiteral("TOLV")).isEmpty());
        const QString dump = mouseDump(app.fifo, app.dump);
        QCOMPARE(linkTraffic(dump, QStringLiteral("receiver")).commands, 0);
        QCOMPARE(linkTraffic(dump, QStringLiteral("cable")).commands, 0);
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
