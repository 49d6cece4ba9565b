// SPDX-License-Identifier: GPL-3.0-or-later
// Config.ini, the model descriptor and the language configuration.
#include "AppConfig.h"
#include "LanguageConfig.h"
#include "ModelDescriptor.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "TestAppDir.h"

#include <QtTest>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
// Whether this process may read past file permissions (root may): off, as for a user.
bool readPastPermissions(bool on) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    const quint32 bits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
    data[0].effective =
        on ? data[0].effective | (data[0].permitted & bits) : data[0].effective & ~bits;
    return syscall(SYS_capset, &header, data) == 0;
}
} // namespace

class TestConfig : public QObject {
    Q_OBJECT

private slots:
    void defaultsWithoutConfigFile();
    void configRoundTrips();
    void macroCountSkipsHoles();
    void saveProfileListWritesAllFiveNames();
    void unreadableConfigIsNotWrittenOver();
    void protectedProfiles();
    void unsafeNames_data();
    void unsafeNames();
    void descriptorCounts_data();
    void descriptorCounts();
    void descriptorDefaultsWithoutFile();
    void installedDescriptor();
    void descriptorMatrices();
    void descriptorButtonsBeyondSixteenStayZero();
    void languageList();
    void languageIdAndFonts();
    void installedStateIsSeededOnceIntoTheUserFolder();
};

void TestConfig::defaultsWithoutConfigFile() {
    TestAppDir dir;
    QCOMPARE(batteryFullValue(), 4200);
    QCOMPARE(batteryLevel(), 0);
    QCOMPARE(readDiffFlag(), 0);
    QCOMPARE(sensorCode(), 0);
    QCOMPARE(accentColourId(), 0);
    QCOMPARE(ledCodeVariant(), 0);
    QCOMPARE(macroCount(), 0);
    QVERIFY(currentProductName().isEmpty());
    QVERIFY(modelText().isEmpty());
    QCOMPARE(stageToDpi(100, sensorCode()), 0);
    QCOMPARE(configDir(), dir.path() + QStringLiteral("/Configs"));
    // Reading never creates the file.
    QVERIFY(!QFileInfo::exists(configIniPath()));
}

void TestConfig::configRoundTrips() {
    TestAppDir dir;
    writeDiffFlag(1);
    setBatteryLevel(70);
    setCurrentProductName(QStringLiteral("TOLV"));
    saveActiveProfileId(3);
    QCOMPARE(readDiffFlag(), 1);
    QCOMPARE(batteryLevel(), 70);
    QCOMPARE(currentProductName(), QStringLiteral("TOLV"));
    QSettings ini(configIniPath(), QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("Config/ProfileID")).toInt(), 3);
    // The lighting variant is read under the product's name.
    ini.setValue(QStringLiteral("MouseLEDMode/TOLV"), 2);
    ini.setValue(QStringLiteral("MouseLEDMode/"), 5);
    ini.sync();
    QCOMPARE(ledCodeVariant(), 2);
    setCurrentProductName(QString());
    QCOMPARE(ledCodeVariant(), 5);
}

void TestConfig::macroCountSkipsHoles() {
    TestAppDir dir;
    setMacroListEntry(3, QStringLiteral("a"));
    setMacroListEntry(10, QStringLiteral("b"));
    setMacroListEntry(50, QStringLiteral("ignored"));
    QCOMPARE(macroCount(), 2);
    QCOMPARE(macroListEntry(10), QStringLiteral("b"));
    QVERIFY(macroListEntry(50).isEmpty());
    dir.setIni(QStringLiteral("Configs/Config.ini"),
               {{QStringLiteral("MACRO_LIST/49"), "z"}, {QStringLiteral("MACRO_LIST/50"), "y"}});
    QCOMPARE(macroCount(), 3);
}

void TestConfig::saveProfileListWritesAllFiveNames() {
    TestAppDir dir;
    ProfileSet set;
    set.ProfileID = 2;
    set.Count = 4;
    set.profileNames[0] = QStringLiteral("Game");
    set.profileNames[3] = QStringLiteral("Work");
    saveProfileList(set);
    QSettings ini(configIniPath(), QSettings::IniFormat);
    for (int i = 1; i <= 5; ++i)
        QVERIFY(ini.contains(QStringLiteral("Config/Profile%1").arg(i)));
    QCOMPARE(ini.value(QStringLiteral("Config/Profile4")).toString(), QStringLiteral("Work"));
    QCOMPARE(ini.value(QStringLiteral("Config/Count")).toInt(), 4);
    QCOMPARE(ini.value(QStringLiteral("Config/ProfileID")).toInt(), 2);
}

// A Config.ini that is there but cannot be read (left by a run as another user) is not
// rewritten from nothing: the keys it holds would be lost.
void TestConfig::unreadableConfigIsNotWrittenOver() {
    TestAppDir dir;
    dir.setIni("Configs/Config.ini", {{"Mouse_List/0", "TOLV"}});
    const QByteArray path = QFile::encodeName(configIniPath());
    QCOMPARE(chmod(path.constData(), 0), 0);
    QVERIFY(readPastPermissions(false));
    ProfileSet set;
    saveProfileList(set);
    writeDiffFlag(1);
    QVERIFY(!saveAppliedState(set));
    QVERIFY(readPastPermissions(true));
    QCOMPARE(chmod(path.constData(), 0644), 0);
    QCOMPARE(QSettings(configIniPath(), QSettings::IniFormat).value("Mouse_List/0").toString(),
             QStringLiteral("TOLV"));
}

void TestConfig::protectedProfiles() {
    TestAppDir dir;
    QVERIFY(!isProtectedProfile(QStringLiteral("Default")));
    setCurrentProductName(QStringLiteral("TOLV"));
    dir.setIni(QStringLiteral("Configs/TOLV/Config.ini"),
               {{QStringLiteral("PROFILE_LIST/SCount"), 2},
                {QStringLiteral("PROFILE_LIST/S1"), "Default"},
                {QStringLiteral("PROFILE_LIST/S2"), "FPS"},
                {QStringLiteral("PROFILE_LIST/S3"), "Beyond"}});
    QCOMPARE(productConfigPath(), dir.file(QStringLiteral("Configs/TOLV/Config.ini")));
    QVERIFY(isProtectedProfile(QStringLiteral("FPS")));
    QVERIFY(!isProtectedProfile(QStringLiteral("fps")));
    QVERIFY(!isProtectedProfile(QStringLiteral("Beyond")));
    dir.setIni(QStringLiteral("Configs/TOLV/Config.ini"),
               {{QStringLiteral("PROFILE_LIST/SCount"), 0}});
    QVERIFY(!isProtectedProfile(QStringLiteral("Default")));
    // A wild count from a hand-edited file ends quickly.
    dir.setIni(QStringLiteral("Configs/TOLV/Config.ini"),
               {{QStringLiteral("PROFILE_LIST/SCount"), 2000000000}});
    QVERIFY(isProtectedProfile(QStringLiteral("Default")));
    QVERIFY(!isProtectedProfile(QStringLiteral("none")));
}

void TestConfig::unsafeNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");
    QTest::newRow("plain") << "Profile 1" << true;
    QTest::newRow("dots inside") << "a..b" << true;
    QTest::newRow("unicode") << QString::fromUtf8("\xe9\x85\x8d\xe7\xbd\xae") << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("dot") << "." << false;
    QTest::newRow("dotdot") << ".." << false;
    QTest::newRow("parent") << "../x" << false;
    QTest::newRow("slash") << "a/b" << false;
    QTest::newRow("backslash") << "a\\b" << false;
    QTest::newRow("absolute") << "/etc/passwd" << false;
}

void TestConfig::unsafeNames() {
    QFETCH(QString, name);
    QFETCH(bool, safe);
    TestAppDir dir;
    QCOMPARE(isSafeFileName(name), safe);
    QCOMPARE(macroFilePath(name).isEmpty(), !safe);
    if (safe)
        QCOMPARE(macroFilePath(name), macroDir() + QLatin1Char('/') + name + ".MSMACRO");
}

void TestConfig::descriptorCounts_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("mouseDpi");
    QTest::addColumn<int>("dpiCount");
    QTest::addColumn<int>("buttonResult");
    QTest::addColumn<int>("stageResult");
    QTest::newRow("9 ^ 12") << 9 << 12 << 10 << 5 << 15;
    QTest::newRow("only ButtonCount") << 7 << -1 << -1 << 7 << 7;
    QTest::newRow("installed model") << 92 << 90 << 0 << 6 << 6;
}

void TestConfig::descriptorCounts() {
    QFETCH(int, buttons);
    QFETCH(int, mouseDpi);
    QFETCH(int, dpiCount);
    QFETCH(int, buttonResult);
    QFETCH(int, stageResult);
    TestAppDir dir;
    QVariantMap keys{{QStringLiteral("PROFILE/ButtonCount"), buttons}};
    if (mouseDpi >= 0)
        keys.insert(QStringLiteral("PROFILE/MouseDpi"), mouseDpi);
    if (dpiCount >= 0)
        keys.insert(QStringLiteral("PROFILE/DPICount"), dpiCount);
    dir.setIni(QStringLiteral("DefaultProfile.bin"), keys);
    QCOMPARE(buttonCount(), buttonResult);
    QCOMPARE(dpiStageCount(), stageResult);
}

void TestConfig::descriptorDefaultsWithoutFile() {
    TestAppDir dir;
    QCOMPARE(descriptorShowUpdate(), 1);
    QCOMPARE(descriptorShowSleep(), 1);
    QCOMPARE(descriptorFrench(), -1);
    QCOMPARE(descriptorMinDelay(), 10);
    QCOMPARE(descriptorLedDisable(), 0);
    QCOMPARE(buttonCount(), 0);
    int lo = 0, hi = 0;
    readSleepRange(lo, hi);
    QCOMPARE(lo, 1);
    QCOMPARE(hi, 9);
    int v1 = 0, p1 = 0, v2 = 0, p2 = 0;
    readUsbIds(v1, p1, v2, p2);
    QCOMPARE(v1, 0x248A);
    QCOMPARE(p1, 0xFA02);
    QCOMPARE(v2, 0x248A);
    QCOMPARE(p2, 0xFB01);
    // Missing file: -1 and outputs untouched.
    ModelDescriptor d;
    d.dpi = 42;
    QCOMPARE(readModelDescriptor(d), -1);
    QCOMPARE(int(d.dpi), 42);
    uint8_t sensor[SensorDefaultCount] = {9, 9, 9, 9, 9, 9, 9};
    QCOMPARE(readSensorDefaults(sensor), -1);
    QCOMPARE(int(sensor[6]), 9);
    int8_t m[16];
    std::fill(m, m + 16, int8_t(7));
    QCOMPARE(readButtonMatrix(m), -1);
    QCOMPARE(readButtonMatrix2(m), -1);
    QCOMPARE(int(m[15]), 7);
    QVERIFY(descriptorProductName().isEmpty());
    // One key that hides the update button.
    dir.setIni(QStringLiteral("DefaultProfile.bin"), {{QStringLiteral("PROFILE/ShowUpdate"), 0}});
    QCOMPARE(descriptorShowUpdate(), 0);
}

void TestConfig::installedDescriptor() {
    TestAppDir dir;
    dir.installData(QStringLiteral("DefaultProfile.bin"));
    dir.installData(QStringLiteral("Configs/Config.ini"));
    QCOMPARE(descriptorProductName(), QStringLiteral("TOLV"));
    QCOMPARE(buttonCount(), 6);
    QCOMPARE(dpiStageCount(), 6);
    QCOMPARE(sensorCode(), 3389);
    QCOMPARE(modelListName(), QStringLiteral("TOLV"));
    QCOMPARE(batteryFullValue(), 4125);
    ModelDescriptor d;
    QCOMPARE(readModelDescriptor(d), 0);
    QCOMPARE(d.buttons[5].Fun, 47);
    QCOMPARE(d.stageValue[5], 256);
    QCOMPARE(stageToDpi(d.stageValue[5], sensorCode()), 12800);
    for (const auto &led : d.ledModes)
        QVERIFY(led.RGB.isValid());
    LanguageList langs;
    readLanguageList(langs);
    QCOMPARE(langs.count, 3);
    QCOMPARE(langs.files[2], QStringLiteral("tc"));
    QCOMPARE(langs.names[1], QString::fromUtf8("\xe7\xae\x80\xe4\xbd\x93\xe4\xb8\xad\xe6\x96\x87"));
}

void TestConfig::descriptorMatrices() {
    TestAppDir dir;
    QVariantMap keys{{QStringLiteral("PROFILE/ButtonCount"), 10}};
    for (int n = 0; n < 16; ++n) {
        keys.insert(QStringLiteral("PROFILE/BUTTON_INFO_%1_Matrix").arg(n), 0x100 + n);
        keys.insert(QStringLiteral("PROFILE/BUTTON_INFO_%1_Matrix2").arg(n), n < 10 ? n : -1);
    }
    dir.setIni(QStringLiteral("DefaultProfile.bin"), keys);
    int8_t m[16] = {};
    QCOMPARE(readButtonMatrix(m), 0);
    QCOMPARE(int(m[3]), 3); // low 8 bits kept
    int8_t m2[16] = {};
    QCOMPARE(readButtonMatrix2(m2), 10);
    QCOMPARE(std::count(m2, m2 + 16, int8_t(-1)), 6);
}

void TestConfig::descriptorButtonsBeyondSixteenStayZero() {
    TestAppDir dir;
    dir.setIni(QStringLiteral("DefaultProfile.bin"),
               {{QStringLiteral("PROFILE/BUTTON_INFO_15_Fun"), 6},
                {QStringLiteral("PROFILE/BUTTON_INFO_15_Res1"), 0x1FF},
                {QStringLiteral("PROFILE/BUTTON_INFO_16_Fun"), 6},
                {QStringLiteral("PROFILE/BUTTON_INFO_19_Fun"), 6}});
    ModelDescriptor d;
    d.buttons[16].Fun = 5; // stale content is cleared too
    QCOMPARE(readModelDescriptor(d), 0);
    QCOMPARE(d.buttons[15].Fun, 6);
    QCOMPARE(int(d.buttons[15].Res1), 0xFF);
    QCOMPARE(d.buttons[16].Fun, 0);
    QCOMPARE(d.buttons[19].Fun, 0);
}

void TestConfig::languageList() {
    TestAppDir dir;
    QVariantMap keys{{QStringLiteral("FONT_LIST/LANGNUM"), 12}};
    for (int n = 0; n < 12; ++n) {
        keys.insert(QStringLiteral("FONT_LIST/LangName_%1").arg(n), QStringLiteral("L%1").arg(n));
        keys.insert(QStringLiteral("FONT_LIST/LangFile_%1").arg(n), QStringLiteral("f%1").arg(n));
    }
    keys.insert(QStringLiteral("FONT_LIST/LangFile_3"), QStringLiteral("../../etc/x"));
    dir.setIni(QStringLiteral("Configs/Config.ini"), keys);
    LanguageList list;
    readLanguageList(list);
    QCOMPARE(list.count, 12);
    QCOMPARE(list.names[9], QStringLiteral("L9"));
    QCOMPARE(translationPath(list, 2), dir.file(QStringLiteral("lang/f2.qm")));
    // Entries beyond ten are never read, and file names never leave lang/.
    QVERIFY(translationPath(list, 10).isEmpty());
    QVERIFY(translationPath(list, -1).isEmpty());
    QVERIFY(translationPath(list, 3).isEmpty());
}

void TestConfig::languageIdAndFonts() {
    TestAppDir dir;
    QCOMPARE(readLanguageId(), 0);
    writeLanguageId(2);
    QCOMPARE(readLanguageId(), 2);
    QVERIFY(QFileInfo::exists(dir.file(QStringLiteral("Configs/LangConfig.ini"))));
    dir.installData(QStringLiteral("Configs/Config.ini"));
    const FontChoice f = fontFor(1);
    QCOMPARE(f.family, QStringLiteral("WenQuanYi Micro Hei"));
    QCOMPARE(f.size, 9u);
    const FontChoice none = fontFor(7);
    QVERIFY(none.family.isEmpty());
    QCOMPARE(none.size, 0u);
}

// An installed program: read-only data under the prefix's share folder, state in the user's
// configuration folder, filled from the shipped Configs and kept as the program wrote it.
void TestConfig::installedStateIsSeededOnceIntoTheUserFolder() {
    QTemporaryDir root;
    const QString data = root.filePath(QStringLiteral("share/mousecfg"));
    const QString user = root.filePath(QStringLiteral("home-config"));
    const QByteArray savedConfigHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", user.toLocal8Bit());
    const auto ship = [&](const QString &relative, const QByteArray &text) {
        const QString path = data + QStringLiteral("/Configs/") + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile::remove(path);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.close();
        ::chmod(qPrintable(path), 0444); // as a package installs it, or stricter
    };
    ship(QStringLiteral("Config.ini"), "[Config]\nBatteryFull=4125\n[Mouse_List]\n0=TOLV\n");
    ship(QStringLiteral("LangConfig.ini"), "[Config]\nLangID=1\n");
    ship(QStringLiteral("TOLV/Config.ini"), "[PROFILE_LIST]\nSCount=1\nS1=Default\n");
    AppDir::setPath(data, true);

    QCOMPARE(configDir(), user + QStringLiteral("/mousecfg"));
    QVERIFY(seedConfigDir());
    QCOMPARE(modelListName(), QStringLiteral("TOLV"));
    QCOMPARE(batteryFullValue(), 4125);
    setCurrentProductName(QStringLiteral("TOLV"));
    QVERIFY(isProtectedProfile(QStringLiteral("Default")));
    QCOMPARE(readLanguageId(), 1);
    // The program's writes land in the user's copy, which is the user's to write.
    setBatteryLevel(70);
    QCOMPARE(batteryLevel(), 70);
    QVERIFY(QFileInfo(configIniPath()).permissions() & QFileDevice::WriteOwner);

    // A later start, after an update shipped other values: nothing of the user's changes.
    ship(QStringLiteral("Config.ini"), "[Config]\nBatteryFull=3000\n[Mouse_List]\n0=OTHER\n");
    QVERIFY(seedConfigDir());
    QCOMPARE(batteryLevel(), 70);
    QCOMPARE(batteryFullValue(), 4125);
    QCOMPARE(modelListName(), QStringLiteral("TOLV"));
    // A file the user's folder lost comes back from the shipped copy.
    QVERIFY(QFile::remove(user + QStringLiteral("/mousecfg/LangConfig.ini")));
    QVERIFY(seedConfigDir());
    QCOMPARE(readLanguageId(), 1);
    QCOMPARE(QDir(user + QStringLiteral("/mousecfg")).entryList(QDir::Files),
             (QStringList{QStringLiteral("Config.ini"), QStringLiteral("LangConfig.ini")}));
    // The installation got nothing written into it.
    QVERIFY(!QFileInfo::exists(data + QStringLiteral("/Configs/Profile")));
    QCOMPARE(QDir(data + QStringLiteral("/Configs")).entryList(QDir::Files),
             (QStringList{QStringLiteral("Config.ini"), QStringLiteral("LangConfig.ini")}));

    if (savedConfigHome.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", savedConfigHome);
}

QTEST_GUILESS_MAIN(TestConfig)
#include "tst_config.moc"
