// SPDX-License-Identifier: GPL-3.0-or-later
// The lighting page on its own: the effect menu, the rows each effect shows, and a round trip
// through the two records it is handed (the shown profile's effect, the first profile's
// lighting values).
#include "KelCheckBox.h"
#include "KelColorArea.h"
#include "KelColorWindow.h"
#include "KelMenu.h"
#include "KelPushButton.h"
#include "KelSlider.h"
#include "ModalDriver.h"
#include "ProfileData.h"
#include "Scale.h"
#include "TestAppDir.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

namespace {
QList<int> menuEffects(KelColorWindow &page) {
    QList<int> ids;
    for (QAction *a : page.findChild<QMenu *>(QStringLiteral("effectMenu"))->actions())
        ids << static_cast<KelAction *>(a)->id();
    return ids;
}

void chooseEffect(KelColorWindow &page, int effect) {
    for (QAction *a : page.findChild<QMenu *>(QStringLiteral("effectMenu"))->actions()) {
        if (static_cast<KelAction *>(a)->id() == effect)
            a->trigger();
    }
}

template <typename T> T *child(KelColorWindow &page, const char *name) {
    return page.findChild<T *>(QLatin1String(name));
}

bool shown(KelColorWindow &page, const char *name) {
    return child<QWidget>(page, name)->isVisibleTo(&page);
}

// Two records with values no default has; the sleep time, the speeds and the brightness of
// effect 11 (the effect record's) lie outside the sliders' ranges.
void distinctive(ProfileData &effectRecord, ProfileData &lightingRecord) {
    makeDefaultProfile(effectRecord);
    makeDefaultProfile(lightingRecord);
    effectRecord.LedMode = 11;
    lightingRecord.LedMode = 4;
    lightingRecord.LedSleepTime = 0;
    lightingRecord.LedMoveOFF = 255;
    for (int e = 0; e < kLedModeCount; ++e) {
        lightingRecord.ledModes[e].RGB = QColor(e, 100 + e, 200 - e);
        lightingRecord.ledModes[e].bright = 2;
        lightingRecord.ledModes[e].breath = 9;
        effectRecord.ledModes[e].RGB = QColor(9, 9, 9);
        effectRecord.ledModes[e].bright = 1;
    }
    lightingRecord.ledModes[11].bright = 5;
}
// Shows one record as both the effect and the lighting record.
ProfileSet showRecord(KelColorWindow &page, const ProfileData &record) {
    ProfileSet set;
    set.profiles[0] = record;
    page.loadPage(set, PageView());
    return set;
}
} // namespace

class TestColorWindow : public QObject {
    Q_OBJECT

private slots:
    void menuOffersTheDeviceEffectsInOrder();
    void rowsFollowTheEffect();
    void roundTripEditsTheRightRecords();
};

void TestColorWindow::menuOffersTheDeviceEffectsInOrder() {
    TestAppDir dir;
    KelColorWindow page;
    ProfileData record;
    makeDefaultProfile(record);
    showRecord(page, record);
    QCOMPARE(menuEffects(page), (QList<int>{1, 2, 3, 4, 9, 11, 10, 12, 13, 0}));
}

void TestColorWindow::rowsFollowTheEffect() {
    TestAppDir dir;
    setScaleFactor(2.0);
    KelColorWindow page;
    page.relayout();
    ProfileData record;
    makeDefaultProfile(record);
    auto *button = child<KelPushButton>(page, "effectButton");
    auto *bright = child<KelSlider>(page, "brightSlider");
    auto *speed = child<KelSlider>(page, "speedSlider");
    const int firstRow = scaled(97), secondRow = scaled(156);

    record.LedMode = 0;
    showRecord(page, record);
    QCOMPARE(button->text(), QStringLiteral("OFF"));
    for (const char *row : {"brightSlider", "speedSlider", "swatch", "colourLabel"})
        QVERIFY2(!shown(page, row), row);
    QVERIFY(shown(page, "sleepSlider") && shown(page, "moveOffBox"));

    // Effects without brightness take the speed row up; the colour row keeps its place.
    chooseEffect(page, 2);
    QCOMPARE(button->text(), QStringLiteral("BREATHING"));
    QVERIFY(shown(page, "speedSlider") && shown(page, "swatch") && !bright->isVisibleTo(&page));
    QCOMPARE(speed->y(), firstRow);
    QCOMPARE(bright->y(), secondRow);
    // Tab follows the rows: the first row's slider right after the effect.
    QCOMPARE(button->nextInFocusChain(), speed);
    chooseEffect(page, 3);
    QVERIFY(shown(page, "speedSlider") && !shown(page, "swatch"));
    QCOMPARE(speed->y(), firstRow);

    chooseEffect(page, 11);
    QVERIFY(shown(page, "brightSlider") && !shown(page, "speedSlider") && !shown(page, "swatch"));
    QCOMPARE(bright->y(), firstRow);

    // Effects the menu never offers still show by their name and rows when a record has them.
    record.LedMode = 7;
    showRecord(page, record);
    QCOMPARE(button->text(), QStringLiteral("Horizontal GO WITHOUT TRACE"));
    QVERIFY(shown(page, "brightSlider") && shown(page, "speedSlider") && !shown(page, "swatch"));
    QCOMPARE(bright->y(), firstRow);
    QCOMPARE(speed->y(), secondRow);
    QCOMPARE(button->nextInFocusChain(), bright);
    QCOMPARE(child<QWidget>(page, "moveOffBox")->nextInFocusChain(), speed);

    // A number that names no effect changes only the text, and edits go nowhere.
    record.LedMode = 20;
    const ProfileSet before = showRecord(page, record);
    QVERIFY(button->text().isEmpty());
    QVERIFY(!button->accessibleName().isEmpty());
    QVERIFY(shown(page, "brightSlider") && shown(page, "speedSlider"));
    speed->setValue(speed->value() == 1 ? 2 : 1);
    ProfileSet collected = before;
    page.collectProfile(collected);
    QVERIFY(collected == before);
    setScaleFactor(1.0);
}

void TestColorWindow::roundTripEditsTheRightRecords() {
    TestAppDir dir;
    ProfileSet set;
    distinctive(set.profiles[3], set.profiles[0]);
    const PageView view{3, 3, 0};
    KelColorWindow page;
    QSignalSpy sleep(&page, &KelColorWindow::SleepTimeChanged);
    QSignalSpy moveOff(&page, &KelColorWindow::MoveOffChanged);
    ProfileData other;
    makeDefaultProfile(other);
    other.LedSleepTime = 5;
    showRecord(page, other);
    page.loadPage(set, view);
    // Showing changes nothing but the brightness beyond its slider, handed back as shown.
    ProfileSet collected = set;
    page.collectProfile(collected);
    set.profiles[0].ledModes[11].bright = 3;
    QVERIFY(collected == set);
    QVERIFY(!child<KelCheckBox>(page, "moveOffBox")->isChecked());
    // The shown effect's values come from the first profile's record.
    QCOMPARE(child<KelSlider>(page, "brightSlider")->value(), 3);

    chooseEffect(page, 2);
    child<KelSlider>(page, "speedSlider")->setValue(4);
    child<KelSlider>(page, "sleepSlider")->setValue(6);
    QTest::mouseClick(child<KelCheckBox>(page, "moveOffBox"), Qt::LeftButton);
    page.slotSendLedState(QColor(1, 2, 3));

    // The effect goes into the effect record and its settings into the first; the sleep time
    // and the move-off flag go to the window, which writes them.
    ProfileSet expected = set;
    expected.profiles[3].LedMode = 2;
    expected.profiles[0].ledModes[2].breath = 4;
    expected.profiles[0].ledModes[2].RGB = QColor(1, 2, 3);
    page.collectProfile(collected);
    QVERIFY(collected == expected);
    QCOMPARE(sleep.count(), 1);
    QCOMPARE(sleep.first().first().toInt(), 6);
    QCOMPARE(moveOff.count(), 1);
    QCOMPARE(moveOff.first().first().toInt(), 0);
    QCOMPARE(child<QLabel>(page, "sleepValue")->text(), QStringLiteral("6 MINUTE"));

    // Shown again, the page shows what it handed back.
    collected.profiles[0].LedMoveOFF = 0;
    page.loadPage(collected, view);
    QCOMPARE(child<KelSlider>(page, "speedSlider")->value(), 4);
    QVERIFY(child<KelCheckBox>(page, "moveOffBox")->isChecked());
    QCOMPARE(page.shownEffect(), 2);

    // The mouse changes the effect while the colour editor is open: the colour goes to the
    // effect it was chosen for.
    ModalDriver<KelColorArea> editor([&page](KelColorArea &dialog) {
        page.setLightMode(0);
        auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("hexEdit"));
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("abcdef"));
        QTest::mouseClick(dialog.findChild<QToolButton *>(QStringLiteral("colorYesBtn")),
                          Qt::LeftButton);
    });
    QTest::mouseClick(child<QWidget>(page, "swatch"), Qt::LeftButton);
    QVERIFY(editor.done());
    page.collectProfile(collected);
    QCOMPARE(collected.profiles[0].ledModes[2].RGB, QColor(0xab, 0xcd, 0xef));
    QCOMPARE(collected.profiles[0].ledModes[0].RGB, set.profiles[0].ledModes[0].RGB);
}

QTEST_MAIN(TestColorWindow)
#include "tst_colorwindow.moc"
