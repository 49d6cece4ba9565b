// SPDX-License-Identifier: GPL-3.0-or-later
// The button table and the macro memory, byte for byte.

#include "DeviceCommands.h"
#include "FakeHid.h"
#include "HidTransport.h"
#include "TestAppDir.h"

#include "ModelDescriptor.h"
#include "ProfileData.h"

#include <QElapsedTimer>
#include <QtTest>

namespace {

// The command set under test, made again for each test.
std::unique_ptr<CommandRig> g_rig;
CommandRig &rig() {
    return *g_rig;
}

QByteArray hex(const char *text) {
    return QByteArray::fromHex(text);
}

// Four bytes of the button table image at a device slot.
QByteArray deviceSlot(int slot) {
    const auto &image = rig().commands.buttonTableImage();
    return QByteArray(reinterpret_cast<const char *>(image.data() + 2 + 4 * slot), 4);
}

QByteArray macroSlot(int index, int length = kMacroSlotSize) {
    return QByteArray(reinterpret_cast<const char *>(rig().commands.macroMemoryImage().data()) +
                          kMacroSlotSize * index,
                      length);
}

std::vector<MacroStep> stepsFromHex(const QByteArray &bytes) {
    std::vector<MacroStep> steps;
    for (int i = 0; i + 2 < bytes.size(); i += 3)
        steps.push_back({uint8_t(bytes[i]), uint8_t(bytes[i + 1]), uint8_t(bytes[i + 2])});
    return steps;
}

// The matrix of the test model: buttons 3 and 4 sit the other way round on the mouse.
const int8_t kMatrix[kDescriptorButtonKeys] = {0, 1, 2, 4, 3, 5};

} // namespace

class TestButtonMap : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir.reset(new TestAppDir);
        writeDescriptor("ButtonCount=6\n");
        writeSensor(3389);
        setButtonMatrix(kMatrix);
        g_rig = std::make_unique<CommandRig>();
    }
    void cleanup() {
        g_rig.reset();
        m_dir.reset();
    }

    void encodeButton_data() {
        QTest::addColumn<int>("fun");
        QTest::addColumn<int>("res1");
        QTest::addColumn<int>("loopNumber");
        QTest::addColumn<int>("keyNumber");
        QTest::addColumn<QByteArray>("keys"); // first bytes of the KeyInfo entries
        QTest::addColumn<int>("sensor");
        QTest::addColumn<QByteArray>("bytes");
        auto row = [](const char *name, int fun, const char *bytes, int res1 = 0, int loop = 0,
                      int keyNumber = 0, const char *keys = "", int sensor = 3389) {
            QTest::newRow(name) << fun << res1 << loop << keyNumber << hex(keys) << sensor
                                << hex(bytes);
        };
        row("left click", 1, "81000000");
        row("back", 5, "84000000");
        row("13", 13, "30000000");
        row("disabled", 16, "00000000");
        row("ctrl+c shortcut", 18, "8f010600");
        row("alt+tab", 25, "8f042b00");
        row("win+l", 62, "8f081000");
        row("media 31", 31, "8e012302");
        row("media 38", 38, "8e018a01");
        row("media 39", 39, "8e01cd00");
        row("media 46", 46, "8e018301");
        row("54", 54, "9b080000");
        row("63", 63, "97010000");
        row("unknown 14", 14, "00000000");
        row("unknown 56", 56, "00000000");
        row("unknown 999", 999, "00000000");
        // Single key: the key code's keyboard usage.
        row("single C", 6, "90000600", 46);
        row("single Enter", 6, "90002800", 28);
        row("single without usage", 6, "90000000", 240);
        // Key combinations as stored by the capture dialog: presses, then releases.
        row("combo ctrl+c", 7, "8f010600", 0, 0, 0, "e00606e0");
        row("combo all modifiers", 7, "8f0f0400", 0, 0, 0, "e1e0e3e20404e2e3e0e1");
        row("combo right-hand modifiers", 7, "8f053a00", 0, 0, 0, "e4e63a3ae6e4");
        row("combo modifier only", 7, "8f010000", 0, 0, 0, "e0e0");
        row("combo last key wins", 7, "8f000500", 0, 0, 0, "0405");
        // Fire key: kind, shots, delay in tens of milliseconds.
        row("fire", 12, "99810309", 0x81, 3, 95);
        row("fire default", 12, "99810300", 0, 7, 300);
        row("fire wide values", 12, "990434ff", 0x04, 0x1234, 2559);
        // Sniper: the step in the lowest range of the sensor's rule.
        row("sniper 3389", 55, "9a011414", 20);
        row("sniper 3104", 55, "9a011414", 20, 0, 0, "", 3104);
        row("sniper 3212", 55, "9a011414", 20, 0, 0, "", 3212);
        row("sniper 3325", 55, "9a010202", 1, 0, 0, "", 3325);
        row("sniper 3325 top", 55, "9a017373", 255, 0, 0, "", 3325);
        row("sniper 3327", 55, "9a010404", 1, 0, 0, "", 3327);
        row("sniper 3335", 55, "9a010202", 2, 0, 0, "", 3335);
        row("sniper 3360", 55, "9a010404", 5, 0, 0, "", 3360);
        row("sniper other sensor", 55, "9a010404", 20, 0, 0, "", 3311);
        row("sniper no sensor", 55, "9a010404", 20, 0, 0, "", 0);
        // Macros and gun files by loop mode (first macro: index 0).
        row("macro times", 200, "91000501", 0, 0x0105);
        row("macro while held", 200, "9180ffff", 1, 3);
        row("macro until pressed", 200, "9140ffff", 2, 3);
        row("gun file", 510, "9d000200", 0, 2);
        // A mode a damaged file gives plays the macro LoopNumber times; the index byte is
        // written, not left as the slot held it.
        row("macro unknown mode", 200, "91000501", 3, 0x0105);
    }
    void encodeButton() {
        QFETCH(int, fun);
        QFETCH(int, res1);
        QFETCH(int, loopNumber);
        QFETCH(int, keyNumber);
        QFETCH(QByteArray, keys);
        QFETCH(int, sensor);
        QFETCH(QByteArray, bytes);
        writeSensor(sensor);
        ButtonInfo &b = rig().commands.downloadTable().profiles[0].buttons[3];
        b.Fun = fun;
        b.Res1 = uint8_t(res1);
        b.LoopNumber = loopNumber;
        b.KeyNumber = keyNumber;
        b.macroname = QStringLiteral("m");
        for (int i = 0; i < keys.size(); ++i)
            b.keyInfo[i].map = uint8_t(keys[i]);
        rig().commands.buttonTableImage().fill(0xAA);
        rig().commands.EncodeButton(0, 3, 3);
        QCOMPARE(deviceSlot(4).toHex(), bytes.toHex()); // button 3 sits at device slot 4
        QCOMPARE(int(rig().commands.buttonTableImage()[0]), 0x0A);
        QCOMPARE(int(rig().commands.buttonTableImage()[1]), 0x00);
        QCOMPARE(deviceSlot(3).toHex(), QByteArray("aaaaaaaa"));
    }

    void buttonTableFrames() {
        const int funs[6] = {1, 2, 3, 4, 5, 47};
        ProfileData &p = rig().commands.downloadTable().profiles[0];
        for (int b = 0; b < 6; ++b)
            p.buttons[b].Fun = funs[b];
        p.buttons[kWheelUpSlot].Fun = 52;
        p.buttons[kWheelDownSlot].Fun = 53;
        rig().commands.downloadTable().profiles[1].buttons[0].Fun =
            16;                                               // only the first profile is sent
        rig().commands.buttonTableImage()[2 + 4 * 10] = 0x77; // a slot no button maps to

        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.WriteButtonTable(), 0);
        const QByteArray zeros(24, '\0');
        const QByteArray slot10 = QByteArray(16, '\0') + hex("77") + QByteArray(7, '\0');
        const QList<QByteArray> expected = {
            expectedFrame(0x03, 0x00, 0xD1, hex("0a00")),
            expectedFrame(0x03, 0x02, 0xD2,
                          hex("810000008200000083000000"
                              "840000008500000088000000")),
            expectedFrame(0x03, 0x1A, 0xD2, slot10),
            expectedFrame(0x03, 0x32, 0xD2, zeros),
            expectedFrame(0x03, 0x4A, 0xD2, QByteArray(16, '\0') + hex("8b0000008c000000")),
            expectedFrame(0x03, 0x62, 0xD2, hex("ffffffff")),
            expectedFrame(0x03, 0x7F, 0xD3, hex("1a")),
        };
        QCOMPARE(dev.mouse->writes, expected);
    }

    void wheelSlots_data() {
        QTest::addColumn<int>("scrollRev");
        QTest::addColumn<int>("upSlot");
        QTest::newRow("normal") << 0 << 22;
        QTest::newRow("reversed") << 1 << 23;
        QTest::newRow("other value") << 2 << 22;
    }
    void wheelSlots() {
        QFETCH(int, scrollRev);
        QFETCH(int, upSlot);
        writeDescriptor("ButtonCount=6\nScrollRev=" + QByteArray::number(scrollRev));
        ProfileData &p = rig().commands.downloadTable().profiles[0];
        p.buttons[kWheelUpSlot].Fun = 52;
        p.buttons[kWheelDownSlot].Fun = 53;
        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.WriteButtonTable(), 0);
        QCOMPARE(deviceSlot(upSlot).toHex(), QByteArray("8b000000"));
        QCOMPARE(deviceSlot(45 - upSlot).toHex(), QByteArray("8c000000"));
        // Table address of the wheel-up slot: 0x5A for slot 22, 0x5E for slot 23.
        const QByteArray block = dev.mouse->writes[4];
        QCOMPARE(uint8_t(block[4]), uint8_t(0x4A));
        QCOMPARE(uint8_t(block[8 + 4 * (upSlot - 18)]), uint8_t(0x8B));
    }

    void matrixOutOfRange() {
        const int8_t matrix[kDescriptorButtonKeys] = {30, -1, 2};
        setButtonMatrix(matrix);
        writeDescriptor("ButtonCount=3\n");
        ProfileData &p = rig().commands.downloadTable().profiles[0];
        for (int b = 0; b < 3; ++b)
            p.buttons[b].Fun = 1;
        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.WriteButtonTable(), 0);
        for (int s = 0; s < kDeviceSlotCount; ++s)
            QCOMPARE(deviceSlot(s).toHex(),
                     s == 2 ? QByteArray("81000000") : QByteArray("00000000"));
    }

    void hugeButtonCountIsBounded() {
        writeDescriptor("ButtonCount=100000\n");
        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.WriteButtonTable(), 0);
        QCOMPARE(dev.mouse->writes.size(), 7);
    }

    void macroIndices() {
        ProfileData &p = rig().commands.downloadTable().profiles[0];
        const char *names[6] = {"a", "b", "a", "c", nullptr, "b"};
        for (int b = 0; b < 6; ++b) {
            if (!names[b])
                continue;
            p.buttons[b].Fun = b == 5 ? kFunGunFile : kFunMacro;
            p.buttons[b].macroname = QString::fromLatin1(names[b]);
            p.buttons[b].Res1 = b == 3 ? 1 : 0;
        }
        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.WriteButtonTable(), 0);
        const std::map<int, QString> expected = {{0, "a"}, {1, "b"}, {2, "c"}};
        QCOMPARE(rig().commands.macroIndexMap(), expected);
        QCOMPARE(int(p.buttons[0].Res4), 0);
        QCOMPARE(int(p.buttons[1].Res4), 1);
        QCOMPARE(int(p.buttons[2].Res4), 0);
        QCOMPARE(int(p.buttons[3].Res4), 2);
        QCOMPARE(int(p.buttons[5].Res4), 1);
        QCOMPARE(uint8_t(deviceSlot(4)[1]), uint8_t(0x82)); // button 3: index 2, mode 1
        QCOMPARE(uint8_t(deviceSlot(5)[0]), uint8_t(0x9D));
        QCOMPARE(uint8_t(deviceSlot(5)[1]), uint8_t(0x01));
    }

    void encodeMacro_data() {
        QTest::addColumn<QByteArray>("steps");
        QTest::addColumn<QByteArray>("slot");
        const QByteArray s = hex("840004"
                                 "040004"
                                 "810001"
                                 "010001"
                                 "020500"
                                 "0200f6"
                                 "84001e"
                                 "04001e");
        const QByteArray f = hex("060100");
        QTest::newRow("empty") << QByteArray() << f;
        QTest::newRow("one step") << s.left(3) << s.left(3) + f;
        QTest::newRow("four steps") << s.left(12) << s.left(12) + f + f;
        QTest::newRow("five steps") << s.left(15) << s.left(12) + f + s.mid(12, 3) + f;
        QTest::newRow("eight steps") << s << s.left(12) + f + s.mid(12) + f + f;
        const QByteArray delayed = hex("840004"
                                       "06000a"
                                       "040004"
                                       "840005"
                                       "040005");
        QTest::newRow("with delays, as they are") << delayed << delayed;
    }
    void encodeMacro() {
        QFETCH(QByteArray, steps);
        QFETCH(QByteArray, slot);
        rig().commands.macroMemoryImage().fill(0xEE);
        rig().commands.EncodeMacro(stepsFromHex(steps), 1);
        QCOMPARE(macroSlot(1, slot.size()).toHex(), slot.toHex());
        QCOMPARE(macroSlot(1).mid(slot.size()), QByteArray(kMacroSlotSize - slot.size(), '\0'));
        QCOMPARE(macroSlot(0), QByteArray(kMacroSlotSize, char(0xEE)));
        QCOMPARE(macroSlot(2), QByteArray(kMacroSlotSize, char(0xEE)));
    }

    void encodeMacroKeepsToItsSlot() {
        rig().commands.macroMemoryImage().fill(0xEE);
        QByteArray delays;
        for (int i = 0; i < 70; ++i)
            delays += hex("060001");
        rig().commands.EncodeMacro(stepsFromHex(delays), 3);
        // Whole steps only: the last two bytes stay clear.
        QCOMPARE(macroSlot(3), delays.left(3 * kMacroSlotSteps) + QByteArray(2, '\0'));
        QCOMPARE(macroSlot(4), QByteArray(kMacroSlotSize, char(0xEE)));

        QByteArray keys;
        for (int i = 0; i < 60; ++i)
            keys += hex("840004");
        rig().commands.EncodeMacro(stepsFromHex(keys), 19); // the last slot of memory
        QCOMPARE(macroSlot(19).left(15).toHex(), QByteArray("840004840004840004840004060100"));
        QCOMPARE(macroSlot(18), QByteArray(kMacroSlotSize, char(0xEE)));
        rig().commands.EncodeMacro(stepsFromHex(keys), 20); // no such slot: nothing happens
        rig().commands.EncodeMacro(stepsFromHex(keys), -1);
    }

    // Slot 0 unused, slot 1 used: its ten frames all carry the continuation tag.
    void macroFramesOfSecondSlot() {
        writeMacro("b", hex("840004"
                            "040004"));
        bindMacro(0, 3, "b");
        rig().commands.macroIndexMap()[1] = QStringLiteral("b");
        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.WriteMacros(), 0);
        QCOMPARE(dev.mouse->writes.size(), 11);
        const QByteArray data = hex("840004040004060100") + QByteArray(kMacroSlotSize - 9, '\0');
        for (int j = 0; j < 10; ++j)
            QCOMPARE(
                dev.mouse->writes[j].toHex(),
                expectedFrame(0x05, uint16_t(200 + 20 * j), 0xD2, data.mid(20 * j, 20)).toHex());
        QCOMPARE(dev.mouse->writes[10].toHex(),
                 expectedFrame(0x05, 0x0FFF, 0xD3, hex("1a")).toHex());
        QVERIFY(rig().commands.macroIndexMap().empty());
    }

    void macroFramesOfFirstSlot() {
        writeMacro("a", hex("840004"));
        bindMacro(0, 0, "a");
        rig().commands.macroIndexMap()[0] = QStringLiteral("a");
        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.WriteMacros(), 0);
        QCOMPARE(dev.mouse->writes.size(), 11);
        QCOMPARE(uint8_t(dev.mouse->writes[0][7]), uint8_t(0xD1));
        for (int j = 1; j < 10; ++j)
            QCOMPARE(uint8_t(dev.mouse->writes[j][7]), uint8_t(0xD2));
        // 16-bit addresses: slot 0 block 9 is 180.
        QCOMPARE(uint8_t(dev.mouse->writes[9][4]), uint8_t(180));
    }

    void noMacrosNoTraffic() {
        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.WriteMacros(), 0);
        QCOMPARE(dev.mouse->writes.size(), 0);
    }

    void buttonsThenMacros() {
        writeMacro("a", hex("840004"));
        writeMacro("b", hex("840005"
                            "06000a"));
        writeMacro("c", hex("840006"));
        bindMacro(0, 0, "a");
        bindMacro(0, 1, "b");
        bindMacro(0, 2, "c");
        bindMacro(0, 3, "a");
        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.WriteButtonTable(), 0);
        dev.mouse->writes.clear();
        QCOMPARE(rig().commands.WriteMacros(), 0);
        QCOMPARE(dev.mouse->writes.size(), 31);
        QCOMPARE(macroSlot(0, 9).toHex(), QByteArray("840004060100000000"));
        QCOMPARE(macroSlot(1, 9).toHex(), QByteArray("84000506000a000000"));
        QCOMPARE(macroSlot(2, 9).toHex(), QByteArray("840006060100000000"));
        // Every macro is encoded once, with one pause after each.
        QCOMPARE(int(std::count(dev.pauses.begin(), dev.pauses.end(), 50)), 3);
    }

    // A macro button whose name was already encoded (or was never indexed) is skipped;
    // the macros encoded so far are still sent.
    void laterMacroButtonsAreSkipped() {
        writeMacro("a", hex("840004"));
        bindMacro(0, 0, "a");
        bindMacro(0, 1, "a");
        bindMacro(1, 0, "z"); // another profile's macro never gets an index
        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.WriteButtonTable(), 0);
        dev.mouse->writes.clear();
        QCOMPARE(rig().commands.WriteMacros(), 0);
        QCOMPARE(dev.mouse->writes.size(), 11);
    }

    void missingAndUnsafeFiles() {
        // A file that a name with a path in it would reach must not be read.
        m_dir->setIni(QStringLiteral("Configs/evil.MSMACRO"),
                      {{QStringLiteral("Setting/Count"), 1},
                       {QStringLiteral("Setting/Map_0"), 0x84},
                       {QStringLiteral("Setting/DataL_0"), 4}});
        bindMacro(0, 0, "nothing");
        bindMacro(0, 1, "../evil");
        bindMacro(0, 2, "");
        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.WriteButtonTable(), 0);
        dev.mouse->writes.clear();
        QCOMPARE(rig().commands.WriteMacros(), 0);
        for (int k = 0; k < 3; ++k)
            QCOMPARE(macroSlot(k, 6).toHex(), QByteArray("060100000000"));
        QCOMPARE(dev.mouse->writes.size(), 31);
    }

    void hugeStepCount() {
        m_dir->setIni(QStringLiteral("Configs/MacroDB/big.MSMACRO"),
                      {{QStringLiteral("Setting/Count"), 2000000000},
                       {QStringLiteral("Setting/Map_0"), 0x84},
                       {QStringLiteral("Setting/DataL_0"), 4},
                       {QStringLiteral("Setting/Map_1"), 0x104}, // cut to 8 bits
                       {QStringLiteral("Setting/DataL_1"), 4}});
        QElapsedTimer timer;
        timer.start();
        const std::vector<MacroStep> steps = readMacroSteps(QStringLiteral("big"));
        QVERIFY(timer.elapsed() < 5000);
        QCOMPARE(int(steps.size()), 2);    // the steps present, not the count
        QCOMPARE(int(steps[1].map), 0xFF); // bounded to a byte
        rig().commands.macroMemoryImage().fill(0xEE);
        rig().commands.EncodeMacro(steps, 0);
        QCOMPARE(macroSlot(0, 9).toHex(), QByteArray("840004ff0004060100"));
        QCOMPARE(macroSlot(1), QByteArray(kMacroSlotSize, char(0xEE)));
        m_dir->setIni(QStringLiteral("Configs/MacroDB/negative.MSMACRO"),
                      {{QStringLiteral("Setting/Count"), -5}});
        QVERIFY(readMacroSteps(QStringLiteral("negative")).empty());
    }

    // A slot with other buttons about to become active has the mouse's one button table and
    // its macros written; one with the same buttons, nothing.
    void slotButtons() {
        writeMacro("a", hex("840004"));
        ProfileData record;
        record.buttons[1].Fun = kFunMacro;
        record.buttons[1].macroname = QStringLiteral("a");
        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.WriteSlotButtons(4, record), 0);
        QCOMPARE(deviceSlot(1).toHex(), QByteArray("91000000"));
        QCOMPARE(macroSlot(0, 6).toHex(), QByteArray("840004060100"));
        QCOMPARE(dev.mouse->writes.size(), 7 + 11);
        dev.mouse->writes.clear();
        QCOMPARE(rig().commands.WriteSlotButtons(1, record), 0);
        QCOMPARE(dev.mouse->writes.size(), 0);
        // A download cut short after its button table (at the DPI table, without the macros)
        // leaves unknown what the mouse holds: the same buttons are written again.
        auto set = std::make_unique<ProfileSet>();
        set->profiles[0] = record;
        dev.mouse->failWrites = {11};
        QCOMPARE(rig().commands.DownloadProfile(*set, DownloadButtons | DownloadDpi), 4);
        QCOMPARE(dev.codes().right(2).toHex(), QByteArray("0302"));
        dev.mouse->failWrites.clear();
        dev.mouse->writes.clear();
        QCOMPARE(rig().commands.WriteSlotButtons(1, record), 0);
        QCOMPARE(dev.mouse->writes.size(), 7 + 11);
    }

    // Twelve different macros fit the mouse; a thirteenth fails the download with a code
    // of its own before anything is sent, and a download that fits goes through afterwards.
    void macroLimit_data() {
        QTest::addColumn<int>("macros");
        QTest::addColumn<int>("result");
        QTest::newRow("twelve") << 12 << 0;
        QTest::newRow("thirteen") << 13 << 6;
    }
    void macroLimit() {
        QFETCH(int, macros);
        QFETCH(int, result);
        int8_t matrix[kDescriptorButtonKeys];
        for (int i = 0; i < kDescriptorButtonKeys; ++i)
            matrix[i] = int8_t(i);
        setButtonMatrix(matrix);
        writeDescriptor("ButtonCount=" + QByteArray::number(macros));
        auto config = std::make_unique<ProfileSet>();
        for (int b = 0; b < macros; ++b) {
            config->profiles[0].buttons[b].Fun = kFunMacro;
            config->profiles[0].buttons[b].macroname = QStringLiteral("m%1").arg(b);
        }
        ScriptedDevice dev(rig().transport);
        QCOMPARE(rig().commands.DownloadProfile(*config, DownloadButtons), result);
        const QByteArray codes = dev.codes();
        QCOMPARE(int(codes.count(char(0x05))), result ? 0 : macros * 10 + 1);
        QCOMPARE(codes.endsWith(char(0x46)), result == 0);
        if (result == 0)
            return;
        QVERIFY(codes.isEmpty());
        // Nor does a slot with those buttons become active.
        QCOMPARE(rig().commands.WriteSlotButtons(3, config->profiles[0]), result);
        QVERIFY(dev.codes().isEmpty());
        config->profiles[0].buttons[0].Fun = 16;
        QCOMPARE(rig().commands.DownloadProfile(*config, DownloadButtons), 0);
        QCOMPARE(int(dev.codes().count(char(0x05))), 12 * 10 + 1);
    }

private:
    void writeDescriptor(const QByteArray &keys) {
        m_dir->writeText(QStringLiteral("DefaultProfile.bin"), "[PROFILE]\n" + keys + "\n");
    }
    void writeSensor(int code) {
        m_dir->writeText(QStringLiteral("Configs/Config.ini"),
                         "[MouseSenSor]\n1=" + QByteArray::number(code) + "\n");
    }
    void writeMacro(const QString &name, const QByteArray &steps) {
        QVariantMap keys;
        keys.insert(QStringLiteral("Setting/Count"), steps.size() / 3);
        for (int i = 0; i < steps.size() / 3; ++i) {
            keys.insert(QStringLiteral("Setting/Map_%1").arg(i), uint8_t(steps[3 * i]));
            keys.insert(QStringLiteral("Setting/DataH_%1").arg(i), uint8_t(steps[3 * i + 1]));
            keys.insert(QStringLiteral("Setting/DataL_%1").arg(i), uint8_t(steps[3 * i + 2]));
        }
        m_dir->setIni(QStringLiteral("Configs/MacroDB/") + name + QStringLiteral(".MSMACRO"), keys);
    }
    void bindMacro(int profile, int slot, const QString &name) {
        ButtonInfo &b = rig().commands.downloadTable().profiles[profile].buttons[slot];
        b.Fun = kFunMacro;
        b.macroname = name;
        b.LoopNumber = 1;
    }

    std::unique_ptr<TestAppDir> m_dir;
};

QTEST_GUILESS_MAIN(TestButtonMap)
#include "tst_buttonmap.moc"
