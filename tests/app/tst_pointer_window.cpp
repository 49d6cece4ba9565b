// SPDX-License-Identifier: GPL-3.0-or-later
// The host's pointer speed follows the profile slot: the slot's own speed until something was
// sent in this run, then the speed of the active profile as last sent. Runs as three ctest
// variants: under xvfb-run (the X server's acceleration), as a GNOME session on GSettings'
// keyfile backend (checked with GNOME's own gsettings tool), and with no desktop at all, where
// the sensor page says that the desktop takes no speed from programs.
#include "KelPointSpeed.h"
#include "PointerSpeed.h"
#include "WindowRig.h"

#include <QLabel>
#include <QSpinBox>
#include <QtTest>

namespace {
// GNOME's own reading of its pointer speed, −1..1.
double gsettingsSpeed() {
    QProcess gsettings;
    gsettings.start(QStringLiteral("gsettings"),
                    {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.peripherals.mouse"),
                     QStringLiteral("speed")});
    if (!gsettings.waitForFinished(10000))
        return qQNaN();
    return gsettings.readAllStandardOutput().trimmed().toDouble();
}
} // namespace

// Skips a case meant for another ctest variant; fails in the variant meant for it.
#define REQUIRE_BACKEND(wanted, expectVariable, why)                                               \
    if (PointerSpeed::activeBackend() != PointerSpeed::wanted) {                                   \
        if (qEnvironmentVariableIsSet(expectVariable))                                             \
            QFAIL(qPrintable(QStringLiteral("the session gives backend ") +                        \
                             PointerSpeed::backendName()));                                        \
        QSKIP(why);                                                                                \
    }

class TestPointerWindow : public QObject {
    Q_OBJECT

private slots:
    void followsTheSlot() {
        REQUIRE_BACKEND(X11, "MOUSECFG_EXPECT_DISPLAY",
                        "no X display (the ctest variant under xvfb-run covers this)");
        WindowRig rig;
        MousecfgWidget &w = rig.open();
        w.setPage(MousecfgWidget::PageDpi);
        auto *note = w.findChild<QLabel *>(QStringLiteral("pointerSpeedNote"));
        QVERIFY(note && note->isHidden());
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

    void gnomeSettingFollowsTheSlot() {
        REQUIRE_BACKEND(Gnome, "MOUSECFG_EXPECT_GNOME",
                        "not GNOME (the ctest variant on GSettings' keyfile covers this)");
        WindowRig rig;
        MousecfgWidget &w = rig.open();
        ProfileSet &ws = w.workingSet();
        ws.profiles[2].mousespeed = 16;
        w.slotRefreshProfile(2);
        QVERIFY2(gsettingsSpeed() > 0.0, qPrintable(QString::number(gsettingsSpeed())));
        QCOMPARE(PointerSpeed::readSpeed(), 16);
        ws.profiles[1].mousespeed = 4;
        w.slotRefreshProfile(1);
        QVERIFY2(gsettingsSpeed() < 0.0, qPrintable(QString::number(gsettingsSpeed())));
        QCOMPARE(PointerSpeed::readSpeed(), 4);
    }

    // Under sway the window reads the speed from swaymsg without waiting for it: the answer,
    // here a speed of 7 given after half a second (longer than a read that waits may take),
    // reaches the page once it comes. Runs in every variant.
    void swayAnswerComesLater() {
        QTemporaryDir bin;
        QFile swaymsg(bin.filePath(QStringLiteral("swaymsg")));
        QVERIFY(swaymsg.open(QIODevice::WriteOnly));
        swaymsg.write("#!/bin/sh\nsleep 0.5\n"
                      "echo '[{\"type\":\"pointer\",\"libinput\":{\"accel_speed\":-0.3}}]'\n");
        swaymsg.close();
        swaymsg.setPermissions(swaymsg.permissions() | QFileDevice::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        const QByteArray desktop = qgetenv("XDG_CURRENT_DESKTOP");
        const auto restore = qScopeGuard([&] {
            qputenv("PATH", path);
            qputenv("XDG_CURRENT_DESKTOP", desktop);
        });
        qputenv("PATH", bin.path().toLocal8Bit() + ':' + path);
        qputenv("XDG_CURRENT_DESKTOP", "sway");
        WindowRig rig;
        MousecfgWidget &w = rig.open();
        QTRY_COMPARE(int(w.workingSet().activeProfile().mousespeed), 7);
        w.setPage(MousecfgWidget::PageDpi);
        auto *sensor = w.findChild<KelPointSpeed *>(QStringLiteral("pointSpeed"));
        QVERIFY(sensor);
        QCOMPARE(sensor->speedBox()->value(), 7);
    }

    void saysWhereTheDesktopTakesNoSpeed() {
        REQUIRE_BACKEND(None, "MOUSECFG_EXPECT_NO_DESKTOP",
                        "the session has a desktop that takes the pointer speed");
        WindowRig rig;
        MousecfgWidget &w = rig.open();
        w.setPage(MousecfgWidget::PageDpi);
        auto *sensor = w.findChild<KelPointSpeed *>(QStringLiteral("pointSpeed"));
        QVERIFY(sensor);
        // Said under the options, where it is seen without hovering, and the page grows by it.
        auto *note = sensor->findChild<QLabel *>(QStringLiteral("pointerSpeedNote"));
        QVERIFY(note && note->isVisible() && note->text().contains(QLatin1String("desktop")));
        QVERIFY(note->geometry().bottom() < sensor->height());
        QCOMPARE(sensor->speedBox()->toolTip(), note->text());
        QCOMPARE(PointerSpeed::writeSpeed(12), PointerSpeed::Unsupported);
    }
};

QTEST_MAIN(TestPointerWindow)
#include "tst_pointer_window.moc"
