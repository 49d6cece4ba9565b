// SPDX-License-Identifier: GPL-3.0-or-later
// The button page in the main window against the virtual mouse: functions chosen on the
// CUSTOMIZE page, through the menus and dialogs, reach the mouse's button table on Apply.
#include "AppConfig.h"
#include "KelBtnWindow.h"
#include "KelComboKeyWindow.h"
#include "KelFireKeyWindow.h"
#include "KelLineEdit.h"
#include "KelMacroSelect.h"
#include "KelMenu.h"
#include "KelPushButton.h"
#include "ModalCloser.h"
#include "ModalDriver.h"
#include "MousePictures.h"
#include "ProfileData.h"
#include "WindowRig.h"

#include <QCheckBox>
#include <QMenu>
#include <QSettings>
#include <QToolButton>
#include <QtTest>

namespace {
// Presses a button of the page and picks an entry of the menu that opens.
void pick(KelPushButton *button, QAction *action) {
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&poll, action] {
        QWidget *popup = QApplication::activePopupWidget();
        if (!popup)
            return;
        poll.stop();
        popup->close();
        action->trigger();
    });
    poll.start();
    QTest::mouseClick(button, Qt::LeftButton);
}

KelPushButton *commandButton(MousecfgWidget &w, const QString &text) {
    for (KelPushButton *b : w.findChildren<KelPushButton *>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

std::vector<uint8_t> deviceSlot(const std::vector<uint8_t> &table, int slot) {
    return {table.begin() + 2 + 4 * slot, table.begin() + 6 + 4 * slot};
}
} // namespace

class TestButtonsWindow : public QObject {
    Q_OBJECT

private slots:
    void chosenFunctionsReachTheMouse() {
        WindowRig rig;
        MousecfgWidget &w = rig.open();
        setMacroListEntry(0, QStringLiteral("spray"));
        {
            QSettings macro(macroFilePath(QStringLiteral("spray")), QSettings::IniFormat);
            macro.setValue(QStringLiteral("Setting/Count"), 2);
            for (int i = 0; i < 2; ++i) {
                macro.setValue(QStringLiteral("Setting/Map_%1").arg(i), i ? 0x01 : 0x81);
                macro.setValue(QStringLiteral("Setting/DataH_%1").arg(i), 0);
                macro.setValue(QStringLiteral("Setting/DataL_%1").arg(i), 1);
            }
        }
        QTRY_VERIFY_WITH_TIMEOUT(w.isVisible(), 10000); // a sanitizer build starts slower
        QTest::mouseClick(w.tab(MousecfgWidget::PageCustomize), Qt::LeftButton);
        auto *page = w.findChild<KelBtnWindow *>();
        QVERIFY(page && page->isVisible());
        QCOMPARE(page->button(0, 0)->text(), QStringLiteral("Left"));

        // A spot of the mouse picture and the button of the page go together.
        QTest::mouseClick(w.pictures()->spot(MousePictures::SpotFront, 4), Qt::LeftButton);
        QVERIFY(page->button(0, 4)->isChecked());

        ModalDriver<KelComboKeyWindow> combo([](KelComboKeyWindow &d) {
            sendNativeKey(&d, 29, true); // Ctrl
            sendNativeKey(&d, 42, true); // Shift
            sendNativeKey(&d, 30, true); // A
            QTest::mouseClick(d.yesButton(), Qt::LeftButton);
        });
        pick(page->button(0, 2), page->action(7));
        QVERIFY(combo.done());
        QCOMPARE(w.pictures()->selectedIndex(), 2);
        QVERIFY(w.pictures()->spot(MousePictures::SpotFront, 2)->isChecked());

        ModalDriver<KelFireKeyWindow> fire([](KelFireKeyWindow &d) {
            QTest::mouseClick(d.kindBox(FireKeyboard), Qt::LeftButton);
            sendNativeKey(&d, 48, true); // B
            d.timesEdit()->setText(QStringLiteral("5"));
            d.delayEdit()->setText(QStringLiteral("50"));
            QTest::mouseClick(d.yesButton(), Qt::LeftButton);
        });
        pick(page->button(0, 3), page->action(12));
        QVERIFY(fire.done());

        pick(page->button(0, 4), page->action(43)); // Volume Up

        ModalDriver<KelMacroSelect> macro([](KelMacroSelect &d) {
            d.nameMenu()->actions().first()->trigger();
            d.loopEdit()->setText(QStringLiteral("2"));
            QTest::mouseClick(d.yesButton(), Qt::LeftButton);
        });
        pick(page->button(0, 5), page->action(200));
        QVERIFY(macro.done());
        QCOMPARE(page->button(0, 5)->text(), QStringLiteral("spray"));

        pick(page->button(2, 1), page->action(5)); // wheel down goes back
        QCOMPARE(w.pictures()->selectedKind(), int(MousePictures::SpotWheel));

        // Taking the only left click away is refused with the window's box.
        {
            ModalCloser closer;
            pick(page->button(0, 0), page->action(2));
            QCOMPARE(closer.texts,
                     QStringList{QStringLiteral("AT LEAST ONE CLICK FUNCTION TO BE RETAINED.")});
        }

        QCOMPARE(sendingBy(w,
                           [&w] {
                               QTest::mouseClick(commandButton(w, QStringLiteral("Apply")),
                                                 Qt::LeftButton);
                           }),
                 0);
        // Apply took the page's choices into the working set.
        QCOMPARE(w.workingSet().activeProfile().buttons[5].KeyNumber, 2);
        const std::vector<uint8_t> table = rig.mouse.table(MouseTable::Buttons);
        QCOMPARE(deviceSlot(table, 0), (std::vector<uint8_t>{0x81, 0, 0, 0}));
        // Ctrl + Shift + A: modifier mask 1 | 2, the usage of A.
        QCOMPARE(deviceSlot(table, 2), (std::vector<uint8_t>{0x8F, 0x03, 0x04, 0}));
        // B five times, 50 ms apart (in tens of milliseconds).
        QCOMPARE(deviceSlot(table, 3), (std::vector<uint8_t>{0x99, 0x05, 5, 5}));
        QCOMPARE(deviceSlot(table, 4), (std::vector<uint8_t>{0x8E, 0x01, 0xE9, 0}));
        // Macro 0, played twice.
        QCOMPARE(deviceSlot(table, 5), (std::vector<uint8_t>{0x91, 0, 2, 0}));
        QCOMPARE(deviceSlot(table, 22), (std::vector<uint8_t>{0x8B, 0, 0, 0}));
        QCOMPARE(deviceSlot(table, 23), (std::vector<uint8_t>{0x84, 0, 0, 0}));
        QCOMPARE(rig.mouse.table(MouseTable::Macros).at(0), uint8_t(0x81));

        // The mouse plays the active slot's buttons: a choice made in another slot is sent
        // while that slot is active, and choosing the first slot gives its buttons back.
        chooseSlot(w, rig.mouse, 1);
        pick(page->button(0, 4), page->action(44)); // Volume Down
        QCOMPARE(sendingBy(w,
                           [&w] {
                               QTest::mouseClick(commandButton(w, QStringLiteral("Apply")),
                                                 Qt::LeftButton);
                           }),
                 0);
        QCOMPARE(deviceSlot(rig.mouse.table(MouseTable::Buttons), 4),
                 (std::vector<uint8_t>{0x8E, 0x01, 0xEA, 0}));
        chooseSlot(w, rig.mouse, 0);
        QCOMPARE(deviceSlot(rig.mouse.table(MouseTable::Buttons), 4),
                 (std::vector<uint8_t>{0x8E, 0x01, 0xE9, 0}));
        QCOMPARE(deviceSlot(rig.mouse.table(MouseTable::Buttons), 5),
                 (std::vector<uint8_t>{0x91, 0, 2, 0}));
        QVERIFY(rig.mouse.protocolErrors().empty());
    }
};

QTEST_MAIN(TestButtonsWindow)
#include "tst_buttons_window.moc"
