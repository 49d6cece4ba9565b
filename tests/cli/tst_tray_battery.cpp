// SPDX-License-Identifier: GPL-3.0-or-later
// The battery in the tray: the tooltip follows the mouse's reports, and the low-battery
// notice comes once when the level falls to the lowest step, again only after charging; with
// the mouse gone its last reading is no longer shown.
#include "ModalCloser.h"
#include "MouseSession.h"
#include "OsdChannel.h"
#include "VirtualMouse.h"
#include "WindowRig.h"

class TestTrayBattery : public QObject {
    Q_OBJECT

    // A report of the mouse through the receiver, as the mouse session hands it over.
    static void report(MousecfgWidget &w, int millivolts, bool charging) {
        const uint16_t raw = VirtualMouse::rawFromMillivolts(millivolts);
        w.slotRefreshBatteryStatus(charging ? 1 : 0, quint8(raw & 0xFF), quint8(raw >> 8));
    }

private slots:
    void tooltipAndLowBatteryNotice() {
        WindowRig rig;
        rig.mouse.unplug(MouseLink::Cable);
        MousecfgWidget &w = rig.open();
        QVERIFY(w.trayIcon());
        // The start-up placeholder (a low reading) is no report: no notice for it.
        QCOMPARE(w.lowBatteryNotices(), 0);
        report(w, 3300, false);
        QVERIFY2(w.trayIcon()->toolTip().endsWith(QLatin1String("Battery 20%")),
                 qPrintable(w.trayIcon()->toolTip()));
        QCOMPARE(w.lowBatteryNotices(), 0);
        QVERIFY(!w.findChild<OsdChannel *>());
        report(w, 3100, false);
        report(w, 3050, false);
        QCOMPARE(w.lowBatteryNotices(), 1);
        // No notification area here: the on-screen display tells it.
        QVERIFY(w.findChild<OsdChannel *>());
        report(w, 3150, true);
        QVERIFY(w.trayIcon()->toolTip().endsWith(QLatin1String("Battery 10%, charging")));
        report(w, 3100, false);
        QCOMPARE(w.lowBatteryNotices(), 2);
        w.slotRefreshBatteryStatus(0, 0, 0);
        QVERIFY(w.trayIcon()->toolTip().endsWith(QLatin1String("MOUSE OFF")));
        QCOMPARE(w.lowBatteryNotices(), 2);
        // With no mouse left, nothing of its last reading is shown.
        report(w, 3100, false);
        ModalCloser closer;
        rig.mouse.unplug(MouseLink::Receiver);
        MouseSession *session = w.session();
        QMetaObject::invokeMethod(session, [session] { session->rescan(); });
        QTRY_COMPARE(w.trayIcon()->toolTip(), QStringLiteral("TOLV\nNo mouse is connected."));
    }
};

QTEST_MAIN(TestTrayBattery)
#include "tst_tray_battery.moc"
