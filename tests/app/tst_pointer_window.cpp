// SPDX-License-Identifier: GPL-3.0-or-later
// The host's pointer speed follows the profile slot: the slot's own speed until something was
// sent in this run, then the slot's speed as last sent; Apply gives it the active slot's. Runs as
// three ctest variants: under xvfb-run (the X server's acceleration and a libinput pointer's own
// speed, checked with xinput), as a GNOME session on GSettings' keyfile backend (checked with
// GNOME's own gsettings tool), and with no desktop at all, where the sensor page says that the
// desktop takes no speed from programs.
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
// A pointer driven by libinput keeps its own speed, −1..1, in a device property: the X test
// pointer gets one (as xinput makes it), and xinput's own reading of it.
const QString kXinputPointer = QStringLiteral("Virtual core XTEST pointer");
const QString kLibinputSpeed = QStringLiteral("libinput Accel Speed");
bool makeLibinputPointer() {
    return QProcess::execute(QStringLiteral("xinput"),
                             {QStringLiteral("set-prop"), QStringLiteral("--type=float"),
                              QStringLiteral("--format=32"), kXinputPointer, kLibinputSpeed,
                              QStringLiteral("0")}) == 0;
}
double xinputSpeed() {
    QProcess xinput;
    xinput.start(QStringLiteral("xinput"), {QStringLiteral("list-props"), kXinputPointer});
    if (!xinput.waitForFinished(10000))
        return qQNaN();
    for (const QString &line : QString::fromUtf8(xinput.readAllStandardOutput()).split('\n')) {
        if (line.trimmed().startsWith(kLibinputSpeed + QStringLiteral(" (")))
            return line.section(QLatin1Char(':'), 1).trimmed().toDouble();
    }
    return qQNaN();
}
// The sensor options, shown.
KelPointSpeed *sensorPage(MousecfgWidget &w) {
    w.setPage(MousecfgWidget::PageDpi);
    auto *sensor = w.findChild<KelPointSpeed *>(QStringLiteral("pointSpeed"));
    if (!sensor)
        qFatal("no sensor options on the DPI page");
    return sensor;
}
} // namespace

class TestPointerWindow : public QObject {
    Q_OBJECT

private slots:
    // The host's speed follows the slot on X11 and on GNOME, each in its ctest variant: the
    // slot's own speed until something was sent in this run, then the slot's as last sent.
    void hostSpeedFollowsTheSlot() {
        const PointerSpeed::Backend backend = PointerSpeed::activeBackend();
        if (backend != PointerSpeed::X11 && backend != PointerSpeed::Gnome) {
            if (qEnvironmentVariableIsSet("MOUSECFG_EXPECT_DISPLAY") ||
                qEnvironmentVariableIsSet("MOUSECFG_EXPECT_GNOME"))
                QFAIL(qPrintable(QStringLiteral("the session gives backend ") +
                                 PointerSpeed::backendName()));
            QSKIP("neither X11 nor GNOME (the xvfb-run and GSettings variants cover this)");
        }
        const bool gnome = backend == PointerSpeed::Gnome;
        WindowRig rig;
        MousecfgWidget &w = rig.open();
        const auto *note = sensorPage(w)->findChild<QLabel *>(QStringLiteral("pointerSpeedNote"));
        QVERIFY(note && note->isHidden());
        ProfileSet &ws = w.workingSet();
        // As when the mouse reports another slot.
        const auto switchTo = [&](int slot, int speed) {
            ws.profiles[slot].mousespeed = quint8(speed);
            w.slotRefreshProfile(slot);
        };
        switchTo(2, 16);
        QCOMPARE(PointerSpeed::readSpeed(), 16);
        // GNOME's own tool reads the same, on its −1..1 scale.
        QVERIFY2(!gnome || gsettingsSpeed() > 0.0, qPrintable(QString::number(gsettingsSpeed())));
        // On X11 from here on a pointer that libinput drives, whose own speed (0 here, the
        // default) is the one read.
        QVERIFY(gnome || (makeLibinputPointer() &&
                          PointerSpeed::readSpeed() == PointerSpeed::kDefaultSpeed));
        switchTo(1, 4);
        QCOMPARE(PointerSpeed::readSpeed(), 4);
        const double own = gnome ? gsettingsSpeed() : xinputSpeed();
        QVERIFY2(own < 0.0, qPrintable(QString::number(own)));
        // A speed outside 1..20 leaves the host alone.
        switchTo(3, 0);
        QCOMPARE(PointerSpeed::readSpeed(), 4);

        w.slotRefreshProfile(2);
        ws.profiles[2].mousespeed = 15;
        QCOMPARE(sendAndWait(w, true), 0);
        QCOMPARE(PointerSpeed::readSpeed(), 15);
        // Slot 2 as sent (4); its edit to 3 goes with the next Apply, also one with nothing
        // for the mouse.
        switchTo(1, 3);
        QCOMPARE(PointerSpeed::readSpeed(), 4);
        QCOMPARE(sendAndWait(w), 0);
        ws.profiles[1].mousespeed = 6;
        QCOMPARE(sendAndWait(w), 0);
        QCOMPARE(PointerSpeed::readSpeed(), 6);
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
        QCOMPARE(sensorPage(w)->speedBox()->value(), 7);
    }

    void saysWhereTheDesktopTakesNoSpeed() {
        if (PointerSpeed::activeBackend() != PointerSpeed::None) {
            if (qEnvironmentVariableIsSet("MOUSECFG_EXPECT_NO_DESKTOP"))
                QFAIL(qPrintable(QStringLiteral("the session gives backend ") +
                                 PointerSpeed::backendName()));
            QSKIP("the session has a desktop that takes the pointer speed");
        }
        WindowRig rig;
        KelPointSpeed *sensor = sensorPage(rig.open());
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
