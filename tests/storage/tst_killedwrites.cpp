// SPDX-License-Identifier: GPL-3.0-or-later
// Writes killed at random moments: a writer process saves a profile, the profile library,
// Config.ini, a macro and an exported configuration over and over, alternating between two
// contents, and is killed with SIGKILL again and again. After every kill each file must hold
// one of the two contents byte for byte (both of which load whole); the next start then
// removes what the writer left. An import, which changes several files at once, is killed the
// same way: after the next start's recovery the configuration folder must be wholly as before
// the import or wholly as after it. A full disk leaves every file as it was.
#include "AppConfig.h"
#include "MacroFile.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "ProfileLibrary.h"
#include "SavedProfiles.h"
#include "TestAppDir.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>
#include <csignal>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// Everything one round of the writer puts on disk. The two versions differ in every file,
// and in each file's length, so a torn or mixed file matches neither.
struct Version {
    ProfileData profile;
    QStringList library;
    ProfileSet config;
    MacroFile macro;

    explicit Version(int v) {
        makeDefaultProfile(profile);
        profile.dpiInfo[0].x = v ? 4000000000u : 7;
        for (int b = 0; b < kButtonSlotCount; ++b)
            profile.buttons[b].macroname = v ? QStringLiteral("macro number %1").arg(b) : QString();
        profile.ledModes[3].RGB = v ? QColor(1, 2, 3) : QColor(200, 100, 50, 25);
        for (int i = 0; i < (v ? 40 : 3); ++i)
            library << QStringLiteral("Profile %1").arg(i + 1);
        for (int i = 0; i < kProfileCount; ++i) {
            config.profiles[i] = profile;
            config.profiles[i].LedMoveOFF = 0; // not carried by configuration files
            config.profiles[i].LedSleepTime = 0;
            config.profiles[i].pollrate = uint8_t(v * 10 + i);
            config.profileNames[i] = v ? QStringLiteral("Slot name %1").arg(i) : QString::number(i);
        }
        config.ProfileID = uint8_t(v);
        for (int i = 0; i < (v ? 63 : 2); ++i)
            macro.events << MacroEvent{uint8_t(0x84), 0, uint8_t(v + i)};
    }
};

const QString kProfileName = QStringLiteral("Game");
const QString kMacroName = QStringLiteral("burst");

QString exportPath() {
    return configDir() + QStringLiteral("/backup.conf");
}

void writeAll(const Version &v) {
    saveProfileByName(v.profile, kProfileName);
    writeProfileLibrary(v.library);
    saveProfileList(v.config);
    saveMacroFile(kMacroName, v.macro);
    saveConfigFile(v.config, exportPath());
}

QStringList namesOf(const ProfileSet &set) {
    return QStringList(set.profileNames, set.profileNames + kProfileCount);
}

// 0 or 1 for the version a file holds, -1 for neither.
template <class T> int versionOf(const T &value, const T &v0, const T &v1) {
    return value == v0 ? 0 : value == v1 ? 1 : -1;
}

// How many of the five files hold one of the two versions whole.
int intactFiles(const Version &v0, const Version &v1) {
    int intact = 0;
    ProfileData profile;
    loadProfileByName(profile, kProfileName);
    intact += versionOf(profile, v0.profile, v1.profile) >= 0;
    intact += versionOf(readProfileLibrary(), v0.library, v1.library) >= 0;
    ProfileSet config;
    loadProfileSet(config);
    const int names = versionOf(namesOf(config), namesOf(v0.config), namesOf(v1.config));
    intact += names >= 0 && config.ProfileID == (names ? v1 : v0).config.ProfileID;
    MacroFile macro;
    loadMacroFile(kMacroName, macro);
    intact += versionOf(macro.events, v0.macro.events, v1.macro.events) >= 0;
    ProfileSet exported;
    intact += importProfileSet(exported, exportPath()) == kProfileCount &&
              readModelName(exportPath()) == QStringLiteral("TOLV") &&
              versionOf(exported, v0.config, v1.config) >= 0;
    return intact;
}

const QStringList kFiles = {QStringLiteral("TOLV/Profile/Game.prof"),
                            QStringLiteral("TOLV/Config.ini"), QStringLiteral("Config.ini"),
                            QStringLiteral("MacroDB/burst.MSMACRO"), QStringLiteral("backup.conf")};

// The bytes of each file.
QList<QByteArray> contents() {
    QList<QByteArray> all;
    for (const QString &name : kFiles) {
        QFile file(configDir() + QLatin1Char('/') + name);
        all << (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    return all;
}

// Every file of the configuration folder by its path there; the writers' lock files, which a
// killed writer leaves, are no content.
using Folder = QMap<QString, QByteArray>;

Folder folderFiles() {
    Folder files;
    const QDir root(configDir());
    QDirIterator it(root.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(QLatin1String(".flock")))
            continue;
        QFile file(path);
        files.insert(root.relativeFilePath(path),
                     file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable"));
    }
    return files;
}

void restoreFolder(const Folder &files) {
    QDirIterator it(configDir(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        QFile::remove(it.next());
    for (auto f = files.begin(); f != files.end(); ++f) {
        QFile file(configDir() + QLatin1Char('/') + f.key());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(f.value()), qint64(f.value().size()));
    }
}

// Empty when the folder is wholly as before or wholly as after; else the files that are
// neither, or the files left as before beside those as after. Files that the import leaves as
// they were count for neither side. older tells which side the folder is on.
QString mixOf(const Folder &now, const Folder &before, const Folder &after, bool &older) {
    QStringList paths = now.keys() + before.keys() + after.keys();
    paths.removeDuplicates();
    const auto same = [](const Folder &a, const Folder &b, const QString &path) {
        return a.contains(path) == b.contains(path) && a.value(path) == b.value(path);
    };
    QStringList asBefore, asAfter, neither;
    for (const QString &path : paths) {
        const bool changed = !same(before, after, path);
        if (same(now, before, path)) {
            if (changed)
                asBefore << path;
        } else if (changed && same(now, after, path)) {
            asAfter << path;
        } else {
            neither << path;
        }
    }
    older = asAfter.isEmpty();
    if (!neither.isEmpty())
        return QStringLiteral("neither before nor after: ") + neither.join(QStringLiteral(", "));
    if (!asBefore.isEmpty() && !asAfter.isEmpty())
        return QStringLiteral("before: %1; after: %2")
            .arg(asBefore.join(QStringLiteral(", ")), asAfter.join(QStringLiteral(", ")));
    return QString();
}

// A writer process that takes the file in once, as the command line's import does (stored but
// not sent), over the saved state it was given, and ends.
pid_t startImport(const QString &path, ProfileSet set, QStringList library) {
    const pid_t writer = fork();
    if (writer != 0)
        return writer;
    if (path.endsWith(QLatin1String(".prof")))
        importProfileFile(library, set, set.activeIndex(), path, ImportOnly);
    else
        loadConfigFile(library, set, path, nullptr, ImportOnly);
    _exit(0);
}

// Kills the writer the moment a journal of a set of writes appears in the folder watched, or
// lets it end when it makes none.
void killWhenJournalAppears(pid_t writer, int watch) {
    const QByteArray journal = QFile::encodeName(QFileInfo(writeJournalPath()).fileName());
    alignas(inotify_event) char events[4096];
    siginfo_t ended{};
    while (waitid(P_PID, id_t(writer), &ended, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           ended.si_pid == 0) {
        pollfd ready{watch, POLLIN, 0};
        if (::poll(&ready, 1, 5) <= 0)
            continue;
        const ssize_t n = ::read(watch, events, sizeof events);
        for (ssize_t i = 0; i < n;) {
            const auto *event = reinterpret_cast<const inotify_event *>(events + i);
            if (event->len > 0 && journal == event->name) {
                kill(writer, SIGKILL);
                return;
            }
            i += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
}

QStringList leftovers(const QString &root) {
    QStringList found;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (QRegularExpression(
                QStringLiteral("\\.(prof|ini|MSMACRO|conf|journal)\\.~[A-Za-z0-9]{5}$"))
                .match(path)
                .hasMatch())
            found << path;
    }
    return found;
}
} // namespace

class TestKilledWrites : public QObject {
    Q_OBJECT

private slots:
    void everyFileIsOldOrNewAfterAKill();
    void importIsWhollyBeforeOrAfterAKill();
    void aFullDiskLeavesEveryFileAsItWas();
};

// A disk that takes no more (here a limit on the size of files, which fails a write as a full
// disk does): every file stays as it was, and no temporary file is left.
void TestKilledWrites::aFullDiskLeavesEveryFileAsItWas() {
    TestAppDir dir;
    dir.installData(QStringLiteral("DefaultProfile.bin"));
    setCurrentProductName(QStringLiteral("TOLV"));
    const Version v0(0), v1(1);
    writeAll(v0);
    const QList<QByteArray> before = contents();
    rlimit limit{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit full{64, limit.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &full), 0);
    writeAll(v1);
    // A profile renamed keeps its old name, file and all: nothing names a file under the new.
    ProfileSet held = v0.config;
    held.profileNames[2] = kProfileName;
    QStringList library = v0.library;
    QCOMPARE(renameLibraryProfile(library, held, 2, QStringLiteral("Play")),
             int(LibraryWriteFailed));
    QCOMPARE(held.profileNames[2], kProfileName);
    // A whole send owed is owed still, though the disk did not take the mark.
    writeDiffFlag(1);
    const int owed = readDiffFlag();
    // So is the model chosen (its files and battery history are named by it).
    setCurrentProductName(QStringLiteral("Other"));
    const QString model = currentProductName();
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
    std::signal(SIGXFSZ, handler);
    QCOMPARE(contents(), before);
    QCOMPARE(leftovers(configDir()), QStringList());
    QCOMPARE(owed, 1);
    QCOMPARE(model, QStringLiteral("Other"));
    writeDiffFlag(0);
    QCOMPARE(readDiffFlag(), 0);
    setCurrentProductName(QStringLiteral("TOLV"));
    QCOMPARE(currentProductName(), QStringLiteral("TOLV"));
}

void TestKilledWrites::everyFileIsOldOrNewAfterAKill() {
    TestAppDir dir;
    dir.installData(QStringLiteral("DefaultProfile.bin"));
    setCurrentProductName(QStringLiteral("TOLV"));
    const Version v0(0), v1(1);
    // One round, timed: the kills fall anywhere within a round.
    QElapsedTimer round;
    round.start();
    writeAll(v1);
    writeAll(v0);
    const qint64 roundNs = qMax<qint64>(round.nsecsElapsed() / 2, 1000000);
    const QList<QByteArray> bytes0 = contents();
    QCOMPARE(intactFiles(v0, v1), 5);
    writeAll(v1);
    const QList<QByteArray> bytes1 = contents();
    QCOMPARE(intactFiles(v0, v1), 5);
    for (int f = 0; f < kFiles.size(); ++f)
        QVERIFY(bytes0[f] != bytes1[f]);

    // A round takes about 100 ms, most of it waiting for the disk: 40 kills keep the test at
    // a few seconds; MOUSECFG_KILLS=200 and more for a longer run.
    const int kills = qEnvironmentVariableIntValue("MOUSECFG_KILLS") > 0
                          ? qEnvironmentVariableIntValue("MOUSECFG_KILLS")
                          : 40;
    QRandomGenerator rng(20240613);
    int intact = 0;
    for (int k = 0; k < kills; ++k) {
        const pid_t writer = fork();
        QVERIFY(writer >= 0);
        if (writer == 0) {
            for (int n = 1;; ++n)
                writeAll(n % 2 ? v1 : v0);
        }
        const qint64 delayNs = qint64(rng.bounded(quint32(roundNs / 1000))) * 1000;
        struct timespec pause {
            time_t(delayNs / 1000000000), long(delayNs % 1000000000)
        };
        nanosleep(&pause, nullptr);
        kill(writer, SIGKILL);
        int status = 0;
        QCOMPARE(waitpid(writer, &status, 0), writer);
        QVERIFY(WIFSIGNALED(status));
        const QList<QByteArray> now = contents();
        for (int f = 0; f < kFiles.size(); ++f)
            intact += now[f] == bytes0[f] || now[f] == bytes1[f];
    }
    // What the killed writers left stays until the next start: counted once, at the end.
    const int leftBehind = leftovers(configDir()).size();
    qInfo("%d kills within rounds of %lld ms, %d of %d files intact, %d unfinished writes left "
          "behind",
          kills, roundNs / 1000000, intact, kills * 5, leftBehind);
    QCOMPARE(intact, kills * 5);

    // The next start removes what the killed writers left, and nothing else; two more
    // stand for them in case no kill left one (one of a journal being written).
    // A backup the user keeps there is no leftover.
    QFile left(configDir() + QStringLiteral("/TOLV/Profile/Game.prof.~Xy12Z"));
    QFile leftJournal(writeJournalPath() + QStringLiteral(".~Ab34C"));
    QFile backup(configDir() + QStringLiteral("/TOLV/Config.ini.backup"));
    QVERIFY(left.open(QIODevice::WriteOnly) && backup.open(QIODevice::WriteOnly) &&
            leftJournal.open(QIODevice::WriteOnly));
    left.close();
    leftJournal.close();
    backup.close();
    QCOMPARE(leftovers(configDir()).size(), leftBehind + 2);
    removeInterruptedConfigWrites();
    QVERIFY2(leftovers(configDir()).isEmpty(), qPrintable(leftovers(configDir()).join(' ')));
    QVERIFY(backup.exists());
    QCOMPARE(intactFiles(v0, v1), 5);
}

void TestKilledWrites::importIsWhollyBeforeOrAfterAKill() {
    TestAppDir dir;
    dir.installData(QStringLiteral("DefaultProfile.bin"));
    setCurrentProductName(QStringLiteral("TOLV"));
    // Before: five default slots, sent (no Diff).
    ProfileSet saved;
    loadSavedProfiles(saved);
    writeProfileLibrary(QStringList(saved.profileNames, saved.profileNames + kProfileCount));
    writeDiffFlag(0);
    const Folder before = folderFiles();

    // A configuration that rewrites two slots' files, makes three new ones and changes the
    // library and Config.ini; a profile file that joins the library in the active slot.
    ProfileSet incoming = saved;
    incoming.ProfileID = 2;
    incoming.Jitter = uint8_t(saved.Jitter ^ 1);
    for (int i = 0; i < kProfileCount; ++i) {
        incoming.profiles[i].dpiInfo[1].x = uint32_t(1000 + i);
        incoming.profiles[i].buttons[3].macroname = QStringLiteral("burst %1").arg(i);
        if (i >= 2)
            incoming.profileNames[i] = QStringLiteral("Imported %1").arg(i + 1);
    }
    const QString conf = dir.file(QStringLiteral("all.conf"));
    QVERIFY(writeConfigFile(incoming, conf, QStringLiteral("TOLV")));
    const QString prof = dir.file(QStringLiteral("Sniper.prof"));
    writeProfile(0, incoming.profiles[4], prof);
    writeModelName(prof, QStringLiteral("TOLV"));

    // The saved state as the command line reads it before it takes a file in.
    ProfileSet state;
    loadSavedProfiles(state);
    const QStringList library = readProfileLibrary();
    // An import takes about half a second here: 12 kills keep the test at a few seconds;
    // MOUSECFG_KILLS=200 and more for a longer run.
    const int rounds = qEnvironmentVariableIntValue("MOUSECFG_KILLS") > 0
                           ? qEnvironmentVariableIntValue("MOUSECFG_KILLS")
                           : 12;
    QRandomGenerator rng(20240614);
    int asBefore = 0, asAfter = 0, finished = 0;
    for (const QString &file : {conf, prof}) {
        // The folder after an import that was not killed, and how long the import takes.
        Folder after;
        qint64 importNs = 0;
        // Round -1 is not killed; the last round is killed the moment the journal appears, when
        // the set counts as written but its files may not be in place yet.
        for (int k = -1; k <= rounds / 2; ++k) {
            restoreFolder(before);
            const int watch = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
            QVERIFY(watch >= 0 && inotify_add_watch(watch, qPrintable(configDir()),
                                                    IN_CREATE | IN_MOVED_TO) >= 0);
            QElapsedTimer clock;
            clock.start();
            const pid_t writer = startImport(file, state, library);
            QVERIFY(writer >= 0);
            if (k == rounds / 2) {
                killWhenJournalAppears(writer, watch);
            } else if (k >= 0) {
                // Anywhere within the import, and now and then just after it.
                const qint64 delayNs =
                    qint64(rng.bounded(quint32(importNs * 11 / 10 / 1000))) * 1000;
                struct timespec pause {
                    time_t(delayNs / 1000000000), long(delayNs % 1000000000)
                };
                nanosleep(&pause, nullptr);
                kill(writer, SIGKILL);
            }
            ::close(watch);
            int status = 0;
            QCOMPARE(waitpid(writer, &status, 0), writer);
            if (k < 0) {
                QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
                importNs = qMax<qint64>(clock.nsecsElapsed(), 1000000);
                after = folderFiles();
                QVERIFY(after != before);
                continue;
            }
            finished += QFileInfo::exists(writeJournalPath());
            // The next start.
            removeInterruptedConfigWrites();
            QVERIFY2(!QFileInfo::exists(writeJournalPath()), "the journal stays after a start");
            bool older = false;
            const QString mix = mixOf(folderFiles(), before, after, older);
            QVERIFY2(mix.isEmpty(), qPrintable(QStringLiteral("%1 round %2: %3")
                                                   .arg(QFileInfo(file).fileName())
                                                   .arg(k)
                                                   .arg(mix)));
            (older ? asBefore : asAfter) += 1;
        }
        qInfo("%s: an import takes %lld ms", qPrintable(QFileInfo(file).fileName()),
              importNs / 1000000);
    }
    qInfo("%d imports killed: %d left everything as before, %d as after (%d of them finished "
          "from their journal at the next start)",
          asBefore + asAfter, asBefore, asAfter, finished);
}

QTEST_GUILESS_MAIN(TestKilledWrites)
#include "tst_killedwrites.moc"
