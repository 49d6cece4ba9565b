// SPDX-License-Identifier: GPL-3.0-or-later
// The DPI tab in the main window against the virtual mouse: a stage, the report rate, the
// key response and slot 0's lighting power options changed on the pages reach the mouse's
// tables on Apply; the mouse's own stage and rate changes show on the pages; a profile file
// with values the sliders cannot show reaches the mouse as stored.
#include "AppConfig.h"
#include "KelCheckBox.h"
#include "KelDPIWindow.h"
#include "KelMenu.h"
#include "KelPointSpeed.h"
#include "KelPushButton.h"
#include "KelReportRate.h"
#include "KelSingleDPI.h"
#include "KelSlider.h"
#include "KelTwoBarSlider.h"
#include "ModalCloser.h"
#include "ProfileData.h"
#include "SensorTables.h"
#include "StatusOverSocket.h"
#include "WindowRig.h"

#include <QtTest>

namespace {
KelPushButton *buttonNamed(MousecfgWidget &w, const QString &text) {
    for (KelPushButton *b : w.findChildren<KelPushButton *>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

// Bytes 1..4 of a stage in the mouse's DPI table, and what they should be.
QByteArray stageBytes(const std::vector<uint8_t> &table, int stage) {
    return QByteArray(reinterpret_cast<const char *>(table.data()) + 1 + 5 * stage + 1, 4);
}
QByteArray encoded(uint32_t x, uint32_t y) {
    uint8_t out[4];
    EncodeDpiStage(3389, x, y, 0, out);
    return QByteArray(reinterpret_cast<const char *>(out), 4);
}

constexpr size_t kSettingsSensorFlags = 5; // the lift-off distance in the low bits
constexpr size_t kSettingsMoveOff = 7;
constexpr size_t kSettingsSleep = 8;
constexpr size_t kSettingsDebounce = 9;
constexpr size_t kSettingsRateOfProfile1 = 11;
} // namespace

class TestDpiWindow : public QObject {
    Q_OBJECT

private slots:
    void dpiTabToTheMouseAndBack() {
        WindowRig rig;
        MousecfgWidget &w = rig.open();
        w.show();
        w.setPage(MousecfgWidget::PageDpi);
        auto *dpi = w.findChild<KelDPIWindow *>(QStringLiteral("dpiWindow"));
        auto *rate = w.findChild<KelReportRate *>(QStringLiteral("reportRate"));
        auto *sensor = w.findChild<KelPointSpeed *>(QStringLiteral("pointSpeed"));
        QVERIFY(dpi && rate && sensor);
        QVERIFY(dpi->isVisible() && rate->isVisible() && sensor->isVisible());
        // Sleep time and "MOVE TO LIGHT OFF" belong to slot 0 whatever slot is shown.
        w.slotRefreshProfile(1);
        const ProfileData slot1 = w.workingSet().profiles[1];
        dpi->sleepSlider()->setValue(5);
        dpi->moveOffBox()->click();
        QCOMPARE(int(w.workingSet().profiles[0].LedSleepTime), 5);
        QCOMPARE(int(w.workingSet().profiles[0].LedMoveOFF), 255);
        QVERIFY(w.workingSet().profiles[1] == slot1);
        w.slotRefreshProfile(0);

        // Stage 3 (1600 DPI) moved as a user would, 500 Hz from the menu, key response 9.
        KelTwoBarSlider *slider = dpi->row(2)->slider();
        const QPoint at(slider->width() * 3 / 4, slider->height() / 4);
        QTest::mousePress(slider, Qt::LeftButton, {}, at);
        QTest::mouseRelease(slider, Qt::LeftButton, {}, at);
        const int moved = slider->xValue();
        QVERIFY(moved > 300 && moved == slider->yValue());
        rate->rateMenu()->actions().at(2)->trigger();
        sensor->keySlider()->setValue(9);
        // The lift-off distance chosen on the report-rate page outlives the sensor page's
        // collect on Apply.
        QTest::mouseClick(rate->liftButton(0), Qt::LeftButton, {}, QPoint(7, 9));
        QCOMPARE(int(w.workingSet().LiftHigh), 1);
        QCOMPARE(sendingBy(w,
                           [&w] {
                               QTest::mouseClick(buttonNamed(w, QStringLiteral("Apply")),
                                                 Qt::LeftButton);
                           }),
                 0);

        const std::vector<uint8_t> table = rig.mouse.table(MouseTable::Dpi);
        QCOMPARE(stageBytes(table, 2), encoded(uint32_t(moved), uint32_t(moved)));
        QCOMPARE(stageBytes(table, 1), encoded(16, 16));
        const std::vector<uint8_t> settings = rig.mouse.table(MouseTable::Settings);
        QCOMPARE(int(settings[kSettingsRateOfProfile1]), 2);
        QCOMPARE(settings[kSettingsSensorFlags] & 0x0F, 1);
        QCOMPARE(int(settings[kSettingsDebounce]), 9);
        QCOMPARE(int(settings[kSettingsMoveOff]), 255);
        QCOMPARE(int(settings[kSettingsSleep]), 5);
        QCOMPARE(w.workingSet().profiles[0].dpiInfo[2].xy, 32u);

        // Changes made on the mouse show at once, also one whose report the battery query
        // reads before its own answer: the report waits while the poll rests, and the poll
        // starts again with the query.
        // A rate chosen but not yet sent outlives the report of a stage changed on the mouse.
        stopPolling(w);
        w.workingSet().activeProfile().pollrate = 4;
        rig.mouse.changeDpiStage(4);
        const int queries = rig.mouse.frameCount(0x48);
        w.setPolling(true);
        QTRY_VERIFY_WITH_TIMEOUT(rig.mouse.frameCount(0x48) > queries, 3000);
        QTRY_VERIFY_WITH_TIMEOUT(dpi->row(4)->isActive(), 3000);
        QVERIFY(!dpi->row(1)->isActive());
        QCOMPARE(int(w.workingSet().activeProfile().pollrate), 4);
        // The command line's status tells what the mouse holds, not the edit.
        const QJsonObject status = statusOverSocket();
        QCOMPARE(status.value(QStringLiteral("reportRate")).toInt(), 500);
        QCOMPARE(status.value(QStringLiteral("dpiStage")).toInt(), 5);
        rig.mouse.changeReportRate(8);
        QTRY_COMPARE_WITH_TIMEOUT(rate->rateCaption(), QStringLiteral("125 HZ"), 3000);

        // A hand-edited file: stage 4 beyond the slider's end, linked but X apart from Y.
        {
            QSettings prof(rig.dir.file(QStringLiteral("Configs/TOLV/Profile/Profile 1.prof")),
                           QSettings::IniFormat);
            prof.setValue(QStringLiteral("PROFILE/DPI_INFO_3_x"), 481);
            prof.setValue(QStringLiteral("PROFILE/DPI_INFO_3_y"), 333);
            prof.setValue(QStringLiteral("PROFILE/DPI_INFO_3_link"), 1);
            prof.setValue(QStringLiteral("PROFILE/pollrate"), 4);
        }
        // "Cancel" reads the profile's file again; Apply without touching the page.
        QTest::mouseClick(buttonNamed(w, QStringLiteral("Cancel")), Qt::LeftButton);
        w.show();
        QCOMPARE(sendingBy(w,
                           [&w] {
                               QTest::mouseClick(buttonNamed(w, QStringLiteral("Apply")),
                                                 Qt::LeftButton);
                           }),
                 0);
        QCOMPARE(stageBytes(rig.mouse.table(MouseTable::Dpi), 3), encoded(481, 333));
        QCOMPARE(int(rig.mouse.table(MouseTable::Settings)[kSettingsRateOfProfile1]), 4);
        QCOMPARE(dpi->row(3)->xText(), QStringLiteral("X:32100"));
    }

    // The mouse keeps one DPI table: after Apply and after a switch from the window it holds
    // the active slot's stages. Edits on the pages outlive a switch to another slot and back.
    void theActiveSlotsStagesReachTheMouse() {
        WindowRig rig;
        MousecfgWidget &w = rig.open();
        w.show();
        w.setPage(MousecfgWidget::PageDpi);
        auto *dpi = w.findChild<KelDPIWindow *>(QStringLiteral("dpiWindow"));
        auto *rate = w.findChild<KelReportRate *>(QStringLiteral("reportRate"));
        QVERIFY(dpi && rate);
        chooseSlot(w, rig.mouse, 2);

        // Stage 1 of slot 3 moved low, and 250 Hz; then away to slot 1 and back.
        KelTwoBarSlider *slider = dpi->row(0)->slider();
        const QPoint at(slider->width() / 10, slider->height() / 4);
        QTest::mousePress(slider, Qt::LeftButton, {}, at);
        QTest::mouseRelease(slider, Qt::LeftButton, {}, at);
        const uint32_t moved = uint32_t(slider->xValue());
        QVERIFY(moved != w.appliedSet().profiles[2].dpiInfo[0].x);
        for (QAction *a : rate->rateMenu()->actions()) {
            if (a->text() == QStringLiteral("250 HZ"))
                a->trigger();
        }
        QCOMPARE(rate->rateCaption(), QStringLiteral("250 HZ"));
        chooseSlot(w, rig.mouse, 0);
        chooseSlot(w, rig.mouse, 2);
        QCOMPARE(uint32_t(slider->xValue()), moved);
        QCOMPARE(rate->rateCaption(), QStringLiteral("250 HZ"));
        QCOMPARE(w.workingSet().profiles[2].dpiInfo[0].x, moved);
        QCOMPARE(int(w.workingSet().profiles[2].pollrate), 4);

        QCOMPARE(sendingBy(w,
                           [&w] {
                               QTest::mouseClick(buttonNamed(w, QStringLiteral("Apply")),
                                                 Qt::LeftButton);
                           }),
                 0);
        QCOMPARE(stageBytes(rig.mouse.table(MouseTable::Dpi), 0), encoded(moved, moved));
        QCOMPARE(int(rig.mouse.table(MouseTable::Settings)[kSettingsRateOfProfile1 + 2]), 4);
        const DpiInfo first = w.workingSet().profiles[0].dpiInfo[0];
        chooseSlot(w, rig.mouse, 0);
        QCOMPARE(stageBytes(rig.mouse.table(MouseTable::Dpi), 0), encoded(first.x, first.y));
        chooseSlot(w, rig.mouse, 2);
        QCOMPARE(stageBytes(rig.mouse.table(MouseTable::Dpi), 0), encoded(moved, moved));
        QVERIFY(rig.mouse.protocolErrors().empty());

        // A slot that cannot be saved (the settings' lock taken by a folder) is told, and
        // neither shown nor sent.
        const QString lock = configIniPath() + QStringLiteral(".flock");
        QVERIFY(QDir().mkpath(lock));
        {
            ModalCloser closer;
            QTest::mouseClick(w.findChild<KelPushButton *>(QStringLiteral("profileBtn1")),
                              Qt::LeftButton);
            QCOMPARE(closer.texts,
                     QStringList{QStringLiteral("The profile file could not be written.")});
        }
        QVERIFY(QDir().rmdir(lock));
        QCOMPARE(w.workingSet().activeIndex(), 2);
        QTest::qWait(300);
        QCOMPARE(rig.mouse.activeProfile(), 2);
    }
};

QTEST_MAIN(TestDpiWindow)
#include "tst_dpi_window.moc"
