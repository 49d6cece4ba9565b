// SPDX-License-Identifier: GPL-3.0-or-later
// The library of named profiles: the naming rules of ADD and COPY, the successor after a
// DELETE, renames, imports and exports of profile and configuration files, the shared
// folder of older installations, and refusals that leave everything as it was.
#include "AppConfig.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "ProfileLibrary.h"
#include "SavedProfiles.h"
#include "TestAppDir.h"

#include <QDir>
#include <QtTest>

namespace {
// A model with a library of the given names, each with a profile file whose first stage
// tells them apart, and a set whose slots hold the first five.
struct Library {
    Library(const QStringList &names) {
        dir.installData(QStringLiteral("DefaultProfile.bin"));
        setCurrentProductName(QStringLiteral("TOLV"));
        for (int i = 0; i < names.size(); ++i) {
            ProfileData p;
            makeDefaultProfile(p);
            p.dpiInfo[0].y = uint32_t(100 + i);
            saveProfileByName(p, names[i]);
        }
        library = names;
        writeProfileLibrary(library);
        for (int i = 0; i < kProfileCount && i < names.size(); ++i) {
            set.profileNames[i] = names[i];
            loadProfileByName(set.profiles[i], names[i]);
        }
    }
    bool exists(const QString &name) const { return QFileInfo::exists(profileFilePath(name)); }
    TestAppDir dir;
    QStringList library;
    ProfileSet set;
};
} // namespace

class TestProfileLibrary : public QObject {
    Q_OBJECT

private slots:
    void addTakesTheFirstFreeDefaultName() {
        Library lib({QStringLiteral("Profile 1"), QStringLiteral("Profile 2"),
                     QStringLiteral("Profile 3"), QStringLiteral("Game")});
        QString name;
        QCOMPARE(addLibraryProfile(lib.library, lib.set, 3, &name), int(LibraryDone));
        QCOMPARE(name, QStringLiteral("Profile 4"));
        QCOMPARE(lib.set.profileNames[3], name);
        QCOMPARE(readProfileLibrary().last(), name);
        // The slot was given the template: the model's default profile.
        ProfileData expected;
        makeDefaultProfile(expected);
        expected.ProfileName = name;
        QVERIFY(lib.set.profiles[3] == expected);
    }

    void copyAppendsCopyUntilFree() {
        Library lib({QStringLiteral("Game"), QStringLiteral("Game copy")});
        lib.set.profiles[0].dpiInfo[2].x = 77; // unsent edit: kept by the slot, not copied
        QCOMPARE(copyLibraryProfile(lib.library, lib.set, 0), int(LibraryDone));
        QCOMPARE(lib.set.profileNames[0], QStringLiteral("Game copy copy"));
        QCOMPARE(lib.set.profiles[0].dpiInfo[2].x, 77u);
        ProfileData copied;
        loadProfileByName(copied, QStringLiteral("Game copy copy"));
        QCOMPARE(copied.dpiInfo[0].y, 100u);
        QCOMPARE(readProfileLibrary(),
                 QStringList({QStringLiteral("Game"), QStringLiteral("Game copy"),
                              QStringLiteral("Game copy copy")}));
    }

    void deleteSuccessorRule() {
        const QStringList abcde = {"A", "B", "C", "D", "E"};
        QCOMPARE(deleteSuccessor(abcde, 4, {}), 3); // the last: the one before it
        QCOMPARE(deleteSuccessor(abcde, 1, {}), 2); // any other: the next
        // Stepping back past names held by other slots, never onto the deleted one.
        QCOMPARE(deleteSuccessor(abcde, 1, {"C"}), 0);
        QCOMPARE(deleteSuccessor(abcde, 0, {"B"}), 2);
        QCOMPARE(deleteSuccessor(abcde, 2, {"A", "B", "D", "E"}), -1);
        QCOMPARE(deleteSuccessor({"A"}, 0, {}), -1);
    }

    void deleteGivesTheSlotItsSuccessor() {
        Library lib({QStringLiteral("Profile 1"), QStringLiteral("A"), QStringLiteral("B"),
                     QStringLiteral("C")});
        lib.set.profileNames[1] = QStringLiteral("B"); // the next name is held by slot 1
        lib.set.profileNames[0] = QStringLiteral("A");
        QCOMPARE(deleteLibraryProfile(lib.library, lib.set, 0), int(LibraryDone));
        QCOMPARE(lib.set.profileNames[0], QStringLiteral("Profile 1"));
        QCOMPARE(lib.set.profiles[0].dpiInfo[0].y, 100u);
        QVERIFY(!lib.exists(QStringLiteral("A")));
        QCOMPARE(readProfileLibrary(), QStringList({QStringLiteral("Profile 1"),
                                                    QStringLiteral("B"), QStringLiteral("C")}));
    }

    // Refusals: the list, the files and the set stay exactly as they were.
    void refusalsChangeNothing() {
        Library lib({QStringLiteral("Profile 1"), QStringLiteral("Game"), QStringLiteral("Work")});
        const ProfileSet before = lib.set;
        QCOMPARE(checkDeleteLibraryProfile({QStringLiteral("Game")}, lib.set, 1),
                 int(LibraryLastProfile));
        QCOMPARE(deleteLibraryProfile(lib.library, lib.set, 0), int(LibraryDefaultName));
        QCOMPARE(renameLibraryProfile(lib.library, lib.set, 0, QStringLiteral("X")),
                 int(LibraryDefaultName));
        QCOMPARE(renameLibraryProfile(lib.library, lib.set, 1, QStringLiteral("Work")),
                 int(LibraryExists));
        for (const QString &bad :
             {QString(), QStringLiteral("a/b"), QStringLiteral(".."), QStringLiteral("a\\b")})
            QCOMPARE(renameLibraryProfile(lib.library, lib.set, 1, bad), int(LibraryUnsafeName));
        QCOMPARE(chooseLibraryProfile(lib.set, 0, QStringLiteral("Work")), int(LibraryInUse));
        // A name the model's list protects is kept as a default name is.
        QSettings(productConfigPath(), QSettings::IniFormat)
            .setValue(QStringLiteral("PROFILE_LIST/SCount"), 1);
        QSettings(productConfigPath(), QSettings::IniFormat)
            .setValue(QStringLiteral("PROFILE_LIST/S1"), QStringLiteral("Game"));
        QCOMPARE(deleteLibraryProfile(lib.library, lib.set, 1), int(LibraryDefaultName));
        QCOMPARE(renameLibraryProfile(lib.library, lib.set, 1, QStringLiteral("Y")),
                 int(LibraryDefaultName));
        QVERIFY(lib.set == before);
        QCOMPARE(readProfileLibrary(), lib.library);
        QVERIFY(lib.exists(QStringLiteral("Game")));
        QVERIFY(!QFileInfo::exists(lib.dir.file(QStringLiteral("Configs/TOLV/Profile/X.prof"))));
    }

    // A saved slot name that cannot be a file name gets the slot's default name, or one no
    // other slot holds: two slots on one file would save only one of them.
    void damagedSlotNameAtStart() {
        Library lib({QStringLiteral("Profile 3")});
        {
            QSettings ini(configIniPath(), QSettings::IniFormat);
            const char *names[] = {"Profile 3", "Profile 2", "a/b", "Profile 4", "Profile 5"};
            for (int i = 0; i < kProfileCount; ++i)
                ini.setValue(QStringLiteral("Config/Profile%1").arg(i + 1), names[i]);
        }
        // The new name's file cannot be written (a folder holds its place): the slot still
        // has the model's defaults, not a profile of zeros.
        QVERIFY(QDir().mkpath(lib.dir.file(QStringLiteral("Configs/TOLV/Profile/Profile 1.prof"))));
        ProfileSet set;
        loadSavedProfiles(set);
        QCOMPARE(set.profileNames[0], QStringLiteral("Profile 3"));
        QCOMPARE(set.profileNames[2], QStringLiteral("Profile 1"));
        ProfileData defaults;
        makeDefaultProfile(defaults);
        defaults.ProfileName = set.profileNames[2];
        QVERIFY(set.profiles[2] == defaults);
    }

    void renameMovesTheFileAndKeepsThePlace() {
        Library lib({QStringLiteral("Profile 1"), QStringLiteral("Game"), QStringLiteral("Work")});
        QCOMPARE(renameLibraryProfile(lib.library, lib.set, 1, QStringLiteral("Play")),
                 int(LibraryDone));
        QVERIFY(!lib.exists(QStringLiteral("Game")));
        QVERIFY(lib.exists(QStringLiteral("Play")));
        QCOMPARE(readProfileLibrary(),
                 QStringList({QStringLiteral("Profile 1"), QStringLiteral("Play"),
                              QStringLiteral("Work")}));
        QCOMPARE(QSettings(configIniPath(), QSettings::IniFormat)
                     .value(QStringLiteral("Config/Profile2"))
                     .toString(),
                 QStringLiteral("Play"));
    }

    void profileFileImportAndExport() {
        Library lib({QStringLiteral("Profile 1"), QStringLiteral("Game")});
        const QString exported = lib.dir.file(QStringLiteral("out/Game.prof"));
        QDir().mkpath(QFileInfo(exported).absolutePath());
        lib.set.profiles[1].dpiInfo[0].y = 150; // shown on the pages, not yet sent
        QCOMPARE(exportProfileFile(lib.set, 1, exported), int(LibraryDone));
        QCOMPARE(readModelName(exported), QStringLiteral("TOLV"));
        // The same name is in the library already; the template's name is always taken.
        QCOMPARE(importProfileFile(lib.library, lib.set, 0, exported), int(LibraryExists));
        const QString templateNamed = lib.dir.file(QStringLiteral("out/DefaultProfile.prof"));
        QVERIFY(QFile::copy(exported, templateNamed));
        QCOMPARE(importProfileFile(lib.library, lib.set, 0, templateNamed), int(LibraryExists));
        const QString renamed = lib.dir.file(QStringLiteral("out/Shared.prof"));
        QVERIFY(QFile::copy(exported, renamed));
        QCOMPARE(importProfileFile(lib.library, lib.set, 0, renamed), int(LibraryDone));
        QCOMPARE(lib.set.profileNames[0], QStringLiteral("Shared"));
        QCOMPARE(lib.set.profiles[0].dpiInfo[0].y, 150u);
        QVERIFY(lib.exists(QStringLiteral("Profile 1"))); // the slot's own file is untouched
        QVERIFY(readProfileLibrary().contains(QStringLiteral("Shared")));
        // A file made for another model.
        const QString other = lib.dir.file(QStringLiteral("out/Other.prof"));
        QVERIFY(QFile::copy(exported, other));
        writeModelName(other, QStringLiteral("K215"));
        QCOMPARE(importProfileFile(lib.library, lib.set, 0, other), int(LibraryWrongModel));
        QVERIFY(!lib.exists(QStringLiteral("Other")));
    }

    void configFileRoundTripAndUnsafeNames() {
        Library lib({QStringLiteral("Profile 1"), QStringLiteral("Game"), QStringLiteral("Work")});
        lib.set.Debounce = 7;
        const QString conf = lib.dir.file(QStringLiteral("all.conf"));
        QCOMPARE(saveConfigFile(lib.set, conf), int(LibraryDone));
        ProfileSet loaded;
        for (int i = 0; i < kProfileCount; ++i)
            loaded.profileNames[i] = QStringLiteral("Keep %1").arg(i);
        QStringList library;
        QCOMPARE(loadConfigFile(library, loaded, conf), int(LibraryDone));
        QCOMPARE(loaded.profileNames[1], QStringLiteral("Game"));
        QCOMPARE(loaded.profiles[2].dpiInfo[0].y, 102u);
        QCOMPARE(int(loaded.Debounce), 7);
        QVERIFY(library.contains(QStringLiteral("Work")));

        // A slot name that is no file name, or one an earlier slot has: the profile gets one
        // that is its own, and the library's profile of the slot's old name stays its own.
        QSettings(conf, QSettings::IniFormat)
            .setValue(QStringLiteral("Config/Profile2"), QStringLiteral("../Game"));
        QSettings(conf, QSettings::IniFormat)
            .setValue(QStringLiteral("Config/Profile3"), QStringLiteral("DefaultProfile"));
        QSettings(conf, QSettings::IniFormat)
            .setValue(QStringLiteral("Config/Profile4"), QStringLiteral("Profile 1"));
        int refused = 0;
        QCOMPARE(loadConfigFile(library, loaded, conf, &refused), int(LibraryDone));
        QCOMPARE(refused, 3);
        QCOMPARE(loaded.profileNames[0], QStringLiteral("Profile 1"));
        QCOMPARE(loaded.profileNames[1], QStringLiteral(".._Game"));
        QCOMPARE(loaded.profileNames[2], QStringLiteral("DefaultProfile (2)"));
        QCOMPARE(loaded.profileNames[3], QStringLiteral("Profile 1 (2)"));
        QVERIFY(library.contains(QStringLiteral("Game")));
        writeModelName(conf, QStringLiteral("K215"));
        const ProfileSet before = loaded;
        QCOMPARE(loadConfigFile(library, loaded, conf), int(LibraryWrongModel));
        QVERIFY(loaded == before);
    }

    // A name whose files would pass the file system's 255 bytes is refused wherever a name
    // is taken, before anything moves; the longest name allowed is really saved.
    void longNamesAreRefused() {
        Library lib({QStringLiteral("Profile 1"), QStringLiteral("Game")});
        const QString longest(80, QChar(0x914D)); // 240 bytes in UTF-8
        const QString tooLong(82, QChar(0x914D));
        QCOMPARE(renameLibraryProfile(lib.library, lib.set, 1, tooLong), int(LibraryTooLong));
        QCOMPARE(lib.set.profileNames[1], QStringLiteral("Game"));
        QVERIFY(lib.exists(QStringLiteral("Game")));

        QCOMPARE(renameLibraryProfile(lib.library, lib.set, 1, longest), int(LibraryDone));
        lib.set.profiles[1].dpiInfo[3].x = 55;
        saveProfileByName(lib.set.profiles[1], longest);
        ProfileData back;
        loadProfileByName(back, longest);
        QCOMPARE(back.dpiInfo[3].x, 55u);
        // Its copy would be " copy" longer.
        QCOMPARE(copyLibraryProfile(lib.library, lib.set, 1), int(LibraryTooLong));
        QCOMPARE(lib.set.profileNames[1], longest);

        // A file may be called so (the name with ".prof" fits) but not be taken in.
        const QString made = lib.dir.file(QStringLiteral("made.prof"));
        QCOMPARE(exportProfileFile(lib.set, 0, made), int(LibraryDone));
        const QString file = lib.dir.file(tooLong + ".prof");
        QVERIFY(QFile::copy(made, file));
        QCOMPARE(importProfileFile(lib.library, lib.set, 0, file), int(LibraryTooLong));

        const QString conf = lib.dir.file(QStringLiteral("all.conf"));
        QCOMPARE(saveConfigFile(lib.set, conf), int(LibraryDone));
        QSettings(conf, QSettings::IniFormat).setValue(QStringLiteral("Config/Profile1"), tooLong);
        int refused = 0;
        QCOMPARE(loadConfigFile(lib.library, lib.set, conf, &refused), int(LibraryDone));
        QCOMPARE(refused, 1);
        // Cut to fit, and unlike the longest name, which is taken.
        QCOMPARE(lib.set.profileNames[0], QString(78, QChar(0x914D)) + QStringLiteral(" (2)"));
        QVERIFY(!lib.library.contains(tooLong));
    }

    // A configuration file without its profiles, as an export killed half way through
    // used to leave, would zero every slot: it is refused and nothing changes. Saving over
    // it writes a whole new file.
    void configFileWithoutProfilesIsRefused() {
        Library lib({QStringLiteral("Profile 1"), QStringLiteral("Game")});
        const QString conf = lib.dir.file(QStringLiteral("part.conf"));
        writeModelName(conf, QStringLiteral("TOLV"));
        const ProfileSet before = lib.set;
        QStringList library = lib.library;
        QCOMPARE(loadConfigFile(library, lib.set, conf), int(LibraryIncomplete));
        QCOMPARE(saveConfigFile(lib.set, conf), int(LibraryDone));
        QSettings(conf, QSettings::IniFormat).remove(QStringLiteral("PROFILE_4"));
        QCOMPARE(loadConfigFile(library, lib.set, conf), int(LibraryIncomplete));
        QVERIFY(lib.set == before);
        QCOMPARE(library, lib.library);

        QSettings(conf, QSettings::IniFormat).setValue(QStringLiteral("Stale/key"), 1);
        QCOMPARE(saveConfigFile(lib.set, conf), int(LibraryDone));
        QVERIFY(!QSettings(conf, QSettings::IniFormat).contains(QStringLiteral("Stale/key")));
        QCOMPARE(loadConfigFile(library, lib.set, conf), int(LibraryDone));
        QCOMPARE(lib.set.profiles[1].dpiInfo[0].y, 101u);
    }

    // Profiles an older installation kept in the shared folder are taken into the model's
    // folder when the model's file is missing, and left where they were.
    void sharedFolderIsAdopted() {
        TestAppDir dir;
        ProfileData old;
        makeDefaultProfile(old);
        old.dpiInfo[1].x = 99;
        writeProfile(0, old, dir.file(QStringLiteral("Configs/Profile/Game.prof")));
        setCurrentProductName(QStringLiteral("TOLV"));
        ProfileData loaded;
        loadProfileByName(loaded, QStringLiteral("Game"));
        QCOMPARE(loaded.dpiInfo[1].x, 99u);
        QVERIFY(QFileInfo::exists(dir.file(QStringLiteral("Configs/TOLV/Profile/Game.prof"))));
        QVERIFY(QFileInfo::exists(dir.file(QStringLiteral("Configs/Profile/Game.prof"))));
        ProfileData fallback;
        QVERIFY(ensureProfileFile(QStringLiteral("Game"), fallback));
        loadProfileByName(loaded, QStringLiteral("Game"));
        QCOMPARE(loaded.dpiInfo[1].x, 99u);
    }

    // A big library lists every name; a wild count from a hand-edited file does not hang.
    void bigLibraryAndWildCount() {
        TestAppDir dir;
        setCurrentProductName(QStringLiteral("TOLV"));
        QStringList names;
        for (int i = 0; i < 250; ++i)
            names << QStringLiteral("P%1").arg(i);
        QVERIFY(writeProfileLibrary(names));
        QCOMPARE(readProfileLibrary(), names);
        QVERIFY(writeProfileLibrary(names.mid(0, 3)));
        QCOMPARE(readProfileLibrary(), names.mid(0, 3));
        QSettings(productConfigPath(), QSettings::IniFormat)
            .setValue(QStringLiteral("PROFILE_LIST/Count"), 2000000000);
        QCOMPARE(readProfileLibrary(), names.mid(0, 3));
        // Without a model there is no library to write.
        setCurrentProductName(QString());
        QVERIFY(!writeProfileLibrary(names));
        QVERIFY(readProfileLibrary().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestProfileLibrary)
#include "tst_profilelibrary.moc"
