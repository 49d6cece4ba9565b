// SPDX-License-Identifier: GPL-3.0-or-later
// Profile and configuration files: key layout, round trips, the profile set's load and
// save, import/export, and hostile input.
#include "AppConfig.h"
#include "IniFile.h"
#include "ModelDescriptor.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "TestAppDir.h"

#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

namespace {
// A record with every field set to something other than its default.
ProfileData fullRecord(quint32 variant) {
    QRandomGenerator rng(variant);
    auto byte = [&] { return uint8_t(rng.bounded(1, 256)); };
    ProfileData p;
    p.pollrate = byte();
    p.dpi = byte();
    p.LedMode = byte();
    p.LedMoveOFF = byte();
    p.LedSleepTime = byte();
    for (DpiInfo &s : p.dpiInfo) {
        s.used = byte();
        s.link = byte();
        s.xy = rng.generate();
        s.x = rng.generate();
        s.y = 0xFFFFFFFFu;
    }
    p.mousespeed = byte();
    p.dbclickspeed = byte();
    p.scrollispage = byte();
    p.scrollspeed = byte();
    p.accelenable = byte();
    p.acee = byte();
    for (int b = 0; b < kButtonSlotCount; ++b) {
        ButtonInfo &i = p.buttons[b];
        i.ID = int32_t(rng.generate());
        i.Fun = -int32_t(rng.bounded(1, 1000));
        i.LoopNumber = int32_t(rng.generate());
        i.KeyNumber = int32_t(rng.bounded(0, 64));
        for (KeyInfo &k : i.keyInfo)
            k = {byte(), byte(), byte()};
        i.Res1 = byte();
        i.Res2 = byte();
        i.Res3 = byte();
        i.Res4 = byte();
        i.macroname = QStringLiteral("m %1 = ; , \" \\ [x] #%2").arg(b).arg(QChar(0x4e2d));
    }
    for (int n = 0; n < kLedModeCount; ++n) {
        LedModeInfo &m = p.ledModes[n];
        m.RGB = n == 5 ? QColor() : QColor(byte(), byte(), byte(), byte());
        m.h = rng.generate();
        m.s = rng.generate();
        m.v = rng.generate();
        m.bright = rng.generate();
        m.breath = rng.generate();
    }
    p.ProfileName = QStringLiteral("Name with = and ;");
    p.ProfilePath = QStringLiteral("C:\\Users\\x\\a.prof");
    return p;
}

int keysInGroup(const QString &path, const QString &group) {
    QSettings ini(path, QSettings::IniFormat);
    ini.beginGroup(group);
    return ini.allKeys().size();
}
} // namespace

class TestProfileFiles : public QObject {
    Q_OBJECT

private slots:
    void keyLayout();
    void freshRecordRoundTrip();
    void fullRecordRoundTrip();
    void groupFormLeavesLocalKeysAlone();
    void readsFilesWrittenByPlainQSettings();
    void writesWhatQSettingsWrites();
    void readsWhatQSettingsReads();
    void damagedColourReadsInvalid();
    void missingKeysReadAsZero();
    void perProductFolder();
    void loadProfileSetFromConfig();
    void unsafeNamesAreMissingFiles();
    void saveAppliedStateKeepsEverySlot();
    void unsentStateMakesTheNextSendWhole();
    void exportImportKeepsNames();
    void importWithoutNamesKeepsCurrentNames();
    void modelNameAndStageUpdate();
    void hostileFiles_data();
    void hostileFiles();
};

void TestProfileFiles::keyLayout() {
    const QStringList prof = profileKeyNames(QStringLiteral("PROFILE"), true);
    const QStringList conf = profileKeyNames(QStringLiteral("PROFILE_2"), false);
    QCOMPARE(prof.size(), kProfileKeyCount);
    QCOMPARE(conf.size(), kProfileGroupKeyCount);
    QCOMPARE(QSet<QString>(prof.begin(), prof.end()).size(), prof.size());
    QCOMPARE(prof.first(), QStringLiteral("PROFILE/pollrate"));
    QCOMPARE(prof.at(1), QStringLiteral("PROFILE/dpi"));
    QCOMPARE(prof.at(2), QStringLiteral("PROFILE/DPI_INFO_0_used"));
    QCOMPARE(prof.at(6), QStringLiteral("PROFILE/DPI_INFO_0_y"));
    QCOMPARE(prof.at(42), QStringLiteral("PROFILE/mousespeed"));
    QCOMPARE(prof.at(48), QStringLiteral("PROFILE/BUTTON_INFO_0_ID"));
    QCOMPARE(prof.at(56), QStringLiteral("PROFILE/BUTTON_INFO_0_macroname"));
    QCOMPARE(prof.at(57), QStringLiteral("PROFILE/BUTTON_INFO_0_KeyInfo_0_map"));
    QCOMPARE(prof.at(58), QStringLiteral("PROFILE/BUTTON_INFO_0_KeyInfo_0_"));
    QCOMPARE(prof.at(59), QStringLiteral("PROFILE/BUTTON_INFO_0_KeyInfo_0_H"));
    QCOMPARE(prof.at(48 + 198), QStringLiteral("PROFILE/BUTTON_INFO_1_ID"));
    const int step = prof.indexOf(QStringLiteral("PROFILE/BUTTON_INFO_3_KeyInfo_5_"));
    QCOMPARE(step, 48 + 3 * 198 + 9 + 5 * 3 + 1);
    QVERIFY(conf.contains(QStringLiteral("PROFILE_2/BUTTON_INFO_3_KeyInfo_5_")));
    const int afterButtons = 48 + 42 * 198;
    QCOMPARE(prof.at(afterButtons), QStringLiteral("PROFILE/ProfileName"));
    QCOMPARE(prof.at(afterButtons + 2), QStringLiteral("PROFILE/LedMode"));
    QCOMPARE(prof.at(afterButtons + 3), QStringLiteral("PROFILE/LedMoveOFF"));
    QCOMPARE(prof.at(afterButtons + 5), QStringLiteral("PROFILE/LedMode/LED_MODE_0_RGB"));
    QCOMPARE(prof.last(), QStringLiteral("PROFILE/LedMode/LED_MODE_13_breath"));
    QVERIFY(!conf.contains(QStringLiteral("PROFILE_2/LedMoveOFF")));
    QVERIFY(!conf.contains(QStringLiteral("PROFILE_2/LedSleepTime")));
    QCOMPARE(conf.at(afterButtons + 3), QStringLiteral("PROFILE_2/LedMode/LED_MODE_0_RGB"));
}

void TestProfileFiles::freshRecordRoundTrip() {
    TestAppDir dir;
    const QString path = dir.file(QStringLiteral("fresh.prof"));
    writeProfile(0, ProfileData(), path);
    QCOMPARE(keysInGroup(path, QStringLiteral("PROFILE")), kProfileKeyCount);
    ProfileData back = fullRecord(1);
    readProfile(0, back, path);
    QVERIFY(back == ProfileData());
    for (const LedModeInfo &m : back.ledModes)
        QVERIFY(!m.RGB.isValid());
}

void TestProfileFiles::fullRecordRoundTrip() {
    TestAppDir dir;
    const ProfileData full = fullRecord(42);
    const QString prof = dir.file(QStringLiteral("full.prof"));
    writeProfile(0, full, prof);
    ProfileData back;
    readProfile(0, back, prof);
    QVERIFY(back == full);
    QVERIFY(!back.ledModes[5].RGB.isValid());
    QCOMPARE(back.ledModes[3].RGB.alpha(), full.ledModes[3].RGB.alpha());

    // Config.ini form: group PROFILE_<index> of Config.ini.
    writeProfile(3, full, QString());
    QCOMPARE(keysInGroup(configIniPath(), QStringLiteral("PROFILE_3")), kProfileKeyCount);
    ProfileData fromConfig;
    readProfile(3, fromConfig, QString());
    QVERIFY(fromConfig == full);

    // Configuration file group form.
    const QString conf = dir.file(QStringLiteral("set.conf"));
    writeProfileGroup(4, full, conf);
    QCOMPARE(keysInGroup(conf, QStringLiteral("PROFILE_4")), kProfileGroupKeyCount);
    ProfileData fromGroup;
    readProfileGroup(4, fromGroup, conf);
    ProfileData expected = full;
    expected.LedMoveOFF = 0;
    expected.LedSleepTime = 0;
    QVERIFY(fromGroup == expected);
}

void TestProfileFiles::groupFormLeavesLocalKeysAlone() {
    TestAppDir dir;
    const QString conf = dir.file(QStringLiteral("set.conf"));
    writeProfileGroup(0, fullRecord(3), conf);
    ProfileData p;
    p.LedMoveOFF = 255;
    p.LedSleepTime = 7;
    readProfileGroup(0, p, conf);
    QCOMPARE(int(p.LedMoveOFF), 255);
    QCOMPARE(int(p.LedSleepTime), 7);
}

void TestProfileFiles::readsFilesWrittenByPlainQSettings() {
    TestAppDir dir;
    const QString path = dir.file(QStringLiteral("plain.prof"));
    {
        QSettings ini(path, QSettings::IniFormat);
        ini.setValue(QStringLiteral("PROFILE/dpi"), 3);
        ini.setValue(QStringLiteral("PROFILE/DPI_INFO_2_x"), 4000000000u);
        ini.setValue(QStringLiteral("PROFILE/BUTTON_INFO_41_Fun"), 200);
        ini.setValue(QStringLiteral("PROFILE/BUTTON_INFO_41_macroname"), QStringLiteral("Burst"));
        ini.setValue(QStringLiteral("PROFILE/BUTTON_INFO_7_KeyInfo_62_H"), 9);
        ini.setValue(QStringLiteral("PROFILE/LedMode/LED_MODE_4_RGB"), QColor(10, 20, 30));
        ini.setValue(QStringLiteral("PROFILE/LedMode/LED_MODE_4_breath"), 5);
        ini.setValue(QStringLiteral("PROFILE/LedMode/LED_MODE_6_RGB"), QStringLiteral("#102030"));
        ini.setValue(QStringLiteral("PROFILE/ProfileName"),
                     QString::fromUtf8("\xe6\xb8\xb8\xe6\x88\x8f"));
    }
    ProfileData p;
    readProfile(0, p, path);
    QCOMPARE(int(p.dpi), 3);
    QCOMPARE(p.dpiInfo[2].x, 4000000000u);
    QCOMPARE(p.buttons[41].Fun, 200);
    QCOMPARE(p.buttons[41].macroname, QStringLiteral("Burst"));
    QCOMPARE(int(p.buttons[7].keyInfo[62].H), 9);
    QCOMPARE(p.ledModes[4].RGB, QColor(10, 20, 30));
    QCOMPARE(p.ledModes[4].breath, 5u);
    QCOMPARE(p.ledModes[6].RGB, QColor(0x10, 0x20, 0x30));
    QCOMPARE(p.ProfileName, QString::fromUtf8("\xe6\xb8\xb8\xe6\x88\x8f"));
    // And the other way: what we write is plain QSettings to any reader.
    writeProfile(0, p, path);
    QSettings check(path, QSettings::IniFormat);
    QCOMPARE(check.value(QStringLiteral("PROFILE/LedMode/LED_MODE_4_RGB")).value<QColor>(),
             QColor(10, 20, 30));
    QCOMPARE(check.value(QStringLiteral("PROFILE/DPI_INFO_2_x")).toUInt(), 4000000000u);
}

// A profile file of ours is byte for byte what QSettings writes for the same values, which
// also shows that QSettings reads back every value we wrote.
void TestProfileFiles::writesWhatQSettingsWrites() {
    TestAppDir dir;
    ProfileData full = fullRecord(60);
    full.ProfileName = QStringLiteral(" @lead\x01") + QChar(0) + QStringLiteral("9 \"q\" end ");
    full.ProfilePath = QStringLiteral("@@x,\t") + QChar(0x1F600) + QChar(0xe9);
    const QString ours = dir.file(QStringLiteral("ours.prof"));
    writeProfile(0, full, ours);
    writeModelName(ours, QStringLiteral("TOLV"));
    const QString theirs = dir.file(QStringLiteral("theirs.prof"));
    {
        QSettings in(ours, QSettings::IniFormat);
        QSettings out(theirs, QSettings::IniFormat);
        for (const QString &key : in.allKeys())
            out.setValue(key, in.value(key));
    }
    QFile a(ours), b(theirs);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    const QByteArray ourText = a.readAll();

    QVERIFY(ourText == b.readAll());
    ProfileData back;
    readProfile(0, back, theirs);
    QVERIFY(back == full);
}

// Hand-written INI text, with the oddities QSettings allows, reads as QSettings reads it.
void TestProfileFiles::readsWhatQSettingsReads() {
    TestAppDir dir;
    dir.writeText(QStringLiteral("odd.ini"),
                  "; comment\ntop = plain\n[PROFILE]\na = \"quoted, with comma\" ; comment\n"
                  "b = one, two ,three\nc = \\x4e2d\\x6587 and \\101\\t tab\n"
                  "d = \"two\nlines\"\ne=@@at\nf=@Invalid()\ng = trailing   \nh=\\\"q\n"
                  "i=@ByteArray(raw)\nj=@String(a\\0b)\nk\\sub=slash\n%41%U4E2D=key\ndup=1\ndup=2\n"
                  "no equals sign\nlist=@@a, @b\nn = 0042\nbig=99999999999\n"
                  "[%General]\nx=1\n[general]\ny=2\n[PROFILE]\nagain=merged\n");
    const QString path = dir.file(QStringLiteral("odd.ini"));
    QSettings theirs(path, QSettings::IniFormat);
    const IniFile ours(path);
    for (const QString &key : theirs.allKeys()) {
        QCOMPARE(ours.value(key), theirs.value(key));
        QCOMPARE(ours.value(key).toInt(), theirs.value(key).toInt());
        QCOMPARE(ours.number(key), theirs.value(key).toLongLong());
    }
}

// A colour whose model byte is none of QColor's (49 here), alone or in a brush, or that is cut
// short reads as no colour from a profile and from the model descriptor, and the default profile
// made from the descriptor carries no colour for that effect.
void TestProfileFiles::damagedColourReadsInvalid() {
    TestAppDir dir;
    const QByteArray good = "@Variant(\\0\\0\\0\\x43\\x1\\xff\\xff\\0\\n\\0\\x14\\0\\x1e\\0\\0)";
    const QByteArray bad[] = {
        "@Variant(\\0\\0\\0\\x43\\x31\\xff\\xff\\0\\n\\0\\x14\\0\\x1e\\0\\0)",
        "@Variant(\\0\\0\\0\\x43\\xff\\xff\\xff\\0\\n\\0\\x14\\0\\x1e\\0\\0)",
        "@Variant(\\0\\0\\0\\x43\\x2\\xff)",
        // a brush, whose colour Qt would read unchecked as well
        "@Variant(\\0\\0\\0\\x42\\x1\\x31\\xff\\xff\\0\\n\\0\\x14\\0\\x1e\\0\\0)"};
    QByteArray text = "[PROFILE]\nLedMode\\LED_MODE_0_RGB=" + good + "\n";
    for (int n = 1; n <= 4; ++n)
        text += "LedMode\\LED_MODE_" + QByteArray::number(n) + "_RGB=" + bad[n - 1] + "\n";
    dir.writeText(QStringLiteral("DefaultProfile.bin"), text);
    dir.writeText(QStringLiteral("bad.prof"), text);
    ProfileData p;
    readProfile(0, p, dir.file(QStringLiteral("bad.prof")));
    ModelDescriptor d;
    QCOMPARE(readModelDescriptor(d), 0);
    ProfileData def;
    makeDefaultProfile(def);
    for (const QColor &c : {p.ledModes[0].RGB, d.ledModes[0].RGB, def.ledModes[0].RGB})
        QCOMPARE(c, QColor::fromRgba64(10, 20, 30, 0xFFFF));
    for (int n = 1; n <= 4; ++n) {
        QVERIFY(!p.ledModes[n].RGB.isValid());
        QVERIFY(!d.ledModes[n].RGB.isValid());
        QVERIFY(!def.ledModes[n].RGB.isValid());
        QVERIFY(p.ledModes[n].RGB == QColor());
    }
}

void TestProfileFiles::missingKeysReadAsZero() {
    TestAppDir dir;
    dir.writeText(QStringLiteral("part.prof"),
                  "[PROFILE]\npollrate=300\nLedMode=9\ndpi=-1\nBUTTON_INFO_2_Fun=6\n"
                  "BUTTON_INFO_2_Res1=abc\n");
    ProfileData p = fullRecord(5);
    readProfile(0, p, dir.file(QStringLiteral("part.prof")));
    QCOMPARE(int(p.pollrate), 300 & 0xFF); // only the low bits are kept
    QCOMPARE(int(p.dpi), 255);
    QCOMPARE(int(p.LedMode), 9);
    QCOMPARE(int(p.LedMoveOFF), 0);
    QCOMPARE(p.buttons[2].Fun, 6);
    QCOMPARE(int(p.buttons[2].Res1), 0);
    QCOMPARE(p.buttons[3].Fun, 0);
    QVERIFY(p.buttons[3].macroname.isEmpty());
    QVERIFY(!p.ledModes[0].RGB.isValid());
}

void TestProfileFiles::perProductFolder() {
    TestAppDir dir;
    // Without a model no profile file is written anywhere.
    QVERIFY(profileDir().isEmpty());
    writeDefaultProfileFile();
    saveProfileByName(ProfileData(), QStringLiteral("Game"));
    QVERIFY(QDir(dir.file(QStringLiteral("Configs")))
                .entryList(QDir::NoDotAndDotDot | QDir::AllEntries)
                .isEmpty());
    setCurrentProductName(QStringLiteral("TOLV"));
    QCOMPARE(profileFilePath(QStringLiteral("Game")),
             dir.file(QStringLiteral("Configs/TOLV/Profile/Game.prof")));
    writeDefaultProfileFile();
    QVERIFY(
        QFileInfo::exists(dir.file(QStringLiteral("Configs/TOLV/Profile/DefaultProfile.prof"))));
    ProfileData def;
    loadProfileByName(def, QStringLiteral("DefaultProfile"));
    ProfileData expected;
    makeDefaultProfile(expected);
    QVERIFY(def == expected);
    // A product name that is no folder name gives no folder.
    setCurrentProductName(QStringLiteral("../up"));
    QVERIFY(profileDir().isEmpty());
    QVERIFY(profileFilePath(QStringLiteral("Game")).isEmpty());
}

void TestProfileFiles::loadProfileSetFromConfig() {
    TestAppDir dir;
    setCurrentProductName(QStringLiteral("TOLV"));
    dir.installData(QStringLiteral("DefaultProfile.bin"));
    const ProfileData a = fullRecord(10);
    const ProfileData b = fullRecord(11);
    saveProfileByName(a, QStringLiteral("Alpha"));
    saveProfileByName(b, QStringLiteral("Beta"));
    dir.setIni(QStringLiteral("Configs/Config.ini"),
               {{QStringLiteral("Config/ProfileID"), 4},
                {QStringLiteral("Config/AngleValue"), 1},
                {QStringLiteral("Config/LiftHigh"), 2},
                {QStringLiteral("Config/Sync"), 1},
                {QStringLiteral("Config/Jitter"), 1},
                {QStringLiteral("Config/Debounce"), 260},
                {QStringLiteral("Config/Wake"), 1},
                {QStringLiteral("Config/SensorMode"), 2},
                {QStringLiteral("Config/Count"), 5},
                {QStringLiteral("Config/Profile1"), "Alpha"},
                {QStringLiteral("Config/Profile2"), "Beta"},
                {QStringLiteral("Config/Profile4"), "Alpha"}});
    ProfileSet set;
    set.profiles[2] = fullRecord(12);
    loadProfileSet(set);
    QCOMPARE(int(set.ProfileID), 4);
    QCOMPARE(int(set.LiftHigh), 2);
    QCOMPARE(int(set.Debounce), 260 & 0xFF);
    QCOMPARE(int(set.SensorMode), 2);
    QCOMPARE(int(set.Count), 5);
    QVERIFY(set.profiles[0] == a);
    QVERIFY(set.profiles[1] == b);
    QVERIFY(set.profiles[3] == a);
    // No name for slot 3: an all-zero profile with invalid colours.
    QVERIFY(set.profileNames[2].isEmpty());
    QVERIFY(set.profiles[2] == ProfileData());
    // The button matrix of the descriptor is published.
    QCOMPARE(int(buttonMatrix()[5]), 5);

    // A first start, with no option saved yet, takes the model's factory options.
    QSettings(configIniPath(), QSettings::IniFormat).remove(QStringLiteral("Config"));
    loadProfileSet(set);
    QCOMPARE(int(set.Debounce), 4);
    QCOMPARE(int(set.AngleValue), 1);
    QCOMPARE(int(set.LiftHigh), 1);
    QCOMPARE(int(set.SensorMode), 1);
}

void TestProfileFiles::unsafeNamesAreMissingFiles() {
    TestAppDir dir;
    // Files a traversal would reach.
    writeProfile(0, fullRecord(20), dir.file(QStringLiteral("Configs/secret.prof")));
    writeProfile(0, fullRecord(21), dir.file(QStringLiteral("Configs/Profile/.prof")));
    dir.setIni(QStringLiteral("Configs/Config.ini"),
               {{QStringLiteral("Config/Profile1"), "../secret"},
                {QStringLiteral("Config/Profile2"), ""},
                {QStringLiteral("Config/Profile3"), "a\\..\\..\\secret"}});
    ProfileSet set;
    for (ProfileData &p : set.profiles)
        p = fullRecord(22);
    loadProfileSet(set);
    for (const ProfileData &p : set.profiles)
        QVERIFY(p == ProfileData());
    QCOMPARE(set.profileNames[0], QStringLiteral("../secret")); // the name itself is kept

    // Saving under such a name writes nothing anywhere.
    set.profiles[0] = fullRecord(23);
    saveAppliedState(set);
    ProfileData secret;
    readProfile(0, secret, dir.file(QStringLiteral("Configs/secret.prof")));
    QVERIFY(secret == fullRecord(20));
    saveProfileDpi(QStringLiteral("../secret"), 7);
    readProfile(0, secret, dir.file(QStringLiteral("Configs/secret.prof")));
    QCOMPARE(secret.dpi, fullRecord(20).dpi);
}

void TestProfileFiles::saveAppliedStateKeepsEverySlot() {
    TestAppDir dir;
    setCurrentProductName(QStringLiteral("TOLV"));
    ProfileSet set;
    set.ProfileID = 2;
    set.Count = 3;
    set.SensorMode = 2;
    for (int i = 0; i < kProfileCount; ++i) {
        set.profiles[i] = fullRecord(30 + i);
        set.profileNames[i] = QStringLiteral("Slot %1").arg(i + 1);
    }
    saveAppliedState(set);
    ProfileSet back;
    loadProfileSet(back);
    QVERIFY(back == set);

    // An edit while slot 3 is active survives a restart.
    set.profiles[2].dpiInfo[1].x = 1234;
    saveAppliedState(set);
    loadProfileSet(back);
    QCOMPARE(back.profiles[2].dpiInfo[1].x, 1234u);

    // Unchanged slots are not rewritten; a file changed behind our back is.
    const QString slot4 = profileFilePath(set.profileNames[3]);
    const QString slot5 = profileFilePath(set.profileNames[4]);
    const QDateTime before = QFileInfo(slot4).lastModified();
    QTest::qWait(20);
    QSettings(slot5, QSettings::IniFormat).setValue(QStringLiteral("PROFILE/pollrate"), 77);
    saveAppliedState(set);
    QCOMPARE(QFileInfo(slot4).lastModified(), before);
    loadProfileSet(back);
    QVERIFY(back == set);
}

void TestProfileFiles::unsentStateMakesTheNextSendWhole() {
    TestAppDir dir;
    setCurrentProductName(QStringLiteral("TOLV"));
    ProfileSet applied;
    boundForMouse(applied);
    ProfileSet working = applied;
    writeDiffFlag(0);
    // Nothing to send: the flag is left as it was.
    QCOMPARE(beginSend(working, applied, false, false).groups, 0u);
    QCOMPARE(readDiffFlag(), 0);
    // A send under way is stored as unsent (killed now, the next run sends all) until it ends.
    // What the mouse cannot take goes as the pages show it (a lift-off distance of 0 as 2 mm).
    working.profiles[1].pollrate = 2;
    working.LiftHigh = 0;
    QCOMPARE(beginSend(working, applied, false, false).groups, unsigned(DiffGeneral));
    QCOMPARE(int(working.LiftHigh), 2);
    QCOMPARE(readDiffFlag(), 1);
    recordSend(applied, working, true);
    QCOMPARE(readDiffFlag(), 0);
    // Stored while the mouse is off: all of it goes with the next send.
    working.profiles[1].pollrate = 4;
    QCOMPARE(beginSend(working, applied, false, true).groups, 0u);
    QCOMPARE(beginSend(working, working, false, false).groups, unsigned(DiffAll));
}

void TestProfileFiles::exportImportKeepsNames() {
    TestAppDir dir;
    ProfileSet set;
    set.ProfileID = 3;
    set.AngleValue = 1;
    set.Wake = 1;
    set.Count = 2;
    for (int i = 0; i < kProfileCount; ++i) {
        set.profiles[i] = fullRecord(40 + i);
        set.profileNames[i] = QStringLiteral("Name %1").arg(i);
    }
    const QString conf = dir.file(QStringLiteral("backup.conf"));
    writeModelName(conf, QStringLiteral("TOLV"));
    exportProfileSet(set, conf);
    QCOMPARE(readModelName(conf), QStringLiteral("TOLV"));
    for (int i = 0; i < kProfileCount; ++i)
        QCOMPARE(keysInGroup(conf, QStringLiteral("PROFILE_%1").arg(i)), kProfileGroupKeyCount);

    ProfileSet target;
    for (ProfileData &p : target.profiles) {
        p.LedMoveOFF = 17;
        p.LedSleepTime = 4;
    }
    importProfileSet(target, conf);
    QCOMPARE(int(target.ProfileID), 3);
    QCOMPARE(int(target.AngleValue), 1);
    QCOMPARE(int(target.Wake), 1);
    QCOMPARE(int(target.Count), 2);
    for (int i = 0; i < kProfileCount; ++i) {
        QCOMPARE(target.profileNames[i], set.profileNames[i]);
        ProfileData expected = set.profiles[i];
        expected.LedMoveOFF = 17;
        expected.LedSleepTime = 4;
        QVERIFY(target.profiles[i] == expected);
    }
}

void TestProfileFiles::importWithoutNamesKeepsCurrentNames() {
    TestAppDir dir;
    const QString conf = dir.file(QStringLiteral("old.conf"));
    dir.writeText(QStringLiteral("old.conf"), "[Config]\nProfileID=1\n[PROFILE_0]\npollrate=2\n");
    ProfileSet set;
    set.profileNames[0] = QStringLiteral("Keep me");
    set.profiles[0].pollrate = 8;
    importProfileSet(set, conf);
    QCOMPARE(set.profileNames[0], QStringLiteral("Keep me"));
    QCOMPARE(int(set.profiles[0].pollrate), 2);
    QCOMPARE(int(set.ProfileID), 1);
}

void TestProfileFiles::modelNameAndStageUpdate() {
    TestAppDir dir;
    setCurrentProductName(QStringLiteral("TOLV"));
    const ProfileData p = fullRecord(50);
    saveProfileByName(p, QStringLiteral("Game"));
    saveProfileDpi(QStringLiteral("Game"), 5);
    ProfileData back;
    loadProfileByName(back, QStringLiteral("Game"));
    ProfileData expected = p;
    expected.dpi = 5;
    QVERIFY(back == expected);
    QVERIFY(readModelName(profileFilePath(QStringLiteral("Game"))).isEmpty());
    writeModelName(profileFilePath(QStringLiteral("Game")), QStringLiteral("TOLV"));
    QCOMPARE(readModelName(profileFilePath(QStringLiteral("Game"))), QStringLiteral("TOLV"));
    loadProfileByName(back, QStringLiteral("Game"));
    QVERIFY(back == expected); // the extra key does not disturb the profile
}

void TestProfileFiles::hostileFiles_data() {
    QTest::addColumn<QByteArray>("content");
    QByteArray garbage;
    QRandomGenerator rng(7);
    for (int i = 0; i < 20000; ++i)
        garbage.append(char(rng.bounded(256)));
    QTest::newRow("binary garbage") << garbage;
    QTest::newRow("truncated") << QByteArray("[PROFILE]\npollrate=1\nBUTTON_INFO_0_KeyInfo_3_m");
    QTest::newRow("huge counts") << QByteArray(
        "[PROFILE]\nBUTTON_INFO_0_KeyNumber=2147483647\nBUTTON_INFO_1_KeyNumber=-5\n"
        "dpi=200\nLedMode=250\nBUTTON_INFO_0_LoopNumber=99999999999\n");
    QTest::newRow("broken colour")
        << QByteArray("[PROFILE]\nLedMode\\LED_MODE_1_RGB=@Variant(\\0\\0\\0\\x43\\x1\\xff)\n"
                      "LedMode\\LED_MODE_2_RGB=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x2)\n"
                      "LedMode\\LED_MODE_3_RGB=@Variant(\n");
    QTest::newRow("empty") << QByteArray();
}

void TestProfileFiles::hostileFiles() {
    QFETCH(QByteArray, content);
    TestAppDir dir;
    dir.writeText(QStringLiteral("Configs/Profile/bad.prof"), content);
    dir.writeText(QStringLiteral("Configs/Config.ini"),
                  "[Config]\nProfileID=200\nProfile1=bad\nProfile2=bad\n" + content);
    ProfileSet set;
    loadProfileSet(set); // must not crash or read out of bounds (ASan)
    QCOMPARE(int(set.ProfileID), 200);
    QCOMPARE(set.activeIndex(), 0);
    const ProfileData &p = set.profiles[0];
    for (const ButtonInfo &b : p.buttons) {
        QVERIFY(b.keyStepCount() >= 0);
        QVERIFY(b.keyStepCount() <= kKeyStepCount);
    }
    QVERIFY(p.activeStage() == -1 || p.activeStage() < kDpiStageCount);
    QVERIFY(p.activeLedMode() == nullptr || p.LedMode < kLedModeCount);
    // The record survives a save and a reload unchanged.
    saveAppliedState(set);
    ProfileSet again;
    loadProfileSet(again);
    QVERIFY(again.profiles[0] == p);
    importProfileSet(again, dir.file(QStringLiteral("Configs/Profile/bad.prof")));
}

QTEST_GUILESS_MAIN(TestProfileFiles)
#include "tst_profilefiles.moc"
