// SPDX-License-Identifier: GPL-3.0-or-later
// The LIGHTING page in the main window against the virtual mouse: an effect and a colour
// chosen on the page reach the mouse's lighting and settings tables on Apply, and an effect
// the mouse reports shows on the page.
#include "AppConfig.h"
#include "KelColorArea.h"
#include "KelColorWindow.h"
#include "KelMenu.h"
#include "KelPushButton.h"
#include "KelSlider.h"
#include "MousecfgWidget.h"
#include "ProfileData.h"
#include "WindowRig.h"

#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

namespace {
// Opens the colour editor from the page's swatch, types a colour and accepts it.
void pickColour(KelColorWindow &page, const QString &hex) {
    QTimer answer;
    answer.setInterval(20);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto *editor = qobject_cast<KelColorArea *>(QApplication::activeModalWidget());
        if (!editor)
            return;
        answer.stop();
        auto *edit = editor->findChild<QLineEdit *>(QStringLiteral("hexEdit"));
        edit->clear();
        QTest::keyClicks(edit, hex);
        QTest::mouseClick(editor->findChild<QToolButton *>(QStringLiteral("colorYesBtn")),
                          Qt::LeftButton);
    });
    answer.start();
    QTest::mouseClick(page.findChild<QWidget *>(QStringLiteral("swatch")), Qt::LeftButton);
}

void apply(MousecfgWidget &w) {
    for (KelPushButton *b : w.findChildren<KelPushButton *>()) {
        if (b->text() == QLatin1String("Apply"))
            QCOMPARE(sendingBy(w, [b] { QTest::mouseClick(b, Qt::LeftButton); }), 0);
    }
}

std::vector<uint8_t> bytes(const std::vector<uint8_t> &table, int from, int count) {
    return std::vector<uint8_t>(table.begin() + from, table.begin() + from + count);
}
} // namespace

class TestLightingWindow : public QObject {
    Q_OBJECT

private slots:
    void effectAndColourReachTheMouse();
};

void TestLightingWindow::effectAndColourReachTheMouse() {
    WindowRig rig;
    MousecfgWidget &w = rig.open();
    auto *page = w.findChild<KelColorWindow *>();
    QVERIFY(page);
    QTRY_VERIFY_WITH_TIMEOUT(page->isVisible(), 10000); // the start page, once the window shows
    w.slotRefreshProfile(2);                            // the mouse went to the third profile
    writeDiffFlag(0);

    // BREATHING: its speed takes the first row; the colour comes from the editor.
    for (QAction *a : page->findChild<QMenu *>(QStringLiteral("effectMenu"))->actions()) {
        if (static_cast<KelAction *>(a)->id() == 2)
            a->trigger();
    }
    pickColour(*page, QStringLiteral("123456"));
    auto *speed = page->findChild<KelSlider *>(QStringLiteral("speedSlider"));
    QTest::mouseClick(speed, Qt::LeftButton, {}, QPoint(speed->width() - 2, speed->height() / 2));
    page->findChild<KelSlider *>(QStringLiteral("sleepSlider"))->setValue(4);
    // A tab opened for the first time meanwhile keeps the edits not yet applied.
    w.setPage(MousecfgWidget::PageDpi);
    w.setPage(MousecfgWidget::PageLighting);
    apply(w);

    // Slot 2 of the lighting table is the breathing effect; code 3 selects it.
    std::vector<uint8_t> lighting = rig.mouse.table(MouseTable::Lighting);
    QCOMPARE(bytes(lighting, 16, 8),
             (std::vector<uint8_t>{0x80, 0x12, 0x34, 0x56, 0x01, 0x05, 0x04, 0x03}));
    std::vector<uint8_t> settings = rig.mouse.table(MouseTable::Settings);
    QCOMPARE(int(settings[6]), 2);
    QCOMPARE(int(settings[8]), 4);
    QCOMPARE(int(settings[18]), 3);

    // Changes to the first profile's lighting alone, made while another profile is active,
    // still reach the mouse.
    pickColour(*page, QStringLiteral("654321"));
    page->findChild<KelSlider *>(QStringLiteral("sleepSlider"))->setValue(7);
    apply(w);
    lighting = rig.mouse.table(MouseTable::Lighting);
    QCOMPARE(bytes(lighting, 17, 3), (std::vector<uint8_t>{0x65, 0x43, 0x21}));
    QCOMPARE(int(rig.mouse.table(MouseTable::Settings)[8]), 7);

    // An effect changed on the mouse shows on the page and is kept in the active profile.
    w.slotRefreshLightMode(9);
    QCOMPARE(page->shownEffect(), 9);
    QCOMPARE(page->findChild<KelPushButton *>(QStringLiteral("effectButton"))->text(),
             QStringLiteral("WAVE"));
    QCOMPARE(int(w.workingSet().profiles[2].LedMode), 9);
    w.slotRefreshLightMode(14); // no such effect
    QCOMPARE(int(w.workingSet().profiles[2].LedMode), 9);

    // The page shows only on its tab.
    w.setPage(MousecfgWidget::PageDpi);
    QVERIFY(!page->isVisible());
    w.setPage(MousecfgWidget::PageLighting);
    QVERIFY(page->isVisible());
}

QTEST_MAIN(TestLightingWindow)
#include "tst_lighting_window.moc"
