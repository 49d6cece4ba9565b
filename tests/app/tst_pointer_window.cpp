// SPDX-License-Identifier: GPL-3.0-or-later
// The host's pointer speed follows the profile slot: the slot's own speed until something was
// sent in this run, then the speed of the active profile as last sent. Needs an X server (the
// ctest variant under xvfb-run); without one it is skipped.
#include "PointerSpeed.h"
#include "WindowRig.h"

#include <QtTest>

class TestPointerWindow : public QObject {
    Q_OBJECT

private slots:
    void followsTheSlot() {
        if (qgetenv("DISPLAY").isEmpty()) {
            if (qEnvironmentVariableIsSet("MOUSECFG_EXPECT_DISPLAY"))
                QFAIL("DISPLAY is not set");
            QSKIP("no X display (the ctest variant under xvfb-run covers this)");
        }
        WindowRig rig;
        MousecfgWidget &w = rig.open();
        ProfileSet &ws = w.workingSet();
        ws.profiles[2].mousespeed = 7;
        w.slotRefreshProfile(2); // as when the mouse reports another slot
        QCOMPARE(PointerSpeed::readSpeed(), 7);
        // A speed outside 1..20 leaves the host alone.
        ws.profiles[3].mousespeed = 0;
        w.slotRefreshProfile(3);
        QCOMPARE(PointerSpeed::readSpeed(), 7);

        w.slotRefreshProfile(2);
        ws.profiles[2].mousespeed = 15;
        QCOMPARE(sendAndWait(w, true), 0);
        ws.profiles[1].mousespeed = 3;
        w.slotRefreshProfile(1);
        QCOMPARE(PointerSpeed::readSpeed(), 15);
    }
};

QTEST_MAIN(TestPointerWindow)
#include "tst_pointer_window.moc"
