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
#include "PrivateXServer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString kBuild = QStringLiteral(BUILD_DIR);
const QString kAppId = QStringLiteral(APP_ID);

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

void setWritable(const QString &dir, bool writable) {
    QStringList entries = tree(dir);
    entries << QString();
    for (const QString &entry : qAsConst(entries)) {
        const QString path = entry.isEmpty() ? dir : dir + QLatin1Char('/') + entry;
        struct stat st {};
        if (lstat(qPrintable(path), &st) != 0 || S_ISLNK(st.st_mode))
            continue;
        ::chmod(qPrintable(path), writable ? (st.st_mode | S_IWUSR) : (st.st_mode & ~0222));
    }
}

// One line of a udev rule: comma-separated KEY{attribute}OPERATOR"value" pairs, with match
// keys compared (== !=) and assignment keys assigned (= += -= :=), as udev requires.
bool validUdevLine(const QString &line, QString *why) {
    static const QRegularExpression pair(
        QStringLiteral("^\\s*([A-Z]+)(\\{[^}]+\\})?\\s*(==|!=|\\+=|-=|:=|=)\\s*\"([^\"]*)\"\\s*$"));
    static const QStringList matchKeys = {
        QStringLiteral("ACTION"),  QStringLiteral("KERNEL"),     QStringLiteral("SUBSYSTEM"),
        QStringLiteral("KERNELS"), QStringLiteral("SUBSYSTEMS"), QStringLiteral("ATTRS"),
        QStringLiteral("ATTR"),    QStringLiteral("ENV"),        QStringLiteral("TAG")};
    static const QStringList assignKeys = {QStringLiteral("TAG"), QStringLiteral("MODE"),
                                           QStringLiteral("GROUP"), QStringLiteral("ENV")};
    for (const QString &part : line.split(QLatin1Char(','))) {
        const QRegularExpressionMatch m = pair.match(part);
        const bool compares =
            m.captured(3) == QLatin1String("==") || m.captured(3) == QLatin1String("!=");
        if (!m.hasMatch() || !(compares ? matchKeys : assignKeys).contains(m.captured(1))) {
            *why = part;
            return false;
        }
    }
    return true;
}
} // namespace

class TestInstall : public QObject {
    Q_OBJECT

    QTemporaryDir m_prefix{kBuild + QStringLiteral("/tests/install-prefix-XXXXXX")};
    QTemporaryDir m_runtime{kBuild + QStringLiteral("/tests/install-runtime-XXXXXX")};
    PrivateXServer m_xvfb;

    QString installed(const QString &relative) const { return m_prefix.filePath(relative); }
    QString dataDir() const { return installed(QStringLiteral(DATADIR)); }

    QProcessEnvironment environment(const QString &configHome) const {
        QProcessEnvironment env = m_xvfb.programEnvironment(m_runtime.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
        // The OSD's local socket lies in the temporary folder: one of the test's own.
        env.insert(QStringLiteral("TMPDIR"), m_runtime.path());
        return env;
    }

    QString windowsNamed(const QString &name, const QProcessEnvironment &env) {
        return run(QStringLiteral("xdotool"),
                   {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                    QStringLiteral("--name"), QLatin1Char('^') + name + QLatin1Char('$')},
                   env)
            .output;
    }

    // The installed program under the launcher, its output in log; as root without the
    // capabilities that override file permissions.
    void start(QProcess &process, const QStringList &options, const QString &log,
               const QProcessEnvironment &env) {
        QStringList command = options;
        command << QStringLiteral("--");
        if (getuid() == 0) {
            const QString caps = QStringLiteral("-dac_override,-dac_read_search");
            command << QStringLiteral("setpriv") << QStringLiteral("--bounding-set") << caps
                    << QStringLiteral("--inh-caps") << caps << QStringLiteral("--");
        }
        command << QStringLiteral("/bin/sh") << QStringLiteral("-c")
                << QStringLiteral("exec \"$0\" > \"$1\" 2>&1")
                << installed(QStringLiteral(BINDIR "/mousecfg")) << log;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_runtime.path());
        process.start(QStringLiteral(VIRTUAL_MOUSE), command);
        QVERIFY(process.waitForStarted(5000));
    }

    // The launcher passes a terminate on to the program; a check that fails leaves the test
    // early, and neither the program nor an OSD it started may outlive it.
    struct Running {
        QProcess process;
        pid_t osd = 0;
        ~Running() { end(); }
        void end() {
            if (process.state() != QProcess::NotRunning) {
                process.terminate();
                if (!process.waitForFinished(10000))
                    process.kill();
                process.waitForFinished(5000);
            }
            if (osd > 0)
                ::kill(osd, SIGTERM);
            osd = 0;
        }
    };

    static QString readText(const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

private slots:
    void initTestCase() {
        for (const char *tool : {"Xvfb", "xdotool", "desktop-file-validate", "appstreamcli"}) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QFAIL(qPrintable(QStringLiteral("%1 is needed (scripts/setup.sh installs it)")
                                     .arg(QLatin1String(tool))));
        }
        QVERIFY(m_prefix.isValid() && m_runtime.isValid());
        QFile::setPermissions(m_runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const Result install =
            run(QStringLiteral(CMAKE_COMMAND_PATH),
                {QStringLiteral("--install"), kBuild, QStringLiteral("--prefix"), m_prefix.path()});
        QVERIFY2(install.code == 0, qPrintable(install.output));

        QVERIFY(m_xvfb.start());
    }

    void cleanupTestCase() {
        setWritable(m_prefix.path(), true);
        m_xvfb.stop();
    }

    void layoutAndValidators() {
        // The programs: the user's command, and the OSD with the helpers, nothing more.
        QCOMPARE(QDir(installed(QStringLiteral(BINDIR))).entryList(QDir::Files),
                 QStringList{QStringLiteral("mousecfg")});
        QVERIFY(QFileInfo(installed(QStringLiteral(BINDIR "/mousecfg"))).isExecutable());
        QVERIFY(QFileInfo(installed(QStringLiteral(HELPERDIR "/OSD"))).isExecutable());

        // The read-only data: descriptor, seed, translations, and every picture of the skin.
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
        const Result metaCheck =
            run(QStringLiteral("appstreamcli"),
                {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
        QVERIFY2(metaCheck.code == 0, qPrintable(metaCheck.output));
        QVERIFY(!metaCheck.output.contains(QLatin1String("W:")));
        QVERIFY(readText(metainfo).contains(QLatin1String("<screenshot type=\"default\">")));

        // The udev rule: valid lines, the uaccess tag on hidraw nodes of both of the model's
        // identities, ids in lowercase as sysfs shows them.
        AppDir::setPath(dataDir(), true);
        int vid1 = 0, pid1 = 0, vid2 = 0, pid2 = 0;
        readUsbIds(vid1, pid1, vid2, pid2);
        QCOMPARE(AppDir::udevRulePath(), installed(QStringLiteral(UDEVRULESDIR "/" UDEV_RULE)));
        QStringList rules;
        for (const QString &line : readText(AppDir::udevRulePath()).split(QLatin1Char('\n'))) {
            QString why;
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            QVERIFY2(validUdevLine(line, &why), qPrintable(why));
            QVERIFY(line.contains(QLatin1String("SUBSYSTEM==\"hidraw\"")));
            QVERIFY(line.contains(QLatin1String("TAG+=\"uaccess\"")));
            rules << line;
        }
        const auto idsOf = [](int vid, int pid) {
            return QStringLiteral("ATTRS{idVendor}==\"%1\", ATTRS{idProduct}==\"%2\"")
                .arg(vid, 4, 16, QLatin1Char('0'))
                .arg(pid, 4, 16, QLatin1Char('0'));
        };
        QCOMPARE(rules.size(), 2);
        QVERIFY2(rules[0].contains(idsOf(vid1, pid1)), qPrintable(rules[0]));
        QVERIFY2(rules[1].contains(idsOf(vid2, pid2)), qPrintable(rules[1]));
    }

    // The installed program from a prefix it may not write: the window with the model's
    // name, the mouse talked to, state seeded into and written in the user's folder, the
    // OSD started from the helper folder, and nothing new under the prefix.
    void runsFromAReadOnlyPrefix() {
        QTemporaryDir config(kBuild + QStringLiteral("/tests/install-config-XXXXXX"));
        const QProcessEnvironment env = environment(config.path());
        const QString log = config.filePath(QStringLiteral("app.log"));
        const QString fifo = config.filePath(QStringLiteral("control"));
        QVERIFY(::mkfifo(qPrintable(fifo), 0600) == 0);
        setWritable(m_prefix.path(), false);
        const QStringList before = tree(m_prefix.path());

        Running app;
        start(app.process, {QStringLiteral("--cable"), QStringLiteral("--control"), fifo}, log,
              env);
        QTRY_VERIFY2_WITH_TIMEOUT(!windowsNamed(QStringLiteral("TOLV"), env).isEmpty(),
                                  qPrintable(readText(log)), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(
            readText(log).contains(QLatin1String("device opened, commands on cable")), 30000);
        const QString state = config.filePath(QStringLiteral("mousecfg/Config.ini"));
        // Seeded from the shipped file, then written by the program.
        QTRY_VERIFY2_WITH_TIMEOUT(readText(state).contains(QLatin1String("Profile1=")),
                                  qPrintable(readText(state)), 15000);
        QVERIFY(readText(state).contains(QLatin1String("LANGNUM=3")));

        QTRY_VERIFY_WITH_TIMEOUT(readText(log).count(QLatin1String("Threadread bat")) >= 2, 15000);
        QFile control(fifo);
        QVERIFY(control.open(QIODevice::WriteOnly));
        control.write("dpi 3\n");
        control.close();
        const QString osdTitle = QStringLiteral("TOLV Wireless Mouse OSD");
        QTRY_VERIFY2_WITH_TIMEOUT(!windowsNamed(osdTitle, env).isEmpty(), qPrintable(readText(log)),
                                  20000);
        app.osd = pid_t(
            run(QStringLiteral("xdotool"),
                {QStringLiteral("getwindowpid"), windowsNamed(osdTitle, env).split('\n').first()},
                env)
                .output.toInt());
        app.end();
        QCOMPARE(tree(m_prefix.path()), before);
    }

    // A mouse whose nodes this user may not open: the user is told so and where the udev
    // rule is, instead of being told that the receiver is missing.
    void deniedNodesAreExplained() {
        QTemporaryDir config(kBuild + QStringLiteral("/tests/install-config-XXXXXX"));
        const QProcessEnvironment env = environment(config.path());
        const QString log = config.filePath(QStringLiteral("app.log"));
        Running app;
        start(app.process, {QStringLiteral("--node-mode"), QStringLiteral("000")}, log, env);
        QTRY_VERIFY2_WITH_TIMEOUT(!windowsNamed(QStringLiteral("Warning"), env).isEmpty(),
                                  qPrintable(readText(log)), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(readText(log).contains(QLatin1String("no permission to open")),
                                 10000);
        const QString text = readText(log);
        QVERIFY2(text.contains(QLatin1String("device opened, commands on nothing")),
                 qPrintable(text));
        QVERIFY2(text.contains(installed(QStringLiteral(UDEVRULESDIR "/" UDEV_RULE))),
                 qPrintable(text));
        QVERIFY(!windowsNamed(QStringLiteral("TOLV"), env).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
