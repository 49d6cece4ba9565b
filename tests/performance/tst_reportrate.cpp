// SPDX-License-Identifier: GPL-3.0-or-later
// The report-rate page alone: rate codes and their texts, a round trip of the rate, and
// the lift-off distance it hands to the window at once.
#include "KelCheckBox.h"
#include "KelMenu.h"
#include "KelReportRate.h"
#include "PerformanceRules.h"
#include "TestAppDir.h"

#include <QSignalSpy>
#include <QtTest>

class TestReportRate : public QObject {
    Q_OBJECT

private slots:
    void rateCodesAndTexts() {
        const int codes[] = {rateCodeAt(0), rateCodeAt(1), rateCodeAt(2), rateCodeAt(3)};
        const QStringList texts = {reportRateText(codes[0]), reportRateText(codes[1]),
                                   reportRateText(codes[2]), reportRateText(codes[3])};
        QCOMPARE(texts, (QStringList{QStringLiteral("125 HZ"), QStringLiteral("250 HZ"),
                                     QStringLiteral("500 HZ"), QStringLiteral("1000 HZ")}));
        QCOMPARE(codes[0] * 10 + codes[3], 81);
        QCOMPARE(reportRateText(3), QString());
        QCOMPARE(reportRateText(0), QString());
    }

    void rateRoundTrip() {
        TestAppDir dir;
        KelReportRate page;
        ProfileSet set;
        set.ProfileID = 1;
        makeDefaultProfile(set.profiles[1]);
        set.profiles[1].pollrate = 2;
        set.LiftHigh = 1;
        page.loadPage(set, {1, 1, 0});
        QCOMPARE(page.rateCaption(), QStringLiteral("500 HZ"));
        ProfileSet collected = set;
        page.collectProfile(collected);
        QVERIFY(collected == set);

        // "125 HZ" from the menu is code 8, in the shown profile only.
        page.rateMenu()->actions().at(0)->trigger();
        QCOMPARE(page.rateCaption(), QStringLiteral("125 HZ"));
        page.collectProfile(collected);
        ProfileSet expected = set;
        expected.profiles[1].pollrate = 8;
        QVERIFY(collected == expected);

        // An unknown code shows no rate (not the one shown before) and is handed back as is.
        set.profiles[1].pollrate = 3;
        page.loadPage(set, {1, 1, 0});
        QCOMPARE(page.rateCaption(), QString());
        page.collectProfile(collected);
        QCOMPARE(int(collected.profiles[1].pollrate), 3);
        // The mouse's own change shows at once.
        page.setReportRate(4);
        QCOMPARE(page.rateCaption(), QStringLiteral("250 HZ"));

        // The menu open when the page is shown for another slot (switched on the mouse) closes
        // without a choice; shown again for the same slot, it stays.
        page.show();
        page.rateMenu()->popup(page.mapToGlobal(QPoint()));
        QTRY_VERIFY(page.rateMenu()->isVisible());
        page.loadPage(set, {1, 1, 0});
        QVERIFY(page.rateMenu()->isVisible());
        page.loadPage(set, {2, 2, 0});
        QVERIFY(!page.rateMenu()->isVisible());
    }

    void liftGoesToTheWindowAtOnce() {
        TestAppDir dir;
        KelReportRate page;
        page.show();
        QSignalSpy lift(&page, &KelReportRate::RefreshLift);
        ProfileSet set;
        set.LiftHigh = 0; // not a distance: shown as 2 mm
        page.loadPage(set, {});
        QVERIFY(page.liftButton(1)->isChecked());
        QCOMPARE(lift.count(), 0);
        QTest::mouseClick(page.liftButton(0), Qt::LeftButton, {}, QPoint(7, 11));
        QCOMPARE(lift.count(), 1);
        QCOMPARE(lift.at(0).at(0).value<quint8>(), quint8(1));
        QTest::mouseClick(page.liftButton(1), Qt::LeftButton, {}, QPoint(7, 11));
        QCOMPARE(lift.at(1).at(0).value<quint8>(), quint8(2));
        QCOMPARE(int(page.lift()), 2);
    }
};

QTEST_MAIN(TestReportRate)
#include "tst_reportrate.moc"
