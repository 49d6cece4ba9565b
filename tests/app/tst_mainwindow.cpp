// SPDX-License-Identifier: GPL-3.0-or-later
// The main window against the virtual mouse in process: layout, pages, spots, dragging,
// tray and close, languages, the status display and the apply path.
#include "AppConfig.h"
#include "BatteryChart.h"
#include "BatteryChartDialog.h"
#include "BatteryRecorder.h"
#include "BatteryStatus.h"
#include "BatteryTray.h"
#include "KelColorWindow.h"
#include "KelDPIWindow.h"
#include "KelMessageBox.h"
#include "KelProcessbar.h"
#include "KelPushButton.h"
#include "KelSlider.h"
#include "KeyTable.h"
#include "LanguageConfig.h"
#include "LauncherCommands.h"
#include "MacroDialog.h"
#include "MainLayout.h"
#include "ModalCloser.h"
#include "ModelDescriptor.h"
#include "MousePictures.h"
#include "MousecfgWidget.h"
#include "OsdChannel.h"
#include "ProfileData.h"
#include "Scale.h"
#include "StatusOverSocket.h"
#include "TestAppDir.h"
#include "VirtualHidApi.h"
#include "VirtualMouse.h"
#include "WindowRig.h"

#include <QLabel>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>
#include <atomic>
#include <functional>
#include <thread>

namespace {
int readActiveId() {
    return QSettings(configIniPath(), QSettings::IniFormat)
        .value(QStringLiteral("Config/ProfileID"))
        .toInt();
}

void pressMoveRelease(QWidget &w, const QPoint &by) {
    const QPoint start(w.width() / 2, 8);
    QMouseEvent press(QEvent::MouseButtonPress, start, w.mapToGlobal(start), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &press);
    const QPoint to = start + by;
    QMouseEvent move(QEvent::MouseMove, to, w.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&w, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, to, w.mapToGlobal(to), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &release);
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    // A window costs a profile set's load and first-run files: cases in a row share one,
    // put back to its start state before each case. The in-process mouse and the
    // installation are process-wide, so there is never more than one window.
    std::unique_ptr<WindowRig> m_rig;
    bool m_rigHasCable = true;

    void dropShared() { m_rig.reset(); }

    WindowRig &prepared(bool cable) {
        if (m_rig && m_rigHasCable != cable)
            m_rig.reset();
        if (!m_rig) {
            m_rig = std::make_unique<WindowRig>();
            m_rigHasCable = cable;
            if (!cable)
                m_rig->mouse.unplug(MouseLink::Cable);
            m_rig->open();
        }
        MousecfgWidget &w = *m_rig->window;
        w.applyScaleStep(0);
        w.setFrontView(true);
        w.setPage(MousecfgWidget::PageLighting);
        w.show();
        m_rig->mouse.setAnswer(VirtualMouse::Answer::Ok);
        if (w.mouseOff())
            w.slotRefreshBatteryStatus(0, 232, 3);
        return *m_rig;
    }
    WindowRig &shared() { return prepared(true); }
    WindowRig &receiverOnly() { return prepared(false); }

private slots:
    void cleanupTestCase() { dropShared(); }

    void startsWithTheMouseFound() {
        WindowRig &rig = shared();
        MousecfgWidget &w = *rig.window;
        QCOMPARE(w.connectedModelCount(), 1);
        QCOMPARE(currentProductName(), QStringLiteral("TOLV"));
        QVERIFY(w.isVisible());
        QCOMPARE(w.size(), QSize(MainLayout::kWidth, MainLayout::kHeight));
        QCOMPARE(w.currentPage(), int(MousecfgWidget::PageLighting));
        // A first start gets five default profiles on disk.
        QCOMPARE(w.workingSet().profileNames[4], QStringLiteral("Profile 5"));
        QCOMPARE(w.workingSet().profiles[0].dpiInfo[1].y, 16u);
        QVERIFY(rig.dir.path().size() > 0);
        QVERIFY(
            QFileInfo::exists(rig.dir.file(QStringLiteral("Configs/TOLV/Profile/Profile 3.prof"))));
        // Only the page shown is made at start; the others are made when first shown.
        QVERIFY(w.findChild<KelColorWindow *>());
        QVERIFY(!w.findChild<KelDPIWindow *>());
        QVERIFY(!w.findChild<MacroDialog *>());
    }

    void layoutFollowsTheScaleStep() {
        WindowRig &rig = shared();
        MousecfgWidget &w = *rig.window;
        w.applyScaleStep(4); // factor 2.0
        QCOMPARE(scaleFactor(), 2.0);
        QCOMPARE(w.tab(1)->geometry(), QRect(80, 304, 420, 88));
        QCOMPARE(scaledRect(286, 75, 456, 386), QRect(572, 150, 912, 772));
        // A page first shown now is placed for this step, and follows the next one.
        w.setPage(MousecfgWidget::PageMacro);
        auto *macro = w.findChild<MacroDialog *>();
        QVERIFY(macro && macro->isVisible());
        QCOMPARE(macro->geometry(), QRect(570, 148, 1330, 934));
        w.applyScaleStep(1); // 1.25: 52 * 1.25 = 65, 100 * 1.25 = 125, 210 * 1.25 = 262.5
        QCOMPARE(w.tab(1)->geometry(), QRect(50, 190, 262, 55));
        QCOMPARE(macro->geometry(), scaledRect(285, 74, 665, 467));
        w.applyScaleStep(0);
        QCOMPARE(w.minimumSize(), QSize(999, 640));
    }

    void pagesFollowTheRule() {
        QCOMPARE(MousecfgWidget::effectivePage(0, true), 1);
        QCOMPARE(MousecfgWidget::effectivePage(0, false), 0);
        QCOMPARE(MousecfgWidget::effectivePage(2, true), 2);
        QCOMPARE(MousecfgWidget::effectivePage(9, false), 3);

        WindowRig &rig = shared();
        MousecfgWidget &w = *rig.window;
        w.setPage(MousecfgWidget::PageCustomize);
        QVERIFY(w.tab(1)->isChecked());
        QVERIFY(!w.tab(0)->isChecked());
        QVERIFY(w.pictures()->spot(MousePictures::SpotFront, 0)->isVisible());
        QVERIFY(!w.pictures()->spot(MousePictures::SpotSide, 3)->isVisible());
        // Only the model's six buttons have spots.
        QVERIFY(!w.pictures()->spot(MousePictures::SpotFront, 6)->isVisible());
        w.setFrontView(false);
        QVERIFY(w.pictures()->spot(MousePictures::SpotSide, 3)->isVisible());
        QVERIFY(!w.pictures()->spot(MousePictures::SpotFront, 0)->isVisible());
        w.setPage(MousecfgWidget::PageDpi);
        QVERIFY(!w.pictures()->spot(MousePictures::SpotSide, 3)->isVisible());
        QVERIFY(!w.pictures()->spot(MousePictures::SpotWheel, 0));
        // A tab click goes through the button handler.
        QTest::mouseClick(w.tab(3), Qt::LeftButton);
        QCOMPARE(w.currentPage(), 3);
    }

    void modelWithoutLightingStartsOnCustomize() {
        dropShared();
        WindowRig rig;
        rig.dir.setIni(QStringLiteral("DefaultProfile.bin"),
                       {{QStringLiteral("PROFILE/ledDisable"), 1}});
        MousecfgWidget &w = rig.open();
        QCOMPARE(w.currentPage(), int(MousecfgWidget::PageCustomize));
        w.setPage(MousecfgWidget::PageLighting);
        QCOMPARE(w.currentPage(), int(MousecfgWidget::PageCustomize));
        QVERIFY(w.tab(1)->isChecked());
        QVERIFY(!w.tab(0)->isChecked());
    }

    void oneSpotIsSelectedAcrossTheSets() {
        WindowRig &rig = shared();
        MousecfgWidget &w = *rig.window;
        w.setPage(MousecfgWidget::PageCustomize);
        QTest::mouseClick(w.pictures()->spot(MousePictures::SpotFront, 2), Qt::LeftButton);
        QCOMPARE(w.pictures()->selectedKind(), int(MousePictures::SpotFront));
        QCOMPARE(w.pictures()->selectedIndex(), 2);
        QVERIFY(w.pictures()->spot(MousePictures::SpotFront, 2)->isChecked());
        // The wheel's buttons are chosen on the button page; no spot marks them.
        w.SelBtnChanged(1, MousePictures::SpotWheel);
        QCOMPARE(w.pictures()->selectedKind(), int(MousePictures::SpotWheel));
        QVERIFY(!w.pictures()->spot(MousePictures::SpotFront, 2)->isChecked());
        w.SelBtnChanged(4, MousePictures::SpotSide);
        QVERIFY(w.pictures()->spot(MousePictures::SpotSide, 4)->isChecked());
        QVERIFY(!w.pictures()->spot(MousePictures::SpotFront, 2)->isChecked());
        int checked = 0;
        for (int kind = 0; kind < 3; ++kind)
            for (int i = 0; i < MousePictures::kSpotCount; ++i)
                checked +=
                    w.pictures()->spot(kind, i) && w.pictures()->spot(kind, i)->isChecked() ? 1 : 0;
        QCOMPARE(checked, 1);
        w.SelBtnChanged(99, MousePictures::SpotFront); // no such spot: nothing changes
        QVERIFY(w.pictures()->spot(MousePictures::SpotSide, 4)->isChecked());
    }

    void dragMovesPastFourPixels() {
        QVERIFY(!MousecfgWidget::dragMoves(QPoint(2, 2)));
        QVERIFY(!MousecfgWidget::dragMoves(QPoint(-4, 0)));
        QVERIFY(MousecfgWidget::dragMoves(QPoint(3, 2)));
        WindowRig &rig = shared();
        MousecfgWidget &w = *rig.window;
        w.move(100, 100);
        const QPoint origin = w.pos();
        pressMoveRelease(w, QPoint(2, 2));
        QCOMPARE(w.pos(), origin);
        pressMoveRelease(w, QPoint(3, 2));
        QCOMPARE(w.pos(), origin + QPoint(3, 2));
    }

    void closeOkAndCancelWithoutATrayQuit() {
        WindowRig &rig = shared();
        MousecfgWidget &w = *rig.window;
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable()); // offscreen has no tray
        QSignalSpy quit(&w, &MousecfgWidget::quitRequested);
        QPushButton *close = nullptr;
        for (KelPushButton *b : w.findChildren<KelPushButton *>()) {
            if (b->geometry() == scaledRect(951, 22, 30, 30))
                close = b;
        }
        QVERIFY(close);
        QTest::mouseClick(close, Qt::LeftButton);
        QCOMPARE(quit.count(), 1);
        QVERIFY(w.isVisible());
        // OK and Cancel would leave a window nothing brings back: they end the program too,
        // OK once its send is done.
        QTest::mouseClick(w.findChild<KelPushButton *>(QStringLiteral("okBtn")), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(quit.count(), 2, 5000);
        QVERIFY(!w.sending());
        QTest::mouseClick(w.findChild<KelPushButton *>(QStringLiteral("cancelBtn")),
                          Qt::LeftButton);
        QCOMPARE(quit.count(), 3);
        QVERIFY(w.isVisible());
    }

    void trayActivation() {
        WindowRig &rig = shared();
        MousecfgWidget &w = *rig.window;
        QVERIFY(w.isVisible());
        w.iconActivated(QSystemTrayIcon::Context);
        QVERIFY(w.isVisible());
        w.iconActivated(QSystemTrayIcon::Trigger);
        QVERIFY(!w.isVisible());
        w.iconActivated(QSystemTrayIcon::MiddleClick);
        QVERIFY(!w.isVisible());
        w.iconActivated(QSystemTrayIcon::DoubleClick);
        QVERIFY(w.isVisible());
        // A double click from the tray: a click, then the double click.
        w.iconActivated(QSystemTrayIcon::Trigger);
        w.iconActivated(QSystemTrayIcon::Trigger);
        w.iconActivated(QSystemTrayIcon::DoubleClick);
        QVERIFY(w.isVisible());
        // A minimised window comes back at the first click.
        w.showMinimized();
        w.iconActivated(QSystemTrayIcon::Trigger);
        QVERIFY(w.isVisible() && !w.isMinimized());
        // The model's name, then the battery (tst_tray_battery).
        QCOMPARE(w.trayIcon()->toolTip().section(QLatin1Char('\n'), 0, 0), QStringLiteral("TOLV"));
        QCOMPARE(w.trayIcon()->contextMenu()->actions().size(), 2);
    }

    void missingCatalogueKeepsTextsButSavesTheChoice() {
        dropShared();
        WindowRig rig;
        // English has a catalogue here; the second language has none.
        QDir().mkpath(rig.dir.file(QStringLiteral("lang")));
        QFile::copy(QStringLiteral(MOUSECFG_APP_DIR "/lang/en.qm"),
                    rig.dir.file(QStringLiteral("lang/en.qm")));
        MousecfgWidget &w = rig.open();
        const QString before = w.tab(0)->text();
        QMenu *menu = nullptr;
        for (KelPushButton *b : w.findChildren<KelPushButton *>()) {
            if (b->menu() && b->geometry() == scaledRect(780, 31, 90, 26))
                menu = b->menu();
        }
        QVERIFY(menu);
        QCOMPARE(menu->actions().size(), 3);
        menu->actions().at(1)->trigger();
        QCOMPARE(readLanguageId(), 1);
        QCOMPARE(currentLanguage(), 1);
        QCOMPARE(w.tab(0)->text(), before);
    }

    // With one language configured there is no choice to honour: no catalogue is loaded,
    // whatever language was saved.
    void oneLanguageLoadsNoCatalogue() {
        dropShared();
        WindowRig rig;
        QDir().mkpath(rig.dir.file(QStringLiteral("lang")));
        QFile::copy(QStringLiteral(MOUSECFG_APP_DIR "/lang/sc.qm"),
                    rig.dir.file(QStringLiteral("lang/sc.qm")));
        rig.dir.setIni(QStringLiteral("Configs/Config.ini"),
                       {{QStringLiteral("FONT_LIST/LANGNUM"), 1}});
        rig.dir.setIni(QStringLiteral("Configs/LangConfig.ini"),
                       {{QStringLiteral("Config/LangID"), 1}});
        MousecfgWidget &w = rig.open();
        QCOMPARE(w.tab(0)->text(), QStringLiteral("LIGHTING"));
    }

    void batteryLevels_data() {
        QTest::addColumn<int>("raw");
        QTest::addColumn<int>("full");
        QTest::addColumn<int>("level");
        QTest::newRow("raw 1000, full above") << 1000 << 4126 << 90;
        QTest::newRow("raw 1000, full equal") << 1000 << 4125 << 100;
        QTest::newRow("raw 970") << 970 << 4125 << 80;
        QTest::newRow("raw 775") << 775 << 4125 << 10;
        QTest::newRow("3700 exactly") << 897 << 4200 << 50; // 897 * 990 / 240 = 3700
        QTest::newRow("just below 3700") << 896 << 4200 << 40;
    }

    void batteryLevels() {
        QFETCH(int, raw);
        QFETCH(int, full);
        QFETCH(int, level);
        WindowRig &rig = receiverOnly();
        rig.dir.setIni(QStringLiteral("Configs/Config.ini"),
                       {{QStringLiteral("Config/BatteryFull"), full}});
        MousecfgWidget &w = *rig.window;
        w.slotRefreshBatteryStatus(0, quint8(raw & 0xFF), quint8(raw >> 8));
        QCOMPARE(w.batteryStatus()->level(), level);
        QCOMPARE(w.batteryStatus()->bar()->value(), level);
        QCOMPARE(batteryLevel(), level); // remembered in Config.ini
    }

    // Three hours of discharge told by the launcher's battery command, on a clock of the test:
    // the tray and the status record then tell the time left.
    void batteryTimeLeft() {
        dropShared();
        static qint64 clock = 1700000000000;
        static int readings = 0;
        BatteryRecorder::setClock([] {
            ++readings;
            return clock;
        });
        const auto systemClock = qScopeGuard([] { BatteryRecorder::setClock(nullptr); });
        WindowRig rig;
        rig.mouse.unplug(MouseLink::Cable);
        rig.mouse.setBatteryMillivolts(3900, false);
        MousecfgWidget &w = rig.open();
        // 40 mV an hour from 3900 mV: 3780 mV at the end, 24.5 h from empty (2800 mV).
        for (int i = 0; i <= 6; ++i, clock += 30 * 60 * 1000) {
            const int before = readings;
            const QString command = QStringLiteral("battery %1 0").arg(3900 - 20 * i);
            QVERIFY(applyToMouse(rig.mouse, parseControlCommand(command.toStdString())));
            QTRY_VERIFY(readings > before);
        }
        const QString tip = w.trayIcon()->toolTip();
        QVERIFY2(tip.contains(QRegularExpression(QStringLiteral("\\nabout 2[2-6] h left$"))),
                 qPrintable(tip));
        const double inRecord = statusOverSocket().value(QStringLiteral("hoursLeft")).toDouble(-1);
        QVERIFY2(qAbs(inRecord - 24.5) <= 2.45, qPrintable(QString::number(inRecord)));

        // Enter on the battery picture shows the week: the 3 hours as one line up to now,
        // and the time left under it; a new reading comes in while it is open.
        KelPushButton *picture = w.batteryStatus()->picture();
        picture->setFocus();
        QTest::keyClick(picture, Qt::Key_Return);
        QTRY_VERIFY(w.batteryChart() && w.batteryChart()->isVisible());
        QVERIFY2(w.batteryChart()->note().contains(
                     QRegularExpression(QStringLiteral("^\\d+% now, about 2[2-6] h left\\.$"))),
                 qPrintable(w.batteryChart()->note()));
        const BatteryChartSeries &series = w.batteryChart()->chart()->series();
        QCOMPARE(series.lines.size(), 1);
        QCOMPARE(series.lines[0].last().x(), 1.0);
        const int before = readings;
        QVERIFY(applyToMouse(rig.mouse, parseControlCommand("battery 3900 1")));
        QTRY_VERIFY(readings > before);
        QTRY_COMPARE(w.batteryChart()->note(), QStringLiteral("Charging."));
        QTest::keyClick(w.batteryChart(), Qt::Key_Escape);
        QTRY_VERIFY(!w.batteryChart());

        // Written on the history's own thread, the newest reading is on disk once the window
        // has gone.
        rig.window.reset();
        const QVector<BatterySample> kept = BatteryHistory(currentProductName()).samples();
        QVERIFY(!kept.isEmpty());
        QCOMPARE(kept.last().timeMs, clock);
        QVERIFY(kept.last().charging);
    }

    void mouseOffAndConnectionStates() {
        QCOMPARE(BatteryStatus::connectionStateFor(true, true, false), 1);
        QCOMPARE(BatteryStatus::connectionStateFor(true, false, true), 0);
        QCOMPARE(BatteryStatus::connectionStateFor(false, true, true), 1);
        QCOMPARE(BatteryStatus::connectionStateFor(false, true, false), 2);
        QCOMPARE(BatteryStatus::connectionStateFor(false, false, false), 3);

        WindowRig &rig = receiverOnly();
        MousecfgWidget &w = *rig.window;
        w.slotRefreshBatteryStatus(0, 0, 0);
        QVERIFY(w.mouseOff());
        QVERIFY(w.batteryStatus()->bar()->hasCaption());
        QCOMPARE(w.batteryStatus()->bar()->caption(), QStringLiteral("MOUSE OFF"));
        w.slotRefreshBatteryStatus(0, 232, 3);
        QVERIFY(!w.mouseOff());
        QVERIFY(!w.batteryStatus()->bar()->hasCaption());
        QCOMPARE(w.batteryStatus()->connectionState(), 2);
        QVERIFY(w.batteryStatus()->receiverIcon()->isVisible());
        QVERIFY(w.batteryStatus()->bar()->isVisible());
        w.slotRefreshBatteryStatus(1, 232, 3); // charging through the receiver
        QCOMPARE(w.batteryStatus()->connectionState(), 1);
        QVERIFY(!w.batteryStatus()->bar()->isVisible());
        // Off after charging: no charging picture, and the bar shows the caption.
        w.slotRefreshBatteryStatus(0, 0, 0);
        QCOMPARE(w.batteryStatus()->connectionState(), 2);
        QVERIFY(w.batteryStatus()->bar()->isVisible());
        // Receiver and cable gone: no level is known any more.
        w.slotRefreshBatteryStatus(0, 232, 3);
        w.batteryStatus()->showLinks(false, false);
        QVERIFY(!w.batteryStatus()->bar()->isVisible());
        QVERIFY(!w.batteryStatus()->receiverIcon()->isVisible());
    }

    void cableShowsFullWithoutText() {
        WindowRig &rig = shared();
        MousecfgWidget &w = *rig.window;
        w.slotRefreshBatteryStatus(0, 0x10, 3);
        QCOMPARE(w.batteryStatus()->connectionState(), 1);
        QCOMPARE(w.batteryStatus()->bar()->value(), 100);
        QVERIFY(w.batteryStatus()->bar()->format().isEmpty());
        QVERIFY(!w.batteryStatus()->bar()->isVisible());
    }

    void applyWithNothingChangedSendsNothing() {
        WindowRig &rig = shared();
        MousecfgWidget &w = *rig.window;
        rig.mouse.clearFrames();
        writeDiffFlag(0);
        ModalCloser closer;
        QCOMPARE(sendAndWait(w), 0);
        // Only the status poll may have asked for the battery meanwhile.
        for (const VirtualMouse::Frame &f : rig.mouse.frames())
            QCOMPARE(int(f.bytes[3]), 0x48);
        QVERIFY(closer.texts.isEmpty());
    }

    void applySendsTheChangeAndReportsFailures() {
        WindowRig &rig = shared();
        MousecfgWidget &w = *rig.window;
        QCOMPARE(sendAndWait(w, true), 0); // the mouse holds the working set now
        w.workingSet().profiles[0].dpiInfo[2].y = 40;
        rig.mouse.clearFrames();
        {
            ModalCloser closer;
            QCOMPARE(sendAndWait(w), 0);
            QVERIFY(closer.texts.isEmpty());
        }
        QCOMPARE(rig.mouse.frameCount(0x02), 10);
        QCOMPARE(rig.mouse.frameCount(0x03), 0);
        // A stage changed on the mouse, then chosen back in the window, is sent.
        const quint8 stage = w.workingSet().activeProfile().dpi;
        rig.mouse.changeDpiStage(stage == 2 ? 3 : 2);
        QTRY_VERIFY(w.workingSet().activeProfile().dpi != stage);
        w.workingSet().activeProfile().dpi = stage;
        QCOMPARE(sendAndWait(w), 0);
        QCOMPARE(int(rig.mouse.dpiStage()), int(stage));

        // The mouse off: nothing sent, and the user is told. (The status poll would report
        // the mouse awake again; it rests for this part.)
        stopPolling(w);
        rig.mouse.setAsleep(true);
        w.slotRefreshBatteryStatus(0, 0, 0);
        w.workingSet().profiles[0].dpiInfo[2].y = 41;
        w.workingSet().Jitter ^= 1;
        rig.mouse.clearFrames();
        {
            ModalCloser closer;
            QCOMPARE(sendAndWait(w), int(ResultMouseOff));
            QCOMPARE(closer.texts,
                     QStringList{QStringLiteral("Mouse is sleeping or not connected.")});
        }
        QCOMPARE(rig.mouse.frameCount(0x02), 0);
        // What was applied is stored and goes at the next send: Cancel keeps all of it.
        const ProfileSet applied = w.workingSet();
        QTest::mouseClick(w.findChild<KelPushButton *>(QStringLiteral("cancelBtn")),
                          Qt::LeftButton);
        QVERIFY(w.workingSet() == applied);
        w.show();
        // Moved since, it is awake before the battery is asked again: the send is not refused.
        rig.mouse.setAsleep(false);
        QCOMPARE(sendAndWait(w), 0);
        QVERIFY(!w.mouseOff());

        // A mouse that never answers: the failure is reported and the next send is whole.
        w.workingSet().profiles[0].dpiInfo[2].y = 42;
        rig.mouse.setAnswer(VirtualMouse::Answer::WrongData);
        {
            ModalCloser closer;
            QCOMPARE(sendAndWait(w), int(ResultVerifyFailed));
            QCOMPARE(closer.texts,
                     QStringList{QStringLiteral("Send data failed, please try again.")});
        }
        QCOMPARE(readDiffFlag(), 1);
        rig.mouse.setAnswer(VirtualMouse::Answer::Ok);
        rig.mouse.clearFrames();
        QCOMPARE(sendAndWait(w), 0);
        QVERIFY(rig.mouse.frameCount(0x03) > 0);
        QCOMPARE(readDiffFlag(), 0);
        w.setPolling(true);
    }

    void statusReportsAreBoundedAndShown() {
        WindowRig &rig = shared();
        // A stand-in for the OSD program, listening under its title.
        QLocalServer osd;
        QLocalServer::removeServer(osdServerPath(QStringLiteral("TOLV")));
        QVERIFY(osd.listen(osdServerPath(QStringLiteral("TOLV"))));
        MousecfgWidget &w = *rig.window;
        // The reports here are made by hand; the status poll rests so that none of the mouse's
        // own comes between them.
        stopPolling(w);
        ProfileSet &ws = w.workingSet();
        ws.ProfileID = 0;
        ws.profiles[0].dpi = 1;
        ws.profiles[0].pollrate = 1;
        w.slotRefreshStatus(7, 9, 1, 0); // no such profile or stage: ignored
        QCOMPARE(int(ws.ProfileID), 0);
        QCOMPARE(int(ws.profiles[0].dpi), 1);
        w.slotRefreshStatus(0, 3, 1, 0);
        QCOMPARE(int(ws.profiles[0].dpi), 3);
        QVERIFY(osd.waitForNewConnection(2000));
        QLocalSocket *s = osd.nextPendingConnection();
        while (s->bytesAvailable() < kOsdRecordSize && s->waitForReadyRead(2000)) {
        }
        OsdMessage message;
        QVERIFY(parseOsdRecord(s->read(kOsdRecordSize), message));
        QCOMPARE(message.text, QStringLiteral("DPI 4:3200"));
        // The stage is remembered in the profile's file.
        QSettings prof(rig.dir.file(QStringLiteral("Configs/TOLV/Profile/Profile 1.prof")),
                       QSettings::IniFormat);
        QCOMPARE(prof.value(QStringLiteral("PROFILE/dpi")).toInt(), 3);
        // And so is the rate: Cancel, which reads the files again, keeps what the mouse holds.
        w.slotRefreshStatus(0, 3, 2, 0);
        prof.sync();
        QCOMPARE(prof.value(QStringLiteral("PROFILE/pollrate")).toInt(), 2);
        w.slotRefreshStatus(0, 3, 1, 0);
        w.slotRefreshStatus(2, 3, 1, 0);
        QCOMPARE(int(ws.ProfileID), 2);
        QCOMPARE(readDiffFlag() >= 0, true);
        w.slotRefreshWriteStatus(0);
        QCOMPARE(readDiffFlag(), 1);
        w.setPolling(true);
    }

    // Reports cut short, and a rate the mouse cannot have, change nothing: the reports read
    // after them still do.
    void shortReportsAndUnknownRatesAreIgnored() {
        WindowRig &rig = shared();
        ProfileSet &ws = rig.window->workingSet();
        rig.mouse.changeProfile(1);
        QTRY_VERIFY_WITH_TIMEOUT(ws.ProfileID == 1 && ws.activeProfile().dpi == 1, 5000);
        const quint8 rate = ws.activeProfile().pollrate;
        QVERIFY(rate != 0 && rate != 3);
        ws.profiles[0].dpi = 2; // what a report of zeros would set to stage 1
        writeDiffFlag(0);
        rig.mouse.sendTruncatedReport({0x05, 0x00, 0xFA, 0x49}, 4);
        // A battery report without its write-status byte reads as "the write failed".
        rig.mouse.sendTruncatedReport({0x05, 0x00, 0xFA, 0x48, 0x10, 0x0F, 0x01}, 7);
        rig.mouse.changeReportRate(3);
        rig.mouse.changeDpiStage(4);
        QTRY_VERIFY_WITH_TIMEOUT(ws.activeProfile().dpi == 4, 5000);
        QCOMPARE(int(ws.ProfileID), 1);
        QCOMPARE(int(ws.profiles[0].dpi), 2);
        QCOMPARE(ws.activeProfile().pollrate, rate);
        QCOMPARE(readDiffFlag(), 0);
        rig.mouse.changeReportRate(rate);
        rig.mouse.changeDpiStage(1);
        rig.mouse.changeProfile(0);
        QTRY_VERIFY_WITH_TIMEOUT(ws.ProfileID == 0 && ws.activeProfile().dpi == 1, 5000);
    }

    // Choosing a slot is queued on the mouse session: the window goes on at once, and clicks
    // in a row reach the mouse in their order, so it ends on the slot chosen last.
    void choosingASlotSelectsItOnTheMouse() {
        WindowRig &rig = shared();
        MousecfgWidget &w = *rig.window;
        const size_t appliedBefore = rig.mouse.appliedGroups().size();
        rig.mouse.setAnswerDelay(100); // a slow mouse: 5 apply commands take over half a second
        QMenu *slotMenu = nullptr;
        for (KelPushButton *b : w.findChildren<KelPushButton *>()) {
            if (b->menu() && b->geometry() == scaledRect(744, 560, 96, 28))
                slotMenu = b->menu();
        }
        QVERIFY(slotMenu);
        slotMenu->actions().at(3)->trigger();
        QVERIFY(rig.mouse.appliedGroups().size() < appliedBefore + 6); // not waited for
        QCOMPARE(int(w.workingSet().ProfileID), 3);
        QCOMPARE(readActiveId(), 3);
        // A report the mouse sent before the switch, read while the switch is on its way, does
        // not put the window back on the slot left.
        w.slotRefreshStatus(1, 2, w.workingSet().activeProfile().pollrate, 0);
        // The select frame with its own apply command, then the five apply groups.
        QTRY_COMPARE_WITH_TIMEOUT(rig.mouse.appliedGroups().size(), appliedBefore + 6, 5000);
        const std::vector<uint8_t> applied = rig.mouse.appliedGroups();
        QCOMPARE(std::vector<uint8_t>(applied.end() - 6, applied.end()),
                 (std::vector<uint8_t>{0x01, 0x04, 0x01, 0x02, 0x08, 0x10}));
        QCOMPARE(rig.mouse.selectedProfiles().back(), 3);
        QCOMPARE(rig.mouse.activeProfile(), 3);
        QCOMPARE(int(w.workingSet().ProfileID), 3);

        // A burst of clicks on the indicators: the mouse goes to the slot clicked last, not
        // through those between (the first may be under way before the others come).
        rig.mouse.setAnswerDelay(20);
        const size_t selectsBefore = rig.mouse.selectedProfiles().size();
        for (const char *name : {"profileBtn2", "profileBtn5", "profileBtn1", "profileBtn3"})
            QTest::mouseClick(w.findChild<KelPushButton *>(QLatin1String(name)), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(rig.mouse.activeProfile(), 2, 10000);
        const size_t selects = rig.mouse.selectedProfiles().size() - selectsBefore;
        QVERIFY(selects <= 2);
        QTRY_COMPARE_WITH_TIMEOUT(rig.mouse.appliedGroups().size(), appliedBefore + 6 + 6 * selects,
                                  10000);
        QCOMPARE(int(w.workingSet().ProfileID), 2);
        rig.mouse.setAnswerDelay(0);
        w.slotRefreshProfile(0);
    }

    // The session sends a copy of the working set: an edit made while a send runs is not in
    // what was sent, and the next send takes it; a change made on the mouse during the send,
    // once the send's settings are in it, is taken in at once.
    void editDuringASendIsNotSent() {
        WindowRig &rig = shared();
        MousecfgWidget &w = *rig.window;
        ProfileSet &ws = w.workingSet();
        // Slot 0 on both sides: its stages are the ones the mouse's DPI table is sent from.
        rig.mouse.changeProfile(0);
        QTRY_COMPARE_WITH_TIMEOUT(int(ws.ProfileID), 0, 5000);
        ProfileData &slot = ws.profiles[0];
        const quint8 newStage = slot.dpi == 4 ? 2 : 4;
        slot.dpiInfo[3].y = 30;
        rig.mouse.setAnswerDelay(20); // long enough to edit during it
        const int commits = rig.mouse.commits(MouseTable::Settings);
        const int result = sendingBy(w, [&] {
            w.send(true);
            QTRY_VERIFY_WITH_TIMEOUT(rig.mouse.commits(MouseTable::Settings) > commits, 5000);
            QVERIFY(w.sending());
            slot.dpiInfo[3].y = 31;
            rig.mouse.changeDpiStage(newStage);
            QTRY_COMPARE_WITH_TIMEOUT(int(slot.dpi), int(newStage), 5000);
        });
        rig.mouse.setAnswerDelay(0);
        QCOMPARE(result, 0);
        QCOMPARE(int(rig.mouse.table(MouseTable::Dpi)[1 + 5 * 3 + 3]), 30);
        QCOMPARE(w.appliedSet().profiles[0].dpiInfo[3].y, 30u);
        QCOMPARE(slot.dpiInfo[3].y, 31u);
        QCOMPARE(sendAndWait(w), 0);
        QCOMPARE(int(rig.mouse.table(MouseTable::Dpi)[1 + 5 * 3 + 3]), 31);
    }

    // The status poll, sends and plug events all at once, as a user with a busy mouse would
    // have them: every send ends, nothing hangs, and the mouse ends up with what the working
    // set holds.
    void pollSendsAndPlugEventsTogether() {
        WindowRig &rig = shared();
        MousecfgWidget &w = *rig.window;
        std::atomic<bool> done{false};
        std::thread mouseSide([&] {
            // Changes made on the mouse, and the receiver going and coming back.
            for (int i = 0; !done; ++i) {
                rig.mouse.changeDpiStage(uint8_t(i % 6));
                if (i % 3 == 2) {
                    rig.mouse.unplug(MouseLink::Receiver);
                    std::this_thread::sleep_for(std::chrono::milliseconds(30));
                    rig.mouse.plug(MouseLink::Receiver);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(150));
            }
        });
        ModalCloser closer;
        MouseSession *session = w.session();
        for (int round = 0; round < 4; ++round) {
            w.workingSet().profiles[0].dpiInfo[1].y = uint32_t(22 + round);
            const int result = sendAndWait(w);
            // A battery query cut by the unplug reads as the mouse off until its next answer.
            QVERIFY(result == 0 || result == ResultVerifyFailed || result == ResultWriteFailed ||
                    result == ResultNoDevice || result == ResultMouseOff);
            // As a plug event does.
            QMetaObject::invokeMethod(session, [session] { session->rescan(); });
            QTest::qWait(150);
        }
        done = true;
        mouseSide.join();
        // Settled: the device is open again (half a second after the last plug event) and a
        // last send lands whole.
        QTest::qWait(700);
        QTRY_VERIFY_WITH_TIMEOUT(w.devices().link != MouseDevices::NoLink, 5000);
        writeDiffFlag(1);
        QCOMPARE(sendAndWait(w), 0);
        const std::vector<uint8_t> dpi = rig.mouse.table(MouseTable::Dpi);
        QCOMPARE(int(dpi[1 + 5 * 1 + 3]), 25);
    }

    // An updater that cannot start gives the mouse back: the session let go of it for the
    // updater is started again, and the mouse is reached as before.
    void anUpdaterThatCannotStartGivesTheMouseBack() {
        WindowRig &rig = shared();
        MousecfgWidget &w = *rig.window;
        const QString updater = rig.dir.file(QStringLiteral("skin/mouse/bin/RX10-UPDATE-VER1.3"));
        QDir().mkpath(QFileInfo(updater).absolutePath());
        QFile file(updater);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a program\n");
        file.close();
        QVERIFY(file.setPermissions(file.permissions() | QFile::ExeOwner));
        const auto removed = qScopeGuard([&file] { file.remove(); });
        QPointer<MouseSession> before = w.session();
        ModalCloser closer;
        w.findChild<KelPushButton *>(QStringLiteral("firmwareBtn"))->click();
        QTRY_VERIFY(
            closer.texts.contains(QStringLiteral("The firmware updater could not be started.")));
        QVERIFY(!before && w.session());
        QTRY_VERIFY_WITH_TIMEOUT(w.devices().link != MouseDevices::NoLink, 5000);
        QCOMPARE(sendAndWait(w, true), 0);
    }

    // A mouse that goes and comes back (a receiver moved to another port) keeps the edits not
    // yet sent.
    void aMouseComingBackKeepsUnsentEdits() {
        WindowRig &rig = receiverOnly();
        MousecfgWidget &w = *rig.window;
        auto *sleep =
            w.findChild<KelColorWindow *>()->findChild<KelSlider *>(QStringLiteral("sleepSlider"));
        const int edited = sleep->value() == 7 ? 4 : 7;
        sleep->setValue(edited);
        ModalCloser closer(false);
        MouseSession *session = w.session();
        rig.mouse.unplug(MouseLink::Receiver);
        QMetaObject::invokeMethod(session, [session] { session->rescan(); });
        QTRY_VERIFY_WITH_TIMEOUT(!mouseReadyFlag() && !closer.texts.isEmpty(), 5000);
        rig.mouse.plug(MouseLink::Receiver);
        QMetaObject::invokeMethod(session, [session] { session->rescan(); });
        QTRY_VERIFY_WITH_TIMEOUT(mouseReadyFlag(), 5000);
        QCOMPARE(sleep->value(), edited);
        dropShared();
    }

    // The receiver gone and back within a moment (a port that re-enumerates): no warning,
    // the window stays in the tray, and the tray icon still hides it once shown.
    void aMouseBackAtOnceLeavesTheWindowWhereItWas() {
        WindowRig &rig = receiverOnly();
        MousecfgWidget &w = *rig.window;
        w.hide();
        ModalCloser closer;
        MouseSession *session = w.session();
        rig.mouse.unplug(MouseLink::Receiver);
        QMetaObject::invokeMethod(session, [session] { session->rescan(); });
        QTRY_VERIFY(!mouseReadyFlag());
        rig.mouse.plug(MouseLink::Receiver);
        QMetaObject::invokeMethod(session, [session] { session->rescan(); });
        QTRY_VERIFY(mouseReadyFlag());
        QTest::qWait(300);
        QVERIFY(closer.texts.isEmpty());
        QVERIFY(!w.isVisible());
        w.show();
        emit w.trayIcon()->activated(QSystemTrayIcon::Trigger);
        QVERIFY(!w.isVisible());
        dropShared();
    }

    void noMouseShowsTheDongleBoxUntilOneArrives() {
        dropShared();
        WindowRig rig;
        rig.mouse.unplug(MouseLink::Receiver);
        rig.mouse.unplug(MouseLink::Cable);
        setMouseReadyFlag(false);
        ModalCloser watcher(false); // records; rejects only if the box stays open
        auto window = std::make_unique<MousecfgWidget>();
        QCOMPARE(window->connectedModelCount(), 0);
        QVERIFY(!window->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!watcher.texts.isEmpty(), 3000);
        QCOMPARE(watcher.texts.first(), QStringLiteral("No mouse is connected."));
        window.reset();
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
