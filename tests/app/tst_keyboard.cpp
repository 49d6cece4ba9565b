// SPDX-License-Identifier: GPL-3.0-or-later
// The window from the keyboard alone, against the virtual mouse: Tab walks each page in
// reading order, and each kind of control answers its keys (sliders, check boxes, stage and
// tab buttons, the message box).
#include "BatteryChart.h"
#include "BatteryChartDialog.h"
#include "CommandBar.h"
#include "KelCheckBox.h"
#include "KelColorArea.h"
#include "KelDPIWindow.h"
#include "KelFireKeyWindow.h"
#include "KelGunsetDialog.h"
#include "KelMacroSelect.h"
#include "KelMessageBox.h"
#include "KelPointSpeed.h"
#include "KelPushButton.h"
#include "KelSingleDPI.h"
#include "KelSingleKeyWindow.h"
#include "KelSlider.h"
#include "KelSniperWindow.h"
#include "KelStageButton.h"
#include "KelTwoBarSlider.h"
#include "KeyTable.h"
#include "MousePictures.h"
#include "WindowRig.h"

#include <QToolButton>
#include <QtTest>

namespace {
// Presses Tab (Shift+Tab backwards) on whatever has the focus; returns what has it then.
QWidget *tab(bool back = false) {
    QWidget *from = QApplication::focusWidget();
    if (from)
        QTest::keyClick(from, back ? Qt::Key_Backtab : Qt::Key_Tab,
                        back ? Qt::ShiftModifier : Qt::NoModifier);
    return QApplication::focusWidget();
}

// The widgets Tab reaches from `start` until it comes round again; `unmarked` gets the names
// of those that look the same with the focus as without it.
QList<QWidget *> walk(QWidget *start, QStringList *unmarked = nullptr) {
    start->setFocus(Qt::TabFocusReason);
    QTest::keyClick(start, Qt::Key_Shift); // the keys are in use: focus marks show
    QList<QWidget *> seen{start};
    QImage focused = start->grab().toImage();
    for (QWidget *w = tab(); w && w != start && seen.size() < 400; w = tab()) {
        if (unmarked && seen.last()->grab().toImage() == focused)
            *unmarked << seen.last()->objectName() + QLatin1Char('@') +
                             seen.last()->metaObject()->className();
        seen << w;
        focused = w->grab().toImage();
    }
    return seen;
}

void key(QWidget *w, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    w->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w, k, mods);
}
} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowRig> m_rig;

    MousecfgWidget &window() {
        if (!m_rig) {
            m_rig = std::make_unique<WindowRig>();
            m_rig->open().show();
            QApplication::setActiveWindow(m_rig->window.get());
        }
        return *m_rig->window;
    }
    template <typename T> T *named(const char *name) {
        return window().findChild<T *>(QLatin1String(name));
    }

private slots:
    void cleanupTestCase() { m_rig.reset(); }

    void tabWalksThePageInReadingOrder_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("first");  // an early control of the page
        QTest::addColumn<QString>("second"); // one further down or to the right
        QTest::newRow("lighting") << int(MousecfgWidget::PageLighting) << "brightSlider"
                                  << "moveOffBox";
        QTest::newRow("customize") << int(MousecfgWidget::PageCustomize) << ""
                                   << "";
        QTest::newRow("dpi") << int(MousecfgWidget::PageDpi) << "dpiRow0"
                             << "dpiRow1";
        QTest::newRow("macro") << int(MousecfgWidget::PageMacro) << "macroRecordBtn"
                               << "macroSaveBtn";
    }
    void tabWalksThePageInReadingOrder() {
        QFETCH(int, page);
        QFETCH(QString, first);
        QFETCH(QString, second);
        MousecfgWidget &w = window();
        w.setPage(page);
        QStringList unmarked;
        const QList<QWidget *> order = walk(w.tab(0), &unmarked);
        QVERIFY2(unmarked.isEmpty(), qPrintable(unmarked.join(QLatin1Char(' '))));
        const auto at = [&](const QString &name) {
            for (int i = 0; i < order.size(); ++i) {
                // A page's row stands for the first control in it.
                if (order[i]->objectName() == name ||
                    order[i]->parentWidget()->objectName() == name)
                    return i;
            }
            return -1;
        };
        // Left column, top bar, the page, the command rows.
        const int slot1 = at(QStringLiteral("profileBtn1"));
        const int name = at(QStringLiteral("nameEdit"));
        const int library = at(QStringLiteral("libraryBtn"));
        const int add = at(QStringLiteral("addBtn"));
        const int apply = at(QStringLiteral("applyBtn"));
        QCOMPARE(order.indexOf(w.tab(3)), 3);
        QCOMPARE(slot1, 4);
        QVERIFY(name > slot1 && library == name + 1);
        QVERIFY(add > library && apply > add);
        QCOMPARE(apply, order.size() - 1);
        if (page == MousecfgWidget::PageCustomize) {
            // The view toggles, a spot of the picture, then the page's first button.
            const int spot = order.indexOf(w.pictures()->spot(0, 0));
            QVERIFY(spot > library && spot < add);
            QVERIFY(at(QStringLiteral("btnWindow")) > spot);
        } else {
            const int a = at(first);
            const int b = at(second);
            QVERIFY2(a > library && b > a && add > b, qPrintable(QString("%1 %2").arg(a).arg(b)));
        }
        // Shift+Tab goes back the same way.
        w.findChild<QWidget *>(QStringLiteral("addBtn"))->setFocus(Qt::TabFocusReason);
        QCOMPARE(tab(true), order.at(add - 1));
        QCOMPARE(tab(false), order.at(add));
    }

    void controlsAnswerTheirKeys() {
        MousecfgWidget &w = window();
        // Enter on a tab switches the page; Qt's checked state follows the tabs.
        key(w.tab(MousecfgWidget::PageDpi), Qt::Key_Return);
        QCOMPARE(w.currentPage(), int(MousecfgWidget::PageDpi));
        QVERIFY(w.tab(2)->QAbstractButton::isChecked() && !w.tab(0)->QAbstractButton::isChecked());
        // A click turns a tab over once, as before.
        QTest::mouseClick(w.tab(0), Qt::LeftButton);
        QCOMPARE(w.currentPage(), int(MousecfgWidget::PageLighting));
        QVERIFY(w.tab(0)->isChecked() && w.tab(0)->QAbstractButton::isChecked());
        w.setPage(MousecfgWidget::PageDpi);

        auto *dpi = named<KelDPIWindow>("dpiWindow");
        auto *sensor = named<KelPointSpeed>("pointSpeed");
        QVERIFY(dpi && sensor);
        ProfileSet set = w.workingSet();

        // Key response: the arrows and Page Up move it, and the page hands the value back.
        KelSlider *keys = sensor->keySlider();
        keys->setValue(keys->minimum());
        key(keys, Qt::Key_Right);
        key(keys, Qt::Key_PageUp);
        QCOMPARE(keys->value(), keys->minimum() + 1 + keys->pageStep());
        sensor->collectProfile(set);
        QCOMPARE(int(set.Debounce), keys->value());

        // A check box toggles with Space.
        const bool angle = sensor->angleBox()->isChecked();
        key(sensor->angleBox(), Qt::Key_Space);
        QCOMPARE(sensor->angleBox()->isChecked(), !angle);

        // The stage slider: Right moves both handles a step, Shift moves Y alone when unlinked;
        // Space on a stage button makes that stage the active one.
        KelSingleDPI *row = dpi->row(1);
        const int x = row->xValue();
        key(row->slider(), Qt::Key_Right);
        QCOMPARE(row->xValue(), x + 1);
        QCOMPARE(row->yValue(), row->xValue());
        key(row->slider(), Qt::Key_End);
        QCOMPARE(row->xValue(), row->slider()->maximum());
        key(row->stageButton(), Qt::Key_Space);
        QVERIFY(row->stageButton()->isChecked());
        dpi->collectProfile(set);
        QCOMPARE(int(set.activeProfile().dpi), 1);
        QCOMPARE(int(set.activeProfile().dpiInfo[1].x), row->slider()->maximum());
        QVERIFY(!dpi->row(0)->stageButton()->isChecked());

        // Space on "Firmware Update" offers the update, as a click does.
        key(named<KelPushButton>("firmwareBtn"), Qt::Key_Space);
        QTRY_VERIFY(w.findChild<KelMessageBox *>());
        delete w.findChild<KelMessageBox *>();
    }

    void messageBoxTakesEnterAndEscape_data() {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("result");
        QTest::newRow("Enter takes Yes") << QList<int>{Qt::Key_Return} << int(QDialog::Accepted);
        QTest::newRow("Enter on No")
            << QList<int>{Qt::Key_Tab, Qt::Key_Enter} << int(QDialog::Rejected);
        QTest::newRow("Escape") << QList<int>{Qt::Key_Escape} << int(QDialog::Rejected);
    }
    void messageBoxTakesEnterAndEscape() {
        QFETCH(QList<int>, keys);
        QFETCH(int, result);
        KelMessageBox box(KelMessageBox::KindQuestion, QStringLiteral("Warning"),
                          QStringLiteral("Really?"), QString(), &window());
        QTimer::singleShot(0, &box, [&box, keys] {
            QApplication::setActiveWindow(&box);
            for (int k : keys)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(k));
        });
        // A key that went astray fails the case instead of leaving the box open.
        QTimer::singleShot(3000, &box, [&box] { box.done(-1); });
        QCOMPARE(box.exec(), result);
    }
    // Tab goes round a dialog's controls and nothing else, the battery chart among them, each
    // marked when it has the focus.
    void tabGoesRoundTheDialogControls() {
        KelSniperWindow sniper(0, &window());
        BatteryChartDialog battery(&window());
        KelColorArea colour(Qt::red, &window());
        KelGunsetDialog gunset(&window(), 1.0);
        KelMacroSelect macro(QStringLiteral("Macro"), QString(), 1, 0, &window());
        KelFireKeyWindow fire(&window());
        for (QDialog *d :
             std::initializer_list<QDialog *>{&sniper, &battery, &colour, &gunset, &macro, &fire}) {
            d->show();
            QApplication::setActiveWindow(d);
            QStringList unmarked;
            const QList<QWidget *> seen = walk(d->focusWidget(), &unmarked);
            QVERIFY(!seen.contains(d));
            QVERIFY2(unmarked.isEmpty(), qPrintable(unmarked.join(QLatin1Char(' '))));
            QVERIFY(d != &battery || seen.contains(battery.chart()));
        }
    }

    // A key dialog takes its first key, Tab too; after it Tab moves on to the buttons and
    // Escape cancels: the dialog is left from the keyboard alone. A key the mouse cannot send
    // is not taken.
    void keyDialogTakesItsKeyThenLetsGo() {
        KelSingleKeyWindow dialog(&window());
        QTimer::singleShot(0, &dialog, [&dialog] {
            QApplication::setActiveWindow(&dialog);
            auto type = [&dialog](int evdev, Qt::Key key) {
                for (QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease}) {
                    QKeyEvent event(t, key, Qt::NoModifier, quint32(evdev + 8), 0, 0);
                    QCoreApplication::sendEvent(dialog.windowHandle(), &event);
                }
            };
            type(15, Qt::Key_Tab);
            type(85, Qt::Key_Zenkaku_Hankaku); // no key the mouse can send: not taken
            type(15, Qt::Key_Tab);
            if (QApplication::focusWidget() == dialog.yesButton())
                type(1, Qt::Key_Escape);
        });
        QTimer::singleShot(3000, &dialog, [&dialog] { dialog.done(-1); });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(dialog.keyText(), keyName(keyCodeFromEvent(15, 0)));
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
