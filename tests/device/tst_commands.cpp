// SPDX-License-Identifier: GPL-3.0-or-later
// The command frames and the whole download, byte for byte, against a mouse that echoes.

#include "DeviceCommands.h"
#include "FakeHid.h"
#include "HidTransport.h"
#include "SensorTables.h"
#include "TestAppDir.h"

#include "ProfileData.h"

#include <QtTest>

namespace {

QByteArray hex(const char *text) {
    return QByteArray::fromHex(text);
}

QByteArray commit(uint8_t code) {
    return expectedFrame(code, 0x7F, 0xD3, hex("1a"));
}

// The command set under test, made again for each test.
std::unique_ptr<CommandRig> g_rig;
CommandRig &rig() {
    return *g_rig;
}

} // namespace

class TestCommands : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir.reset(new TestAppDir);
        // Six buttons and six DPI stages, sync variant 1, sensor 3389.
        writeDescriptor("ButtonCount=6\nSyncMode=1\n");
        writeSensor(3389);
        g_rig = std::make_unique<CommandRig>();
    }
    void cleanup() {
        g_rig.reset();
        m_dir.reset();
    }

    void settingsTable_data() {
        QTest::addColumn<int>("syncMode");
        QTest::addColumn<int>("sync");
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("jitter");
        QTest::addColumn<int>("profileId");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("all sensor flags")
            << 1 << 1 << 0 << 0 << 2 << hex("0102030405e202ff03048101020300041f0507");
        QTest::newRow("no sensor flags")
            << 1 << 0 << 1 << 1 << 2 << hex("01020304050202ff03048101020300041f0507");
        QTest::newRow("sync variant 0: lift alone")
            << 0 << 1 << 0 << 0 << 2 << hex("01020304050202ff03048101020300041f0507");
        // A profile number from a damaged file names no profile: profile 0 is sent.
        QTest::newRow("profile out of range")
            << 1 << 0 << 1 << 1 << 9 << hex("01020304050200ff03048101020300041f0902");
    }
    void settingsTable() {
        QFETCH(int, syncMode);
        QFETCH(int, sync);
        QFETCH(int, angle);
        QFETCH(int, jitter);
        QFETCH(int, profileId);
        QFETCH(QByteArray, data);
        writeDescriptor(QByteArray("ButtonCount=6\nSyncMode=") + QByteArray::number(syncMode));
        ProfileSet &t = rig().commands.downloadTable();
        for (int i = 0; i < kProfileCount; ++i)
            t.profiles[i].scrollspeed = uint8_t(i + 1);
        const uint8_t rates[] = {1, 2, 3, 0, 4};
        for (int i = 0; i < kProfileCount; ++i)
            t.profiles[i].pollrate = rates[i];
        t.LiftHigh = 2;
        t.Sync = uint8_t(sync);
        t.AngleValue = uint8_t(angle);
        t.Jitter = uint8_t(jitter);
        t.ProfileID = uint8_t(profileId);
        t.profiles[0].LedMoveOFF = 255;
        t.profiles[0].LedSleepTime = 3;
        t.profiles[0].dpi = 9;
        t.profiles[0].LedMode = 1;
        t.Debounce = 4;
        t.SensorMode = 1;
        t.Wake = 1;
        t.profiles[2].dpi = 5;
        t.profiles[2].LedMode = 11;

        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.WriteSettingsTable(), 0);
        QCOMPARE(dev.mouse->writes.size(), 2);
        QCOMPARE(dev.mouse->writes[0].toHex(), expectedFrame(0x01, 0, 0xD1, data).toHex());
        QCOMPARE(dev.mouse->writes[1].toHex(), commit(0x01).toHex());
    }

    void settingsTableStopsAtFailure() {
        ScriptedDevice dev(rig().transport);
        dev.mouse->whenScriptEnds = Answer::OtherData;
        QCOMPARE(rig().commands.WriteSettingsTable(), 2);
        QCOMPARE(dev.codes(), QByteArray(3, 0x01)); // three tries of the first block only
    }

    void lightingEffectCode_data() {
        QTest::addColumn<int>("ledMode");
        QTest::addColumn<int>("code");
        const int codes[] = {1, 2, 3, 4, 5, 6, 6, 6, 6, 6, 8, 7, 9, 10};
        for (int m = 0; m < 14; ++m)
            QTest::newRow(qPrintable(QString::number(m))) << m << codes[m];
        QTest::newRow("14") << 14 << 6;
        QTest::newRow("20") << 20 << 6;
        QTest::newRow("255") << 255 << 6;
    }
    void lightingEffectCode() {
        QFETCH(int, ledMode);
        QFETCH(int, code);
        QCOMPARE(int(::lightingEffectCode(ledMode)), code);
    }

    // Bytes 1..4 of a DPI stage for each sensor code, including every register row.
    void dpiEncoding_data() {
        QTest::addColumn<int>("sensor");
        QTest::addColumn<uint>("x");
        QTest::addColumn<uint>("y");
        QTest::addColumn<int>("link");
        QTest::addColumn<QByteArray>("bytes");
        auto row = [](const char *name, int sensor, uint x, uint y, const char *bytes,
                      int link = 0) {
            QTest::newRow(name) << sensor << x << y << link << hex(bytes);
        };
        // Axes swapped: Y first.
        row("3104 axes swapped", 3104, 10, 120,
            "4301"
            "0a00");
        row("31042 edges", 31042, 107, 106,
            "6a00"
            "3601");
        row("3212 ranges 0/1", 3212, 63, 64,
            "3f00"
            "2001");
        row("3212 ranges 1/2", 3212, 94, 95,
            "3e01"
            "2002");
        // Register rows, each on both axes.
        struct Reg {
            int sensor;
            uint v;
            const char *pair;
        };
        const Reg regs[] = {
            {3311, 1, "0000"},    {3311, 2, "0200"},   {3311, 8, "0900"},   {3311, 61, "4800"},
            {3311, 120, "8f00"},  {3311, 121, "4801"}, {3311, 180, "8f01"}, {33112, 1, "0000"},
            {33112, 121, "4801"}, {3325, 1, "0200"},   {3325, 50, "7300"},  {3325, 51, "3b01"},
            {3325, 75, "7301"},   {3325, 76, "3b02"},  {3325, 90, "5c02"},  {33252, 90, "5c02"},
            {3327, 1, "0400"},    {3327, 61, "8c00"},  {3327, 62, "4801"},  {3327, 92, "8c01"},
            {3327, 93, "5f04"},   {3327, 106, "7c04"}, {3333, 2, "0400"},   {3333, 79, "b900"},
            {3333, 80, "5d01"},   {3333, 120, "bb01"}, {3335, 1, "0000"},   {3335, 2, "0200"},
            {3335, 159, "bc00"},  {3335, 160, "bc00"}, {3335, 161, "6001"}, {3335, 240, "bc01"},
            {33352, 161, "6001"},
        };
        for (const Reg &r : regs) {
            const QByteArray pair = QByteArray(r.pair) + r.pair;
            QTest::newRow(qPrintable(QStringLiteral("%1 v=%2").arg(r.sensor).arg(r.v)))
                << r.sensor << r.v << r.v << 0 << hex(pair.constData());
        }
        // Only X counts for the 3335 class.
        row("3335 takes X", 3335, 161, 5,
            "6001"
            "6001");
        row("33352 takes X", 33352, 2, 240,
            "0200"
            "0200");
        row("3360", 3360, 1, 120,
            "0000"
            "7700");
        row("3360 range 1", 3360, 121, 180,
            "3c01"
            "7701");
        row("3370", 3370, 200, 201,
            "c700"
            "6401");
        row("3389 plain", 3389, 320, 0,
            "4001"
            "0000");
        row("3389 shifted", 3389, 400, 321,
            "f080"
            "a180");
        row("3395", 3395, 500, 8,
            "f401"
            "0800");
        row("3395 limited by link 8", 3395, 500, 399,
            "8f01"
            "8f01",
            8);
        row("3395 other link", 3395, 500, 400,
            "f401"
            "9001",
            7);
        row("33952 X shifted at 520", 33952, 520, 520,
            "0481"
            "0802");
        row("33952 edges", 33952, 519, 521,
            "0702"
            "0581");
        row("unknown sensor", 0, 100, 200,
            "0000"
            "0000");
        row("unknown sensor 3399", 3399, 100, 200,
            "0000"
            "0000");
        // Stage values from a damaged file stay inside the tables: the top setting.
        row("3311 huge", 3311, 100000, 0,
            "8f01"
            "0000");
        row("3325 huge", 3325, 4000000000u, 50,
            "7302"
            "7300");
        row("3327 huge", 3327, 5000, 106,
            "8c04"
            "7c04");
        row("3333 huge", 3333, 999, 80,
            "bb01"
            "5d01");
        row("3335 huge", 3335, 70000, 0,
            "bc01"
            "bc01");
    }
    void dpiEncoding() {
        QFETCH(int, sensor);
        QFETCH(uint, x);
        QFETCH(uint, y);
        QFETCH(int, link);
        QFETCH(QByteArray, bytes);
        uint8_t out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
        EncodeDpiStage(sensor, x, y, uint8_t(link), out);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(out), 4).toHex(), bytes.toHex());
    }

    // The tables rise with the index over every entry a stage value can reach, and the
    // 3335 table continues the 3311 sequence.
    void registerTablesRise_data() {
        QTest::addColumn<QVector<int>>("entries");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("maxStep");
        auto add = [](const char *name, const auto *table, size_t size, int first, int maxStep) {
            QVector<int> v;
            for (size_t i = 0; i < size; ++i)
                v << int(table[i]);
            QTest::newRow(name) << v << first << maxStep;
        };
        add("T3311", T3311, kT3311Size, 1, 2);
        add("T3335", T3335, kT3335Size, 81, 2);
        add("T3325", T3325, kT3325Size, 50, 3);
        add("T3327", T3327, kT3327Size, 52, 3);
        add("T3333", T3333, kT3333Size, 40, 3);
    }
    void registerTablesRise() {
        QFETCH(QVector<int>, entries);
        QFETCH(int, first);
        QFETCH(int, maxStep);
        for (int i = first; i + 1 < entries.size(); ++i) {
            const int step = entries[i + 1] - entries[i];
            QVERIFY2(step >= 0 && step <= maxStep, qPrintable(QStringLiteral("entry %1").arg(i)));
            QVERIFY(entries[i + 1] <= 0xFF);
        }
    }
    void t3335ContinuesT3311() {
        for (size_t k = 1; k < kT3311Size; ++k)
            QCOMPARE(T3335[80 + k], T3311[k]);
    }

    void dpiTable_data() {
        QTest::addColumn<int>("descriptorCount");
        QTest::addColumn<int>("sentCount");
        QTest::newRow("six") << 6 << 6;
        QTest::newRow("one") << 1 << 1;
        QTest::newRow("eight") << 8 << 8;
        QTest::newRow("zero") << 0 << 8;
        QTest::newRow("nine") << 9 << 8;
    }
    void dpiTable() {
        QFETCH(int, descriptorCount);
        QFETCH(int, sentCount);
        // DPI stages = ButtonCount ^ MouseDpi ^ DPICount; buttons = ButtonCount ^ MouseDpi.
        writeDescriptor("ButtonCount=92\nMouseDpi=90\nDPICount=" +
                        QByteArray::number(6 ^ descriptorCount));
        const uint32_t xs[8] = {8, 16, 32, 64, 128, 256, 320, 400};
        const uint32_t ys[8] = {10, 18, 34, 66, 130, 258, 322, 321};
        ProfileData &p = rig().commands.downloadTable().profiles[0];
        for (int i = 0; i < 8; ++i) {
            p.dpiInfo[i].used = i == 2 ? 0 : 1;
            p.dpiInfo[i].x = xs[i];
            p.dpiInfo[i].y = ys[i];
        }
        rig().commands.downloadTable().profiles[1].dpiInfo[0].x = 99; // other profiles are not sent

        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.WriteDpiTable(0), 0);
        QCOMPARE(dev.mouse->writes.size(), 10);
        QCOMPARE(dev.mouse->writes[0].toHex(),
                 expectedFrame(0x02, 0, 0xD1, QByteArray(1, char(sentCount))).toHex());
        const char *stages[8] = {"08000a00", "10001200", "20002200", "40004200",
                                 "80008200", "00010201", "4001a280", "f080a180"};
        for (int i = 0; i < 8; ++i) {
            const char used = (i < sentCount && i != 2) ? 1 : 0;
            const QByteArray data = QByteArray(1, used) + hex(stages[i]);
            QCOMPARE(dev.mouse->writes[1 + i].toHex(),
                     expectedFrame(0x02, uint16_t(1 + 5 * i), 0xD2, data).toHex());
        }
        QCOMPARE(dev.mouse->writes[9].toHex(), commit(0x02).toHex());
    }

    void dpiTableStopsAtFailure() {
        ScriptedDevice dev(rig().transport);
        dev.mouse->failWrites = {4};
        QCOMPARE(rig().commands.WriteDpiTable(0), 4);
        QCOMPARE(dev.mouse->writes.size(), 4);
    }

    void lightingTable() {
        ProfileData &p = rig().commands.downloadTable().profiles[0];
        for (int m = 0; m < kLedModeCount; ++m) {
            p.ledModes[m].RGB = QColor(10 + m, 20 + m, 30 + m);
            p.ledModes[m].bright = uint32_t(m + 1);
            p.ledModes[m].breath = uint32_t(0x40 + m);
        }
        rig().commands.downloadTable().profiles[1].ledModes[1].RGB = QColor(1, 2, 3); // not sent
        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.WriteLightingTable(), 0);
        const QByteArray slot[10] = {
            hex("8000000000000000"), hex("800b151f01000202"), hex("800c162001420403"),
            hex("8000000001430103"), hex("8000000001440805"), hex("800000000549010a"),
            hex("800000000700000c"), hex("80000000064a000b"), hex("80000000084c000d"),
            hex("80000000094d000e"),
        };
        const QList<QByteArray> expected = {
            expectedFrame(0x04, 0x00, 0xD1, slot[0] + slot[1] + slot[2]),
            expectedFrame(0x04, 0x18, 0xD2, slot[3] + slot[4] + slot[5]),
            expectedFrame(0x04, 0x30, 0xD2, slot[6] + slot[7] + slot[8]),
            expectedFrame(0x04, 0x48, 0xD2, slot[9]),
            commit(0x04),
        };
        QCOMPARE(dev.mouse->writes, expected);
    }

    void lightingWithoutColour() {
        // A fresh record has no colour: the colour bytes are zero.
        rig().commands.downloadTable().profiles[0].ledModes[1].bright = 3;
        uint8_t out[80];
        rig().commands.buildLightingTable(0, out);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(out + 8), 8).toHex(),
                 QByteArray("8000000001000203"));
    }

    void applySettings() {
        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.ApplySettings(), 0);
        const QList<QByteArray> expected = {
            expectedFrame(0x40, 0x04F3, 0, {}), expectedFrame(0x40, 0x01F3, 0, {}),
            expectedFrame(0x40, 0x02F3, 0, {}), expectedFrame(0x40, 0x08F3, 0, {}),
            expectedFrame(0x40, 0x10F3, 0, {}),
        };
        QCOMPARE(dev.mouse->writes, expected);
    }

    void applySettingsStopsAtFailure() {
        ScriptedDevice dev(rig().transport);
        dev.mouse->failWrites = {3};
        QCOMPARE(rig().commands.ApplySettings(), 4);
        QCOMPARE(dev.mouse->writes.size(), 3);
    }

    void selectProfile() {
        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.SelectProfile(3), 1);
        const QList<QByteArray> expected = {
            expectedFrame(0x44, 0x0003, 0, {}),
            expectedFrame(0x40, 0x01F3, 0, {}),
        };
        QCOMPARE(dev.mouse->writes, expected);
        QCOMPARE(dev.mouse->reads, 1); // the select frame has no answer

        // A select frame that could not be written is told to whoever asks.
        int sent = -1;
        dev.mouse->failWrites = {3};
        QCOMPARE(rig().commands.SelectProfile(2, &sent), 1);
        QCOMPARE(sent, 4);
    }

    void downloadMarks() {
        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.DownloadMark(0), 0);
        QCOMPARE(rig().commands.DownloadMark(1), 0);
        const QList<QByteArray> expected = {expectedFrame(0x46, 0, 0, {}),
                                            expectedFrame(0x46, 1, 0, {})};
        QCOMPARE(dev.mouse->writes, expected);
    }

    // Which tables a download sends for each flag set, in order.
    void downloadSequence_data() {
        QTest::addColumn<unsigned>("flags");
        QTest::addColumn<QByteArray>("codes");
        const QByteArray begin = hex("46") + hex("0101");
        const QByteArray buttons = QByteArray(7, 0x03);
        const QByteArray dpi = QByteArray(10, 0x02);
        const QByteArray lighting = QByteArray(5, 0x04);
        const QByteArray apply = QByteArray(5, 0x40);
        const QByteArray end = hex("46");
        QTest::newRow("nothing changed") << 0u << begin + end;
        QTest::newRow("general") << 1u << begin + apply + end;
        QTest::newRow("dpi") << 2u << begin + dpi + apply + end;
        QTest::newRow("buttons") << 4u << begin + buttons + apply + end;
        QTest::newRow("lighting") << 8u << begin + lighting + apply + end;
        QTest::newRow("everything") << 15u << begin + buttons + dpi + lighting + apply + end;
    }
    void downloadSequence() {
        QFETCH(unsigned, flags);
        QFETCH(QByteArray, codes);
        auto config = std::make_unique<ProfileSet>();
        config->ProfileID = 1;
        config->profiles[1].dpi = 3;
        config->profileNames[4] = QStringLiteral("five");
        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.DownloadProfile(*config, flags), 0);
        QCOMPARE(dev.codes().toHex(), codes.toHex());
        QCOMPARE(dev.mouse->writes.first().toHex(), expectedFrame(0x46, 0, 0, {}).toHex());
        QCOMPARE(dev.mouse->writes.last().toHex(), expectedFrame(0x46, 1, 0, {}).toHex());
        QVERIFY(rig().commands.downloadTable() == *config);
        QVERIFY(rig().commands.downloadTableFilled());
    }

    // A failure ends the download with its code.
    void downloadFailure_data() {
        QTest::addColumn<int>("failingWrite");
        QTest::addColumn<int>("writes");
        QTest::newRow("begin mark") << 1 << 1;
        QTest::newRow("settings table") << 2 << 2;
        QTest::newRow("button table") << 5 << 5;
        QTest::newRow("apply") << 28 << 28;
        QTest::newRow("end mark") << 29 << 29;
    }
    void downloadFailure() {
        QFETCH(int, failingWrite);
        QFETCH(int, writes);
        auto config = std::make_unique<ProfileSet>();
        ScriptedDevice dev(rig().transport);
        dev.mouse->failWrites = {failingWrite};
        QCOMPARE(rig().commands.DownloadProfile(*config,
                                                DownloadButtons | DownloadDpi | DownloadLighting),
                 4);
        QCOMPARE(dev.mouse->writes.size(), writes);
    }

    void downloadWithoutDevice() {
        auto config = std::make_unique<ProfileSet>();
        QCOMPARE(rig().commands.DownloadProfile(*config, DownloadEverything), 1);
    }

    void downloadSendsTheGivenConfiguration() {
        auto config = std::make_unique<ProfileSet>();
        config->profiles[0].dpiInfo[0].used = 1;
        config->profiles[0].dpiInfo[0].x = 100;
        config->profiles[0].dpiInfo[0].y = 200;
        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.DownloadProfile(*config, DownloadDpi), 0);
        // 100 and 200 as 16-bit little-endian for sensor 3389.
        QCOMPARE(dev.mouse->writes[4].toHex(),
                 expectedFrame(0x02, 1, 0xD2, hex("016400c800")).toHex());
    }

private:
    void writeDescriptor(const QByteArray &keys) {
        m_dir->writeText(QStringLiteral("DefaultProfile.bin"), "[PROFILE]\n" + keys + "\n");
    }
    void writeSensor(int code) {
        m_dir->writeText(QStringLiteral("Configs/Config.ini"),
                         "[MouseSenSor]\n1=" + QByteArray::number(code) + "\n");
    }

    std::unique_ptr<TestAppDir> m_dir;
};

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
