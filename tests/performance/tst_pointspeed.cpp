// SPDX-License-Identifier: GPL-3.0-or-later
// The sensor options page alone: a round trip of the seven options and the pointer speed,
// the key response that is never 0, the layouts by sync variant, and the choice of the
// desktop's mouse settings program.
#include "KelCheckBox.h"
#include "KelPointSpeed.h"
#include "KelSlider.h"
#include "PerformanceRules.h"
#include "ProfileData.h"
#include "TestAppDir.h"

#include <QSpinBox>
#include <QtTest>
#include <memory>

namespace {
void click(QAbstractButton *box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(7, box->height() / 2));
}
} // namespace

class TestPointSpeed : public QObject {
    Q_OBJECT

private slots:
    void roundTrip() {
        TestAppDir dir;
        dir.setIni(QStringLiteral("DefaultProfile.bin"), {{QStringLiteral("PROFILE/SyncMode"), 1}});
        KelPointSpeed page;
        page.show();
        ProfileSet set;
        set.ProfileID = 3;
        makeDefaultProfile(set.profiles[3]);
        set.profiles[3].mousespeed = 7;
        set.Sync = 1;
        set.LiftHigh = 2;
        set.AngleValue = 1;
        set.Jitter = 0;
        set.Debounce = 77;
        set.Wake = 1;
        set.SensorMode = 2;
        set.Count = 9;
        page.loadPage(set, {3, 3, 0});
        // Stored 0 means on: the boxes show the inverse of the byte.
        QVERIFY(!page.angleBox()->isChecked() && page.jitterBox()->isChecked());
        QVERIFY(!page.wakeBox()->isChecked() && page.syncBox()->isChecked());
        QVERIFY(page.modeButton(2)->isChecked() && !page.modeButton(0)->isChecked());
        ProfileSet collected = set;
        page.collectProfile(collected);
        QVERIFY(collected == set);

        click(page.angleBox());
        click(page.jitterBox());
        click(page.wakeBox());
        click(page.syncBox());
        click(page.modeButton(0));
        click(page.modeButton(0)); // a second click keeps it chosen
        page.keySlider()->setValue(255);
        page.speedBox()->setValue(12);
        ProfileSet expected = set;
        expected.AngleValue = 0;
        expected.Jitter = 1;
        expected.Wake = 0;
        expected.Sync = 0;
        expected.SensorMode = 0;
        expected.Debounce = 255;
        expected.profiles[3].mousespeed = 12;
        page.collectProfile(collected);
        QVERIFY(collected == expected);
        QVERIFY(page.modeButton(0)->isChecked() && !page.modeButton(2)->isChecked());
        QCOMPARE(page.keyValueText(), QStringLiteral("255"));
    }

    // A key response of 0 (a missing key) is never handed back: the page shows and sends 1, a
    // pointer speed off the scale goes back as the box shows it, and a lift-off byte that is no
    // distance goes back as the 2 mm shown. Any sync byte but 0 shows sync on. A sensor mode
    // outside the three lights no box and stays as it is.
    void storedValuesTheControlsCannotShow() {
        TestAppDir dir;
        KelPointSpeed page;
        ProfileSet set;
        set.LiftHigh = 0;
        set.Sync = 5;
        set.SensorMode = 7;
        set.profiles[0].mousespeed = 35; // off the desktop's scale: shown and sent as 20
        page.loadPage(set, {});
        QCOMPARE(page.keySlider()->value(), 1);
        QCOMPARE(page.keyValueText(), QStringLiteral("1"));
        QVERIFY(page.syncBox()->isChecked());
        page.collectProfile(set);
        QCOMPARE(int(set.Debounce), 1);
        QCOMPARE(int(set.LiftHigh), 2);
        QCOMPARE(int(set.SensorMode), 7);
        QCOMPARE(int(set.profiles[0].mousespeed), 20);
        for (int mode = 0; mode < 3; ++mode)
            QVERIFY(!page.modeButton(mode)->isChecked());
        page.keySlider()->setValue(0);
        page.collectProfile(set);
        QCOMPARE(int(set.Debounce), 1);
    }

    void syncVariantChoosesTheOptions() {
        TestAppDir dir;
        for (int mode : {0, 2}) {
            dir.setIni(QStringLiteral("DefaultProfile.bin"),
                       {{QStringLiteral("PROFILE/SyncMode"), mode}});
            KelPointSpeed page;
            page.show();
            QCOMPARE(page.syncBox()->isVisible(), mode != 0);
            QCOMPARE(page.angleBox()->isVisible(), mode != 0);
            QVERIFY(page.wakeBox()->isVisible() && page.modeButton(2)->isVisible());
            for (QWidget *w : page.findChildren<QWidget *>()) {
                if (w->isVisible())
                    QVERIFY(page.rect().contains(w->geometry()));
            }
        }
    }

    void mouseSettingsProgram() {
        QStringList installed;
        const auto find = [&](const QString &program) {
            return installed.contains(program) ? QStringLiteral("/usr/bin/") + program : QString();
        };
        QCOMPARE(findMouseSettingsProgram(QStringLiteral("GNOME"), find).program, QString());
        installed = QStringList{QStringLiteral("xfce4-mouse-settings"), QStringLiteral("kcmshell5"),
                                QStringLiteral("gnome-control-center")};
        // The running desktop's own program first, then the first known one.
        SettingsProgram p = findMouseSettingsProgram(QStringLiteral("ubuntu:KDE"), find);
        QCOMPARE(p.program, QStringLiteral("/usr/bin/kcmshell5"));
        QCOMPARE(p.arguments, QStringList{QStringLiteral("kcm_mouse")});
        p = findMouseSettingsProgram(QStringLiteral("XFCE"), find);
        QCOMPARE(p.program, QStringLiteral("/usr/bin/xfce4-mouse-settings"));
        p = findMouseSettingsProgram(QString(), find);
        QCOMPARE(p.program, QStringLiteral("/usr/bin/gnome-control-center"));
        QCOMPARE(p.arguments, QStringList{QStringLiteral("mouse")});
    }
};

QTEST_MAIN(TestPointSpeed)
#include "tst_pointspeed.moc"
