// SPDX-License-Identifier: GPL-3.0-or-later
// The DPI page alone: the range of every sensor, the rows a model shows, a round trip of a
// profile through the page, and the two lighting options it hands to the window.
#include "KelCheckBox.h"
#include "KelDPIWindow.h"
#include "KelSingleDPI.h"
#include "KelSlider.h"
#include "KelStageButton.h"
#include "KelTwoBarSlider.h"
#include "PerformanceLayout.h"
#include "TestAppDir.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

namespace {
void pressAt(QWidget *w, double fraction, bool upperHalf) {
    const QPoint at(int(w->width() * fraction), upperHalf ? w->height() / 4 : w->height() * 3 / 4);
    QTest::mousePress(w, Qt::LeftButton, {}, at);
    QTest::mouseRelease(w, Qt::LeftButton, {}, at);
}
} // namespace

class TestDpiWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<TestAppDir> m_dir;
    std::unique_ptr<KelDPIWindow> m_rangePage; // one page for all the sensors

    // A page for the descriptor keys given, shown at scale 1.0.
    std::unique_ptr<KelDPIWindow> makePage(const QVariantMap &descriptor = {}) {
        QFile::remove(m_dir->file(QStringLiteral("DefaultProfile.bin")));
        m_dir->setIni(QStringLiteral("DefaultProfile.bin"), descriptor);
        auto page = std::make_unique<KelDPIWindow>();
        page->resize(456, 386);
        page->show();
        return page;
    }

private slots:
    void initTestCase() { m_dir = std::make_unique<TestAppDir>(); }
    void cleanupTestCase() {
        m_rangePage.reset();
        m_dir.reset();
    }

    void rangesAndLabels_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("product");
        QTest::addColumn<int>("variant");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::addColumn<bool>("link");
        const QString any = QStringLiteral("TOLV");
        // No sensor code (first, on the fresh page): the numbers read 0 and the rows keep the
        // range they were made with.
        QTest::newRow("none") << 0 << any << 0 << 1 << 50 << 0 << 0 << false;
        QTest::newRow("3104") << 3104 << any << 0 << 14 << 105 << 500 << 4200 << true;
        QTest::newRow("31042") << 31042 << any << 0 << 14 << 158 << 500 << 8400 << true;
        QTest::newRow("3212") << 3212 << any << 0 << 16 << 111 << 600 << 7200 << false;
        QTest::newRow("3311") << 3311 << any << 0 << 1 << 120 << 100 << 12000 << false;
        QTest::newRow("33112") << 33112 << any << 0 << 1 << 180 << 100 << 24000 << false;
        QTest::newRow("3325") << 3325 << any << 0 << 1 << 50 << 100 << 5000 << false;
        QTest::newRow("3325 33254") << 3325 << any << 1 << 1 << 90 << 100 << 16000 << false;
        QTest::newRow("33252") << 33252 << any << 0 << 1 << 75 << 100 << 10000 << false;
        QTest::newRow("33252 33254") << 33252 << any << 1 << 1 << 90 << 100 << 16000 << false;
        QTest::newRow("3327 DRAVIK") << 3327 << "DRAVIK" << 0 << 1 << 92 << 200 << 12400 << false;
        QTest::newRow("3327 GRANDUX") << 3327 << "GRANDUX" << 0 << 1 << 92 << 200 << 12400 << false;
        QTest::newRow("3327 other") << 3327 << any << 0 << 1 << 106 << 200 << 16400 << false;
        QTest::newRow("3333") << 3333 << any << 0 << 2 << 120 << 200 << 16000 << false;
        QTest::newRow("3335") << 3335 << any << 0 << 1 << 160 << 100 << 16000 << false;
        QTest::newRow("33352") << 33352 << any << 0 << 1 << 240 << 100 << 32000 << false;
        QTest::newRow("3360") << 3360 << any << 0 << 1 << 180 << 100 << 24000 << true;
        QTest::newRow("3370") << 3370 << any << 0 << 1 << 290 << 50 << 19000 << false;
        QTest::newRow("3389") << 3389 << any << 0 << 2 << 480 << 100 << 32000 << true;
        QTest::newRow("3395") << 3395 << any << 0 << 0 << 519 << 50 << 26000 << false;
        QTest::newRow("33952") << 33952 << any << 0 << 0 << 779 << 50 << 52000 << false;
        QTest::newRow("3399") << 3399 << any << 0 << 0 << 599 << 50 << 40000 << true;
    }

    void rangesAndLabels() {
        QFETCH(int, code);
        QFETCH(QString, product);
        QFETCH(int, variant);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, low);
        QFETCH(int, high);
        QFETCH(bool, link);
        m_dir->setIni(QStringLiteral("Configs/Config.ini"),
                      {{QStringLiteral("Config/CurrentProductName"), product}});
        if (!m_rangePage)
            m_rangePage = makePage();
        m_dir->setIni(QStringLiteral("DefaultProfile.bin"),
                      {{QStringLiteral("PROFILE/33254"), variant}});
        KelDPIWindow *page = m_rangePage.get();
        ProfileSet set;
        set.profiles[0].dpiInfo[7] = {1, 1, 0, 321, 321};
        set.profiles[0].dpiInfo[6] = {1, 0, 0, 10, 20}; // stored unlinked
        page->loadPage(set, {0, 0, code});
        // Where X and Y cannot be set apart, the stage moves as one all the same.
        if (code != 0)
            QCOMPARE(page->row(6)->slider()->isLinked(), !link);
        for (int i = 0; i < kDpiStageCount; ++i) {
            const KelSingleDPI *row = page->row(i);
            QCOMPARE(row->slider()->minimum(), minimum);
            QCOMPARE(row->slider()->maximum(), maximum);
            QCOMPARE(row->minimumText(), QString::number(low));
            QCOMPARE(row->maximumText(), QString::number(high));
            QCOMPARE(row->linkBox()->isVisibleTo(page), link);
        }
        if (code == 3389)
            QCOMPARE(page->row(7)->xText(), QStringLiteral("X:16100"));
        if (code == 0)
            QCOMPARE(page->row(7)->dpiText(), QStringLiteral("DPI : 0"));
    }

    void rowsFollowTheStageCount_data() {
        QTest::addColumn<int>("descriptorCount");
        QTest::addColumn<int>("shown");
        QTest::newRow("5") << 5 << 5;
        QTest::newRow("0") << 0 << 8;
        QTest::newRow("9") << 9 << 8;
    }

    void rowsFollowTheStageCount() {
        QFETCH(int, descriptorCount);
        QFETCH(int, shown);
        // The count is stored XOR-encoded; ButtonCount alone is the count.
        auto page = makePage({{QStringLiteral("PROFILE/ButtonCount"), descriptorCount}});
        for (int i = 0; i < kDpiStageCount; ++i) {
            const QRect g = page->row(i)->geometry();
            QCOMPARE(!g.isEmpty() && page->row(i)->isVisible(), i < shown);
            // Every row shown stays above the sensor page that covers the lower part.
            QVERIFY(g.isEmpty() || g.bottom() < PerformanceLayout::kDpiUsableBottom);
        }
        // The arrows move the focus over the stages shown and choose none; Space chooses. A
        // stage the model lacks is refused, also when its button is pressed.
        page->loadPage(ProfileSet(), {0, 0, 3389});
        QApplication::setActiveWindow(page.get());
        page->row(0)->stageButton()->setFocus();
        for (int i = -1; i < kDpiStageCount; ++i)
            QTest::keyClick(QApplication::focusWidget(), i < 0 ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(int(page->profile().dpi), 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        page->row(7)->stageButton()->click();
        QCOMPARE(int(page->profile().dpi), shown - 1);
        QVERIFY(page->row(shown - 1)->stageButton()->isChecked());
    }

    void roundTripSendsUntouchedStagesAsStored() {
        auto page = makePage();
        ProfileSet set;
        set.ProfileID = 2;
        ProfileData &record = set.profiles[2];
        makeDefaultProfile(record);
        record.dpi = 9; // no such stage: no stage button is lit
        record.dpiInfo[1] = {1, 1, 99, 17, 17};
        record.dpiInfo[2] = {1, 1, 7, 30, 30};
        record.dpiInfo[3] = {1, 0, 5, 40, 321};
        record.dpiInfo[5] = {1, 1, 600, 600, 600}; // beyond the slider, from a hand-edited file
        record.dpiInfo[6].used = 0;
        set.profiles[0].LedSleepTime = 1;
        page->loadPage(set, {2, 2, 3389});
        QVERIFY(!page->row(4)->stageButton()->isChecked());
        ProfileSet collected = set;
        page->collectProfile(collected);
        QVERIFY(collected == set);

        ProfileSet expected = set;
        ProfileData &e = expected.profiles[2];
        QTest::mouseClick(page->row(4)->stageButton(), Qt::LeftButton);
        e.dpi = 4;
        // A linked slider moves X and Y; the common value stays what it was.
        pressAt(page->row(1)->slider(), 0.75, true);
        const int linked = page->row(1)->slider()->xValue();
        QVERIFY(linked > 300);
        e.dpiInfo[1].x = e.dpiInfo[1].y = uint32_t(linked);
        // An unlinked one moves only the handle of the half pressed.
        pressAt(page->row(3)->slider(), 0.25, false);
        e.dpiInfo[3].y = uint32_t(page->row(3)->slider()->yValue());
        QVERIFY(e.dpiInfo[3].y < 321);
        QTest::mouseClick(page->row(0)->enableBox(), Qt::LeftButton, {}, QPoint(7, 9));
        e.dpiInfo[0].used = 0;
        QTest::mouseClick(page->row(2)->linkBox(), Qt::LeftButton, {}, QPoint(7, 9));
        e.dpiInfo[2].link = 0;
        QVERIFY(page->row(4)->isActive());
        // A screen reader hears the values shown, and for X and Y apart how to reach Y.
        const KelSingleDPI *row = page->row(3);
        QCOMPARE(row->slider()->accessibleDescription(),
                 QStringLiteral("X %1 DPI, Y %2 DPI; Shift with the arrow keys moves Y")
                     .arg(row->xText().mid(2), row->yText().mid(2)));
        QVERIFY(page->row(2)->slider()->accessibleDescription().contains(QLatin1String("Shift")));
        // Its value is X's, and set there it moves X as a key would.
        QAccessibleInterface *slider = QAccessible::queryAccessibleInterface(row->slider());
        QCOMPARE(slider->role(), QAccessible::Slider);
        QCOMPARE(slider->valueInterface()->currentValue().toInt(), row->slider()->xValue());
        const int x = row->slider()->xValue(), y = row->slider()->yValue();
        slider->valueInterface()->setCurrentValue(row->slider()->minimum() + 1);
        QCOMPARE(row->slider()->xValue(), row->slider()->minimum() + 1);
        QCOMPARE(row->slider()->yValue(), y);
        slider->valueInterface()->setCurrentValue(x);

        collected = set;
        page->collectProfile(collected);
        QCOMPARE(collected.profiles[2].dpiInfo[1].xy, 99u);
        QCOMPARE(collected.profiles[2].dpiInfo[5].x, 600u);
        QVERIFY(collected == expected);

        // The mouse's own stage change shows at once and is handed back.
        page->setActiveStage(2);
        QVERIFY(page->row(2)->stageButton()->isChecked() && page->row(2)->isActive());
        QVERIFY(!page->row(4)->isActive());
        page->collectProfile(collected);
        QCOMPARE(int(collected.profiles[2].dpi), 2);

        // Linked again, a stage's Y takes X's value: it is stored with one value.
        QTest::mouseClick(page->row(3)->linkBox(), Qt::LeftButton, {}, QPoint(7, 9));
        page->collectProfile(collected);
        QCOMPARE(int(collected.profiles[2].dpiInfo[3].link), 1);
        QCOMPARE(collected.profiles[2].dpiInfo[3].y, 40u);
        QCOMPARE(page->row(3)->slider()->yValue(), 40);
    }

    // The mouse's DPI button goes through the stages in use: the active stage is one of
    // them, and one stays in use.
    void theActiveStageIsInUse() {
        auto page = makePage();
        ProfileSet set;
        ProfileData &record = set.profiles[0];
        makeDefaultProfile(record);
        for (int i = 0; i < kDpiStageCount; ++i)
            record.dpiInfo[i].used = i == 2 || i == 5;
        record.dpi = 2;
        page->loadPage(set, {0, 0, 3389});
        QTest::mouseClick(page->row(6)->stageButton(), Qt::LeftButton);
        QVERIFY(page->row(6)->enableBox()->isChecked() && page->row(6)->isActive());
        // Given up, the active stage goes to the nearest in use (the later one first); the
        // last one in use stays.
        for (const auto &[stage, then] : {std::pair{6, 5}, {5, 2}, {2, 2}}) {
            QTest::mouseClick(page->row(stage)->enableBox(), Qt::LeftButton, {}, QPoint(7, 9));
            QVERIFY(page->row(then)->isActive() && page->row(then)->enableBox()->isChecked());
        }

        ProfileSet collected = set;
        page->collectProfile(collected);
        QCOMPARE(int(collected.profiles[0].dpi), 2);
        for (int i = 0; i < kDpiStageCount; ++i)
            QCOMPARE(int(collected.profiles[0].dpiInfo[i].used), i == 2 ? 1 : 0);
        // The mouse went to a stage turned off here and not yet sent: it is in use again.
        page->setActiveStage(5);
        QVERIFY(page->row(5)->enableBox()->isChecked() && page->row(5)->isActive());
        page->collectProfile(collected);
        QCOMPARE(int(collected.profiles[0].dpiInfo[5].used), 1);
    }

    // A model without lighting sets its sleep time and "MOVE TO LIGHT OFF" here; both go to
    // the window for profile slot 0, and only when the user sets them.
    void sleepTimeAndMoveOffGoToTheWindow() {
        auto page = makePage({{QStringLiteral("PROFILE/ledDisable"), 1},
                              {QStringLiteral("PROFILE/ButtonCount"), 8},
                              {QStringLiteral("PROFILE/SleepMin"), 2},
                              {QStringLiteral("PROFILE/SleepMax"), 7}});
        QVERIFY(page->showsSleep() && page->sleepSlider()->isVisible());
        QVERIFY(page->moveOffBox()->geometry().bottom() < PerformanceLayout::kDpiUsableBottom);
        QVERIFY(page->row(7)->geometry().bottom() < page->sleepSlider()->geometry().top());
        QSignalSpy sleep(page.get(), &KelDPIWindow::SleepTimeChanged);
        QSignalSpy moveOff(page.get(), &KelDPIWindow::MoveOffChanged);
        ProfileSet set;
        set.profiles[0].LedSleepTime = 5;
        page->loadPage(set, {0, 0, 3389});
        QCOMPARE(page->sleepSlider()->minimum(), 2);
        QVERIFY(page->moveOffBox()->isChecked());
        QCOMPARE(sleep.count() + moveOff.count(), 0);

        QTest::mouseClick(page->moveOffBox(), Qt::LeftButton, {}, QPoint(7, 11));
        QTest::mouseClick(page->moveOffBox(), Qt::LeftButton, {}, QPoint(7, 11));
        QCOMPARE(moveOff.count(), 2);
        QCOMPARE(moveOff.at(0).at(0).value<quint8>(), quint8(255));
        QCOMPARE(moveOff.at(1).at(0).value<quint8>(), quint8(0));
        KelSlider *slider = page->sleepSlider();
        QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() - 3, 11));
        QCOMPARE(sleep.count(), 1);
        QCOMPARE(sleep.at(0).at(0).value<quint8>(), quint8(7));
        QCOMPARE(page->sleepText(), QStringLiteral("7 MINUTE"));
    }
};

QTEST_MAIN(TestDpiWindow)
#include "tst_dpiwindow.moc"
