// SPDX-License-Identifier: GPL-3.0-or-later
// A whole download to the virtual mouse: what the mouse holds afterwards, failures at every
// step, and the macro limit.
#include "AppConfig.h"
#include "DeviceCommands.h"
#include "ModelDescriptor.h"
#include "ProfileData.h"
#include "VirtualMouseRig.h"

#include <QSettings>
#include <QtTest>
#include <atomic>
#include <thread>

namespace {
std::vector<uint8_t> bytes(const uint8_t *data, size_t n) {
    return {data, data + n};
}

ProfileSet defaultSet() {
    ProfileSet set;
    resetProfileSet(set);
    for (int i = 1; i < kProfileCount; ++i)
        set.profiles[i] = set.profiles[0];
    return set;
}

void writeMacro(const QString &name, int steps) {
    QSettings m(macroFilePath(name), QSettings::IniFormat);
    m.setValue(QStringLiteral("Setting/Count"), steps);
    for (int i = 0; i < steps; ++i) {
        m.setValue(QStringLiteral("Setting/Map_%1").arg(i), i % 2 ? 0x01 : 0x81);
        m.setValue(QStringLiteral("Setting/DataH_%1").arg(i), 0);
        m.setValue(QStringLiteral("Setting/DataL_%1").arg(i), 4 + i);
    }
}
} // namespace

class TestDownload : public QObject {
    Q_OBJECT

    std::unique_ptr<VirtualMouseRig> rig;

private slots:
    void init() { rig = std::make_unique<VirtualMouseRig>(); }
    void cleanup() { rig.reset(); }

    void fullDownloadLandsInTheMouse() {
        const ProfileSet set = defaultSet();
        QCOMPARE(rig->commands.DownloadProfile(set, DownloadEverything), 0);
        VirtualMouse &m = rig->mouse;
        QVERIFY2(m.protocolErrors().empty(),
                 m.protocolErrors().empty() ? "" : m.protocolErrors()[0].c_str());
        QCOMPARE(m.beginMarks(), 1);
        QCOMPARE(m.endMarks(), 1);
        QCOMPARE(m.appliedGroups(), (std::vector<uint8_t>{0x04, 0x01, 0x02, 0x08, 0x10}));

        uint8_t settings[19];
        rig->commands.buildSettingsTable(settings);
        QCOMPARE(m.table(MouseTable::Settings), bytes(settings, 19));
        // Hand-checked bytes: report rate 1000 Hz, stage 2 active, full lighting (code 2).
        QCOMPARE(int(settings[11]), 1);
        QCOMPARE(int(settings[17]), 1);
        QCOMPARE(int(settings[18]), 2);

        // Six stages of the 3389 sensor, 16-bit little-endian; the last two sent unused.
        const std::vector<uint8_t> dpi = m.table(MouseTable::Dpi);
        QCOMPARE(int(dpi[0]), 6);
        const int values[8] = {8, 16, 32, 64, 128, 256, 320, 360};
        for (int i = 0; i < 8; ++i) {
            const int v = values[i];
            const uint8_t lo = uint8_t(v > 320 ? (v - 160) & 0xFF : v & 0xFF);
            const uint8_t hi = uint8_t(v > 320 ? ((v - 160) >> 8) | 0x80 : v >> 8);
            QCOMPARE(int(dpi[1 + 5 * i]), i < 6 ? 1 : 0);
            QCOMPARE(int(dpi[2 + 5 * i]), int(lo));
            QCOMPARE(int(dpi[3 + 5 * i]), int(hi));
            QCOMPARE(int(dpi[4 + 5 * i]), int(lo));
            QCOMPARE(int(dpi[5 + 5 * i]), int(hi));
        }

        uint8_t lighting[80];
        rig->commands.buildLightingTable(0, lighting);
        QCOMPARE(m.table(MouseTable::Lighting), bytes(lighting, 80));
        // Slot 1 (full lighting) carries effect 1's colour of the descriptor.
        QCOMPARE(bytes(lighting + 8, 8), (std::vector<uint8_t>{0x80, 0, 229, 255, 1, 0, 2, 3}));

        // Buttons: Left, Right, Middle, Forward, Back, DPI switch, wheel up and down.
        const std::vector<uint8_t> buttons = m.table(MouseTable::Buttons);
        QCOMPARE(buttons.size(), size_t(102));
        QCOMPARE(int(buttons[0]), 0x0A);
        const uint8_t types[6] = {0x81, 0x82, 0x83, 0x85, 0x84, 0x88};
        for (int s = 0; s < 6; ++s)
            QCOMPARE(int(buttons[2 + 4 * s]), int(types[s]));
        QCOMPARE(int(buttons[2 + 4 * 22]), 0x8B);
        QCOMPARE(int(buttons[2 + 4 * 23]), 0x8C);
        QCOMPARE(bytes(buttons.data() + 98, 4), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
        // No macro on any button: nothing written to macro memory.
        QCOMPARE(m.frameCount(0x05), 0);
        QCOMPARE(m.activeProfile(), 0);
    }

    void onlyTheFlaggedGroupsAreSent() {
        QCOMPARE(rig->commands.DownloadProfile(defaultSet(), DownloadDpi), 0);
        VirtualMouse &m = rig->mouse;
        QCOMPARE(m.frameCount(0x01), 2);  // the settings table is always sent
        QCOMPARE(m.frameCount(0x02), 10); // count, eight stages, commit
        QCOMPARE(m.frameCount(0x03), 0);
        QCOMPARE(m.frameCount(0x04), 0);
        QCOMPARE(m.frameCount(0x40), 5);
        m.clearFrames();
        QCOMPARE(rig->commands.DownloadProfile(defaultSet(), 0), 0);
        QCOMPARE(m.frameCount(0x40), 0); // nothing flagged: no apply commands
        QCOMPARE(m.frameCount(0x46), 2);
        QCOMPARE(m.frameCount(0x01), 2);
        // A slot number no slot has (a file's) stands for the first slot, for its stages too.
        ProfileSet odd = defaultSet();
        odd.ProfileID = 7;
        odd.profiles[4].dpiInfo[0].used = 0;
        QCOMPARE(rig->commands.DownloadProfile(odd, DownloadDpi), 0);
        QCOMPARE(int(m.table(MouseTable::Dpi)[1]), 1);
    }

    void failureAtEveryStepStopsTheDownload_data() {
        QTest::addColumn<int>("goodAnswers");
        QTest::addColumn<int>("lastCode");
        // Answered frames of a full download in order: begin mark (1), settings (2),
        // buttons (7), DPI (10), lighting (5), apply (5), end mark (1).
        QTest::newRow("begin mark") << 0 << 0x46;
        QTest::newRow("settings table") << 1 << 0x01;
        QTest::newRow("settings commit") << 2 << 0x01;
        QTest::newRow("button table") << 4 << 0x03;
        QTest::newRow("DPI table") << 12 << 0x02;
        QTest::newRow("lighting table") << 21 << 0x04;
        QTest::newRow("apply commands") << 26 << 0x40;
        QTest::newRow("end mark") << 30 << 0x46;
    }

    void failureAtEveryStepStopsTheDownload() {
        QFETCH(int, goodAnswers);
        QFETCH(int, lastCode);
        VirtualMouse &m = rig->mouse;
        // Marks and apply commands are checked by their header only: those fail by silence.
        const bool headerOnly = lastCode == 0x40 || lastCode == 0x46;
        m.setAnswerAfter(goodAnswers, headerOnly ? VirtualMouse::Answer::Zeros
                                                 : VirtualMouse::Answer::WrongData);
        QCOMPARE(rig->commands.DownloadProfile(defaultSet(), DownloadEverything),
                 int(ResultVerifyFailed));
        // The failing frame was the last one sent.
        const auto frames = m.frames();
        QVERIFY(!frames.empty());
        QCOMPARE(int(frames.back().bytes[3]), lastCode);
        QCOMPARE(m.endMarks() > 0, lastCode == 0x46 && goodAnswers > 0);
    }

    // A mouse that sends status reports every 30 ms while commands go to it: every command
    // still gets through; one the mouse never answers ends in bounded time.
    void commandsGetThroughAFloodOfReports() {
        std::atomic<bool> flooding{true};
        std::thread flood([&] {
            while (flooding) {
                rig->mouse.sendStatusReport();
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
            }
        });
        QTest::qWait(2500); // the reports pile up unread, as between two sends
        int done = 0;
        for (int i = 0; i < 13; ++i) {
            const uint8_t data[] = {uint8_t(i), 0x22};
            done += rig->transport.SendFrame(0x01, uint16_t(i), kTagFirst, data, 2) == ResultDone;
        }
        rig->mouse.setAnswer(VirtualMouse::Answer::None);
        const int silent = rig->transport.SendFrame(0x01, 0, kTagFirst, nullptr, 0);
        flooding = false;
        flood.join();
        QCOMPARE(done, 13);
        QVERIFY(rig->mouse.frameCount(0x01) >= 13);
        QCOMPARE(silent, int(ResultVerifyFailed));
    }

    void noMouseIsNoDevice() {
        rig->transport.CloseDevice();
        QCOMPARE(rig->commands.DownloadProfile(defaultSet(), DownloadEverything),
                 int(ResultNoDevice));
        QCOMPARE(rig->mouse.frames().size(), size_t(0));
    }

    void twelveMacrosFitThirteenDoNot() {
        // A model with sixteen buttons, so that thirteen distinct macros can be bound.
        QVariantMap keys{{QStringLiteral("PROFILE/ButtonCount"), 16}};
        for (int n = 0; n < 16; ++n)
            keys.insert(QStringLiteral("PROFILE/BUTTON_INFO_%1_Matrix").arg(n), n);
        rig->dir.setIni(QStringLiteral("DefaultProfile.bin"), keys);
        rig->loadButtonMatrix();
        QDir().mkpath(macroDir());
        ProfileSet set = defaultSet();
        for (int b = 0; b < 13; ++b) {
            writeMacro(QStringLiteral("m%1").arg(b), b + 1);
            ButtonInfo &slot = set.profiles[0].buttons[b < 12 ? b : kWheelUpSlot];
            slot.Fun = kFunMacro;
            slot.macroname = QStringLiteral("m%1").arg(b);
        }
        VirtualMouse &m = rig->mouse;
        QCOMPARE(rig->commands.DownloadProfile(set, DownloadEverything), int(ResultTooManyMacros));
        QCOMPARE(m.frameCount(0x05), 0);

        set.profiles[0].buttons[kWheelUpSlot].Fun = 52;
        m.clearFrames();
        QCOMPARE(rig->commands.DownloadProfile(set, DownloadEverything), 0);
        // Twelve slots of ten frames, and the commit.
        QCOMPARE(m.frameCount(0x05), 12 * 10 + 1);
        const std::vector<uint8_t> memory = m.table(MouseTable::Macros);
        // Macro 0 has one step: the step, a filler after it; macro 11 has twelve.
        QCOMPARE(bytes(memory.data(), 9), (std::vector<uint8_t>{0x81, 0, 4, 6, 1, 0, 0, 0, 0}));
        QCOMPARE(int(memory[11 * 200]), 0x81);
        QVERIFY(m.protocolErrors().empty());
    }
};

QTEST_GUILESS_MAIN(TestDownload)
#include "tst_download.moc"
