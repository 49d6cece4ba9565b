// SPDX-License-Identifier: GPL-3.0-or-later
// The profile record: defaults, factory reset, stage-to-DPI rules and change detection.
#include "AppConfig.h"
#include "IniFile.h"
#include "ProfileData.h"
#include "TestAppDir.h"

#include <QtTest>

class TestProfileData : public QObject {
    Q_OBJECT

private slots:
    void freshRecordIsEmpty();
    void defaultProfileWithoutDescriptor();
    void defaultProfileFromDescriptor();
    void descriptorWithoutColourLeavesEffectInvalid();
    void resetProfileSetKeepsCountAndOtherSlots();
    void stageToDpiRules_data();
    void stageToDpiRules();
    void stageToDpiNeverOverflows();
    void diffMasks_data();
    void diffMasks();
    void diffStopsAtFirstDifferingButton();
    void macroWriteSignCountsOnceAndIsCleared();
    void macroWriteSignNeverLeavesMacroFolder();
    void diffWithOutOfRangeIndices();
};

void TestProfileData::freshRecordIsEmpty() {
    const ProfileData p;
    for (const LedModeInfo &m : p.ledModes)
        QVERIFY(!m.RGB.isValid());
    QCOMPARE(p.pollrate, uint8_t(0));
    QCOMPARE(p.buttons[41].keyInfo[62].H, uint8_t(0));
    QVERIFY(p.ProfileName.isEmpty());
    // Copies are whole values, strings included.
    ProfileData q = p;
    q.buttons[3].macroname = QStringLiteral("m");
    QVERIFY(p.buttons[3].macroname.isEmpty());
    QVERIFY(q != p);
}

void TestProfileData::defaultProfileWithoutDescriptor() {
    TestAppDir dir;
    ProfileData p;
    p.ProfileName = QStringLiteral("old");
    p.buttons[7].Fun = 99;
    makeDefaultProfile(p);

    QVERIFY(p.ProfileName.isEmpty());
    QCOMPARE(int(p.pollrate), 1);
    QCOMPARE(int(p.dpi), 1);
    QCOMPARE(int(p.LedMode), 9);
    QCOMPARE(int(p.LedSleepTime), 1);
    QCOMPARE(int(p.mousespeed), 10);
    const uint32_t stages[8] = {8, 12, 16, 24, 50, 75, 0, 0};
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(p.dpiInfo[i].x, stages[i]);
        QCOMPARE(p.dpiInfo[i].y, stages[i]);
        QCOMPARE(p.dpiInfo[i].xy, stages[i]);
        QCOMPARE(int(p.dpiInfo[i].used), 1);
        QCOMPARE(int(p.dpiInfo[i].link), 1);
    }
    const int funs[8] = {1, 2, 3, 4, 5, 4, 5, 0};
    for (int i = 0; i < 8; ++i)
        QCOMPARE(p.buttons[i].Fun, funs[i]);
    QCOMPARE(p.buttons[40].Fun, 52);
    QCOMPARE(p.buttons[41].Fun, 53);
    for (int n = 0; n < kLedModeCount; ++n) {
        QVERIFY(p.ledModes[n].RGB.isValid());
        QCOMPARE(p.ledModes[n].RGB, n == 10 ? QColor(0, 255, 0) : QColor(255, 0, 0));
        QCOMPARE(p.ledModes[n].h, 360u);
        QCOMPARE(p.ledModes[n].bright, 3u);
    }
    QCOMPARE(p.ledModes[4].breath, 2u);
    QCOMPARE(p.ledModes[9].breath, 4u);
    QCOMPARE(p.ledModes[10].breath, 5u);
    QCOMPARE(p.ledModes[12].breath, 1u);
    QCOMPARE(p.ledModes[0].breath, 3u);
}

void TestProfileData::defaultProfileFromDescriptor() {
    TestAppDir dir;
    dir.installData(QStringLiteral("DefaultProfile.bin"));
    ProfileData p;
    makeDefaultProfile(p);

    QCOMPARE(int(p.LedMode), 1);
    QCOMPARE(int(p.dpi), 1);
    QCOMPARE(int(p.pollrate), 1);
    const uint32_t stages[8] = {8, 16, 32, 64, 128, 256, 320, 360};
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(p.dpiInfo[i].y, stages[i]);
        QCOMPARE(int(p.dpiInfo[i].used), 1);
    }
    const int funs[6] = {1, 2, 3, 4, 5, 47};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(p.buttons[i].Fun, funs[i]);
        QCOMPARE(p.buttons[i].ID, 0); // the descriptor's ID is not copied
    }
    QCOMPARE(p.buttons[6].Fun, 0);
    QCOMPARE(p.buttons[40].Fun, 52);
    QCOMPARE(p.buttons[41].Fun, 53);
    QCOMPARE(p.ledModes[1].RGB, QColor(0, 229, 255));
    QCOMPARE(p.ledModes[10].RGB, QColor(0, 255, 0));
    QCOMPARE(p.ledModes[12].breath, 1u);
    for (const LedModeInfo &m : p.ledModes) {
        QVERIFY(m.RGB.isValid());
        QCOMPARE(m.h, 360u);
    }
}

void TestProfileData::descriptorWithoutColourLeavesEffectInvalid() {
    TestAppDir dir;
    dir.setIni(QStringLiteral("DefaultProfile.bin"),
               {{QStringLiteral("PROFILE/LedMode"), 3},
                {QStringLiteral("PROFILE/LedMode/LED_MODE_2_RGB"), QColor(1, 2, 3)},
                {QStringLiteral("PROFILE/LedMode/LED_MODE_2_bright"), 2},
                {QStringLiteral("PROFILE/BUTTON_INFO_17_Fun"), 9}});
    ProfileData p;
    makeDefaultProfile(p);
    QCOMPARE(int(p.LedMode), 3);
    QCOMPARE(p.ledModes[2].RGB, QColor(1, 2, 3));
    QCOMPARE(p.ledModes[2].bright, 2u);
    QVERIFY(!p.ledModes[3].RGB.isValid());
    // Only sixteen button entries are read from a descriptor.
    QCOMPARE(p.buttons[17].Fun, 0);
    // The stages come from the file: absent keys give 0.
    QCOMPARE(p.dpiInfo[0].x, 0u);
}

void TestProfileData::resetProfileSetKeepsCountAndOtherSlots() {
    TestAppDir dir;
    dir.installData(QStringLiteral("DefaultProfile.bin"));
    ProfileSet set;
    set.ProfileID = 3;
    set.Count = 7;
    set.profiles[2].pollrate = 8;
    set.profiles[0].pollrate = 8;
    resetProfileSet(set);
    QCOMPARE(int(set.ProfileID), 0);
    QCOMPARE(int(set.Count), 7);
    QCOMPARE(int(set.profiles[2].pollrate), 8);
    QCOMPARE(int(set.profiles[0].pollrate), 1);
    QCOMPARE(set.profileNames[4], QStringLiteral("Profile 5"));
    // Sensor defaults of the installed model.
    QCOMPARE(int(set.LiftHigh), 1);
    QCOMPARE(int(set.AngleValue), 1);
    QCOMPARE(int(set.Debounce), 4);
    QCOMPARE(int(set.Jitter), 1);
    QCOMPARE(int(set.SensorMode), 1);

    TestAppDir bare; // no descriptor: the options become 0
    set.LiftHigh = 9;
    resetProfileSet(set);
    QCOMPARE(int(set.LiftHigh), 0);
}

void TestProfileData::stageToDpiRules_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("sensor");
    QTest::addColumn<int>("dpi");
    QTest::newRow("3104 low") << 10 << 3104 << 400;
    QTest::newRow("3104 560 becomes 500") << 14 << 3104 << 500;
    QTest::newRow("31042 560 becomes 500") << 14 << 31042 << 500;
    QTest::newRow("3104 106") << 106 << 3104 << 4240;
    QTest::newRow("3104 107") << 107 << 3104 << 4320;
    QTest::newRow("3212 21 is 800") << 21 << 3212 << 800;
    QTest::newRow("3212 32 is 1200") << 32 << 3212 << 1200;
    QTest::newRow("3212 43 is 1600") << 43 << 3212 << 1600;
    QTest::newRow("3212 63 is 2390 -> 2400") << 63 << 3212 << 2400;
    QTest::newRow("3212 10") << 10 << 3212 << 380;
    QTest::newRow("3212 64") << 64 << 3212 << 2430;
    QTest::newRow("3212 94") << 94 << 3212 << 4710;
    QTest::newRow("3212 95") << 95 << 3212 << 4860;
    QTest::newRow("3212 111 is 7290 -> 7200") << 111 << 3212 << 7200;
    QTest::newRow("3311 120") << 120 << 3311 << 12000;
    QTest::newRow("3311 121") << 121 << 3311 << 12200;
    QTest::newRow("3360 121") << 121 << 3360 << 12200;
    QTest::newRow("33112 1") << 1 << 33112 << 100;
    QTest::newRow("3325 50") << 50 << 3325 << 5000;
    QTest::newRow("3325 51") << 51 << 3325 << 5200;
    QTest::newRow("33252 75") << 75 << 33252 << 10000;
    QTest::newRow("3325 76") << 76 << 3325 << 10400;
    QTest::newRow("3327 61") << 61 << 3327 << 6200;
    QTest::newRow("3327 62") << 62 << 3327 << 6400;
    QTest::newRow("3327 92") << 92 << 3327 << 12400;
    QTest::newRow("3327 93") << 93 << 3327 << 12600;
    QTest::newRow("3327 106 is 16400") << 106 << 3327 << 16400;
    QTest::newRow("3327 107") << 107 << 3327 << 16800;
    QTest::newRow("3333 80") << 80 << 3333 << 8000;
    QTest::newRow("3333 81") << 81 << 3333 << 8200;
    QTest::newRow("3335 160") << 160 << 3335 << 16000;
    QTest::newRow("33352 161") << 161 << 33352 << 16200;
    QTest::newRow("3370 200") << 200 << 3370 << 10000;
    QTest::newRow("3370 201") << 201 << 3370 << 10100;
    QTest::newRow("3389 100") << 100 << 3389 << 5000;
    QTest::newRow("3389 320") << 320 << 3389 << 16000;
    QTest::newRow("3389 321") << 321 << 3389 << 16100;
    QTest::newRow("3395 519") << 519 << 3395 << 26000;
    QTest::newRow("33952 520") << 520 << 33952 << 26100;
    QTest::newRow("3399 399") << 399 << 3399 << 20000;
    QTest::newRow("3399 400") << 400 << 3399 << 20100;
    QTest::newRow("3399 0") << 0 << 3399 << 50;
    QTest::newRow("unknown sensor") << 100 << 1234 << 0;
    QTest::newRow("sensor 0") << 100 << 0 << 0;
}

void TestProfileData::stageToDpiRules() {
    QFETCH(int, a);
    QFETCH(int, sensor);
    QFETCH(int, dpi);
    QCOMPARE(stageToDpi(a, sensor), dpi);
}

void TestProfileData::stageToDpiNeverOverflows() {
    // Stage values come from files as 32-bit numbers; huge ones must not overflow (UBSan).
    QCOMPARE(stageToDpi(INT_MAX, 3104), INT_MAX);
    QVERIFY(stageToDpi(INT_MIN, 3389) < 0);
    QCOMPARE(stageToDpi(int(uint32_t(4000000000u)), 0), 0);
}

namespace {
ProfileSet sampleSet() {
    ProfileSet s;
    s.ProfileID = 1;
    for (int p = 0; p < kProfileCount; ++p) {
        makeDefaultProfile(s.profiles[p]);
        s.profileNames[p] = QStringLiteral("P%1").arg(p);
    }
    s.profiles[1].LedMode = 2;
    return s;
}
} // namespace

void TestProfileData::diffMasks_data() {
    QTest::addColumn<int>("change");
    QTest::addColumn<unsigned>("mask");
    QTest::newRow("identical") << 0 << 0u;
    QTest::newRow("Count only") << 1 << 0u;
    QTest::newRow("xy only") << 2 << 0u;
    QTest::newRow("link only") << 3 << 0u;
    QTest::newRow("inactive effect colour") << 4 << 0u;
    QTest::newRow("active effect colour") << 5 << 8u;
    QTest::newRow("pollrate of an inactive profile") << 6 << 1u;
    QTest::newRow("scrollspeed") << 7 << 1u;
    QTest::newRow("sensor option") << 8 << 1u;
    QTest::newRow("active profile changed") << 9 << 1u;
    QTest::newRow("dpi of the active profile") << 10 << 1u;
    QTest::newRow("dpi of an inactive profile") << 11 << 0u;
    QTest::newRow("stage y") << 12 << 2u;
    QTest::newRow("stage used") << 13 << 2u;
    QTest::newRow("key step byte") << 14 << 4u;
    QTest::newRow("macro name of a macro button") << 15 << 4u;
    QTest::newRow("macro name of another function") << 16 << 0u;
    QTest::newRow("LedMode of an inactive profile") << 17 << 8u;
    QTest::newRow("profile names and host options") << 18 << 0u;
    QTest::newRow("sleep time of the active profile") << 19 << 1u;
    QTest::newRow("active profile with other stages") << 20 << 3u;
}

void TestProfileData::diffMasks() {
    QFETCH(int, change);
    QFETCH(unsigned, mask);
    TestAppDir dir;
    ProfileSet applied = sampleSet();
    if (change == 15)
        applied.profiles[0].buttons[2].Fun = kFunMacro;
    ProfileSet w = applied;
    switch (change) {
    case 1:
        w.Count = 9;
        break;
    case 2:
        w.profiles[3].dpiInfo[2].xy = 77;
        break;
    case 3:
        w.profiles[0].dpiInfo[5].link = 0;
        break;
    case 4:
        w.profiles[1].ledModes[5].RGB = Qt::blue;
        break;
    case 5:
        w.profiles[1].ledModes[2].RGB = Qt::blue;
        break;
    case 6:
        w.profiles[4].pollrate = 8;
        break;
    case 7:
        w.profiles[2].scrollspeed = 3;
        break;
    case 8:
        w.Wake = 1;
        break;
    case 9:
        w.ProfileID = 2;
        break;
    case 10:
        w.profiles[1].dpi = 4;
        break;
    case 11:
        w.profiles[3].dpi = 4;
        break;
    case 12:
        w.profiles[4].dpiInfo[7].y = 3;
        break;
    case 13:
        w.profiles[2].dpiInfo[0].used = 0;
        break;
    case 14:
        w.profiles[3].buttons[20].keyInfo[62].H = 1;
        break;
    case 15:
        w.profiles[0].buttons[2].macroname = QStringLiteral("other");
        break;
    case 16:
        w.profiles[0].buttons[2].macroname = QStringLiteral("other");
        break;
    case 17:
        w.profiles[4].LedMode = 11;
        break;
    case 18:
        w.profileNames[3] = QStringLiteral("renamed");
        w.profiles[2].mousespeed = 3;
        w.profiles[2].ProfileName = QStringLiteral("x");
        break;
    case 19:
        w.profiles[1].LedSleepTime = 5;
        break;
    case 20: // the new active profile's stages differ from the old one's, as sent
        applied.profiles[2].dpiInfo[4].x = 9;
        w.profiles[2].dpiInfo[4].x = 9;
        w.ProfileID = 2;
        break;
    default:
        break;
    }
    QCOMPARE(diffProfileSets(w, applied), mask);
}

void TestProfileData::diffStopsAtFirstDifferingButton() {
    TestAppDir dir;
    // A later macro button's write sign is untouched once an earlier slot already differs.
    QDir().mkpath(macroDir());
    QSettings(macroFilePath(QStringLiteral("late")), QSettings::IniFormat)
        .setValue(QStringLiteral("Setting/WriteSign"), 1);
    ProfileSet a = sampleSet();
    a.profiles[4].buttons[5].Fun = kFunMacro;
    a.profiles[4].buttons[5].macroname = QStringLiteral("late");
    ProfileSet w = a;
    w.profiles[0].buttons[0].Res2 = 1;
    QCOMPARE(diffProfileSets(w, a), 4u);
    QCOMPARE(QSettings(macroFilePath(QStringLiteral("late")), QSettings::IniFormat)
                 .value(QStringLiteral("Setting/WriteSign"))
                 .toInt(),
             1);
}

void TestProfileData::macroWriteSignCountsOnceAndIsCleared() {
    TestAppDir dir;
    QDir().mkpath(macroDir());
    const QString file = macroFilePath(QStringLiteral("Rapid fire"));
    QSettings(file, QSettings::IniFormat).setValue(QStringLiteral("Setting/WriteSign"), 1);
    ProfileSet a = sampleSet();
    a.profiles[2].buttons[3].Fun = kFunMacro;
    a.profiles[2].buttons[3].macroname = QStringLiteral("Rapid fire");
    const ProfileSet w = a;
    QCOMPARE(diffProfileSets(w, a), 4u);
    // Read afresh: QSettings' cache can miss a rewrite of the same size within a millisecond.
    QCOMPARE(IniFile(file).value(QStringLiteral("Setting/WriteSign")).toInt(), 0);
    QCOMPARE(diffProfileSets(w, a), 0u);
    // A gun file is a macro file, edited on the same page: its edit is sent the same way.
    a.profiles[2].buttons[3].Fun = kFunGunFile;
    updateIniFile(file, [](IniFile &f) { f.setValue(QStringLiteral("Setting/WriteSign"), 1); });
    QCOMPARE(diffProfileSets(a, a), 4u);
}

void TestProfileData::macroWriteSignNeverLeavesMacroFolder() {
    TestAppDir dir;
    // A file outside MacroDB that a crafted name would reach.
    const QString outside = dir.file(QStringLiteral("Configs/evil.MSMACRO"));
    QSettings(outside, QSettings::IniFormat).setValue(QStringLiteral("Setting/WriteSign"), 1);
    ProfileSet a = sampleSet();
    a.profiles[0].buttons[1].Fun = kFunMacro;
    a.profiles[0].buttons[1].macroname = QStringLiteral("../evil");
    QCOMPARE(diffProfileSets(a, a), 0u);
    QCOMPARE(
        QSettings(outside, QSettings::IniFormat).value(QStringLiteral("Setting/WriteSign")).toInt(),
        1);
    QVERIFY(!QFileInfo::exists(dir.file(QStringLiteral("Configs/MacroDB"))));
}

void TestProfileData::diffWithOutOfRangeIndices() {
    TestAppDir dir;
    ProfileSet a = sampleSet();
    a.ProfileID = 200; // as a corrupt Config.ini may hold
    a.profiles[0].LedMode = 99;
    a.profiles[0].dpi = 250;
    ProfileSet w = a;
    QCOMPARE(diffProfileSets(w, a), 0u);
    w.profiles[0].dpi = 251; // slot 0 stands in for an out-of-range active profile
    QCOMPARE(diffProfileSets(w, a), 1u);
    w = a;
    w.profiles[0].LedMode = 98;
    QCOMPARE(diffProfileSets(w, a), 9u);
}

QTEST_GUILESS_MAIN(TestProfileData)
#include "tst_profiledata.moc"
