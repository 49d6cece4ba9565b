// SPDX-License-Identifier: GPL-3.0-or-later
// The macro page in the main window with the virtual mouse: a macro recorded from keys in
// the window is bound to a button through the working set, follows a rename, and reaches
// the mouse's macro memory and button table byte for byte on Apply; its unsaved steps are
// offered for saving when the program ends.
#include "KelLineEdit.h"
#include "KelPushButton.h"
#include "KeyTable.h"
#include "MacroDialog.h"
#include "MacroFile.h"
#include "MacroList.h"
#include "ModalCloser.h"
#include "ModelDescriptor.h"
#include "ProfileData.h"
#include "WindowRig.h"

#include <QCheckBox>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QtTest>

class TestMacroWindow : public QObject {
    Q_OBJECT

private slots:
    void recordBindRenameAndApply() {
        WindowRig rig;
        MousecfgWidget &w = rig.open();
        w.setPage(MousecfgWidget::PageMacro);
        auto *page = w.findChild<MacroDialog *>();
        QVERIFY(page && page->isVisible());
        auto click = [page](const char *name) {
            page->findChild<KelPushButton *>(QLatin1String(name))->click();
        };
        auto key = [&w](int evdev, bool press) {
            QKeyEvent e(press ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_unknown,
                        Qt::NoModifier, quint32(evdev + 8), 0, 0, QString());
            QCoreApplication::sendEvent(w.windowHandle(), &e);
        };

        click("macroNewBtn");
        click("macroRecordBtn");
        // The window's commands and tabs are off while the page records.
        QVERIFY(!w.tab(MousecfgWidget::PageDpi)->isEnabled());
        key(29, true); // Ctrl+C
        key(46, true);
        key(46, false);
        // The mouse gone and back meanwhile: the page keeps the window until the recording
        // ends, so that it can be ended; OK on "No mouse" without a notification area ends
        // no program.
        {
            QSignalSpy quit(&w, &MousecfgWidget::quitRequested);
            ModalCloser closer;
            MouseSession *session = w.session();
            rig.mouse.unplug(MouseLink::Receiver);
            rig.mouse.unplug(MouseLink::Cable);
            QMetaObject::invokeMethod(session, [session] { session->rescan(); });
            QTRY_VERIFY_WITH_TIMEOUT(!mouseReadyFlag() && !closer.texts.isEmpty(), 5000);
            rig.mouse.plug(MouseLink::Receiver);
            rig.mouse.plug(MouseLink::Cable);
            QMetaObject::invokeMethod(session, [session] { session->rescan(); });
            QTRY_VERIFY_WITH_TIMEOUT(mouseReadyFlag(), 5000);
            QCOMPARE(quit.count(), 0);
        }
        QVERIFY(page->isVisible());
        key(29, false);
        click("macroRecordBtn");
        QVERIFY(w.tab(MousecfgWidget::PageDpi)->isEnabled());
        MacroFile file;
        QVERIFY(loadMacroFile(QStringLiteral("name_1"), file));
        QCOMPARE(file.events.size(), 4);

        // Bound as the button page binds it: the file's steps copied into slot 3.
        ButtonInfo &button = w.workingSet().profiles[0].buttons[3];
        button.Fun = kFunMacro;
        button.macroname = QStringLiteral("name_1");
        button.LoopNumber = 2;
        button.Res1 = 0;
        button.KeyNumber = file.events.size();
        for (int i = 0; i < file.events.size(); ++i)
            button.keyInfo[i] = {file.events[i].Map, file.events[i].DataL, file.events[i].DataH};

        // A rename takes the bound button along.
        page->findChild<KelLineEdit *>(QStringLiteral("macroNameEdit"))
            ->setText(QStringLiteral("copy"));
        click("macroChangeNameBtn");
        QCOMPARE(button.macroname, QStringLiteral("copy"));

        QCOMPARE(sendAndWait(w), 0);
        // Four steps without delays: each followed by the filler delay after the fourth,
        // and one more filler at the end.
        const std::vector<uint8_t> memory = rig.mouse.table(MouseTable::Macros);
        int ctrl = 0, c = 0;
        keyCodeToUsage(29, ctrl);
        keyCodeToUsage(46, c);
        const std::vector<uint8_t> expected{0x84, 0, uint8_t(ctrl),
                                            0x84, 0, uint8_t(c),
                                            0x04, 0, uint8_t(c),
                                            0x04, 0, uint8_t(ctrl),
                                            6,    1, 0,
                                            6,    1, 0,
                                            0,    0, 0};
        QCOMPARE(std::vector<uint8_t>(memory.begin(), memory.begin() + 21), expected);
        const std::vector<uint8_t> table = rig.mouse.table(MouseTable::Buttons);
        const int slot = 2 + 4 * buttonMatrix()[3];
        QCOMPARE(std::vector<uint8_t>(table.begin() + slot, table.begin() + slot + 4),
                 (std::vector<uint8_t>{0x91, 0x00, 0x02, 0x00}));

        // A macro a button plays is deleted only when the user says so.
        {
            ModalCloser no(false);
            click("macroDeleteBtn");
            QCOMPARE(no.texts.size(), 1);
        }
        QVERIFY(macroFileExists(QStringLiteral("copy")));

        // Steps not yet saved are offered for saving before Apply: the mouse plays the file.
        click("macroClearBtn");
        {
            ModalCloser yes;
            auto *apply = w.findChild<QAbstractButton *>(QStringLiteral("applyBtn"));
            QCOMPARE(sendingBy(w, [apply] { QTest::mouseClick(apply, Qt::LeftButton); }), 0);
            QCOMPARE(yes.texts.size(), 1);
        }
        QVERIFY(loadMacroFile(QStringLiteral("copy"), file) && file.events.isEmpty());

        // And before the tray's Quit ends the program, over the macro page, also from the tray.
        click("macroRecordBtn");
        key(29, true);
        key(29, false);
        click("macroRecordBtn");
        click("macroClearBtn");
        w.setPage(MousecfgWidget::PageDpi);
        w.hide();
        QSignalSpy quit(&w, &MousecfgWidget::quitRequested);
        {
            ModalCloser yes;
            w.trayIcon()->contextMenu()->actions().last()->trigger();
            QCOMPARE(yes.texts.size(), 1);
        }
        QCOMPARE(quit.count(), 1);
        QVERIFY(w.isVisible() && page->isVisible());
        QVERIFY(loadMacroFile(QStringLiteral("copy"), file) && file.events.isEmpty());

        // Ended without asking (a signal) during a recording: the steps so far are kept in a
        // macro of their own, once, and the macro itself stays as stored. A macro without
        // steps, only its options changed, is not copied.
        auto *delays = page->findChild<QCheckBox *>(QStringLiteral("macroRecordDelaysBox"));
        delays->click();
        w.keepUnsavedMacroSteps();
        QVERIFY(!macroFileExists(QStringLiteral("copy_unsaved")));
        delays->click();
        // A recording without a step yet keeps the steps not saved before it.
        click("macroInsertDelayBtn");
        click("macroRecordBtn");
        w.keepUnsavedMacroSteps();
        QVERIFY(loadMacroFile(QStringLiteral("copy_unsaved"), file));
        QCOMPARE(file.events.size(), 1);
        key(29, true);
        key(29, false);
        w.keepUnsavedMacroSteps();
        w.keepUnsavedMacroSteps();
        QVERIFY(loadMacroFile(QStringLiteral("copy_unsaved_2"), file));
        QCOMPARE(file.events, page->events());
        QCOMPARE(file.events.size(), 2);
        QVERIFY(loadMacroFile(QStringLiteral("copy"), file) && file.events.isEmpty());
        QVERIFY(macroListContains(QStringLiteral("copy_unsaved_2")));
        QVERIFY(!macroFileExists(QStringLiteral("copy_unsaved_3")));
    }

    // An old file of 63 steps without delays: with the fillers it needs 79 of the 66 steps the
    // mouse keeps for a macro. The mouse gets the longest beginning that fits with no button
    // left down, in whole steps, and its end.
    void macroTooLongForTheMouseIsNeverCutMidStep() {
        WindowRig rig;
        MousecfgWidget &w = rig.open();
        MacroFile file;
        for (int i = 0; i < 63; ++i) // left down, left up, ..., left down
            file.events << MacroEvent{uint8_t(i % 2 ? 0x01 : 0x81), 0, 1};
        QVERIFY(saveMacroFile(QStringLiteral("long"), file));
        ButtonInfo &button = w.workingSet().profiles[0].buttons[3];
        button.Fun = kFunMacro;
        button.macroname = QStringLiteral("long");
        button.LoopNumber = 1;
        QCOMPARE(sendAndWait(w, true), 0);

        // 52 steps (26 clicks), a filler after every fourth and one at the end: 66 steps.
        std::vector<uint8_t> expected;
        for (int i = 0; i < 52; ++i) {
            expected.insert(expected.end(), {uint8_t(i % 2 ? 0x01 : 0x81), 0, 1});
            if (i % 4 == 3)
                expected.insert(expected.end(), {6, 1, 0});
        }
        expected.insert(expected.end(), {6, 1, 0, 0, 0});
        const std::vector<uint8_t> memory = rig.mouse.table(MouseTable::Macros);
        QCOMPARE(std::vector<uint8_t>(memory.begin(), memory.begin() + 200), expected);
    }
};

QTEST_MAIN(TestMacroWindow)
#include "tst_macro_window.moc"
