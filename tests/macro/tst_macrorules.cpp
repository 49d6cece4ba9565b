// SPDX-License-Identifier: GPL-3.0-or-later
// The macro list and the editor's rules without a window: names, list keys, the recorder's
// row limits, repeats, delays and Alt combinations, keys left held, and gun-set steps.
#include "AppConfig.h"
#include "KeyStep.h"
#include "KeyTable.h"
#include "MacroFile.h"
#include "MacroList.h"
#include "MacroRecorder.h"
#include "MacroRules.h"
#include "ProfileData.h"
#include "TestAppDir.h"

#include <QtTest>

namespace {
constexpr unsigned kUp = KeyFlagReleased;
} // namespace

class TestMacroRules : public QObject {
    Q_OBJECT

private slots:
    void namesAndListKeys() {
        TestAppDir dir;
        QVERIFY(saveMacroFile(QStringLiteral("name_1"), MacroFile()));
        QVERIFY(saveMacroFile(QStringLiteral("name_2"), MacroFile()));
        QString name;
        QCOMPARE(createMacro(name), MacroListDone);
        QCOMPARE(name, QStringLiteral("name_3"));
        QVERIFY(macroFileExists(name));
        QCOMPARE(macroListEntry(0), name);

        // Renaming to a name whose files exist takes the first free suffix.
        QVERIFY(saveMacroFile(QStringLiteral("def"), MacroFile()));
        QVERIFY(saveMacroFile(QStringLiteral("def_2"), MacroFile()));
        setMacroListEntry(3, QStringLiteral("abc"));
        QVERIFY(saveMacroFile(QStringLiteral("abc"), MacroFile()));
        // Profiles of two models that no slot holds bind it (one named with a leading dot); a
        // key button naming it does not.
        const QString kept = QStringLiteral("Configs/TOLV/Profile/Kept.prof");
        const QString other = QStringLiteral("Configs/Other/Profile/.Other.prof");
        dir.setIni(kept, {{QStringLiteral("PROFILE/BUTTON_INFO_4_Fun"), kFunMacro},
                          {QStringLiteral("PROFILE/BUTTON_INFO_4_macroname"), "abc"},
                          {QStringLiteral("PROFILE/BUTTON_INFO_5_Fun"), 1},
                          {QStringLiteral("PROFILE/BUTTON_INFO_5_macroname"), "abc"}});
        dir.setIni(other, {{QStringLiteral("PROFILE/BUTTON_INFO_0_Fun"), 510},
                           {QStringLiteral("PROFILE/BUTTON_INFO_0_macroname"), "abc"}});
        QVERIFY(macroBoundOnDisk(QStringLiteral("abc")));
        QString renamed;
        QCOMPARE(renameMacro(QStringLiteral("abc"), QStringLiteral("def"), renamed), MacroListDone);
        QCOMPARE(renamed, QStringLiteral("def_3"));
        const auto named = [&dir](const QString &file, int button) {
            return QSettings(dir.file(file), QSettings::IniFormat)
                .value(QStringLiteral("PROFILE/BUTTON_INFO_%1_macroname").arg(button))
                .toString();
        };
        QCOMPARE(named(kept, 4), renamed);
        QCOMPARE(named(kept, 5), QStringLiteral("abc"));
        QCOMPARE(named(other, 0), renamed);
        QCOMPARE(macroListEntry(3), renamed);
        QVERIFY(macroFileExists(renamed));
        QVERIFY(!macroFileExists(QStringLiteral("abc")));
        QVERIFY(!macroBoundOnDisk(QStringLiteral("abc"))); // the key button's name is no binding
        QCOMPARE(renameMacro(renamed, QStringLiteral("x/y"), renamed), MacroListBadName);
        QCOMPARE(renamed, QStringLiteral("def_3"));

        // A name too long for the file system is refused; the longest allowed is saved.
        const QString tooLong(82, QChar(0x914D));
        QCOMPARE(renameMacro(renamed, tooLong, renamed), MacroListTooLong);
        QVERIFY(macroFileExists(QStringLiteral("def_3")));
        const QString outside = dir.file(QStringLiteral("out"));
        QDir().mkpath(outside);
        QVERIFY(QFile::copy(macroFilePath(renamed), outside + "/" + tooLong + ".MSMACRO"));
        QCOMPARE(importMacro(outside + "/" + tooLong + ".MSMACRO", name), MacroListTooLong);
        const QString longest(80, QChar(0x914D));
        QCOMPARE(renameMacro(renamed, longest, renamed), MacroListDone);
        MacroFile steps;
        steps.events = {{0x84, 0, 4}};
        QVERIFY(saveMacroFile(longest, steps));
        MacroFile back;
        QVERIFY(loadMacroFile(longest, back));
        QCOMPARE(back.events, steps.events);
        QCOMPARE(renameMacro(longest, QStringLiteral("def_3"), renamed), MacroListDone);

        // A deleted macro leaves its key empty and the keys after it in place.
        setMacroListEntry(4, QStringLiteral("keep"));
        deleteMacro(QStringLiteral("def_3"));
        QVERIFY(!macroFileExists(QStringLiteral("def_3")));
        QCOMPARE(macroListEntry(4), QStringLiteral("keep"));
        QCOMPARE(addToMacroList(QStringLiteral("next")), 1);
        QCOMPARE(addToMacroList(QStringLiteral("after")), 2);
        QCOMPARE(addToMacroList(QStringLiteral("hole")), 3);

        // Config.ini that cannot be written (its lock taken by a folder): a rename, a delete
        // and a new macro write nothing in part, and leave no file the list does not show.
        QVERIFY(saveMacroFile(QStringLiteral("hole"), steps));
        const QString lock = configIniPath() + QStringLiteral(".flock");
        QVERIFY(QDir().mkpath(lock));
        QCOMPARE(renameMacro(QStringLiteral("hole"), QStringLiteral("whole"), renamed),
                 MacroListFileError);
        QVERIFY(macroFileExists(QStringLiteral("hole")));
        QVERIFY(!macroFileExists(QStringLiteral("whole")));
        QCOMPARE(deleteMacro(QStringLiteral("hole")), MacroListFileError);
        QVERIFY(macroFileExists(QStringLiteral("hole")));
        QCOMPARE(createMacro(name), MacroListFileError);
        QVERIFY(!macroFileExists(name));
        QVERIFY(QDir().rmdir(lock));
        QCOMPARE(macroListEntry(3), QStringLiteral("hole"));

        // A full list creates nothing.
        for (int i = 0; i < kMacroListSize; ++i)
            setMacroListEntry(i, QStringLiteral("m%1").arg(i));
        QCOMPARE(createMacro(name), MacroListFull);
        QCOMPARE(addToMacroList(QStringLiteral("more")), -1);
    }

    void importExportAndBoundButtons() {
        TestAppDir dir;
        MacroFile f;
        f.events = {{0x84, 0, 4}};
        QVERIFY(saveMacroFile(QStringLiteral("spray"), f));
        const QString outside = dir.file(QStringLiteral("out"));
        QDir().mkpath(outside);
        QCOMPARE(exportMacros({QStringLiteral("spray")}, outside), 1);
        QCOMPARE(exportMacro(QStringLiteral("spray"), outside + QStringLiteral("/spray.MSMACRO")),
                 MacroListDone);
        QString name;
        QCOMPARE(importMacro(outside + QStringLiteral("/spray.MSMACRO"), name), MacroListExists);
        deleteMacro(QStringLiteral("spray"));
        QCOMPARE(importMacro(outside + QStringLiteral("/spray.MSMACRO"), name), MacroListDone);
        MacroFile in;
        QVERIFY(loadMacroFile(name, in));
        QCOMPARE(in.events, f.events);
        // A batch lists each name once, whether or not its file was there already.
        QCOMPARE(importMacros({outside + QStringLiteral("/spray.MSMACRO")}), QStringList());
        QCOMPARE(macroListNames(), QStringList{QStringLiteral("spray")});

        ProfileSet set;
        set.profiles[0].buttons[2].Fun = kFunMacro;
        set.profiles[0].buttons[2].macroname = QStringLiteral("spray");
        set.profiles[4].buttons[41].Fun = 510;
        set.profiles[4].buttons[41].macroname = QStringLiteral("spray");
        set.profiles[1].buttons[0].macroname = QStringLiteral("spray"); // not a macro button
        QCOMPARE(renameBoundMacros(set, QStringLiteral("spray"), QStringLiteral("burst")), 2);
        QCOMPARE(set.profiles[4].buttons[41].macroname, QStringLiteral("burst"));
        QCOMPARE(set.profiles[1].buttons[0].macroname, QStringLiteral("spray"));
    }

    void recorderLimitsRepeatsAndDelays() {
        MacroRecorder r;
        MacroRecorder::Options none;
        QVector<MacroEvent> rows;
        r.start();
        // Holding A repeats presses; one press row and one release row come of it.
        QCOMPARE(r.keyEvent(30, 0, false, 0, none, rows), 1);
        QCOMPARE(r.keyEvent(30, 0, true, 660, none, rows), 0);
        QCOMPARE(r.keyEvent(30, 0, false, 700, none, rows), 0);
        QCOMPARE(r.keyEvent(30, kUp, false, 740, none, rows), 1);
        QCOMPARE(rows, (QVector<MacroEvent>{keyStep(30, true), keyStep(30, false)}));

        // Without delays a recording stops at 40 rows, and says it is full.
        QVERIFY(!r.isFull());
        for (int i = 0; i < 30; ++i) {
            r.keyEvent(31, 0, false, i, none, rows);
            r.keyEvent(31, kUp, false, i, none, rows);
        }
        QCOMPARE(rows.size(), kMacroMaxRowsNoDelay);
        QVERIFY(r.isFull());
        // A full recording keeps room for the release of a key held; the release of one that
        // was down before the recording (Space that pressed START) is not recorded.
        rows.clear();
        r.start();
        QCOMPARE(r.keyEvent(57, kUp, false, 0, none, rows), 0);
        r.keyEvent(42, 0, false, 0, none, rows);
        for (int i = 0; i < 30; ++i) {
            r.keyEvent(30, 0, false, i, none, rows);
            r.keyEvent(30, kUp, false, i, none, rows);
        }
        QCOMPARE(r.keyEvent(42, kUp, false, 40, none, rows), 1);
        QVERIFY(!hasUnreleasedKeys(rows));

        // With delays at 63; 25 ms apart with unit 10 is 20 ms, 3 ms apart is 10 ms.
        MacroRecorder::Options recorded;
        recorded.delayType = 1;
        rows.clear();
        r.start();
        r.keyEvent(30, 0, false, 1000, recorded, rows);
        r.keyEvent(30, kUp, false, 1025, recorded, rows);
        r.keyEvent(31, 0, false, 1028, recorded, rows);
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows[1], (MacroEvent{6, 0, 2}));
        QCOMPARE(rows[3], (MacroEvent{6, 0, 1}));
        // What a delay leaves below the unit goes to the next: 25, 25 and 25 ms make 70 ms,
        // not 60.
        r.start();
        rows.clear();
        for (int i = 0; i < 4; ++i)
            r.keyEvent(30, i % 2 ? kUp : 0, false, 1000 + 25 * i, recorded, rows);
        QCOMPARE(delayMs(rows[1], 10) + delayMs(rows[3], 10) + delayMs(rows[5], 10), 70);
        for (int i = 0; i < 40; ++i) {
            r.keyEvent(32, 0, false, 2000 + i, recorded, rows);
            r.keyEvent(32, kUp, false, 2000 + i, recorded, rows);
        }
        QCOMPARE(rows.size(), kMacroMaxRows);
        // The default delay option takes the field's delay in units of the model.
        MacroRecorder::Options fixed{2, 250, 20};
        rows.clear();
        r.start();
        r.keyEvent(30, 0, false, 0, fixed, rows);
        r.keyEvent(30, kUp, false, 1, fixed, rows);
        QCOMPARE(rows[1], (MacroEvent{6, 0, 12}));
        QCOMPARE(recordedDelayMs(0, 10), 10);
        QCOMPARE(recordedDelayMs(99, 20), 80);
    }

    void altCombinationsRecordBothHalves() {
        // Alt held sets bit 5 on every event; the recorder still tells press from release.
        MacroRecorder r;
        QVector<MacroEvent> rows;
        r.start();
        const MacroRecorder::Options none;
        r.keyEvent(56, 0x20, false, 0, none, rows);       // left Alt down
        r.keyEvent(62, 0x20, false, 0, none, rows);       // F4 down, Alt held
        r.keyEvent(62, 0x20 | kUp, false, 0, none, rows); // F4 up, Alt held
        r.keyEvent(56, 0x21, false, 0, none, rows);       // right Alt down
        r.keyEvent(71, 0x20, false, 0, none, rows);       // keypad 7, Alt held
        r.keyEvent(56, 0x21 | kUp, false, 0, none, rows); // right Alt up, left Alt held
        r.keyEvent(56, kUp, false, 0, none, rows);        // left Alt up
        int lalt = 0, f4 = 0, ralt = 0, kp7 = 0;
        keyCodeToUsage(56, lalt);
        keyCodeToUsage(62, f4);
        keyCodeToUsage(239, ralt);
        keyCodeToUsage(235, kp7);
        const QVector<MacroEvent> expected{{0x84, 0, uint8_t(lalt)}, {0x84, 0, uint8_t(f4)},
                                           {0x04, 0, uint8_t(f4)},   {0x84, 0, uint8_t(ralt)},
                                           {0x84, 0, uint8_t(kp7)},  {0x04, 0, uint8_t(ralt)},
                                           {0x04, 0, uint8_t(lalt)}};
        QCOMPARE(rows, expected);
    }

    void unreleasedKeysAndShownSteps() {
        // Ctrl+C with only C released.
        QVector<MacroEvent> rows{keyStep(29, true), keyStep(46, true), keyStep(46, false)};
        QVERIFY(hasUnreleasedKeys(rows));
        rows.append(keyStep(29, false));
        QVERIFY(!hasUnreleasedKeys(rows));
        // A middle button (mask 4) is not released by key usage 4 (A), nor by a movement.
        rows = {{0x81, 0, 4}, {0x04, 0, 4}, {0x02, 0, 4}};
        QVERIFY(hasUnreleasedKeys(rows));

        const QVector<MacroEvent> file{
            {0x81, 0, 0x03}, {0x07, 1, 1}, {0x02, 5, 0xF6}, {0x02, 0, 0xF6}, {0x81, 0, 0x10}};
        QCOMPARE(editorEvents(file),
                 (QVector<MacroEvent>{{0x02, 0, 0}, {0x02, 0, 0xF6}, {0x81, 0, 0x10}}));
        MoveDirection dir = MoveUp;
        int distance = 0;
        QVERIFY(moveOf({0x02, 0, 0xF6}, dir, distance));
        QCOMPARE(dir, MoveLeft);
        QCOMPARE(distance, 10);
        QVERIFY(moveOf({0x02, 0x05, 0}, dir, distance));
        QCOMPARE(dir, MoveDown);
        QCOMPARE(distance, 5);
        QCOMPARE(movementEvent(MoveUp, 3), (MacroEvent{0x02, 0xFD, 0}));
        QCOMPARE(delayEvent(300, 0), (MacroEvent{0x06, 0, 30})); // no usable unit: 10
    }

    void gunSetSteps() {
        QVector<GunShot> shots(kGunShots);
        shots[0] = {100, -3, 0};
        shots[1] = {5, 0, 0};
        shots[2] = {0, 2, -7};
        const QVector<MacroEvent> e = gunEvents(shots);
        const QVector<MacroEvent> first{{0x01, 0, 1}, {0x81, 0, 1}, {0x02, 0xFD, 0}, {0x06, 0, 10}};
        QCOMPARE(e.mid(0, 4), first);
        QCOMPARE(e.mid(4, 3), (QVector<MacroEvent>{{0x01, 0, 1}, {0x81, 0, 1}, {0x06, 0, 0}}));
        QCOMPARE(e.mid(7, 4),
                 (QVector<MacroEvent>{{0x01, 0, 1}, {0x81, 0, 1}, {0x02, 2, 0}, {0x02, 0, 0xF9}}));
        QCOMPARE(e.size(), 4 + 3 + 4 + 3 + 3);
        QCOMPARE(e.last(), (MacroEvent{0x06, 0, 10}));
    }
};

QTEST_GUILESS_MAIN(TestMacroRules)
#include "tst_macrorules.moc"
