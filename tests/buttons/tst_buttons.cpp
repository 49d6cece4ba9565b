// SPDX-License-Identifier: GPL-3.0-or-later
// The button page and its dialogs: functions chosen from the menus land in the shown
// record with their codes and parameters, the last left click is kept, and the key capture
// dialogs turn keys into what the mouse stores.
#include "AppConfig.h"
#include "ButtonCatalogue.h"
#include "ButtonRules.h"
#include "KelBtnWindow.h"
#include "KelComboKeyWindow.h"
#include "KelFireKeyWindow.h"
#include "KelLineEdit.h"
#include "KelMacroSelect.h"
#include "KelMenu.h"
#include "KelMessageBox.h"
#include "KelPushButton.h"
#include "KelSlider.h"
#include "KelSniperWindow.h"
#include "KeyTable.h"
#include "MacroFile.h"
#include "ModalCloser.h"
#include "ModalDriver.h"
#include "ModelDescriptor.h"
#include "ProfileData.h"
#include "TestAppDir.h"

#include <QAccessible>
#include <QCheckBox>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {
void press(QWidget &w, int evdev) {
    sendNativeKey(&w, evdev, true);
}
void release(QWidget &w, int evdev) {
    sendNativeKey(&w, evdev, false);
}
void clickYes(KelSkinDialog &d) {
    QTest::mouseClick(d.yesButton(), Qt::LeftButton);
}
QStringList menuTexts(const QMenu *menu) {
    QStringList texts;
    for (const QAction *a : menu->actions())
        texts << a->text();
    return texts;
}
KeyInfo step(int map, int h) {
    return {uint8_t(map), 0x05, uint8_t(h)};
}
} // namespace

class TestButtons : public QObject {
    Q_OBJECT

    std::unique_ptr<TestAppDir> m_dir;
    ProfileData m_record;
    std::unique_ptr<KelBtnWindow> m_page;

    // Shows m_record as slot 2 of a set whose other records differ from it.
    ProfileSet show() {
        ProfileSet set;
        set.profiles[2] = m_record;
        set.profiles[0].buttons[3].Fun = 77;
        m_page->loadPage(set, {2, 0, 3389});
        return set;
    }

    // Chooses a function for a button of m_record as the user does: press the button, pick
    // the entry; m_record takes the buttons the page hands back, which is all it hands back.
    void choose(int bType, int iBtn, int fun) {
        const ProfileSet shown = show();
        m_page->slotMouseEnter(m_page->button(bType, iBtn));
        m_page->action(fun)->trigger();
        ProfileSet collected = shown;
        m_page->collectProfile(collected);
        std::copy(std::begin(collected.profiles[2].buttons),
                  std::end(collected.profiles[2].buttons), std::begin(m_record.buttons));
        ProfileSet expected = shown;
        expected.profiles[2] = m_record;
        QVERIFY(collected == expected);
    }

private slots:
    void initTestCase() {
        m_dir = std::make_unique<TestAppDir>();
        m_dir->installData(QStringLiteral("DefaultProfile.bin"));
        m_dir->installData(QStringLiteral("Configs/Config.ini"));
    }

    void init() {
        makeDefaultProfile(m_record);
        m_page = std::make_unique<KelBtnWindow>();
        show();
        m_page->relayout(199);
    }

    // Every entry of the menus stores its own code and shows its text; the menus offer
    // every function, the sniper, gun files and profile steps included.
    void everyEntryStoresItsCodeAndLabel() {
        const ProfileData before = m_record;
        QCOMPARE(m_page->button(0, 5)->text(), QStringLiteral("DPI Switch"));
        QCOMPARE(m_page->button(2, 0)->text(), QStringLiteral("Scroll Up"));
        for (const CatalogueEntry &e : functionCatalogue()) {
            if (e.fun == FunSingleKey || e.fun == FunComboKey || e.fun == FunFireKey ||
                e.fun == FunSniper || e.fun == FunMacroManager || e.fun == FunGunFile)
                continue; // these open their dialogs (below)
            choose(0, 3, e.fun);
            QCOMPARE(m_record.buttons[3].Fun, e.fun);
            // Scrolling reads only on the wheel.
            QCOMPARE(m_page->button(0, 3)->text(),
                     e.fun == FunScrollUp || e.fun == FunScrollDown ? QString() : QString(e.text));
            QCOMPARE(m_page->currentType(), kNoSelection);
        }
        choose(2, 1, 44);
        QCOMPARE(m_record.buttons[kWheelDownSlot].Fun, 44);
        QCOMPARE(m_page->button(2, 1)->text(), QStringLiteral("Volume Down"));
        // Only the chosen slots changed.
        for (int s = 0; s < kButtonSlotCount; ++s) {
            if (s != 3 && s != kWheelDownSlot)
                QVERIFY(m_record.buttons[s] == before.buttons[s]);
        }
        // Codes the menus do not offer still read.
        for (int fun : {57, 58, 59, 55}) {
            m_record.buttons[4].Fun = fun;
            show();
            QCOMPARE(m_page->button(0, 4)->text(), QString(catalogueEntry(fun)->text));
        }
        m_record.buttons[4].Fun = 9;
        show();
        QCOMPARE(m_page->button(0, 4)->text(), QString());

        const QStringList top = menuTexts(m_page->mainMenu());
        for (const char *t : {"Profile Menu", "SNIPER", "Macro Manager", "GunFile Manager",
                              "Led Switch", "Button Off"})
            QVERIFY2(top.contains(QString(t)), t);
        QCOMPARE(top.first(), QStringLiteral("Left"));
        QCOMPARE(top.last(), QStringLiteral("Button Off"));
        for (const QAction *a : m_page->mainMenu()->actions()) {
            if (a->text() == QLatin1String("Windows"))
                QCOMPARE(menuTexts(a->menu()).last(), QStringLiteral("Boss Key"));
            if (a->text() == QLatin1String("Polling Rate"))
                QCOMPARE(menuTexts(a->menu()).first(), QStringLiteral("Rate Switch"));
        }
        QCOMPARE(menuTexts(m_page->wheelMenu()).size(), 11);

        // A model without macros or lighting does not offer them.
        m_dir->setIni(QStringLiteral("DefaultProfile.bin"),
                      {{QStringLiteral("PROFILE/DisableMacro"), 1},
                       {QStringLiteral("PROFILE/ledDisable"), 1}});
        m_page->retranslateUi();
        const QStringList reduced = menuTexts(m_page->mainMenu());
        m_dir->installData(QStringLiteral("DefaultProfile.bin"));
        QVERIFY(!reduced.contains(QStringLiteral("Macro Manager")));
        QVERIFY(!reduced.contains(QStringLiteral("GunFile Manager")));
        QVERIFY(!reduced.contains(QStringLiteral("Led Switch")));
        QVERIFY(reduced.contains(QStringLiteral("SNIPER")));
        // Nor a sniper step the mouse would not take with the model's sensor.
        m_page->loadPage(ProfileSet(), {2, 0, 3370});
        QVERIFY(!menuTexts(m_page->mainMenu()).contains(QStringLiteral("SNIPER")));
    }

    // A screen reader's press opens the menu for its own button, not the one last current.
    void aMenuOpenedByAScreenReaderIsForItsButton() {
        m_page->slotMouseEnter(m_page->button(0, 1));
        QTimer::singleShot(0, m_page->mainMenu(), &QWidget::close);
        QAccessible::queryAccessibleInterface(m_page->button(0, 3))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::showMenuAction());
        QCOMPARE(m_page->currentIndex(), 3);
    }

    // Only slot 5 clicks left: it cannot be given anything else, but may keep Left; once
    // another button clicks left it is free.
    void theLastLeftClickIsKept() {
        for (ButtonInfo &b : m_record.buttons)
            b.Fun = 16;
        m_record.buttons[5].Fun = FunLeft;
        const ProfileData before = m_record;
        QSignalSpy refused(m_page.get(), &KelBtnWindow::PopOneClickBox);
        choose(0, 5, 18);
        QCOMPARE(refused.count(), 1);
        QVERIFY(m_record == before);
        choose(0, 5, FunLeft);
        QCOMPARE(refused.count(), 1);
        choose(2, 0, FunLeft); // the wheel counts too
        choose(0, 5, 18);
        QCOMPARE(refused.count(), 1);
        QCOMPARE(m_record.buttons[5].Fun, 18);
        QVERIFY(!keepsOneClick(m_record, kWheelUpSlot, 2));
        QVERIFY(keepsOneClick(m_record, 99, 2)); // no such slot: nothing to keep
        // A left click in the slot of a button the model lacks is never sent: it keeps none.
        m_record.buttons[buttonCount()].Fun = FunLeft;
        QVERIFY(!keepsOneClick(m_record, kWheelUpSlot, 2));
    }

    // Ctrl, Shift and A go down in the order Shift, Ctrl, A and up in reverse, as usages.
    void comboIsStoredNested() {
        ButtonInfo b;
        b.keyInfo[10] = step(9, 9); // whatever was stored before is cleared
        b.KeyNumber = 7;
        ComboKeys keys;
        keys.iComboKey[ComboCtrl] = 1;
        keys.iComboKey[ComboShift] = 2;
        keys.iComboKey[ComboOther] = 1;
        keys.iHotKeyCode[ComboOther][0] = 30; // A
        writeCombo(b, keys);
        const KeyInfo expected[6] = {step(225, 0x80), step(224, 0x80), step(4, 0x80),
                                     step(4, 0),      step(224, 0),    step(225, 0)};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(b.keyInfo[i], expected[i]);
        QCOMPARE(b.keyInfo[10], KeyInfo());
        QCOMPARE(b.KeyNumber, 7);
    }

    // The combination held at the last press counts. Right-hand modifiers count as their
    // left-hand keys; right Alt comes with the Alt flag set on its own press.
    void comboCapture() {
        ComboCapture c;
        c.keyEvent(238, KeyFlagExtended);                  // right Ctrl
        c.keyEvent(239, KeyFlagExtended | KeyFlagAltDown); // right Alt
        c.keyEvent(30, KeyFlagAltDown);                    // A
        QCOMPARE(c.text(), keyName(29) + " + " + keyName(56) + " + " + keyName(30));
        c.keyEvent(30, KeyFlagAltDown | KeyFlagReleased);
        c.keyEvent(239, KeyFlagExtended | KeyFlagReleased);
        c.keyEvent(48, 0); // B, Ctrl still held
        QCOMPARE(c.text(), keyName(29) + " + " + keyName(48));
        // A key let go that is not the one held does not end the combination.
        c.keyEvent(31, KeyFlagReleased);
        c.keyEvent(42, 0);
        QCOMPARE(c.text(), keyName(42) + " + " + keyName(29) + " + " + keyName(48));
        // Releases of keys pressed before the dialog opened leave nothing behind.
        ComboCapture late;
        late.keyEvent(29, KeyFlagReleased);
        late.keyEvent(29, KeyFlagReleased);
        late.keyEvent(46, 0);
        QCOMPARE(late.text(), keyName(46));
        QCOMPARE(int(late.keys().iComboKey[ComboCtrl]), 0);

        // Through the page and its dialog: right Ctrl, then A, released and B pressed.
        m_record.buttons[2].keyInfo[20] = step(7, 7);
        ModalDriver<KelComboKeyWindow> driver([](KelComboKeyWindow &d) {
            press(d, 97);
            press(d, 30);
            release(d, 30);
            press(d, 48);
            release(d, 48);
            release(d, 97);
            QCOMPARE(d.comboText(), keyName(29) + " + " + keyName(48));
            clickYes(d);
        });
        choose(0, 2, FunComboKey);
        QVERIFY(driver.done());
        const ButtonInfo &b = m_record.buttons[2];
        QCOMPARE(b.Fun, int(FunComboKey));
        QCOMPARE(b.keyInfo[0], step(224, 0x80));
        QCOMPARE(b.keyInfo[1], step(5, 0x80));
        QCOMPARE(b.keyInfo[2], step(5, 0));
        QCOMPARE(b.keyInfo[3], step(224, 0));
        QCOMPARE(b.keyInfo[20], KeyInfo());
        QCOMPARE(m_page->button(0, 2)->text(), QStringLiteral("COMBO KEY"));

        // Opening it again shows the stored combination; "No" leaves the button alone.
        const ProfileData before = m_record;
        ModalDriver<KelComboKeyWindow> again([](KelComboKeyWindow &d) {
            QCOMPARE(d.comboText(), keyName(29) + " + " + keyName(48));
            QTest::mouseClick(d.noButton(), Qt::LeftButton);
        });
        choose(0, 2, FunComboKey);
        QVERIFY(again.done());
        QVERIFY(m_record == before);
        // "Yes" with no key pressed leaves another button its own function.
        ModalDriver<KelComboKeyWindow> empty([](KelComboKeyWindow &d) { clickYes(d); });
        choose(0, 3, FunComboKey);
        QVERIFY(empty.done());
        QVERIFY(m_record == before);
    }

    // A fire key stored with no times and no delay opens at 3 and 10; a key is captured
    // only for "Keyboard Key" and not while a number is typed.
    void fireKey() {
        ButtonInfo stored;
        FireKeySetting s = fireKeyPreset(stored);
        QCOMPARE(s.kind, int(FireLeft));
        QCOMPARE(s.delay, 10);
        QCOMPARE(s.times, 3);
        stored.Res1 = 0x82;
        QCOMPARE(fireKeyPreset(stored).kind, int(FireRight));
        stored.Res1 = 5; // the usage of B
        s = fireKeyPreset(stored);
        QCOMPARE(s.kind, int(FireKeyboard));
        QCOMPARE(s.keyCode, 48);
        s.keyCode = 0; // "Keyboard Key" with no key: stored as 0, read back as a left click
        QCOMPARE(int(fireShotKind(s)), 0);

        m_record.buttons[3].Fun = FunFireKey;
        ModalDriver<KelFireKeyWindow> driver([](KelFireKeyWindow &d) {
            QCOMPARE(d.timesEdit()->text(), QStringLiteral("3"));
            QCOMPARE(d.delayEdit()->text(), QStringLiteral("10"));
            QVERIFY(d.kindBox(FireLeft)->isChecked());
            press(d, 30); // not captured for a click
            QCOMPARE(d.keyText(), QString());
            QTest::mouseClick(d.kindBox(FireKeyboard), Qt::LeftButton);
            QVERIFY(!d.kindBox(FireLeft)->isChecked());
            press(d, 31);
            QCOMPARE(d.keyText(), keyName(31));
            QApplication::setActiveWindow(&d);
            d.timesEdit()->setFocus();
            d.timesEdit()->clear();
            QVERIFY(!d.yesButton()->isEnabled()); // an empty field is no number to keep
            QTest::keyClicks(d.timesEdit(), QStringLiteral("7"));
            QVERIFY(d.yesButton()->isEnabled());
            press(d, 8); // the 7 typed into "Times:" is not the key
            QCOMPARE(d.keyText(), keyName(31));
            d.delayEdit()->setText(QStringLiteral("95"));
            // With the key chosen, Enter in a number answers the dialog (and is no key).
            QTest::keyClick(d.timesEdit(), Qt::Key_Return);
            QVERIFY(!d.isVisible());
        });
        choose(0, 3, FunFireKey);
        QVERIFY(driver.done());
        const ButtonInfo &b = m_record.buttons[3];
        QCOMPARE(int(b.Res1), 22); // the usage of S
        QCOMPARE(b.LoopNumber, 7);
        QCOMPARE(b.KeyNumber, 95);
        QCOMPARE(m_page->button(0, 3)->text(), QStringLiteral("FIRE KEY"));
        // "Keyboard Key" and Yes with no key pressed: the button keeps its key, rather than
        // firing left clicks.
        ModalDriver<KelFireKeyWindow> noKey([](KelFireKeyWindow &d) {
            QTest::mouseClick(d.kindBox(FireLeft), Qt::LeftButton);
            QTest::mouseClick(d.kindBox(FireKeyboard), Qt::LeftButton);
            clickYes(d);
        });
        choose(0, 3, FunFireKey);
        QVERIFY(noKey.done());
        QCOMPARE(int(b.Res1), 22);
    }

    // "Yes" pressed and the pointer taken off it before it is let go: no answer yet, in a key
    // dialog as in a message box.
    void yesLetGoElsewhereIsNoAnswer() {
        KelSniperWindow sniper(3389);
        KelMessageBox box(KelMessageBox::KindQuestion, QStringLiteral("Warning"),
                          QStringLiteral("Delete?"), QString());
        for (QDialog *d : std::initializer_list<QDialog *>{&sniper, &box}) {
            d->show();
            auto *yes = d->findChild<QAbstractButton *>(QStringLiteral("msgBoxYesBtn"));
            QTest::mousePress(yes, Qt::LeftButton);
            QMouseEvent away(QEvent::MouseMove, QPointF(-30, -30), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(yes, &away);
            QTest::mouseRelease(yes, Qt::LeftButton, {}, QPoint(-30, -30));
            QVERIFY(d->isVisible() && d->result() == 0);
            QTest::mouseClick(yes, Qt::LeftButton);
            QCOMPARE(d->result(), int(QDialog::Accepted));
        }
    }

    // Each sensor has its range; a stored step it cannot take starts at its usual one.
    void sniperRanges() {
        struct Case {
            int sensor, min, max, preset, start;
        };
        const Case cases[] = {{3104, 14, 26, 30, 14}, {3104, 14, 26, 20, 20},
                              {3212, 16, 32, 16, 16}, {3389, 2, 20, 40, 6},
                              {3389, 2, 20, 20, 20},  {3325, 1, 10, 0, 3},
                              {3333, 2, 10, 1, 2},    {3360, 1, 10, 11, 3}};
        for (const Case &c : cases) {
            KelSniperWindow w(c.sensor);
            w.preset(c.preset);
            QCOMPARE(w.slider()->minimum(), c.min);
            QCOMPARE(w.slider()->maximum(), c.max);
            QCOMPARE(w.value(), c.start);
            QCOMPARE(w.dpiText(), QString::number(stageToDpi(c.start, c.sensor)));
        }
        KelSniperWindow other(3370);
        other.preset(40);
        QCOMPARE(other.value(), 40);

        // Through the page: the sensor of the shown set decides.
        m_record.buttons[4].Fun = FunSniper;
        m_record.buttons[4].Res1 = 40;
        ModalDriver<KelSniperWindow> driver([](KelSniperWindow &d) {
            QCOMPARE(d.value(), 6);
            QCOMPARE(d.dpiText(), QStringLiteral("300"));
            d.slider()->setValue(12);
            clickYes(d);
        });
        choose(0, 4, FunSniper);
        QVERIFY(driver.done());
        QCOMPARE(int(m_record.buttons[4].Res1), 12);
        QCOMPARE(m_page->button(0, 4)->text(), QStringLiteral("SNIPER"));
    }

    // The model's layout: hidden entries leave no gap in the numbering, and a count larger
    // than the layout list shows the list and no more.
    void layoutFollowsTheModel() {
        m_dir->setIni(QStringLiteral("DefaultProfile.bin"),
                      {{QStringLiteral("PROFILE/BUTTON_INFO_1_Matrix2"), -1}});
        m_page->relayout(199);
        QVERIFY(m_page->button(0, 1)->geometry().isEmpty());
        QCOMPARE(m_page->button(0, 2)->number(), 2);
        QCOMPARE(m_page->button(0, 5)->number(), 5);
        QVERIFY(m_page->button(0, 6)->geometry().isEmpty());
        QVERIFY(m_page->button(0, 2)->geometry().top() > m_page->button(0, 0)->geometry().bottom());
        QCOMPARE(m_page->height(), 199);

        m_dir->setIni(QStringLiteral("DefaultProfile.bin"),
                      {{QStringLiteral("PROFILE/ButtonCount"), 90 ^ 400}});
        for (int i = 0; i < 16; ++i)
            m_dir->setIni(QStringLiteral("DefaultProfile.bin"),
                          {{QStringLiteral("PROFILE/BUTTON_INFO_%1_Matrix2").arg(i), i}});
        m_page->relayout(199);
        m_dir->installData(QStringLiteral("DefaultProfile.bin"));
        QCOMPARE(m_page->button(0, 15)->number(), 16);
        QVERIFY(m_page->button(0, 16)->geometry().isEmpty());
        QCOMPARE(m_page->height(), 30 + 16 * 50);

        // The second set replaces the list; the wheel goes with it.
        m_page->show();
        m_page->selectGroup(3, 1);
        QVERIFY(m_page->button(1, 3)->isVisible());
        QVERIFY(m_page->button(1, 3)->isChecked());
        QVERIFY(!m_page->button(0, 3)->isVisible());
        QVERIFY(!m_page->button(2, 0)->isVisible());
        m_page->selectGroup(1, 2);
        QVERIFY(m_page->button(2, 1)->isChecked());
        QVERIFY(m_page->button(0, 3)->isVisible());
    }

    // Macros: none yet sends the user to the macro page; the left button takes no gun file;
    // a bound file's steps are copied, 63 at most, and the user is told of the rest.
    void macroBinding() {
        m_record.buttons[1].Fun = FunLeft; // the left click stays elsewhere
        const ProfileData before = m_record;
        QSignalSpy gotoMacro(m_page.get(), &KelBtnWindow::GotoMacroTab);
        choose(0, 2, FunMacroManager);
        QCOMPARE(gotoMacro.count(), 1);
        QCOMPARE(gotoMacro.first().first().toInt(), 3);
        {
            ModalCloser closer;
            choose(0, 0, FunGunFile);
            QCOMPARE(closer.texts,
                     QStringList{QStringLiteral("Left Button Can not be Gun Function.")});
        }
        QVERIFY(m_record == before);

        MacroFile file;
        for (int i = 0; i < 70; ++i)
            file.events.append({uint8_t(i % 2 ? 0x04 : 0x84), uint8_t(i), uint8_t(100 + i)});
        QVERIFY(saveMacroFile(QStringLiteral("long"), file));
        setMacroListEntry(0, QStringLiteral("long"));
        ModalDriver<KelMacroSelect> driver([](KelMacroSelect &d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("MACRO SELECT"));
            d.nameMenu()->actions().first()->trigger();
            d.loopEdit()->setText(QStringLiteral("300")); // the field's validator lets it be
            QVERIFY(!d.yesButton()->isEnabled());         // but the mouse cannot count to it
            d.loopEdit()->setText(QStringLiteral("4"));
            QVERIFY(d.yesButton()->isEnabled());
            QTest::mouseClick(d.loopOption(KelMacroSelect::LoopWhileHeld), Qt::LeftButton);
            QVERIFY(!d.loopOption(KelMacroSelect::LoopTimes)->isChecked());
            clickYes(d);
        });
        ModalCloser closer;
        choose(0, 2, FunMacroManager);
        QVERIFY(driver.done());
        QCOMPARE(closer.texts.size(), 1);
        const ButtonInfo &b = m_record.buttons[2];
        QCOMPARE(b.Fun, int(FunMacroManager));
        QCOMPARE(b.macroname, QStringLiteral("long"));
        QCOMPARE(b.LoopNumber, 4);
        QCOMPARE(int(b.Res1), int(KelMacroSelect::LoopWhileHeld));
        QCOMPARE(b.KeyNumber, 63);
        QCOMPARE(b.keyInfo[0], (KeyInfo{0x84, 100, 0}));
        QCOMPARE(b.keyInfo[62], (KeyInfo{0x84, 162, 62}));
        QCOMPARE(m_page->button(0, 2)->text(), QStringLiteral("long"));
    }
};

QTEST_MAIN(TestButtons)
#include "tst_buttons.moc"
